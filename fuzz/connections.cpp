#include "nodes/NodeConnections.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string problems;
    const auto read = vorlu::parseNodeConnections(std::string(reinterpret_cast<const char*>(data), size), &problems);
    // What is read is written back in a form that reads the same.
    if (vorlu::parseNodeConnections(vorlu::formatNodeConnections(read)) != read)
        std::abort();
    return 0;
}
