#include <QCoreApplication>

#include <gtest/gtest.h>

// The link owns a Qt timer, so the tests need an application object. Only the test on the real serial
// path runs its event loop; the in-memory ones drive the link by hand.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
