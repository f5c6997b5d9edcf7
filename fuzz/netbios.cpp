#include "remote/NetBiosNodeStatus.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The transaction id the seeds carry, and one they do not.
    (void)vorlu::readNodeStatusName(data, size, 0x1234);
    (void)vorlu::readNodeStatusName(data, size, 0);
    return 0;
}
