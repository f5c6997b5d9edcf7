#include "addresses/AddressCommands.h"

#include "addresses/AddressTexts.h"
#include "addresses/JoinFound.h"
#include "network/NetworkTexts.h"
#include "network/ScanListGrid.h"
#include "platform/Log.h"

#include <QTimer>

namespace vorlu {

AddressCommands::AddressCommands(NetworkContext context, RepaintPace& pace, CommandGate& gate, AddressViews& views,
                                 std::filesystem::path programFolder, Services services)
    : ctx_(std::move(context)), pace_(pace), gate_(gate), views_(views), programFolder_(std::move(programFolder)),
      services_(std::move(services))
{
}

void AddressCommands::loadConnections()
{
    std::string error;
    if (!readNodeConnections(programFolder_, connections_, &error)) {
        keepConnectionsFile_ = true;
        qCWarning(lcNetwork, "%s", error.c_str());
        ctx_.dialog.setStatus(error + " (the file is kept as it is)");
    }
    publish();
}

void AddressCommands::publish()
{
    if (services_.publish)
        services_.publish(connectionsByServer(ctx_.table, connections_));
}

RemoteTransport AddressCommands::programTransport() const
{
    return services_.programTransport ? services_.programTransport() : RemoteTransport{};
}

void AddressCommands::refuse() { ctx_.dialog.setStatus(CommandGate::busyText); }

bool AddressCommands::saveConnections(const NodeConnections& before)
{
    if (connections_ == before)
        return true;
    std::string error;
    if (keepConnectionsFile_)
        error = "the nodes' connections file could not be read at start-up, so it is left as it is";
    else if (saveNodeConnections(programFolder_, connections_, &error))
        return true;
    qCWarning(lcNetwork, "saving the nodes' connections failed: %s", error.c_str());
    ctx_.boxes.show("The nodes' connections were not saved: " + error, MessageTitle, MessageIcon::Warning);
    return false;
}

void AddressCommands::joined(std::size_t added)
{
    if (added == 0)
        return;
    ctx_.flags.NewNodesFound = true;
    if (services_.rebuildNetworkTree)
        services_.rebuildNetworkTree();
    publish();
}

bool AddressCommands::ScanAddresses(const std::string& localAddress)
{
    const CommandGate::Pass pass = gate_.enter();
    if (!pass) {
        refuse();
        return false;
    }
    const auto text = views_.askRange(defaultRangeText(localAddress));
    if (!text)
        return true;
    std::string reason;
    const auto range = parseAddressRange(*text, reason);
    if (!range) {
        ctx_.boxes.show(RangeRefusedPrefix + reason, MessageTitle, MessageIcon::Warning);
        return true;
    }
    const std::string span = formatIPv4(range->first) + "-" + formatIPv4(range->at(range->count - 1));
    ctx_.dialog.setCaption(ScanAddressesCaption);
    ctx_.dialog.showDialog();
    ctx_.dialog.setStatus("Scanning " + span + " (" + std::to_string(range->count) +
                          " addresses) on ports 5985 and 5986...");
    ctx_.flags.NewNodesFound = false;
    control_.cancel = false;
    control_.probed = 0;
    // The scan runs off this thread; its count is shown from here while the window waits.
    QTimer progress;
    progress.setInterval(200);
    QObject::connect(&progress, &QTimer::timeout, [this, total = range->count] {
        ctx_.dialog.setProgress(control_.probed, total);
    });
    progress.start();

    std::vector<FoundComputer> found;
    std::string failure;
    auto scan = [&] {
        try {
            found = services_.scan(*range, &control_);
        } catch (const std::exception& e) {
            failure = e.what();
        }
    };
    services_.runBlocking ? services_.runBlocking(scan) : scan();
    progress.stop();
    ctx_.dialog.setProgress(control_.probed, range->count);
    if (!failure.empty()) {
        qCWarning(lcNetwork, "the address scan failed: %s", failure.c_str());
        ctx_.dialog.setStatus("The address scan failed: " + failure);
        return true;
    }
    for (const FoundComputer& c : found)
        qCInfo(lcNetwork, "%s", describeFound(c).c_str());

    const NodeConnections before = connections_;
    const JoinResult result = joinFoundComputers(ctx_.table, found, connections_, programTransport());
    for (const std::string& note : result.notes)
        qCInfo(lcNetwork, "not added: %s", note.c_str());
    saveConnections(before);
    prepareNodeList(ctx_.dialog, found.size());
    pace_.yield();
    for (std::size_t k = 0; k < found.size(); ++k) {
        const int row = static_cast<int>(k + 1);
        ctx_.dialog.setGridCell(row, 0, found[k].name);
        ctx_.dialog.setGridCell(row, 1, found[k].name);
        ctx_.dialog.setGridCell(row, IpColumn, found[k].addressText);
    }
    joined(result.added.size());
    ctx_.dialog.setStatus(std::string(control_.cancel ? "Address scan cancelled" : "Address scan completed") + ": " +
                          std::to_string(found.size()) + " computers answered in " + span + ", " +
                          std::to_string(result.added.size()) + " new nodes");
    return true;
}

bool AddressCommands::AddNode()
{
    const CommandGate::Pass pass = gate_.enter();
    if (!pass) {
        refuse();
        return false;
    }
    const auto input = views_.askNewNode();
    if (!input)
        return true;
    std::string refusal;
    std::optional<NodeRecord> record;
    auto check = [&] { record = nodeByHand(ctx_.table, input->name, input->address, services_.resolve, refusal); };
    services_.runBlocking ? services_.runBlocking(check) : check();
    if (!record) {
        ctx_.boxes.show(NodeRefusedPrefix + refusal, MessageTitle, MessageIcon::Warning);
        return true;
    }
    const std::string added = record->Name + " (" + record->IP + ")";
    ctx_.table.append(std::move(*record));
    ctx_.dialog.setCaption(AddNodeCaption);
    ctx_.dialog.showDialog();
    joined(1);
    ctx_.dialog.setStatus("Node added: " + added);
    return true;
}

bool AddressCommands::NodeConnection(std::size_t selectedNode)
{
    const CommandGate::Pass pass = gate_.enter();
    if (!pass) {
        refuse();
        return false;
    }
    if (!ctx_.table.contains(selectedNode)) {
        ctx_.boxes.show(NoNodeChosenText, MessageTitle, MessageIcon::Information);
        return true;
    }
    const std::string name = ctx_.table.at(selectedNode).Name;
    const auto it = connections_.find(name);
    const std::optional<vorlu::NodeConnection> current =
        it == connections_.end() ? std::nullopt : std::optional(it->second);
    const auto choice = views_.askConnection(name, current, programTransport());
    if (!choice)
        return true;
    const NodeConnections before = connections_;
    if (choice->own)
        connections_[name] = *choice->own;
    else
        connections_.erase(name);
    if (!saveConnections(before))
        connections_ = before;
    publish();
    return true;
}

} // namespace vorlu
