#include "nodes/NodeFile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    vorlu::NodeTable table;
    vorlu::parseNodeFile(text, table);
    vorlu::formatNodeFile(table, vorlu::NodeFileForm::Plain);
    vorlu::formatNodeFile(table, vorlu::NodeFileForm::Reset);
    return 0;
}
