#pragma once
#include <optional>
#include <string>

namespace vorlu {

// One performance datum of a monitoring plugin's output:
// 'label'=value[UOM];[warn];[crit];[min];[max]. The label is quoted when it
// holds a blank, '=' or a quote (a quote in it doubled); empty fields keep
// their semicolons up to the last one given.
struct PerfDatum {
    std::string label;
    long long value = 0;
    std::string warn;
    std::string crit;
    std::optional<long long> min;
    std::optional<long long> max;
};

std::string formatPerfDatum(const PerfDatum& datum);

} // namespace vorlu
