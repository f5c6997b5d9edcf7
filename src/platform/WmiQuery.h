#pragma once
#include "platform/Management.h"

#include <functional>
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

// The stored row cut down to what the query asks for, in the query's order; a
// property the row lacks comes back without a value.
WmiRow selectProperties(const WmiRow& stored, const WmiSelect& query);

// The two classes the program reads.
enum class WmiClass { ComputerSystem, CdromDrive };

// Runs query against the rows a computer holds: rowsOf is asked only for the
// class queried, so a source can skip work the query does not need. Throws
// WmiError for a text outside the subset or another class.
using WmiClassRows = std::function<std::vector<WmiRow>(WmiClass, const WmiSelect&)>;
std::vector<WmiRow> answerWmiQuery(const std::string& query, const WmiClassRows& rowsOf);

} // namespace vorlu
