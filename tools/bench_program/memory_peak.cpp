#include "memory_peak.h"

#include <psapi.h>

#include <string>

#include "timing.h"

namespace bench {

namespace {
constexpr double kMiB = 1024.0 * 1024.0;
}

MemoryPeak PeakOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  Check(GetProcessMemoryInfo(process, &counters, sizeof counters) != 0,
        "GetProcessMemoryInfo failed (error " + std::to_string(GetLastError()) + ")");
  return {counters.PeakWorkingSetSize / kMiB, counters.PeakPagefileUsage / kMiB};
}

}  // namespace bench
