#pragma once
#include <windows.h>

namespace bench {

struct MemoryPeak {
  double workingSetMiB = 0;  // PeakWorkingSetSize
  double privateMiB = 0;     // PeakPagefileUsage
};

MemoryPeak PeakOf(HANDLE process);

}  // namespace bench
