#include "network/NodeFileLoader.h"

#include "nodes/NodeFolders.h"
#include "network/NodeTree.h"
#include "network/NetworkTexts.h"
#include "nodes/AtomicFile.h"
#include "nodes/NodeFile.h"

#include <system_error>

namespace vorlu {

NodeFileLoad loadNodeFile(const std::filesystem::path& programFolder, NodeTable& table, const std::string& labelMode,
                          const std::string& localAddress, TreeView& nodeTree, TreeView* loginTree,
                          const std::function<void()>& yield)
{
    NodeFileLoad result;
    const auto file = programFolder / NodeFileName;
    std::error_code ec;
    if (std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::not_found) {
        nodeTree.setVisible(false);
        return result;
    }
    result.existed = true;
    nodeTree.clear();
    if (yield)
        yield();
    addNetworkRoot(nodeTree);
    if (loginTree)
        addNetworkRoot(*loginTree);

    std::string text;
    if (!readWholeFile(file, text, &result.readError, MaxNodeFileBytes))
        return result;
    if (countNodeRecords(text) > MaxNodeRecords) {
        result.readError = "cannot read " + file.string() + ": more than " + std::to_string(MaxNodeRecords) + " records";
        return result;
    }
    parseNodeFile(
        text, table,
        [&](std::size_t n) {
            if (addNodeToTree(n, table.at(n), labelMode, localAddress, nodeTree, loginTree))
                result.localNode = n;
        },
        yield);
    return result;
}

void rebuildNetworkTree(const NodeTable& table, TreeView& nodeTree, const std::filesystem::path& programFolder,
                        const std::function<void()>& yield, const std::function<void(const std::string&)>& status,
                        MessageBoxes& messages)
{
    addNetworkRoot(nodeTree);
    for (std::size_t n = 1; n <= table.count(); ++n) {
        if (yield)
            yield();
        const NodeRecord& r = table.at(n);
        nodeTree.addEntry(RootKey, nodeKey(n), r.Name, "pc", n);
        if (const auto problem = folderNameProblem(r.Name)) {
            if (status)
                status(refusedFolderText(r.Name, *problem));
            continue;
        }
        if (!makeNodeFolder(programFolder, r.Name)) {
            if (yield)
                yield();
            messages.show(NodeListFailedText, MessageTitle, MessageIcon::Question);
            return;
        }
    }
}

} // namespace vorlu
