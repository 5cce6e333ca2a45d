#include "fuzz/fuzz_check.h"
#include "fuzz/language_table_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzCheck(FuzzLanguageTableInput::Run(data, size));
    return 0;
}
