#pragma once
#include "commands/RepaintPace.h"

#include <functional>

namespace vorlu::test {

// Counts where a command lets the window repaint, and may act there.
struct CountingPace : RepaintPace {
    int yields = 0;
    std::function<void()> onYield;

    void yield() override
    {
        ++yields;
        if (onYield)
            onYield();
    }
};

} // namespace vorlu::test
