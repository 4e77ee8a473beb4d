// zir-sim fields of the virtual layout (--layout), all read-only: layout.train.N.canton,
// layout.train.N.offset (cm from the canton's '-' end to the head), layout.train.N.tail_canton
// and layout.aig.N.position. -1 for a train off the layout or a turnout #aig does not define.
#pragma once

#include <string_view>

#include "tools/sim/sim_fields.h"

class VirtualLayout;

// False when the path names no field of the layout.
bool layout_field(const VirtualLayout& layout, std::string_view path, SimField& out);
