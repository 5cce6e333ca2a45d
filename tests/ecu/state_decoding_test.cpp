#include "tests/ecu/link_fixture.h"

using namespace EcuFrames;

namespace {

using Strings = std::vector<std::string>;

class DecodingTest : public LinkFixture {
protected:
    void SetUp() override {
        Connect();
        RecordAllEvents();
    }
    Strings PassEvents() {
        ecu.WorkerPass();
        return TakeEvents();
    }
};

TEST_F(DecodingTest, RpmFromTheSelectedPeriodAndDivider) {
    struct Case {
        bool rpmPin;
        uint8_t divider;
        uint16_t periodA, periodB;
        int32_t rpm;
    };
    const Case cases[] = {
        {false, 1, 0, 10000, 3000}, {false, 4, 0, 10000, 750}, {true, 1, 10000, 0, 3000},
        {true, 1, 0, 10000, 0},     {false, 1, 0, 65520, 457}, {false, 1, 0, 65530, 0},
        {false, 1, 0, 65535, 0},    {false, 0, 0, 10000, 0},   {false, 1, 0, 9, 0},
    };
    for (const Case& c : cases) {
        Status s;
        s.rpmDivider = c.divider;
        s.statusBits = static_cast<uint8_t>(0x10 | (c.rpmPin ? 0x02 : 0));
        Deliver(s.Frame());
        Live live;
        live.periodA = c.periodA;
        live.periodB = c.periodB;
        Deliver(live.Frame());
        EXPECT_EQ(ecu.rpm, c.rpm) << "pin " << c.rpmPin << " divider " << int(c.divider) << " A " << c.periodA
                                  << " B " << c.periodB;
    }
}

TEST_F(DecodingTest, ComputeRpmAtThePeriodLimit) {
    EXPECT_EQ(ecu.ComputeRpm(6552), 457u);
    EXPECT_EQ(ecu.ComputeRpm(6553), 0u);
    EXPECT_EQ(ecu.ComputeRpm(0), 0u);
}

TEST_F(DecodingTest, LiveValuesAreStoredFlaggedAndPublishedByTheWorkerPass) {
    Live live;
    live.injectionRaw = {1234, 65535, 0, 0, 0, 0, 0, 5};
    live.lambda = 130;
    live.gasPressure = 893;
    live.cylinderStatus = 5;
    Deliver(live.Frame());
    EXPECT_TRUE(TakeEvents().empty()) << "live values wait for the worker pass";
    EXPECT_EQ(ecu.injectionTime[0], 493);
    EXPECT_EQ(ecu.injectionTime[1], 26214);
    EXPECT_EQ(PassEvents(), (Strings{"Inj1=493", "Inj2=26214", "Inj8=2", "CylinderStatus=5", "Lambda=130",
                                     "GasPressure=893"}));
    Deliver(live.Frame());
    EXPECT_TRUE(PassEvents().empty()) << "unchanged values are not published again";
}

TEST_F(DecodingTest, CylinderStatusDropToZeroIsStoredSilently) {
    Live live;
    live.cylinderStatus = 5;
    Deliver(live.Frame());
    PassEvents();
    live.cylinderStatus = 0;
    Deliver(live.Frame());
    EXPECT_EQ(ecu.cylinderStatus, 0);
    EXPECT_TRUE(PassEvents().empty());
    live.cylinderStatus = 5;
    Deliver(live.Frame());
    EXPECT_EQ(PassEvents(), Strings{"CylinderStatus=5"});
}

TEST_F(DecodingTest, StatusReportDecodesEveryFieldInOrder) {
    Status s;
    s.baseCorrectionByte = 95;
    s.injectorProtection = 30;
    s.rpmDivider = 3;
    s.switchTemperature = 45;
    s.tankMax = 823;
    s.tankMin = 223;
    s.injectorTestMask = 0x05;
    s.gasInjectorMask = 0x0A;
    s.reducerTemperature = -150;
    s.tankSensor = 500;
    s.minGasPressure = 200;
    s.switchRpmIndex = 4;
    s.statusBits = 0xE3; // gas, rpm pin, map sensor, bit 6, fast change; no slave
    Deliver(s.Frame());
    EXPECT_EQ(TakeEvents(), (Strings{"SlaveEcu=0", "SwitchTemperature=45", "ReducerTemperature=-150",
                                     "TankSensor=500", "RpmDivider=3", "TankMax=823", "TankMin=223",
                                     "BaseCorrection=32", "InjectorProtection=30", "InjectorTest=5",
                                     "GasInjectors=10", "MinGasPressure=200", "SwitchRpm=4", "GasMode=1",
                                     "RpmPin=1", "MapSensor=1", "StatusBit6=1", "FastChange=1"}));
    EXPECT_EQ(ecu.reducerTemperature, -150);
    EXPECT_FALSE(ecu.slaveEcu);
    Deliver(s.Frame());
    EXPECT_TRUE(TakeEvents().empty()) << "the same report twice raises nothing";
}

TEST_F(DecodingTest, BaseCorrectionAndMapAreInverted) {
    struct Case {
        uint8_t wire;
        int32_t value;
    };
    for (const Case& c : {Case{0x80, 127}, Case{0x7F, 0}, Case{0xFF, 0}, Case{0x5F, 32}}) {
        Status s;
        s.baseCorrectionByte = c.wire;
        Deliver(s.Frame());
        EXPECT_EQ(ecu.baseCorrection, c.value) << int(c.wire);
        std::array<uint8_t, 12> map{};
        map.fill(c.wire);
        Deliver(MapReport(map));
        EXPECT_EQ(ecu.engineMap[5], c.value) << int(c.wire);
    }
}

TEST_F(DecodingTest, StatusReportIsIgnoredOutsideStateFiveOrWithEventsDisabled) {
    Status s;
    s.rpmDivider = 6;
    ecu.eventsEnabled = false;
    Deliver(s.Frame());
    EXPECT_EQ(ecu.rpmDivider, 1);
    ecu.eventsEnabled = true;
    ecu.linkState = 2;
    Deliver(s.Frame());
    EXPECT_EQ(ecu.rpmDivider, 1);
    EXPECT_EQ(ecu.linkState, 3u) << "it only advances the handshake";
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(DecodingTest, TankLevelSteps) {
    struct Case {
        uint16_t max, min, sensor;
        int32_t mask;
    };
    const Case cases[] = {
        {1000, 10, 23, 255},
        {1000, 10, 300, 510},
        {1000, 10, 500, 1020},
        {1000, 10, 700, 2040},
        {1000, 10, 1000, 4080},
        // a reading beyond either point counts as that point
        {1000, 10, 5, 255},
        {1000, 300, 1023, 4080},
        // a sensor wired the other way round reads the same way
        {10, 1000, 23, 4080},
        {10, 1000, 1000, 255},
    };
    for (const Case& c : cases) {
        Status s;
        s.tankMax = c.max;
        s.tankMin = c.min;
        s.tankSensor = c.sensor;
        Deliver(s.Frame());
        EXPECT_EQ(ecu.TankLevelMask(), c.mask) << c.max << "/" << c.min << " reading " << c.sensor;
        // a different reading first, so the next case's reading counts as a change
        Status other = s;
        other.tankSensor = static_cast<uint16_t>(c.sensor ^ 1);
        Deliver(other.Frame());
    }
}

TEST_F(DecodingTest, EqualTankPointsKeepTheMaskButPublishTheReading) {
    Status s;
    s.tankSensor = 300;
    Deliver(s.Frame());
    s.tankMax = 500;
    s.tankMin = 500;
    Deliver(s.Frame());
    TakeEvents();
    const int32_t maskAtEqualPoints = ecu.TankLevelMask();
    s.tankSensor = 900;
    Deliver(s.Frame());
    EXPECT_EQ(ecu.TankLevelMask(), maskAtEqualPoints);
    EXPECT_EQ(TakeEvents(), Strings{"TankSensor=900"});
}

TEST_F(DecodingTest, RefreshAllRaisesEveryEventInItsOrder) {
    ecu.RefreshAll();
    EXPECT_EQ(TakeEvents(), (Strings{"RpmPin=0",
                                     "Rpm=0",
                                     "Inj1=0",
                                     "Inj2=0",
                                     "Inj3=0",
                                     "Inj4=0",
                                     "Inj5=0",
                                     "Inj6=0",
                                     "Inj7=0",
                                     "Inj8=0",
                                     "CylinderStatus=0",
                                     "GasMode=0",
                                     "Lambda=0",
                                     "SwitchTemperature=0",
                                     "ReducerTemperature=0",
                                     "TankSensor=0",
                                     "RpmDivider=1",
                                     "TankMax=1000",
                                     "TankMin=10",
                                     "BaseCorrection=0",
                                     "InjectorProtection=0",
                                     "InjectorTest=255",
                                     "MapReceived",
                                     "GasInjectors=0",
                                     "SlaveEcu=1",
                                     "MinGasPressure=0",
                                     "MapSensor=0",
                                     "StatusBit6=0",
                                     "FastChange=0",
                                     "GasPressure=0",
                                     "SwitchRpm=0"}));
}

TEST_F(DecodingTest, DisabledEventsSilenceRefreshAndWorkerAndKeepTheFlags) {
    Live live;
    live.lambda = 99;
    Deliver(live.Frame());
    ecu.eventsEnabled = false;
    ecu.RefreshAll();
    ecu.WorkerPass();
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_TRUE(ecu.changedFlags[Tecu::LiveLambda]);
    ecu.eventsEnabled = true;
    EXPECT_EQ(PassEvents(), Strings{"Lambda=99"});
    EXPECT_FALSE(ecu.changedFlags[Tecu::LiveLambda]);
}

TEST_F(DecodingTest, MapEventOnlyWithEventsEnabledButMapAlwaysStored) {
    ecu.eventsEnabled = false;
    Deliver(MapReportOfValues({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_EQ(ecu.engineMap[0], 1);
    ecu.eventsEnabled = true;
    Deliver(MapReportOfValues({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(TakeEvents(), Strings{"MapReceived"});
}

TEST_F(DecodingTest, ShortReportsAreIgnoredWhole) {
    Bytes shortLive = Live{.lambda = 77}.Payload();
    shortLive.resize(25);
    Bytes shortStatus = Status{.rpmDivider = 7}.Payload();
    shortStatus.resize(18);
    const int32_t timeoutBefore = 3;
    ecu.linkTimeout = timeoutBefore;
    Deliver(FromEcu(shortLive));
    Deliver(FromEcu(shortStatus));
    Deliver(FromEcu({'y', 0, 0}));
    Deliver(FromEcu({'v', 9}));
    EXPECT_EQ(ecu.lambda, 0);
    EXPECT_EQ(ecu.rpmDivider, 1);
    EXPECT_EQ(ecu.engineMap[0], 32);
    EXPECT_EQ(ecu.ecuVersionMajor, 2);
    EXPECT_EQ(ecu.linkTimeout, timeoutBefore) << "a short frame does not keep the link up";
    EXPECT_FALSE(ecu.frameBusy);
}

TEST_F(DecodingTest, BusyReportSetsAndOtherReportsClearTheBusyFlag) {
    for (const Bytes& clearing : {Live{}.Frame(), Status{}.Frame(), VersionReport(2, 7),
                                  MapReportOfValues({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})}) {
        Deliver(BusyReport());
        EXPECT_TRUE(ecu.ecuBusy);
        Deliver(clearing);
        EXPECT_FALSE(ecu.ecuBusy);
    }
    Deliver(FromEcu({'b', 1, 2, 3}));
    EXPECT_TRUE(ecu.ecuBusy) << "further bytes of a busy report are ignored";
}

TEST_F(DecodingTest, UnknownLetterOnlyClearsTheGuard) {
    Deliver(FromEcu({'q', 1, 2}));
    EXPECT_FALSE(ecu.frameBusy);
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(DecodingTest, ClearEventHandlersKeepsEventsEnabled) {
    ecu.ClearEventHandlers();
    EXPECT_TRUE(ecu.eventsEnabled);
    ecu.RefreshAll();
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(DecodingTest, CalibrationSettersClampAndReset) {
    struct Case {
        uint32_t in, stored;
    };
    for (const Case& c : {Case{0, 1}, Case{1, 1}, Case{15, 15}, Case{16, 15}, Case{20, 15}}) {
        ecu.SetCalibrationSensitivity(c.in);
        EXPECT_EQ(ecu.calibrationSensitivity, c.stored) << c.in;
    }
    ecu.calibrationStep = 4;
    ecu.SetCalibrationActive(true);
    EXPECT_TRUE(ecu.calibrationActive);
    EXPECT_EQ(ecu.calibrationStep, 0);
}

} // namespace
