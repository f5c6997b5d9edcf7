#include "platform/Management.h"

#include "platform/TextCase.h"

namespace vorlu {

std::optional<std::string> WmiRow::property(const std::string& name) const
{
    for (const auto& [key, value] : props_)
        if (equalsIgnoringCase(key, name))
            return value;
    return std::nullopt;
}

} // namespace vorlu
