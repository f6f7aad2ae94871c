#include "app/StartNumber.h"

#include <time.h>

#include <chrono>

namespace app {

std::uint32_t DefaultSeed() {
  timespec ts{};
  if (clock_gettime(CLOCK_MONOTONIC_RAW, &ts) == 0) {
    const auto ns = static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u +
                    static_cast<std::uint64_t>(ts.tv_nsec);
    return static_cast<std::uint32_t>(ns);
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

std::uint32_t DrawStartNumber(std::uint32_t& state) {
  state = state * 134775813u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state) * 60000u) >> 32);
}

}  // namespace app
