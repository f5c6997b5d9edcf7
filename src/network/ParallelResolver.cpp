#include "network/ParallelResolver.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QThreadPool>

#include <optional>

namespace vorlu {

namespace {

// Shared by the workers and the calling thread; answers are written only on
// the calling thread, by the events the workers post.
struct Batch {
    std::vector<std::string> names;
    std::vector<std::optional<Lookup>> answers;
};

// Lookups must not outlive the receiver they post to.
struct PoolDrain {
    QThreadPool& pool;
    ~PoolDrain()
    {
        pool.clear();
        pool.waitForDone();
    }
};

} // namespace

ParallelResolver::ParallelResolver(SocketLayer& sockets, int maxThreads)
    : sockets_(sockets), pool_(std::make_unique<QThreadPool>())
{
    pool_->setMaxThreadCount(maxThreads < 1 ? 1 : maxThreads);
}

ParallelResolver::~ParallelResolver() { pool_->waitForDone(); }

void ParallelResolver::resolveInOrder(const std::vector<std::string>& names,
                                      const std::function<void(std::size_t)>& onTurn,
                                      const std::function<void(std::size_t, const Lookup&)>& onAnswer)
{
    auto batch = std::make_shared<Batch>();
    batch->names = names;
    batch->answers.resize(names.size());

    QEventLoop loop;
    QObject receiver;
    PoolDrain drain{*pool_};

    SocketLayer* sockets = &sockets_;
    QObject* target = &receiver;
    for (std::size_t i = 0; i < names.size(); ++i) {
        pool_->start([batch, i, sockets, target] {
            Lookup answer = LookupHost(*sockets, batch->names[i]);
            QMetaObject::invokeMethod(
                target, [batch, i, answer = std::move(answer)]() mutable { batch->answers[i] = std::move(answer); },
                Qt::QueuedConnection);
        });
    }

    for (std::size_t i = 0; i < names.size(); ++i) {
        onTurn(i);
        // Each answer arrives as an event, which also wakes this wait; the
        // check comes first, so an answer handled elsewhere is never missed.
        while (!batch->answers[i])
            loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        onAnswer(i, *batch->answers[i]);
    }
}

} // namespace vorlu
