#include "files/ecu_settings_record.h"

#include "ecu/tecu.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

using Record = EcuSettingsRecord;

// A 32-bit field of the record, where it lies and which state field it is saved from.
struct WordField {
    int offset;
    int32_t Record::*field;
    int32_t Tecu::*source;
};

// A one-byte flag of the record.
struct FlagField {
    int offset;
    uint8_t Record::*field;
    bool Tecu::*source;
};

constexpr WordField kWordFields[] = {
    {104, &Record::baseCorrection, &Tecu::baseCorrection},
    {108, &Record::gasInjectorMask, &Tecu::gasInjectorMask},
    {116, &Record::injectorProtection, &Tecu::injectorProtection},
    {120, &Record::rpmDivider, &Tecu::rpmDivider},
    {124, &Record::switchTemperature, &Tecu::switchTemperature},
    {128, &Record::switchRpmIndex, &Tecu::switchRpmIndex},
    {132, &Record::minGasPressure, &Tecu::minGasPressure},
    {136, &Record::tankMax, &Tecu::tankMax},
    {140, &Record::tankMin, &Tecu::tankMin},
};

constexpr FlagField kFlagFields[] = {
    {112, &Record::rpmPin, &Tecu::rpmPin},
    {113, &Record::mapSensor, &Tecu::mapSensor},
    {114, &Record::fastChange, &Tecu::fastChange},
};

void PutWord(Record::Bytes& bytes, int offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetWord(std::span<const uint8_t> bytes, int offset) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    return value;
}

bool HeaderMatches(std::span<const uint8_t> bytes) {
    return bytes.size() >= Record::kHeaderSize &&
           std::memcmp(bytes.data(), Record::kHeaderText, Record::kHeaderSize) == 0;
}

} // namespace

EcuSettingsRecord EcuSettingsRecord::FromEcuState(const Tecu& ecu) {
    Record record;
    for (const WordField& f : kWordFields)
        record.*f.field = ecu.*f.source;
    for (const FlagField& f : kFlagFields)
        record.*f.field = ecu.*f.source ? 1 : 0;
    // The link keeps map points in 0..127, so the low byte is the point.
    std::transform(ecu.engineMap.begin(), ecu.engineMap.end(), record.engineMap.begin(),
                   [](int32_t point) { return static_cast<uint8_t>(point); });
    return record;
}

EcuSettingsRecord::Bytes EcuSettingsRecord::Serialise() const {
    Bytes bytes{};
    std::memcpy(bytes.data(), kHeaderText, kHeaderSize);
    for (const WordField& f : kWordFields)
        PutWord(bytes, f.offset, static_cast<uint32_t>(this->*f.field));
    for (const FlagField& f : kFlagFields)
        bytes[f.offset] = this->*f.field;
    PutWord(bytes, kFormatNumberOffset, kFormatNumber);
    std::copy(engineMap.begin(), engineMap.end(), bytes.begin() + kMapOffset);
    PutWord(bytes, kChecksumOffset, Checksum(bytes));
    return bytes;
}

uint32_t EcuSettingsRecord::Checksum(std::span<const uint8_t, kSize> bytes) {
    const uint32_t all = std::accumulate(bytes.begin(), bytes.end(), uint32_t{0});
    const auto field = bytes.subspan<kChecksumOffset, 4>();
    return all - std::accumulate(field.begin(), field.end(), uint32_t{0});
}

EcuSettingsRecord::Check EcuSettingsRecord::Verify(std::span<const uint8_t> bytes) {
    if (!HeaderMatches(bytes))
        return Check::WrongHeader;
    if (bytes.size() < kSize)
        return Check::BadChecksum;
    const auto record = bytes.first<kSize>();
    return GetWord(record, kChecksumOffset) == Checksum(record) ? Check::Passed : Check::BadChecksum;
}

EcuSettingsRecord::Check EcuSettingsRecord::Parse(std::span<const uint8_t> bytes, EcuSettingsRecord& record) {
    const Check check = Verify(bytes);
    if (check != Check::Passed)
        return check;
    for (const WordField& f : kWordFields)
        record.*f.field = static_cast<int32_t>(GetWord(bytes, f.offset));
    for (const FlagField& f : kFlagFields)
        record.*f.field = bytes[f.offset];
    std::copy_n(bytes.begin() + kMapOffset, kMapPoints, record.engineMap.begin());
    return Check::Passed;
}
