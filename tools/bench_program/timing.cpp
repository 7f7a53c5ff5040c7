#include "timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace bench {

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t half = values.size() / 2;
  return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

void Report(const char* figure, const char* measuredName, double measured, double floor) {
  std::printf("%s: %.2fx (%s %.2f s, floor %.2f s)\n", figure, measured / floor, measuredName, measured, floor);
  std::fflush(stdout);
}

}  // namespace bench
