#include "fuzz/fuzz_check.h"
#include "fuzz/ini_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzCheck(FuzzIniInput::Run(data, size));
    return 0;
}
