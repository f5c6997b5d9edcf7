#include "nodes/Settings.h"

#include <cstdint>
#include <string>

// Whatever is read must be written in a form that reads back the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vorlu::Settings first;
    vorlu::parseSettings(std::string(reinterpret_cast<const char*>(data), size), first);
    const std::string written = vorlu::formatSettings(first);
    vorlu::Settings second;
    vorlu::parseSettings(written, second);
    if (vorlu::formatSettings(second) != written)
        __builtin_trap();
    return 0;
}
