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

// Runs both, `first` first in even rounds and `second` first in odd ones, so
// that neither always gets the warmer caches.
template <typename First, typename Second>
void InTurn(int round, First first, Second second) {
  if (round % 2 == 0) {
    first();
    second();
  } else {
    second();
    first();
  }
}

// Throws with `what` unless `ok`: the run stops with that line.
void Check(bool ok, const std::string& what);

// One figure against its floor, e.g. "walk: 1.12x (walk 1.23 s, floor 1.10 s)".
void Report(const char* figure, const char* measuredName, double measured, double floor);

}  // namespace bench
