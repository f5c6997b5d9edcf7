#include "fleet/HeadlessCheck.h"

#include "fleet/DiagnoseAll.h"
#include "fleet/FleetExport.h"
#include "fleet/PerfData.h"
#include "nodes/AtomicFile.h"
#include "nodes/KeyringPasswords.h"
#include "nodes/NodeFile.h"
#include "nodes/Settings.h"

#include <QDateTime>

#include <set>

namespace vorlu {

namespace {

const char* const StatusWords[] = {"OK", "WARNING", "CRITICAL", "UNKNOWN"};

std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Output lines come from the network; a line break in a value may not start a line of its own.
std::string oneLine(std::string s)
{
    for (char& c : s)
        if (c == '\n' || c == '\r' || c == '|')
            c = ' ';
    return s;
}

} // namespace

CheckStatus checkStatusOf(const std::vector<FleetRow>& rows)
{
    const FleetCounts c = countFleet(rows);
    if (c.red > 0 || c.notReached > 0)
        return CheckCritical;
    return c.amber > 0 ? CheckWarning : CheckOk;
}

std::string formatCheckOutput(const std::vector<FleetRow>& rows, CheckStatus status)
{
    const FleetCounts c = countFleet(rows);
    std::set<std::pair<std::string, std::string>> nodes;
    for (const FleetRow& r : rows)
        nodes.emplace(r.nodeName, r.IP);
    const long long drives = c.green + c.amber + c.red;
    const long long nodeCount = static_cast<long long>(nodes.size());
    // The thresholds are the exit code's: any amber warns, any red or node not reached is critical.
    const PerfDatum perf[] = {{"green", c.green, "", "", 0, drives},
                              {"amber", c.amber, "0", "", 0, drives},
                              {"red", c.red, "", "0", 0, drives},
                              {"not_reached", c.notReached, "", "0", 0, nodeCount}};
    std::string out = std::string("OPTICAL ") + StatusWords[status] + " - " + std::to_string(c.green) + " green, " +
                      std::to_string(c.amber) + " amber, " + std::to_string(c.red) + " red, " +
                      std::to_string(c.notReached) + " nodes not reached |";
    for (const PerfDatum& d : perf)
        out += " " + formatPerfDatum(d);
    out += "\n";
    for (const FleetRow& r : rows) {
        if (r.state == FleetState::Green || r.state == FleetState::NoDrive)
            continue;
        const std::string what = r.state == FleetState::NotReached ? r.statusText + ": " + r.reason
                                                                   : r.drive + " " + r.name + ": " + r.statusText;
        out += oneLine(upper(stateName(r.state)) + " " + r.nodeName + " (" + r.IP + ") " + what) + "\n";
    }
    return out;
}

RemoteTransport checkTransport(const std::filesystem::path& programFolder)
{
    Settings settings;
    (void)readSettingsFile(programFolder / SettingsFileName, settings);
    return settings.transport;
}

int runDiagnoseAllCheck(const HeadlessRun& run, ManagementService& management, std::ostream& out)
{
    const std::filesystem::path nodeFile = run.programFolder / NodeFileName;
    std::string text, error;
    if (!readWholeFile(nodeFile, text, &error)) {
        out << "OPTICAL UNKNOWN - no node file: " << oneLine(error) << "\n";
        return CheckUnknown;
    }
    if (run.exportFile && !exportFormatOf(*run.exportFile)) {
        out << "OPTICAL UNKNOWN - " << run.exportFile->string() << ": unknown export format (use .csv, .json, .html or .prom)\n";
        return CheckUnknown;
    }
    NodeTable table;
    parseNodeFile(text, table);
    Settings settings;
    (void)readSettingsFile(run.programFolder / SettingsFileName, settings); // the defaults serve without one
    std::optional<KeyringPasswords> keyring;
    std::string keyringProblem;
    if (settings.KeepPasswordsInKeyring) {
        if (run.secrets)
            keyringProblem = keyring.emplace(*run.secrets, run.programFolder).fill(table, settings);
        else
            keyringProblem = "no system keyring to read them from";
    }
    const DiagnosisSettings diagnosis{run.programFolder, settings.AdminUser, settings.AdminPassword,
                                      settings.WmiNamespace};
    const std::atomic<bool> never{false};
    const FleetRun result = diagnoseAll(table, management, diagnosis, settings.transport.nodesAtOnce, never);

    std::vector<FleetRow> rows;
    const std::string historyProblem = recordHistory(run.programFolder, table, result, rows);
    // The marks are what the next start shows; a failed save changes no verdict on the drives.
    std::string saveError;
    // What the keyring holds stays out of the file; without the keyring the file is left as it was.
    bool saved = true;
    if (keyring)
        saved = saveNodeFile(nodeFile, keyring->forFiles(table, settings).nodes, NodeFileForm::Plain, &saveError);
    else if (!settings.KeepPasswordsInKeyring)
        saved = saveNodeFile(nodeFile, table, NodeFileForm::Plain, &saveError);
    if (run.exportFile) {
        const ExportHeader header{QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString(), run.version};
        if (!writeFleetExport(*run.exportFile, rows, header, &error)) {
            out << "OPTICAL UNKNOWN - export not written: " << oneLine(error) << "\n";
            return CheckUnknown;
        }
    }
    const CheckStatus status = checkStatusOf(rows);
    out << formatCheckOutput(rows, status);
    if (!saved)
        out << "node file not updated: " << oneLine(saveError) << "\n";
    if (!keyringProblem.empty())
        out << "passwords not read from the system keyring: " << oneLine(keyringProblem) << "\n";
    if (!historyProblem.empty())
        out << "history not recorded: " << oneLine(historyProblem) << "\n";
    return status;
}

} // namespace vorlu
