#include "fleet/PerfData.h"

#include <vector>

namespace vorlu {

namespace {

std::string perfLabel(const std::string& label)
{
    if (label.find_first_of(" \t='\"|;") == std::string::npos && !label.empty())
        return label;
    std::string quoted = "'";
    for (char c : label) {
        if (c == '\'')
            quoted += "''";
        else if (c != '\n' && c != '\r' && c != '|')
            quoted += c;
    }
    return quoted + "'";
}

} // namespace

std::string formatPerfDatum(const PerfDatum& d)
{
    std::vector<std::string> fields{std::to_string(d.value), d.warn, d.crit,
                                    d.min ? std::to_string(*d.min) : std::string(),
                                    d.max ? std::to_string(*d.max) : std::string()};
    while (fields.size() > 1 && fields.back().empty())
        fields.pop_back();
    std::string out = perfLabel(d.label) + "=";
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? ";" : "") + fields[i];
    return out;
}

} // namespace vorlu
