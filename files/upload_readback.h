#pragma once

#include "files/ecu_settings_record.h"

#include <cstdint>

class Tecu;

// What the ECU reports back after the upload of a record: each value as its command puts it on the line.
// A value its command refuses is not sent, so nothing is expected of it.
namespace UploadReadback {

// A map point as the upload sends it: a point beyond the map's 0..127 (a file with a good checksum can
// still hold one) goes out at the top end instead of wrapping into an unrelated correction.
int32_t MapPointAsSent(uint8_t point);

// True when the ECU's reports, as the link last stored them, hold every value the upload sent.
bool EcuHolds(const EcuSettingsRecord& sent, const Tecu& ecu);

} // namespace UploadReadback
