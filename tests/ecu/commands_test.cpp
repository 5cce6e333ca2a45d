#include "tests/ecu/link_fixture.h"

#include <functional>

using namespace EcuFrames;

namespace {

struct CommandCase {
    const char* name;
    std::function<void(Tecu&)> send;
    Bytes payload; // empty: nothing may be sent
};

class CommandTest : public LinkFixture, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, SendsItsPayloadOrNothing) {
    Open();
    ecu.tankMin = 10;
    ecu.tankMax = 1000;
    GetParam().send(ecu);
    const Bytes expected = GetParam().payload.empty() ? Bytes{} : FromHost(GetParam().payload);
    EXPECT_EQ(Written(), expected);
}

const CommandCase kCommands[] = {
    {"FuelGas", [](Tecu& e) { e.SetFuel(true); }, {'r'}},
    {"FuelPetrol", [](Tecu& e) { e.SetFuel(false); }, {'s'}},
    {"SaveToEcu", [](Tecu& e) { e.SaveToEcu(); }, {'w', 'w'}},
    {"LoadFromEcu", [](Tecu& e) { e.LoadFromEcu(); }, {'w', 'r'}},
    {"Divider0", [](Tecu& e) { e.SetRpmDivider(0); }, {}},
    {"Divider1", [](Tecu& e) { e.SetRpmDivider(1); }, {'d', 1}},
    {"Divider8", [](Tecu& e) { e.SetRpmDivider(8); }, {'d', 8}},
    {"Divider9", [](Tecu& e) { e.SetRpmDivider(9); }, {}},
    {"SwitchTemp0", [](Tecu& e) { e.SetSwitchTemperature(0); }, {}},
    {"SwitchTemp1", [](Tecu& e) { e.SetSwitchTemperature(1); }, {'c', 1}},
    {"SwitchTemp300LowByte", [](Tecu& e) { e.SetSwitchTemperature(300); }, {'c', 0x2C}},
    {"SwitchTemp1019", [](Tecu& e) { e.SetSwitchTemperature(1019); }, {'c', 0xFB}},
    {"SwitchTemp1020", [](Tecu& e) { e.SetSwitchTemperature(1020); }, {}},
    {"MinGasPressure", [](Tecu& e) { e.SetMinGasPressure(0x1234); }, {'b', 0x34, 0x12}},
    {"TankMax0", [](Tecu& e) { e.SetTankMax(0); }, {}},
    {"TankMax1022", [](Tecu& e) { e.SetTankMax(1022); }, {'l', 0xFE, 0x03, 10, 0}},
    {"TankMax1023", [](Tecu& e) { e.SetTankMax(1023); }, {}},
    {"TankMin723", [](Tecu& e) { e.SetTankMin(723); }, {'l', 0xE8, 0x03, 0xD3, 0x02}},
    {"TankMin1023", [](Tecu& e) { e.SetTankMin(1023); }, {}},
    {"BaseMinus1", [](Tecu& e) { e.SetBaseCorrection(-1); }, {'n', 127}},
    {"BaseMinus2", [](Tecu& e) { e.SetBaseCorrection(-2); }, {'n', 0}},
    {"Base32", [](Tecu& e) { e.SetBaseCorrection(32); }, {'n', 95}},
    {"Base127", [](Tecu& e) { e.SetBaseCorrection(127); }, {'n', 0}},
    {"Base200", [](Tecu& e) { e.SetBaseCorrection(200); }, {'n', 0}},
    {"GasInjectors", [](Tecu& e) { e.SetGasInjectors(0x0E); }, {'m', 0x0E}},
    {"Protection30", [](Tecu& e) { e.SetInjectorProtection(30); }, {'p', 30}},
    {"RpmPin5", [](Tecu& e) { e.SetRpmPin(5); }, {'u', 1}},
    {"RpmPin0", [](Tecu& e) { e.SetRpmPin(0); }, {'u', 0}},
    {"TestInjector", [](Tecu& e) { e.TestInjector(4, 1); }, {'a', 4, 1}},
    {"RequestMap", [](Tecu& e) { e.RequestMap(); }, {'y'}},
    {"RequestVersion", [](Tecu& e) { e.RequestVersion(); }, {'v', 0xFA}},
    {"Start", [](Tecu& e) { e.StartStreaming(); }, {'*'}},
    {"Stop", [](Tecu& e) { e.StopStreaming(); }, {'x'}},
    {"SwitchRpm11", [](Tecu& e) { e.SetSwitchRpm(11); }, {'e', 11}},
    {"SwitchRpm12", [](Tecu& e) { e.SetSwitchRpm(12); }, {'e', 0}},
    {"SwitchRpmNegative", [](Tecu& e) { e.SetSwitchRpm(-1); }, {'e', 0}},
    {"MapSensor", [](Tecu& e) { e.SetMapSensor(1); }, {'h', 1}},
    {"FastChange", [](Tecu& e) { e.SetFastChange(0); }, {'f', 0}},
    {"RequestStatus", [](Tecu& e) { e.RequestStatusReport(); }, {'2'}},
};

INSTANTIATE_TEST_SUITE_P(All, CommandTest, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::string(info.param.name); });

using MapCommandTest = LinkFixture;

TEST_F(MapCommandTest, SendMapInvertsEveryPoint) {
    Open();
    ecu.engineMap.fill(32);
    ecu.SendMap();
    Bytes expected{'t'};
    expected.insert(expected.end(), 12, 0x5F);
    EXPECT_EQ(Written(), FromHost(expected));

    ecu.engineMap = {0, 127, 128, -1, 32, 32, 32, 32, 32, 32, 32, 200};
    ecu.SendMap();
    const Bytes wire = Written();
    ASSERT_EQ(wire.size(), 3u + 13u + 2u);
    EXPECT_EQ(wire[4], 127);
    EXPECT_EQ(wire[5], 0);
    EXPECT_EQ(wire[6], 0xFF) << "modulo 256";
    EXPECT_EQ(wire[7], 128);
    EXPECT_EQ(wire[15], static_cast<uint8_t>(127 - 200));
}

TEST_F(MapCommandTest, CommandsChangeNoStoredState) {
    Open();
    ecu.SetRpmDivider(4);
    ecu.SetBaseCorrection(50);
    ecu.SetFuel(true);
    EXPECT_EQ(ecu.rpmDivider, 1);
    EXPECT_EQ(ecu.baseCorrection, 0);
    EXPECT_FALSE(ecu.gasMode);
}

} // namespace
