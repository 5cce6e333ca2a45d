#include "fuzz/settings_file_input.h"
#include "tests/support/kept_fuzz_cases.h"

// The kept fuzz cases of the settings-file reader: only whole, intact files are accepted.
KEPT_FUZZ_CASES_TEST(SettingsFileFuzzCorpus, ReadsSoundly, "settings_file_fuzz", FuzzSettingsFileInput::Run)
