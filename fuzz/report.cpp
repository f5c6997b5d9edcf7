#include "inventory/InventoryReport.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto report = vorlu::parseInventoryReport(text))
        for (std::size_t k = 1; k <= report->drives.size(); ++k)
            (void)vorlu::driveEntryKey(k);
    return 0;
}
