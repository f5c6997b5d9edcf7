#include "commands/BackgroundWork.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QThreadPool>

#include <exception>
#include <vector>

namespace vorlu {

namespace {

// Shared by the workers and the calling thread; the ends are written only on
// the calling thread, by the events the workers post.
struct Batch {
    std::vector<char> ended;
    std::size_t endedCount = 0;
    std::vector<std::exception_ptr> errors;
};

// Jobs must not outlive the receiver they post to.
struct PoolDrain {
    QThreadPool& pool;
    ~PoolDrain()
    {
        pool.clear();
        pool.waitForDone();
    }
};

} // namespace

BackgroundWork::BackgroundWork(int maxThreads) : pool_(std::make_unique<QThreadPool>())
{
    pool_->setMaxThreadCount(maxThreads < 1 ? 1 : maxThreads);
}

BackgroundWork::~BackgroundWork() { pool_->waitForDone(); }

void BackgroundWork::run(const std::function<void()>& job)
{
    runInOrder(1, [&job](std::size_t) { job(); }, {}, {});
}

std::size_t BackgroundWork::runInOrder(std::size_t count, const std::function<void(std::size_t)>& job,
                                       const std::function<void(std::size_t)>& waiting,
                                       const std::function<void(std::size_t)>& ended,
                                       const std::function<bool()>& stop)
{
    auto batch = std::make_shared<Batch>();
    batch->ended.resize(count);
    batch->errors.resize(count);
    QEventLoop loop;
    QObject receiver;
    std::size_t started = 0;
    std::size_t done = 0;
    std::exception_ptr failure;
    {
        PoolDrain drain{*pool_};
        QObject* target = &receiver;
        auto startMore = [&] {
            const auto room = static_cast<std::size_t>(pool_->maxThreadCount());
            while (started < count && started - batch->endedCount < room && !(stop && stop())) {
                const std::size_t i = started++;
                pool_->start([batch, i, target, &job] {
                    try {
                        job(i);
                    } catch (...) {
                        batch->errors[i] = std::current_exception();
                    }
                    // The end is an event for the waiting thread; it also wakes its wait.
                    QMetaObject::invokeMethod(
                        target,
                        [batch, i] {
                            batch->ended[i] = 1;
                            ++batch->endedCount;
                        },
                        Qt::QueuedConnection);
                });
            }
        };
        try {
            startMore();
            for (; done < started; ++done) {
                if (waiting)
                    waiting(done);
                while (!batch->ended[done]) {
                    loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
                    // A job ending out of order makes room for the next one at once.
                    startMore();
                }
                if (batch->errors[done])
                    std::rethrow_exception(batch->errors[done]);
                if (ended)
                    ended(done);
                startMore();
            }
        } catch (...) {
            failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
    return done;
}

} // namespace vorlu
