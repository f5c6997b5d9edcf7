#pragma once
#include "inventory/AnswerBounds.h"
#include "drives/DrivePainter.h"
#include "inventory/InventoryContext.h"
#include "inventory/NodeDiagnosis.h"

#include <optional>
#include <string>
#include <vector>

namespace vorlu {

// The drive scan commands: build and diagnose the selected node or this
// computer, the items that forward to them, and showing a node's stored
// report and diagnostics. Each command returns false when it was refused
// because another command holds the gate (the status line says so).
class InventoryScanCommands {
public:
    InventoryScanCommands(InventoryState state, InventoryServices services);

    // The model's painter; without one the parts stay as they are.
    void setPainter(DrivePainter& painter) { painter_ = &painter; }

    bool BuildSelected();      // mnuscansp and the toolbar's "Scan Current Node"
    bool BuildLocal();         // mnuslpc
    bool DiagnoseSelected();   // mnuwcurnddia
    bool DiagnoseLocal();      // mnuelocaldia
    // The node menu's items: they run the command only while the table has nodes.
    bool ScanNode();           // mnuScannode
    bool ScanLocal();          // mnuscanlocal
    bool CurrentDiagnostics(); // mnucurnddia
    bool LocalDiagnostics();   // mnulocaldia
    // The node tree's double-click: the selected node's stored report and
    // diagnostics, without contacting it.
    bool ShowStoredNode();

    const WmiConnection& connection() const { return connection_; }
    const DriveResults& results() const { return results_; }
    // The reset before a node is shown: grids, counters, painted parts, drive table.
    void resetResults();
    std::size_t DiagnosedNode() const { return diagnosedNode_; }
    bool DriveScanDone() const { return state_.flags.DriveScanDone; }

private:
    bool refuse();
    std::string withNode(const char* prefix) const;
    std::filesystem::path nodeFile(std::size_t node, const char* file, std::string* problem) const;
    DiagnosisSettings diagnosisSettings() const;
    NodeDiagnosis selectedNodeDiagnosis();
    // Selects this computer and diagnoses it with the service's default login.
    NodeDiagnosis thisComputerDiagnosis();
    void markNode(const NodeDiagnosis& diagnosis);
    void showFailure(const std::string& text, const std::string& reason);
    void fail(const std::string& text, const std::string& reason);
    bool CheckConnectivity(NodeDiagnosis& diagnosis);
    // Collects the files on the worker and writes them; the node is marked either way.
    bool collect(NodeDiagnosis& diagnosis, NodeFiles files);
    bool CollectInventory(NodeDiagnosis& diagnosis);
    void LoadInventoryReport();
    bool CollectDiagnostics(NodeDiagnosis& diagnosis);
    void EvaluateStoredDiagnostics();
    void showHardware();
    bool localNodeMissing();
    void prepareDiagnostics();
    // The success text on lblstatus and the status bar, dialog hidden, pointers normal.
    void finish(const char* prefix);
    bool ending() const { return services_.ending && services_.ending(); }
    void yield() const { yieldNow(services_.yield); }

    // Runs command while it holds the gate; refused while another command holds it.
    bool gated(bool (InventoryScanCommands::*command)());
    bool selectedNodeMissing() const;
    // The stored diagnostics evaluated and shown, the success text, the history told.
    void finishDiagnostics();
    bool buildSelected();
    bool buildLocal();
    bool diagnoseSelected();
    bool diagnoseLocal();
    bool showStoredNode();

    InventoryState state_;
    InventoryServices services_;
    DrivePainter noPainter_;
    DrivePainter* painter_ = &noPainter_;
    WmiConnection connection_;
    std::size_t diagnosedNode_ = 0;
    AnswerCut answerCut_; // of the last drive query, told on the status line when the command ends
    DriveResults& results_;
};

} // namespace vorlu
