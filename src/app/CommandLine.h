#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

struct CommandLine {
    std::optional<std::string> dataDir;
    std::optional<std::string> networkFile;
    std::optional<std::string> logFile;
    std::optional<std::string> exportFile;
    std::optional<std::string> scanRange;
    std::optional<std::string> namesFile;
    bool demo = false;
    bool diagnoseAll = false;
    bool help = false;
    bool version = false;
};

// Parses the program's options; on an unknown option or a missing argument
// returns nothing and sets error to one line for stderr.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error);

std::string usageText();

// Whether the arguments ask for the headless check, even when they do not
// parse: its callers read exit code 3, not the window's 2.
bool asksForCheck(const std::vector<std::string>& args);

} // namespace vorlu
