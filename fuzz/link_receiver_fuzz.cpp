#include "fuzz/fuzz_check.h"
#include "fuzz/link_input.h"

#include <QCoreApplication>

// The link owns a Qt timer, so it needs an application object; no event loop runs.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzCheck(FuzzLinkInput::Run(data, size));
    return 0;
}
