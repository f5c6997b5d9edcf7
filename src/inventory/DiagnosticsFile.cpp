#include "inventory/DiagnosticsFile.h"

#include "nodes/TextLines.h"

namespace vorlu {

std::string formatDiagnostics(const std::vector<WmiRow>& rows)
{
    std::string text;
    appendLine(text, std::to_string(rows.size()));
    for (const WmiRow& row : rows)
        for (const char* property : DiagnosticsProperties)
            appendLine(text, row.property(property).value_or(""));
    appendLine(text, "");
    return text;
}

} // namespace vorlu
