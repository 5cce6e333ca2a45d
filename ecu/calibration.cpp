#include "ecu/tecu.h"

void Tecu::AdvanceCalibration() {}
