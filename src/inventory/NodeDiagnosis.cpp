#include "inventory/NodeDiagnosis.h"

#include "inventory/DiagnosticsFile.h"
#include "inventory/InventoryReport.h"
#include "inventory/InventoryTexts.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFolders.h"
#include "platform/CallCancel.h"
#include "platform/TextCase.h"

#include <QDateTime>
#include <tuple>

namespace vorlu {

namespace {

bool wants(NodeFiles files, NodeFiles part) { return (static_cast<int>(files) & static_cast<int>(part)) != 0; }

// The properties of the drive list and of the drive status together.
constexpr const char* DriveListAndStatusQuery = "Select Drive, Name, Availability, ConfigManagerErrorCode, "
                                                "ErrorCleared, ErrorDescription, LastErrorCode, Status, StatusInfo, "
                                                "MediaLoaded From Win32_CDROMDrive";

} // namespace

NodeDiagnosis::NodeDiagnosis(ManagementService& management, DiagnosisSettings settings, const NodeRecord& node,
                             WmiConnection connection)
    : management_(management), settings_(std::move(settings)), node_(node), connection_(std::move(connection))
{
    if (settings_.wmiNamespace.empty())
        settings_.wmiNamespace = DiagnosticsNamespace;
    outcome_.diagnosedAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
}

NodeDiagnosis::NodeDiagnosis(ManagementService& management, DiagnosisSettings settings, const NodeRecord& node)
    : NodeDiagnosis(management, std::move(settings), node, {})
{
    SelectNodeCredentials(connection_, node_, settings_.adminUser, settings_.adminPassword);
}

NodeDiagnosis NodeDiagnosis::thisComputer(ManagementService& management, DiagnosisSettings settings,
                                          const NodeRecord& node)
{
    return NodeDiagnosis(management, std::move(settings), node, WmiConnection{});
}

bool NodeDiagnosis::refuse(const std::string& reason) { return fail(NodeOutcomeKind::Refused, reason); }

bool NodeDiagnosis::fail(NodeOutcomeKind kind, const std::string& reason)
{
    // A call given up by the user is no fault of the node.
    outcome_.kind = callCancelled() ? NodeOutcomeKind::Cancelled : kind;
    outcome_.reason = outcome_.kind == NodeOutcomeKind::Cancelled ? CallCancelledText : displayReason(reason, connection_);
    if (outcome_.kind != NodeOutcomeKind::Cancelled)
        logFailure(connection_, kind == NodeOutcomeKind::Refused     ? "refused"
                                : kind == NodeOutcomeKind::WriteFailed ? "could not be written"
                                                                       : "did not answer a drive query",
                   outcome_.reason);
    return false;
}

WmiServices& NodeDiagnosis::services(const std::string& nameSpace)
{
    // One locator and, per namespace, one connection serve every query of the node,
    // so a transport that keeps its sign-in pays for it once.
    // The empty server is this computer for the local commands alone: a node whose address is unknown must
    // never be answered with this computer's drives.
    if (!connection_.node.empty() && connection_.server.empty())
        throw WmiError(NoAddressText);
    if (!locator_) {
        locator_ = management_.createLocator();
        if (!locator_)
            throw WmiError("the management service gave no locator");
    }
    const bool configured = equalsIgnoringCase(nameSpace, settings_.wmiNamespace);
    std::unique_ptr<WmiServices>& slot = configured ? configured_ : diagnostics_;
    if (!slot) {
        slot = locator_->connectServer(connection_.server, nameSpace, connection_.user, connection_.password);
        if (!slot)
            throw WmiError("the management service gave no connection");
    }
    return *slot;
}

bool NodeDiagnosis::checkConnectivity()
{
    try {
        std::vector<WmiRow> rows = services(settings_.wmiNamespace).execQuery(ComputerSystemQuery);
        boundAnswer(rows);
        for (const WmiRow& row : rows)
            (void)row.property("Name");
    } catch (const std::exception& e) {
        // Whatever the cause (login, address, service, namespace), the node counts as refusing us.
        return refuse(e.what());
    }
    return true;
}

bool NodeDiagnosis::collect(NodeFiles files)
{
    collected_ = files;
    const bool opened = configured_ || diagnostics_;
    try {
        // Both files from one query where they come from one namespace: a round trip less.
        if (files == NodeFiles::Both && equalsIgnoringCase(settings_.wmiNamespace, DiagnosticsNamespace)) {
            std::vector<WmiRow> rows = services(DiagnosticsNamespace).execQuery(DriveListAndStatusQuery);
            outcome_.answerCut = boundAnswer(rows);
            outcome_.report = formatInventoryReport(rows);
            outcome_.diagnostics = formatDiagnostics(rows);
            return true;
        }
        if (wants(files, NodeFiles::Report)) {
            std::vector<WmiRow> rows = services(settings_.wmiNamespace).execQuery(DriveListQuery);
            outcome_.answerCut = boundAnswer(rows);
            outcome_.report = formatInventoryReport(rows);
        }
        if (wants(files, NodeFiles::Diagnostics)) {
            std::vector<WmiRow> rows = services(DiagnosticsNamespace).execQuery(DriveStatusQuery);
            outcome_.answerCut = boundAnswer(rows);
            outcome_.diagnostics = formatDiagnostics(rows);
        }
    } catch (const std::exception& e) {
        return opened ? fail(NodeOutcomeKind::QueryFailed, e.what()) : refuse(e.what());
    }
    return true;
}

bool NodeDiagnosis::write()
{
    // A cancel that came with the last answer: the files stay as they were.
    if (callCancelled())
        return fail(NodeOutcomeKind::Cancelled, CallCancelledText);
    if (const auto why = folderNameProblem(node_.Name)) {
        outcome_.unwritten = wants(collected_, NodeFiles::Report) ? ReportFileName : DiagnosticsFileName;
        return fail(NodeOutcomeKind::WriteFailed, *why);
    }
    // The node tree makes the folder after a scan; a node file brought from elsewhere may lack it.
    const std::filesystem::path folder = nodeFolder(settings_.programFolder, node_.Name);
    std::string problem;
    if (!makeNodeFolder(settings_.programFolder, node_.Name)) {
        outcome_.unwritten = wants(collected_, NodeFiles::Report) ? ReportFileName : DiagnosticsFileName;
        return fail(NodeOutcomeKind::WriteFailed, folder.string() + ": the folder cannot be made");
    }
    std::vector<FileContent> files;
    if (wants(collected_, NodeFiles::Report))
        files.push_back({ReportFileName, outcome_.report});
    if (wants(collected_, NodeFiles::Diagnostics))
        files.push_back({DiagnosticsFileName, outcome_.diagnostics});
    // Both files with one sync of the folder; neither is replaced unless both were written.
    if (!writeFilesAtomically(folder, files, &problem)) {
        outcome_.unwritten = files.front().name;
        return fail(NodeOutcomeKind::WriteFailed, problem);
    }
    outcome_.kind = NodeOutcomeKind::Diagnosed;
    return true;
}

NodeOutcome diagnoseNode(ManagementService& management, const NodeRecord& node, const DiagnosisSettings& settings,
                         NodeFiles files)
{
    NodeDiagnosis diagnosis(management, settings, node);
    (void)(diagnosis.checkConnectivity() && diagnosis.collect(files) && diagnosis.write());
    return diagnosis.outcome();
}

const char* scannedStateOf(const NodeOutcome& outcome)
{
    return outcome.kind == NodeOutcomeKind::Diagnosed ? ScannedState : AccessDeniedState;
}

} // namespace vorlu
