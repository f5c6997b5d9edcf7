#pragma once
#include "fleet/FleetRows.h"
#include "platform/Management.h"
#include "platform/RemoteTransport.h"
#include "platform/SecretStore.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vorlu {

// The exit codes of monitoring plugins.
enum CheckStatus { CheckOk = 0, CheckWarning = 1, CheckCritical = 2, CheckUnknown = 3 };

// Critical on a red drive or a node not reached, warning on an amber (or
// unknown) drive, else ok.
CheckStatus checkStatusOf(const std::vector<FleetRow>& rows);

// The summary line, then one line per drive or node that is not green.
std::string formatCheckOutput(const std::vector<FleetRow>& rows, CheckStatus status);

struct HeadlessRun {
    std::filesystem::path programFolder;
    std::optional<std::filesystem::path> exportFile;
    std::string version;
    // Where the passwords are when the folder's settings keep them in the keyring.
    SecretStore* secrets = nullptr;
};

// The transport of the folder's settings file; the defaults where it has none.
RemoteTransport checkTransport(const std::filesystem::path& programFolder);

// Diagnoses every node of the folder's node file and reports as a monitoring
// check; returns the exit code. CheckUnknown when it could not run.
int runDiagnoseAllCheck(const HeadlessRun& run, ManagementService& management, std::ostream& out);

} // namespace vorlu
