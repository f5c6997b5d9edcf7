#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

struct CommandLine {
    std::optional<std::string> dataDir;
    std::optional<std::string> networkFile;
    std::optional<std::string> logFile;
    bool demo = false;
    bool help = false;
    bool version = false;
};

// Parses the program's options; on an unknown option or a missing argument
// returns nothing and sets error to one line for stderr.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error);

std::string usageText();

} // namespace vorlu
