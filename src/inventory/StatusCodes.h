#pragma once
#include <optional>
#include <string>

namespace vorlu {

// The management service's drive codes in the system's own wording. Lookups
// take the line as it was read (blanks removed); nullopt for a code the table
// does not list.

struct AvailabilityEntry {
    const char* message;
    int colour;
};
std::optional<AvailabilityEntry> AvailabilityMessage(const std::string& code);

// Every listed code, 0 included, makes the drive amber.
std::optional<std::string> ConfigManagerErrorMessage(const std::string& code);

std::optional<std::string> StatusInfoMessage(const std::string& code);

// The Status table, looked up in lower case: the grid text and the colour,
// which also names the grid and the counter.
struct StatusEntry {
    const char* gridText;
    int colour;
};
std::optional<StatusEntry> StatusLookup(const std::string& status);

// A drive's colour: each recognised lookup overwrites the one before, in file
// order (Availability, ConfigManagerErrorCode, Status), starting from no state.
int DecideDriveColour(const std::string& availability, const std::string& configManagerErrorCode,
                      const std::string& status);

} // namespace vorlu
