#pragma once
#include <cstddef>
#include <functional>
#include <memory>

class QThreadPool;

namespace vorlu {

// The one way the program runs blocking work (management queries, name
// lookups, whole nodes) off the interface thread: the jobs run on a pool of
// worker threads while the calling thread waits in a local event loop, so the
// windows keep painting, menus answer and a second command is refused rather
// than frozen. Every result comes back on the calling thread, in job order.
// Waiting needs a QCoreApplication.
class BackgroundWork {
public:
    explicit BackgroundWork(int maxThreads = 1);
    virtual ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // Runs job and returns when it has ended; an exception of job leaves here.
    virtual void run(const std::function<void()>& job);

    // Runs job(0) .. job(count - 1) on the pool, at most maxThreads at once.
    // On the calling thread, for each i in order: waiting(i) before it waits
    // for job i, ended(i) once job i has ended. stop is asked before each job
    // starts: true starts no further job, and those running finish. Returns
    // how many jobs ended (a prefix of the indexes). The first exception of a
    // job or callback leaves here after the running jobs have ended.
    std::size_t runInOrder(std::size_t count, const std::function<void(std::size_t)>& job,
                           const std::function<void(std::size_t)>& waiting,
                           const std::function<void(std::size_t)>& ended, const std::function<bool()>& stop = {});

private:
    std::unique_ptr<QThreadPool> pool_;
};

// Runs each job on the calling thread: for tests and benchmarks that need no
// event loop.
class InlineWork : public BackgroundWork {
public:
    void run(const std::function<void()>& job) override { job(); }
};

} // namespace vorlu
