#pragma once

#include <QString>

#include <cstdint>

// The ECU's raw live values as the strip and the pages show them.
namespace LiveValues {

// One sensor count of the gas pressure input in bar.
inline constexpr double kBarPerCount = 0.0044803225806451605;
// One count of a 10-bit sensor input (tank level) in volts.
inline constexpr double kVoltsPerCount = 5.0 / 1023;
// One step of the base correction in ms: 4.08 ms at 127.
inline constexpr double kMsPerBaseCorrectionStep = 0.032125984251968505;

// An injection time of 0.01 ms steps in ms with one decimal, without a unit. Wide enough for both the
// link's live times and its unsigned calibration averages.
QString InjectionTimeText(int64_t raw);
// The same with the " mS" suffix, as the labels under a time carry it.
QString InjectionTimeWithUnit(int64_t raw);

// Gas pressure in bar; never below 0.
double GasPressureBar(int32_t raw);
QString GasPressureText(int32_t raw);

// Reducer temperature of 0.01 °C steps in whole °C, truncated toward zero (-150 is -1).
int32_t ReducerCelsius(int32_t raw);

} // namespace LiveValues
