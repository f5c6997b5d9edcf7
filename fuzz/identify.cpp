#include "remote/WsManIdentify.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string problem;
    (void)vorlu::readIdentifyReply(std::string(reinterpret_cast<const char*>(data), size), &problem);
    return 0;
}
