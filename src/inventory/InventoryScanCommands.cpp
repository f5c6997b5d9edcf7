#include "inventory/InventoryScanCommands.h"

#include "inventory/InventoryTexts.h"
#include "platform/CallCancel.h"
#include "nodes/NodeFolders.h"
#include "network/NodeTree.h"
#include "nodes/AtomicFile.h"

namespace vorlu {

namespace {
constexpr double CollectingBar = 0.1182; // a short start while the first call runs
constexpr double CollectedBar = 1.0;
} // namespace

InventoryScanCommands::InventoryScanCommands(InventoryState state, InventoryServices services)
    : state_(state), services_(std::move(services)), results_(state.results)
{
}

bool InventoryScanCommands::refuse()
{
    services_.dialog.setStatus(CommandGate::busyText);
    services_.window.setStatusMessage(CommandGate::busyText);
    return false;
}

std::string InventoryScanCommands::withNode(const char* prefix) const
{
    const NodeRecord& r = state_.table.at(state_.SelectedNode);
    return prefix + r.Login + r.IP;
}

std::filesystem::path InventoryScanCommands::nodeFile(std::size_t node, const char* file, std::string* problem) const
{
    const std::string& name = state_.table.at(node).Name;
    if (const auto why = folderNameProblem(name)) {
        if (problem)
            *problem = *why;
        return {};
    }
    return nodeFolder(state_.programFolder, name) / file;
}

void InventoryScanCommands::resetResults() { resetDriveResults(results_, services_.grids, *painter_); }

void InventoryScanCommands::startShowing()
{
    resetResults();
    if (services_.nodeShown)
        services_.nodeShown(state_.SelectedNode);
}

void InventoryScanCommands::forgetShown()
{
    startShowing();
    services_.hardwareTree.clear();
    services_.units.hideAllUnits();
    services_.units.renderScene();
}

bool InventoryScanCommands::runStep(const std::function<bool()>& step)
{
    bool done = false;
    std::atomic<bool>& cancel = cancel_;
    services_.work.run([&done, &step, &cancel] {
        const CancelScope scope(cancel);
        done = step();
    });
    return done;
}

void InventoryScanCommands::showFailure(const std::string& text, const std::string& reason)
{
    const std::string why = displayReason(reason, connection_);
    services_.dialog.setStatus(text);
    services_.dialog.setDetail(why);
    services_.window.setStatusMessage(text + ": " + why);
}

void InventoryScanCommands::fail(const std::string& text, const std::string& reason)
{
    showFailure(text, reason);
    services_.dialog.setBusyPointer(false);
    services_.window.setBusyPointer(false);
}

DiagnosisSettings InventoryScanCommands::diagnosisSettings() const
{
    return {state_.programFolder, state_.settings.AdminUser, state_.settings.AdminPassword,
            state_.settings.WmiNamespace};
}

NodeDiagnosis InventoryScanCommands::selectedNodeDiagnosis()
{
    NodeDiagnosis diagnosis(services_.management, diagnosisSettings(), state_.table.at(state_.SelectedNode));
    connection_ = diagnosis.connection();
    return diagnosis;
}

NodeDiagnosis InventoryScanCommands::thisComputerDiagnosis()
{
    state_.SelectedNode = state_.LocalNode;
    NodeDiagnosis diagnosis =
        NodeDiagnosis::thisComputer(services_.management, diagnosisSettings(), state_.table.at(state_.SelectedNode));
    connection_ = diagnosis.connection();
    return diagnosis;
}

void InventoryScanCommands::markNode(const NodeDiagnosis& diagnosis)
{
    state_.table.at(state_.SelectedNode).Scanned = scannedStateOf(diagnosis.outcome());
}

bool InventoryScanCommands::CheckConnectivity(NodeDiagnosis& diagnosis)
{
    services_.dialog.setStatus(withNode(ConnectingPrefix));
    if (!runStep([&diagnosis] { return diagnosis.checkConnectivity(); })) {
        forgetShown();
        if (diagnosis.outcome().kind == NodeOutcomeKind::Cancelled) {
            fail(withNode(CancelledPrefix), diagnosis.outcome().reason);
            return false;
        }
        showFailure(withNode(AccessDeniedPrefix), diagnosis.outcome().reason);
        markNode(diagnosis);
        services_.window.setBusyPointer(false);
        state_.flags.AccessDenied = true;
        return false;
    }
    services_.dialog.setStatus(withNode(ConnectedPrefix));
    return true;
}

bool InventoryScanCommands::collect(NodeDiagnosis& diagnosis, NodeFiles files)
{
    services_.dialog.setStatus(withNode(CollectingPrefix));
    // The answer is cut on the worker, so that a huge one is freed before the window sees it.
    const bool collected = runStep([&diagnosis, files] { return diagnosis.collect(files); });
    answerCut_ = diagnosis.outcome().answerCut;
    if (!collected) {
        forgetShown();
        const bool cancelled = diagnosis.outcome().kind == NodeOutcomeKind::Cancelled;
        fail(withNode(cancelled ? CancelledPrefix : CollectFailedPrefix), diagnosis.outcome().reason);
        if (!cancelled)
            markNode(diagnosis);
        return false;
    }
    if (ending())
        return false;
    const bool written = diagnosis.write();
    markNode(diagnosis);
    if (!written) {
        forgetShown();
        const std::string shown = state_.table.at(state_.SelectedNode).Name + "/" + diagnosis.outcome().unwritten;
        fail(WriteFailedPrefix + shown, diagnosis.outcome().reason);
        return false;
    }
    return true;
}

bool InventoryScanCommands::CollectInventory(NodeDiagnosis& diagnosis)
{
    services_.dialog.setBarFraction(CollectingBar);
    if (!collect(diagnosis, NodeFiles::Report))
        return false;
    services_.dialog.setBarFraction(CollectedBar);
    services_.dialog.setStatus(HardwareCollectedText);
    return true;
}

void InventoryScanCommands::LoadInventoryReport()
{
    const std::filesystem::path path = nodeFile(state_.SelectedNode, ReportFileName, nullptr);
    std::string text;
    if (path.empty() || !readWholeFile(path, text))
        return;
    if (const auto report = parseInventoryReport(text))
        build_cd(*report, services_.hardwareTree, services_.units, state_.settings.ShowRacks);
}

bool InventoryScanCommands::CollectDiagnostics(NodeDiagnosis& diagnosis)
{
    startShowing();
    services_.dialog.setBarFraction(CollectedBar);
    if (!collect(diagnosis, NodeFiles::Diagnostics))
        return false;
    services_.dialog.setStatus(SensorCollectedText);
    return true;
}

void InventoryScanCommands::EvaluateStoredDiagnostics()
{
    const std::filesystem::path path = nodeFile(diagnosedNode_, DiagnosticsFileName, nullptr);
    std::string text;
    if (!path.empty() && readWholeFile(path, text)) {
        const NodeRecord& r = state_.table.at(diagnosedNode_);
        presentEvaluation(evaluateDiagnostics(text), {r.IP, r.Name}, results_, services_.grids, *painter_);
    }
    ShowDriveCounters(results_, services_.grids);
}

void InventoryScanCommands::showHardware()
{
    services_.units.hideAllUnits();
    buildHardwareTree(services_.hardwareTree, state_.table.at(state_.SelectedNode), state_.settings.NodeLabelMode);
    LoadInventoryReport();
    services_.units.renderScene();
}

void InventoryScanCommands::prepareDiagnostics()
{
    services_.dialog.setBarFraction(0.0);
    services_.dialog.setBusyPointer(true);
    services_.dialog.setStatus(PreparingDiagnosticText);
    services_.dialog.setDetail("");
    services_.dialog.setCaption(DiagnosticCaption);
}

void InventoryScanCommands::finish(const char* prefix)
{
    const std::string done = withNode(prefix) + answerCutNote(answerCut_);
    services_.dialog.setStatus(done);
    services_.window.setStatusMessage(done);
    services_.dialog.hideDialog();
    services_.window.setBusyPointer(false);
    services_.dialog.setBusyPointer(false);
}

bool InventoryScanCommands::localNodeMissing()
{
    if (state_.LocalNode != 0 && state_.LocalNode <= state_.table.count())
        return false;
    services_.dialog.setStatus(NoLocalNodeText);
    services_.window.setStatusMessage(NoLocalNodeText);
    return true;
}

bool InventoryScanCommands::gated(bool (InventoryScanCommands::*command)())
{
    const CommandGate::Pass pass = services_.gate.enter();
    if (!pass)
        return refuse();
    cancel_ = false; // a Cancel belongs to the command it was pressed in
    return (this->*command)();
}

bool InventoryScanCommands::BuildSelected() { return gated(&InventoryScanCommands::buildSelected); }
bool InventoryScanCommands::BuildLocal() { return gated(&InventoryScanCommands::buildLocal); }
bool InventoryScanCommands::DiagnoseSelected() { return gated(&InventoryScanCommands::diagnoseSelected); }
bool InventoryScanCommands::DiagnoseLocal() { return gated(&InventoryScanCommands::diagnoseLocal); }
bool InventoryScanCommands::ShowStoredNode() { return gated(&InventoryScanCommands::showStoredNode); }

bool InventoryScanCommands::selectedNodeMissing() const
{
    return state_.SelectedNode == 0 || state_.SelectedNode > state_.table.count();
}

bool InventoryScanCommands::ScanNode() { return state_.table.empty() || BuildSelected(); }
bool InventoryScanCommands::ScanLocal() { return state_.table.empty() || BuildLocal(); }
bool InventoryScanCommands::CurrentDiagnostics() { return state_.table.empty() || DiagnoseSelected(); }
bool InventoryScanCommands::LocalDiagnostics() { return state_.table.empty() || DiagnoseLocal(); }

bool InventoryScanCommands::buildSelected()
{
    state_.flags.AccessDenied = false;
    if (state_.table.empty() || selectedNodeMissing())
        return true;
    services_.window.setBusyPointer(true);
    startShowing();
    services_.dialog.setDetail("");
    services_.dialog.showDialog();
    NodeDiagnosis diagnosis = selectedNodeDiagnosis();
    services_.hardwareTree.clear();
    if (!CheckConnectivity(diagnosis) || ending())
        return true;
    state_.flags.DriveScanDone = true;
    if (!CollectInventory(diagnosis))
        return true;
    services_.units.hideAllUnits();
    services_.dialog.setStatus(withNode(BuildingPrefix));
    showHardware();
    finish(BuiltPrefix);
    return true;
}

bool InventoryScanCommands::buildLocal()
{
    if (state_.table.empty() || localNodeMissing())
        return true;
    services_.window.setBusyPointer(true);
    NodeDiagnosis diagnosis = thisComputerDiagnosis();
    startShowing();
    services_.dialog.setDetail("");
    services_.dialog.showDialog();
    services_.hardwareTree.clear();
    state_.flags.DriveScanDone = true;
    if (!CollectInventory(diagnosis))
        return true;
    showHardware();
    finish(BuiltPrefix);
    return true;
}

bool InventoryScanCommands::diagnoseSelected()
{
    state_.flags.AccessDenied = false;
    if (state_.table.empty() || selectedNodeMissing())
        return true;
    services_.window.setBusyPointer(true);
    prepareDiagnostics();
    services_.dialog.showDialog();
    NodeDiagnosis diagnosis = selectedNodeDiagnosis();
    diagnosedNode_ = state_.SelectedNode;
    if (!CheckConnectivity(diagnosis)) {
        services_.dialog.setBusyPointer(false);
        return true;
    }
    if (ending())
        return true;
    state_.flags.DriveScanDone = true;
    if (!CollectDiagnostics(diagnosis))
        return true;
    finishDiagnostics();
    return true;
}

bool InventoryScanCommands::diagnoseLocal()
{
    if (state_.table.empty() || localNodeMissing())
        return true;
    services_.window.setBusyPointer(true);
    prepareDiagnostics();
    NodeDiagnosis diagnosis = thisComputerDiagnosis();
    diagnosedNode_ = state_.LocalNode;
    services_.dialog.showDialog();
    state_.flags.DriveScanDone = true;
    if (!CollectDiagnostics(diagnosis))
        return true;
    finishDiagnostics();
    return true;
}

void InventoryScanCommands::finishDiagnostics()
{
    EvaluateStoredDiagnostics();
    services_.units.renderScene();
    finish(ScannedPrefix);
    if (services_.diagnosed)
        services_.diagnosed(diagnosedNode_);
}

bool InventoryScanCommands::showStoredNode()
{
    state_.flags.AccessDenied = false;
    if (selectedNodeMissing())
        return true;
    services_.dialog.setBarFraction(0.0);
    services_.dialog.setBusyPointer(true);
    services_.window.setBusyPointer(true);
    services_.dialog.setStatus(PreparingModelText);
    services_.dialog.setCaption(StatusCaption);
    startShowing();
    showHardware();
    // The stored diagnostics too, so the grids match the drives on show.
    diagnosedNode_ = state_.SelectedNode;
    EvaluateStoredDiagnostics();
    services_.units.renderScene();
    services_.dialog.setBusyPointer(false);
    services_.window.setBusyPointer(false);
    services_.dialog.setStatus("");
    return true;
}

} // namespace vorlu
