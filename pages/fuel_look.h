#pragma once

#include <QColor>

#include <cstdint>

// How a cylinder shows its fuel of the injector test mask (bit n-1 set: cylinder n on petrol), on the
// strip's light and on the Injector Test page.
struct FuelLook {
    QColor light;  // lit colour of the strip light
    int wordIndex; // language text of the button
    QColor text;   // font colour of the time label
    QColor gauge;  // filled colour of the test gauge

    static FuelLook For(bool petrol) {
        if (petrol)
            return {QColor(255, 0, 0), 12, QColor(255, 0, 0), QColor(255, 0, 0)};
        return {QColor(0, 255, 0), 11, QColor(0, 128, 0), QColor(0, 255, 0)};
    }
};

inline bool CylinderOnPetrol(int32_t mask, int cylinder) {
    return ((mask >> (cylinder - 1)) & 1) != 0;
}

// Cylinders 1 to 4 belong to the master ECU; 5 to 8 to the slave, which may be absent.
inline constexpr int kMasterCylinders = 4;
