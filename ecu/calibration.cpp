#include "ecu/tecu.h"

#include <algorithm>

// The automatic calibration: a petrol reference at idle, a switch to gas, a settle wait, then one base
// correction unit per gas cycle until gas and petrol agree at the resolution of the tolerance. One call
// is one worker pass (about every 25 ms).

namespace {

constexpr uint32_t kPassesPerSample = 5;
constexpr uint32_t kReferenceSamples = Tecu::kCalibrationSamples - 1;
constexpr uint32_t kNoMinimum = 10000;
constexpr uint32_t kSettlePasses = 300; // the 301st pass ends the wait
constexpr uint32_t kGasSamples = 9;
constexpr uint32_t kEqualPasses = 8; // the 9th equal comparison completes
constexpr int32_t kSmallInjectorsAbove = 80;
constexpr int32_t kBigInjectorsBelow = 5;
constexpr int32_t kMaxBaseCorrection = 127;

enum class Step : int32_t {
    BeginCycle = 0,
    PetrolSamples = 1,
    PetrolStatistics = 2,
    StartSettle = 3,
    SettleWait = 4,
    BeginGasCycle = 5,
    GasSamples = 6,
    Compare = 7,
};

enum Code : int32_t {
    CycleBegins = 0,
    PetrolSample = 1,
    PetrolUnstable = 2,
    GasRequested = 3,
    GasRequestedAgain = 4,
    GasCycleDone = 5,
    InjectorsSmall = 6,
    AtUpperBound = 7,
    GasLonger = 8,
    Raised = 9,
    InjectorsBig = 10,
    AtLowerBound = 11,
    GasShorter = 12,
    Lowered = 13,
    Completed = 14,
    Paused = 99,
};

constexpr int32_t S(Step step) {
    return static_cast<int32_t>(step);
}

struct Calibration {
    Tecu& ecu;

    void Report(int32_t code) const {
        ecu.OnCalibrationProgress.raise(ecu.calibrationStep, static_cast<int32_t>(ecu.calibrationCount),
                                        code);
    }
    uint32_t T1() const { return static_cast<uint32_t>(ecu.injectionTime[0]); }
    // Never 0 through SetCalibrationSensitivity; the field itself is open to anyone, and it divides.
    uint32_t Tolerance() const { return std::max(ecu.calibrationSensitivity, 1u); }

    void BeginCycle() {
        Report(CycleBegins);
        ecu.calibrationCount = 0;
        ecu.matchCounter = 0;
        ecu.calibrationStep = S(Step::PetrolSamples);
    }

    void TakePetrolSample() {
        if (ecu.gasMode)
            ecu.SetFuel(false);
        if (++ecu.sampleDivider < kPassesPerSample)
            return;
        ecu.sampleDivider = 0;
        Report(PetrolSample);
        ecu.calibrationSamples[ecu.calibrationCount] = T1();
        if (++ecu.calibrationCount > kReferenceSamples)
            ecu.calibrationStep = S(Step::PetrolStatistics);
    }

    bool PetrolIsStable() {
        uint32_t minimum = kNoMinimum;
        uint32_t maximum = 0;
        uint32_t sum = 0;
        for (uint32_t i = 0; i < kReferenceSamples; ++i) {
            const uint32_t t = ecu.calibrationSamples[i];
            minimum = std::min(minimum, t);
            maximum = std::max(maximum, t);
            sum += t;
        }
        ecu.petrolAverage = sum / kReferenceSamples;
        const uint32_t s = Tolerance();
        const double average = ecu.petrolAverage;
        // A maximum below the tolerance fails: such a window holds no real injection at all.
        return average * 0.9 < static_cast<double>(minimum + s) && maximum >= s &&
               average * 1.1 > static_cast<double>(maximum - s);
    }

    void PetrolStatistics() {
        if (PetrolIsStable()) {
            ecu.calibrationStep = S(Step::StartSettle);
            ecu.SetFuel(true);
            return;
        }
        if (++ecu.calibrationSensitivity > Tecu::kMaxCalibrationSensitivity) {
            ecu.calibrationSensitivity = Tecu::kMaxCalibrationSensitivity;
            Report(PetrolUnstable);
        }
        ecu.calibrationStep = S(Step::BeginCycle);
    }

    void StartSettle() {
        ecu.settleCounter = 0;
        ecu.calibrationStep = S(Step::SettleWait);
        Report(GasRequested);
    }

    void SettleWait() {
        if (++ecu.settleCounter <= kSettlePasses)
            return;
        if (ecu.gasMode) {
            ecu.calibrationStep = S(Step::BeginGasCycle);
        } else {
            Report(GasRequestedAgain);
            ecu.SetFuel(true);
        }
        ecu.settleCounter = 0;
    }

    void BeginGasCycle() {
        ecu.calibrationCount = 0;
        ecu.gasSum = 0;
        ecu.calibrationStep = S(Step::GasSamples);
        TakeGasSample();
    }

    void TakeGasSample() {
        ecu.gasSum += T1();
        if (++ecu.settleCounter < kGasSamples)
            return;
        ecu.calibrationStep = S(Step::Compare);
        ecu.gasAverage = ecu.gasSum / kGasSamples;
        // The comparison reads the base correction from the fresh report this asks for.
        ecu.RequestStatusReport();
        Report(GasCycleDone);
    }

    void Compare() {
        const uint32_t s = Tolerance();
        const uint32_t g = ecu.gasAverage / s;
        const uint32_t p = ecu.petrolAverage / s;
        const int32_t x = ecu.baseCorrection;
        if (g > p) {
            if (x > kSmallInjectorsAbove) {
                Report(InjectorsSmall);
                if (x == kMaxBaseCorrection)
                    Report(AtUpperBound);
            } else {
                Report(GasLonger);
            }
            Move(x + 1, Raised);
        } else if (g < p) {
            if (x < kBigInjectorsBelow) {
                Report(InjectorsBig);
                if (x == 0)
                    Report(AtLowerBound);
            } else {
                Report(GasShorter);
            }
            Move(x - 1, Lowered);
        } else if (++ecu.matchCounter > kEqualPasses) {
            Report(Completed);
            ecu.calibrationActive = false;
        }
    }

    void Move(int32_t baseCorrection, int32_t code) {
        ecu.SetBaseCorrection(baseCorrection);
        Report(code);
        ecu.calibrationStep = S(Step::BeginGasCycle);
        ecu.settleCounter = 0;
        ecu.matchCounter = 0;
    }

    void Pass() {
        if (ecu.calibrationPaused) {
            Report(Paused);
            return;
        }
        switch (static_cast<Step>(ecu.calibrationStep)) {
        case Step::BeginCycle:
            return BeginCycle();
        case Step::PetrolSamples:
            return TakePetrolSample();
        case Step::PetrolStatistics:
            return PetrolStatistics();
        case Step::StartSettle:
            return StartSettle();
        case Step::SettleWait:
            return SettleWait();
        case Step::BeginGasCycle:
            return BeginGasCycle();
        case Step::GasSamples:
            return TakeGasSample();
        case Step::Compare:
            return Compare();
        default:
            break;
        }
    }
};

} // namespace

void Tecu::AdvanceCalibration() {
    Calibration{*this}.Pass();
}
