#pragma once

#include "host_types.h"

class LumenoSaverData;

/// Copies the camera values, the unit multiplier and the strategy switch of the first
/// render-settings tag (pre-order from `start`) into the saver's export state. Without such a
/// tag nothing changes, so values of an earlier save on the same instance stay.
void ReadRenderSettings(LumenoSaverData& saver, const HostObject* start);
