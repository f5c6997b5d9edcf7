#pragma once
#include "commands/BackgroundWork.h"
#include "network/Sockets.h"
#include "platform/SocketLayer.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorlu {

// Looks names up on worker threads so that slow lookups neither freeze the
// window nor add up one after another, and hands the answers back on the
// calling thread in the order of the names.
class ParallelResolver {
public:
    static constexpr int DefaultThreads = 16;

    explicit ParallelResolver(SocketLayer& sockets, int maxThreads = DefaultThreads);

    // For each index i in order: onTurn(i), then wait (running the calling
    // thread's events) until name i is answered, then onAnswer(i, answer).
    // Needs a QCoreApplication. If a callback throws, lookups not yet started
    // are dropped and running ones finish before the exception leaves.
    void resolveInOrder(const std::vector<std::string>& names, const std::function<void(std::size_t)>& onTurn,
                        const std::function<void(std::size_t, const Lookup&)>& onAnswer);

private:
    SocketLayer& sockets_;
    BackgroundWork work_;
};

} // namespace vorlu
