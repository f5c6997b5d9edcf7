#include "network/ParallelResolver.h"

#include <optional>

namespace vorlu {

ParallelResolver::ParallelResolver(SocketLayer& sockets, int maxThreads) : sockets_(sockets), work_(maxThreads) {}

void ParallelResolver::resolveInOrder(const std::vector<std::string>& names,
                                      const std::function<void(std::size_t)>& onTurn,
                                      const std::function<void(std::size_t, const Lookup&)>& onAnswer)
{
    std::vector<std::optional<Lookup>> answers(names.size());
    work_.runInOrder(
        names.size(), [this, &names, &answers](std::size_t i) { answers[i] = LookupHost(sockets_, names[i]); },
        onTurn, [&answers, &onAnswer](std::size_t i) { onAnswer(i, *answers[i]); });
}

} // namespace vorlu
