#include <QCoreApplication>

#include <gtest/gtest.h>

// The link owns a Qt timer, so the tests need an application object (no event loop is run).
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
