// The name plate image of a nation: large for the chosen team, small elsewhere.
#pragma once

#include <cstdint>

namespace Kelvane {

// Nation ids 0 to 6 have their own plate; any other id shows Italy's.
int32_t teamNameImage(int teamId, bool large);

}  // namespace Kelvane
