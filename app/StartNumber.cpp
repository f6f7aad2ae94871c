#include "app/StartNumber.h"

#include <chrono>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace app {

std::uint32_t DefaultSeed() {
#ifdef _WIN32
  LARGE_INTEGER counter;
  if (QueryPerformanceCounter(&counter)) return static_cast<std::uint32_t>(counter.QuadPart);
#else
  timespec ts{};
  if (clock_gettime(CLOCK_MONOTONIC_RAW, &ts) == 0) {
    const auto ns = static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u +
                    static_cast<std::uint64_t>(ts.tv_nsec);
    return static_cast<std::uint32_t>(ns);
  }
#endif
  // The millisecond tick when no high-resolution counter answers.
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

std::uint32_t DrawStartNumber(std::uint32_t& state) {
  state = state * 134775813u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state) * 60000u) >> 32);
}

}  // namespace app
