#pragma once
// The program's log: one Qt logging category per subsystem. Messages go to
// stderr and, once openLogFile() has succeeded, to that file as well. The
// debug messages are off unless QT_LOGGING_RULES turns them on, e.g.
// QT_LOGGING_RULES="vorlu.network.debug=true". Passwords are never logged.
#include <QLoggingCategory>

#include <string>

namespace vorlu {

Q_DECLARE_LOGGING_CATEGORY(lcPlatform) // "vorlu.platform"
Q_DECLARE_LOGGING_CATEGORY(lcNodes)    // "vorlu.nodes"
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)  // "vorlu.network"
Q_DECLARE_LOGGING_CATEGORY(lcScene)    // "vorlu.scene"
Q_DECLARE_LOGGING_CATEGORY(lcModel)    // "vorlu.model"
Q_DECLARE_LOGGING_CATEGORY(lcApp)      // "vorlu.app"
Q_DECLARE_LOGGING_CATEGORY(lcInventory) // "vorlu.inventory": connections, queries, writes of node files

// Appends every later message to the file as well as stderr. False, with the
// reason, when the file cannot be opened; the log then stays on stderr.
bool openLogFile(const std::string& path, std::string* error);
// For a failure already told on stderr in the program's own words: the
// file gets it too.
void logToFileOnly(const QLoggingCategory& category, const std::string& message);
// Stops writing to the file (stderr stays).
void closeLogFile();

} // namespace vorlu
