#pragma once
#include <functional>

namespace vorlu {

// Lets the event loop run so that windows repaint between steps of a long
// command. The program passes QCoreApplication::processEvents; tests pass
// nothing or a counter. An empty function is allowed and does nothing.
using Yield = std::function<void()>;

inline void yieldNow(const Yield& yield)
{
    if (yield)
        yield();
}

} // namespace vorlu
