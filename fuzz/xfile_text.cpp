#include "XFileFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return vorlu::fuzz::parseWithHeader("xof 0303txt 0032", data, size);
}
