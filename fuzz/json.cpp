#include "platform/JsonReader.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vorlu::JsonValue root;
    std::string error;
    vorlu::parseJson(std::string(reinterpret_cast<const char*>(data), size), root, error);
    return 0;
}
