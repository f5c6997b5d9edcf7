#pragma once
#include "nodes/NodeTable.h"
#include "platform/Management.h"

#include <filesystem>
#include <string>

namespace vorlu {

// What diagnosing one node needs besides the node: where its files go and the
// administrator's login for nodes without their own.
struct DiagnosisSettings {
    std::filesystem::path programFolder;
    std::string adminUser;
    std::string adminPassword;
    std::string wmiNamespace;
};

enum class NodeOutcomeKind { Diagnosed, Refused, Failed };

// One node's diagnosis. Refused: the connectivity check failed ("Access
// denied"); Failed: it answered, but a query or a file write did not succeed.
struct NodeOutcome {
    NodeOutcomeKind kind = NodeOutcomeKind::Failed;
    std::string reason;      // shown beside the node; never holds a password
    std::string diagnostics; // the sen_cd text written
    std::string report;      // the report text written
    std::string diagnosedAt; // UTC, ISO 8601
};

// Credential choice, connectivity check, diagnostics collection into sen_cd
// and the drive report, both written atomically. Touches nothing but the
// node's folder, so it may run on a worker thread when the service may.
NodeOutcome diagnoseNode(ManagementService& management, const NodeRecord& node, const DiagnosisSettings& settings);

// The node table's Scanned field after the outcome.
const char* scannedStateOf(const NodeOutcome& outcome);

} // namespace vorlu
