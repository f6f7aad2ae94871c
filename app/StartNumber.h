#pragma once

#include <cstdint>

namespace app {

// Seed from the high-resolution counter's low 32 bits, the millisecond tick as fallback.
std::uint32_t DefaultSeed();
// One draw of the 32-bit linear congruential generator, scaled to 0..59999.
std::uint32_t DrawStartNumber(std::uint32_t& state);

}  // namespace app
