#pragma once
#include <functional>

namespace vorlu {

// Runs a call that may block (a management query) so that the window keeps
// painting: the caller waits for it in a local event loop and sees its end,
// or its exception, in order.
class BlockingRunner {
public:
    virtual ~BlockingRunner() = default;
    // Returns when job has ended; an exception of job leaves here.
    virtual void run(const std::function<void()>& job) = 0;
};

// Runs the job on the calling thread: for tests and benchmarks that need no
// event loop.
class InlineRunner : public BlockingRunner {
public:
    void run(const std::function<void()>& job) override { job(); }
};

// Runs the job on a worker thread while the calling thread handles its events
// (repaints, menus, a refused second command). Needs a QCoreApplication.
class WorkerThreadRunner : public BlockingRunner {
public:
    void run(const std::function<void()>& job) override;
};

} // namespace vorlu
