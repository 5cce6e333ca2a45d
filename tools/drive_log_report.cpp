#include "tools/drive_log_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

namespace DriveLogReport {

namespace {

using drive_log::Line;

struct Column {
    const char* name;
    const char* unit;
    uint32_t Line::*field;
    double perCount;
    int decimals;
};

constexpr std::array<Column, 4> kColumns{{
    {"speed", "rpm", &Line::rpm, 1.0, 0},
    {"injection", "ms", &Line::injection, drive_log::kMsPerInjectionStep, 2},
    {"gas pressure", "bar", &Line::gasPressure, drive_log::kBarPerPressureCount, 3},
    {"lambda", "V", &Line::lambda, drive_log::kVoltsPerLambdaCount, 3},
}};

constexpr double kSecondsPerLine = static_cast<double>(drive_log::kLineIntervalUs) / 1e6;

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Padded(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string Seconds(std::size_t lines) {
    return Fixed(static_cast<double>(lines) * kSecondsPerLine, 1) + " s";
}

std::size_t Switches(const drive_log::Log& log) {
    std::size_t switches = 0;
    for (std::size_t i = 1; i < log.lines.size(); ++i)
        switches += log.lines[i].gas != log.lines[i - 1].gas ? 1 : 0;
    return switches;
}

std::string ValueRow(const Column& column, const drive_log::Log& log) {
    uint32_t low = std::numeric_limits<uint32_t>::max();
    uint32_t high = 0;
    double sum = 0.0;
    for (const Line& line : log.lines) {
        const uint32_t value = line.*column.field;
        low = std::min(low, value);
        high = std::max(high, value);
        sum += value;
    }
    const double mean = sum / static_cast<double>(log.lines.size());
    const std::string label = std::string(column.name) + " (" + column.unit + ")";
    return label + std::string(20 - label.size(), ' ') +
           Padded(Fixed(low * column.perCount, column.decimals), 10) +
           Padded(Fixed(mean * column.perCount, column.decimals + 1), 10) +
           Padded(Fixed(high * column.perCount, column.decimals), 10) + "\n";
}

} // namespace

std::string Summary(const drive_log::Log& log) {
    const auto onGas = static_cast<std::size_t>(
        std::count_if(log.lines.begin(), log.lines.end(), [](const Line& line) { return line.gas; }));
    std::string text;
    text += "lines               " + std::to_string(log.dataLines) + " (" +
            std::to_string(log.malformed.size()) + " malformed, skipped)\n";
    text += "duration            " + Seconds(log.dataLines) + "\n";
    text += "on gas              " + Seconds(onGas) + "\n";
    text += "on petrol           " + Seconds(log.lines.size() - onGas) + "\n";
    text += "switches            " + std::to_string(Switches(log)) + "\n";
    text += "value               " + Padded("min", 10) + Padded("mean", 10) + Padded("max", 10) + "\n";
    if (log.lines.empty())
        return text;
    for (const Column& column : kColumns)
        text += ValueRow(column, log);
    return text;
}

std::string Csv(const drive_log::Log& log) {
    std::string text = "time_s";
    for (const Column& column : kColumns) {
        std::string name = column.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        text += "," + name + "_" + column.unit;
    }
    text += ",fuel\n";
    for (const Line& line : log.lines) {
        // The header is line 1, so the first data line is at time 0 whether or not it was good.
        text += Fixed(static_cast<double>(line.number < 2 ? 0 : line.number - 2) * kSecondsPerLine, 1);
        for (const Column& column : kColumns)
            text += "," + Fixed(line.*column.field * column.perCount, column.decimals);
        text += line.gas ? ",gas\n" : ",petrol\n";
    }
    return text;
}

} // namespace DriveLogReport
