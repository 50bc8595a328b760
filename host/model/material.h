// Materials: their channels (a switch and a data container each) and the application's
// comparison of two materials.
#pragma once

#include <cstdint>

#include "host/model/node.h"

namespace host {

/// The channel `number` of a material, made (off, empty) on first use; nullptr for a node that
/// is no material or a negative number. The channel lives as long as the material.
MaterialChannel* materialChannel(HostNode& material, int32_t number);
/// The channel if the material has it, else nullptr (which reads as off and empty).
const MaterialChannel* findMaterialChannel(const HostNode& material, int32_t number);

/// Equal channels (switch and data; a channel a material lacks counts as off and empty) and
/// equal parameters. Names are not compared.
bool materialsEqual(const HostNode& a, const HostNode& b);

} // namespace host
