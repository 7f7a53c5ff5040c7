#pragma once
#include <string>
#include <vector>

namespace bench {

double Seconds();  // a steady clock

template <typename Task>
double Time(Task task) {
  const double start = Seconds();
  task();
  return Seconds() - start;
}

double Median(std::vector<double> values);

// Throws with `what` unless `ok`: the run stops with that line.
void Check(bool ok, const std::string& what);

// One figure against its floor, e.g. "walk: 1.12x (walk 1.23 s, floor 1.10 s)".
void Report(const char* figure, const char* measuredName, double measured, double floor);

}  // namespace bench
