#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The kept inputs of one fuzz target (fuzz/corpus/<target>/), for the tests that replay them.
struct CorpusCase {
    std::string name; // the file name, usable as a test name
    std::vector<uint8_t> bytes;
};

inline std::vector<CorpusCase> CorpusCases(const std::string& target) {
#ifdef ECU_FUZZ_CORPUS_DIR
    // Given by the build: __FILE__ may be relative, for example under a compiler cache.
    const std::filesystem::path folder = std::filesystem::path(ECU_FUZZ_CORPUS_DIR) / target;
#else
    const std::filesystem::path folder = std::filesystem::path(__FILE__).parent_path() / "corpus" / target;
#endif
    std::vector<CorpusCase> cases;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        CorpusCase c{
            entry.path().filename().string(),
            std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())};
        std::replace_if(
            c.name.begin(), c.name.end(), [](unsigned char ch) { return !std::isalnum(ch); }, '_');
        cases.push_back(std::move(c));
    }
    std::sort(cases.begin(), cases.end(),
              [](const CorpusCase& a, const CorpusCase& b) { return a.name < b.name; });
    return cases;
}
