#pragma once

#include "files/drive_log.h"

#include <string>

// A recorded drive in real units: a summary for the fitter and CSV for spreadsheets and plotting.
namespace DriveLogReport {

// Lines, duration (100 ms a data line), time on gas and on petrol, switches between them, and the
// minimum, mean and maximum of each value.
std::string Summary(const drive_log::Log& log);
// One row a good line: time in seconds since the first data line, the values in real units with dot
// decimals, and the fuel.
std::string Csv(const drive_log::Log& log);

} // namespace DriveLogReport
