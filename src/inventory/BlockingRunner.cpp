#include "inventory/BlockingRunner.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QObject>

#include <exception>
#include <memory>
#include <thread>

namespace vorlu {

namespace {

// Written by the worker before it posts the wake-up, read by the caller after
// the wake-up arrived.
struct Outcome {
    std::exception_ptr error;
};

} // namespace

void WorkerThreadRunner::run(const std::function<void()>& job)
{
    auto outcome = std::make_shared<Outcome>();
    bool done = false;
    QObject receiver;
    QObject* target = &receiver;
    bool* flag = &done;
    std::thread worker([job, outcome, target, flag] {
        try {
            job();
        } catch (...) {
            outcome->error = std::current_exception();
        }
        // The wake-up is an event for the waiting thread; it also ends its wait.
        QMetaObject::invokeMethod(target, [flag] { *flag = true; }, Qt::QueuedConnection);
    });
    QEventLoop loop;
    while (!done)
        loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    worker.join();
    if (outcome->error)
        std::rethrow_exception(outcome->error);
}

} // namespace vorlu
