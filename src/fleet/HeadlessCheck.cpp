#include "fleet/HeadlessCheck.h"

#include "fleet/DiagnoseAll.h"
#include "fleet/FleetExport.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"
#include "nodes/Settings.h"

#include <QDateTime>

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
    std::string out = std::string("OPTICAL ") + StatusWords[status] + " - " + std::to_string(c.green) + " green, " +
                      std::to_string(c.amber) + " amber, " + std::to_string(c.red) + " red, " +
                      std::to_string(c.notReached) + " nodes not reached | green=" + std::to_string(c.green) +
                      " amber=" + std::to_string(c.amber) + " red=" + std::to_string(c.red) +
                      " not_reached=" + std::to_string(c.notReached) + "\n";
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
        out << "OPTICAL UNKNOWN - " << run.exportFile->string() << ": unknown export format (use .csv, .json or .html)\n";
        return CheckUnknown;
    }
    NodeTable table;
    parseNodeFile(text, table);
    Settings settings;
    (void)readSettingsFile(run.programFolder / SettingsFileName, settings); // the defaults serve without one
    const DiagnosisSettings diagnosis{run.programFolder, settings.AdminUser, settings.AdminPassword,
                                      settings.WmiNamespace};
    const std::atomic<bool> never{false};
    const FleetRun result = diagnoseAll(table, management, diagnosis, settings.transport.nodesAtOnce, never);

    std::vector<FleetRow> rows;
    const std::string historyProblem = recordHistory(run.programFolder, table, result, rows);
    // The marks are what the next start shows; a failed save changes no verdict on the drives.
    std::string saveError;
    const bool saved = saveNodeFile(nodeFile, table, NodeFileForm::Plain, &saveError);
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
    if (!historyProblem.empty())
        out << "history not recorded: " << oneLine(historyProblem) << "\n";
    return status;
}

} // namespace vorlu
