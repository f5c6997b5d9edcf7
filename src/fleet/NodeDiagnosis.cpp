#include "fleet/NodeDiagnosis.h"

#include "inventory/DiagnosticsFile.h"
#include "inventory/InventoryReport.h"
#include "inventory/InventoryTexts.h"
#include "inventory/WmiConnection.h"
#include "network/NodeFolders.h"
#include "nodes/AtomicFile.h"
#include "platform/TextCase.h"

#include <QDateTime>

namespace vorlu {

namespace {

// The properties of the report and of the diagnostics file together.
constexpr const char* DiagnosisQuery = "Select Drive, Name, Availability, ConfigManagerErrorCode, ErrorCleared, "
                                       "ErrorDescription, LastErrorCode, Status, StatusInfo, MediaLoaded "
                                       "From Win32_CDROMDrive";

bool writeNodeFile(const std::filesystem::path& folder, const char* file, const std::string& content,
                   std::string& problem)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        problem = folder.string() + ": " + ec.message();
        return false;
    }
    return writeFileAtomically(folder / file, content, FileAccess::Default, &problem);
}

} // namespace

NodeOutcome diagnoseNode(ManagementService& management, const NodeRecord& node, const DiagnosisSettings& settings)
{
    NodeOutcome out;
    out.diagnosedAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    WmiConnection connection;
    SelectNodeCredentials(connection, node, settings.adminUser, settings.adminPassword);
    const ConnectionHold hold = management.holdConnections(connection.server);
    // One query serves both files where the namespaces agree.
    std::vector<WmiRow> drives;
    try {
        ManagementSession session = OpenConnection(management, connection, DiagnosticsNamespace);
        drives = session.services->execQuery(DiagnosisQuery);
    } catch (const std::exception& e) {
        // As the single node's check: the node counts as refusing us, whatever the cause.
        out.kind = NodeOutcomeKind::Refused;
        out.reason = displayReason(e.what(), connection);
        return out;
    }
    out.diagnostics = formatDiagnostics(drives);
    std::string problem;
    try {
        out.report = equalsIgnoringCase(settings.wmiNamespace, DiagnosticsNamespace)
                         ? formatInventoryReport(drives)
                         : formatInventoryReport(QueryNode(management, connection, settings.wmiNamespace, DriveListQuery));
    } catch (const std::exception& e) {
        out.reason = displayReason(e.what(), connection);
        return out;
    }
    if (const auto why = folderNameProblem(node.Name)) {
        out.reason = *why;
        return out;
    }
    const std::filesystem::path folder = nodeFolder(settings.programFolder, node.Name);
    if (!writeNodeFile(folder, DiagnosticsFileName, out.diagnostics, problem) ||
        !writeNodeFile(folder, ReportFileName, out.report, problem)) {
        out.reason = problem;
        return out;
    }
    out.kind = NodeOutcomeKind::Diagnosed;
    return out;
}

const char* scannedStateOf(const NodeOutcome& outcome)
{
    return outcome.kind == NodeOutcomeKind::Refused ? AccessDeniedState : ScannedState;
}

} // namespace vorlu
