#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

// The query subset the program sends: "Select p1, p2, ... From Class", or
// "Select * From Class". Keywords in any letter case; no other clauses.
struct WmiSelect {
    std::vector<std::string> properties; // as written in the query; empty for *
    bool allProperties = false;
    std::string className;
};

// nullopt when the text is not such a query.
std::optional<WmiSelect> parseWmiSelect(const std::string& query);

} // namespace vorlu
