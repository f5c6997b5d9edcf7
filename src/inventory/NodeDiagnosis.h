#pragma once
#include "inventory/AnswerBounds.h"
#include "inventory/WmiConnection.h"
#include "nodes/NodeTable.h"
#include "platform/Management.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vorlu {

// What diagnosing one node needs besides the node: where its files go, the
// administrator's login for nodes without their own, and the namespace of the
// connectivity check and the drive list (empty reads as root\cimv2).
struct DiagnosisSettings {
    std::filesystem::path programFolder;
    std::string adminUser;
    std::string adminPassword;
    std::string wmiNamespace;
};

// Which of the node's files a path renews: the drive list ("report"), the
// drive status ("sen_cd"), or both.
enum class NodeFiles { Report = 1, Diagnostics = 2, Both = 3 };

enum class NodeOutcomeKind { NotDiagnosed, Diagnosed, Refused, QueryFailed, WriteFailed, Cancelled };

// One node's diagnosis. NotDiagnosed: nothing was asked yet; Refused: the connection or the connectivity check
// failed; QueryFailed: the node answered the check but not a drive query;
// WriteFailed: a file of the node could not be written; Cancelled: the
// calls' CancelScope was cancelled, nothing was written and the node keeps
// what it had.
struct NodeOutcome {
    NodeOutcomeKind kind = NodeOutcomeKind::NotDiagnosed;
    std::string reason;      // shown beside the node; never holds a password
    std::string unwritten;   // the file a write failure left alone: "report" or "sen_cd"
    std::string report;      // the report text, when asked for
    std::string diagnostics; // the sen_cd text, when asked for
    std::string diagnosedAt; // UTC, ISO 8601
    AnswerCut answerCut;     // of the last drive query
};

// The one way the program diagnoses a node, for the window's drive commands,
// Diagnose All and the headless check alike: the login of the node (or the
// administrator's), one management connection kept for every query, the
// connectivity check, the drive queries, the files. The steps run in order
// and each returns false when the diagnosis ends there, with the outcome
// saying why. Touches nothing but the node's folder, so the steps may run on
// a worker thread when the service may.
class NodeDiagnosis {
public:
    NodeDiagnosis(ManagementService& management, DiagnosisSettings settings, const NodeRecord& node);
    // This computer, with the service's default login.
    static NodeDiagnosis thisComputer(ManagementService& management, DiagnosisSettings settings,
                                      const NodeRecord& node);

    // Connects and asks the node's name in the configured namespace.
    bool checkConnectivity();
    // The drive list in the configured namespace, the drive status in
    // root\cimv2; connects first when checkConnectivity() did not.
    bool collect(NodeFiles files);
    // Writes what collect() gathered into the node's folder, made when missing,
    // each file whole or not at all.
    bool write();

    const NodeOutcome& outcome() const { return outcome_; }
    const WmiConnection& connection() const { return connection_; }

private:
    NodeDiagnosis(ManagementService& management, DiagnosisSettings settings, const NodeRecord& node,
                  WmiConnection connection);
    // Ends the diagnosis with a refusal: every reason a node is refused goes through here.
    bool refuse(const std::string& reason);
    bool fail(NodeOutcomeKind kind, const std::string& reason);
    WmiServices& services(const std::string& nameSpace);

    ManagementService& management_;
    DiagnosisSettings settings_;
    NodeRecord node_;
    WmiConnection connection_;
    std::unique_ptr<WmiLocator> locator_;
    std::unique_ptr<WmiServices> configured_;  // the configured namespace
    std::unique_ptr<WmiServices> diagnostics_; // root\cimv2, when that is another namespace
    NodeFiles collected_ = NodeFiles::Both;
    NodeOutcome outcome_;
};

// check, collect and write in one go.
NodeOutcome diagnoseNode(ManagementService& management, const NodeRecord& node, const DiagnosisSettings& settings,
                         NodeFiles files = NodeFiles::Both);

// The node table's Scanned field after the outcome: "Scanned" only when the
// node's files were renewed, "Access denied" otherwise.
const char* scannedStateOf(const NodeOutcome& outcome);

} // namespace vorlu
