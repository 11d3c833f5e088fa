// Long work (the calculation, filling the choice lists) reports its progress through a callback
// after each step, so a window can repaint its bar. `count` is -1 while the number of steps is
// not known yet.
#pragma once

#include <functional>

using ProgressCallback = std::function<void(int done, int count)>;
