#include "fuzz/fuzz_check.h"
#include "fuzz/settings_file_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzCheck(FuzzSettingsFileInput::Run(data, size));
    return 0;
}
