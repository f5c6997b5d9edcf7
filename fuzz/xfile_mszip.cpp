#include "XFileFuzz.h"

// The first byte picks compressed text or compressed binary.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    return vorlu::fuzz::parseWithHeader(data[0] & 1 ? "xof 0303bzip0032" : "xof 0303tzip0032", data + 1, size - 1);
}
