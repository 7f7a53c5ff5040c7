#pragma once
#include <string>

namespace bench {

// The program's removal (the click handler, confirmation answered at once)
// over the lists its own scan made, against a bare EraseFile loop over the
// same lists on a twin tree, in one process: what the removal adds per file.
void RunRemovalLoopFigure(const std::wstring& base);

}  // namespace bench
