#pragma once
#include <QElapsedTimer>

namespace vorlu {

// Lets the event loop run between the steps of a long loop on the interface
// thread, so the windows repaint; at most once per frame, since laying out a
// large tree thousands of times costs more than the loop. One per window,
// handed to the commands that need it; tests count the calls instead.
class RepaintPace {
public:
    RepaintPace() = default;
    virtual ~RepaintPace() = default;
    RepaintPace(const RepaintPace&) = delete;
    RepaintPace& operator=(const RepaintPace&) = delete;

    virtual void yield();

private:
    QElapsedTimer sinceLast_;
};

} // namespace vorlu
