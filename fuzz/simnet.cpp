#include "platform/SimulatedNetwork.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const auto net = vorlu::SimulatedNetwork::parse(std::string(reinterpret_cast<const char*>(data), size),
                                                    "network.json", error);
    if (!net && (error.empty() || error.find('\n') != std::string::npos))
        __builtin_trap(); // the error is promised as one line of text
    return 0;
}
