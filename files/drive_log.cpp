#include "files/drive_log.h"

#include <charconv>
#include <cstdio>
#include <memory>

namespace drive_log {

namespace {

constexpr std::size_t kFields = 5;

// Plain decimal digits only: no sign, no spaces, no leading '+'.
bool ParseNumber(std::string_view text, uint32_t max, uint32_t& value) {
    if (text.empty() || text.size() > 10)
        return false;
    uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number > max)
        return false;
    value = static_cast<uint32_t>(number);
    return true;
}

std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace

bool ParseLine(std::string_view text, Line& line) {
    std::string_view fields[kFields];
    for (std::string_view& field : fields) {
        const std::size_t end = text.find(';');
        if (end == std::string_view::npos)
            return false;
        field = text.substr(0, end);
        text.remove_prefix(end + 1);
    }
    if (!text.empty() || fields[4].size() != 1 || (fields[4][0] != 'G' && fields[4][0] != 'B'))
        return false;
    Line parsed;
    parsed.gas = fields[4][0] == 'G';
    if (!ParseNumber(fields[0], kMaxRpm, parsed.rpm) ||
        !ParseNumber(fields[1], kMaxInjection, parsed.injection) ||
        !ParseNumber(fields[2], kMaxRawWord, parsed.gasPressure) ||
        !ParseNumber(fields[3], kMaxRawWord, parsed.lambda))
        return false;
    parsed.number = line.number;
    line = parsed;
    return true;
}

std::string FormatLine(const Line& line) {
    char text[64];
    const int size = std::snprintf(text, sizeof text, "%u;%u;%u;%u;%c;\r\n", line.rpm, line.injection,
                                   line.gasPressure, line.lambda, line.gas ? 'G' : 'B');
    return std::string(text, static_cast<std::size_t>(size));
}

ReadResult Parse(std::string_view text) {
    ReadResult result;
    std::size_t number = 0;
    bool header = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::string_view content = WithoutCarriageReturn(raw);
        ++number;
        if (header) {
            header = false;
            if (content != kHeader) {
                result.problem = Problem::WrongHeader;
                result.message = "not a log file: its first line is not \"" + std::string(kHeader) + "\"";
                return result;
            }
            continue;
        }
        ++result.log.dataLines;
        Line line;
        line.number = number;
        if (ParseLine(content, line))
            result.log.lines.push_back(line);
        else
            result.log.malformed.push_back(number);
    }
    if (header) {
        result.problem = Problem::WrongHeader;
        result.message = "not a log file: it is empty";
    } else if (result.log.lines.empty()) {
        result.problem = Problem::NoGoodLine;
        result.message =
            "no usable line in the log (" + std::to_string(result.log.malformed.size()) + " malformed)";
    }
    return result;
}

ReadResult Read(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    std::string bytes;
    bool good = file != nullptr;
    if (good) {
        char block[4096];
        for (std::size_t n; (n = std::fread(block, 1, sizeof block, file.get())) > 0;)
            bytes.append(block, n);
        good = std::ferror(file.get()) == 0;
    }
    if (!good) {
        ReadResult result;
        result.problem = Problem::CannotRead;
        result.message = "cannot read the file";
        return result;
    }
    return Parse(bytes);
}

} // namespace drive_log
