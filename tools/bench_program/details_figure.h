#pragma once
#include <string>

namespace bench {

// The details window listing 20,000 typed addresses (the click on the
// history row, window shown) against bare registry reads of the same
// values, in one process: what the list adds to its reads.
void RunDetailsFigure();

}  // namespace bench
