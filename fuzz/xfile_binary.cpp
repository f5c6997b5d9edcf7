#include "XFileFuzz.h"

// The first byte picks 32- or 64-bit floats.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    return vorlu::fuzz::parseWithHeader(data[0] & 1 ? "xof 0303bin 0064" : "xof 0303bin 0032", data + 1, size - 1);
}
