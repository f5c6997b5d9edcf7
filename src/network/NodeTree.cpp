#include "network/NodeTree.h"

#include <charconv>

namespace vorlu {

std::string nodeKey(std::size_t n) { return "Node1 " + std::to_string(n); }

std::string effectiveLabelMode(const std::string& mode)
{
    if (mode == "IP" || mode == "NAME" || mode == "IPNAME")
        return mode;
    return "NAME";
}

std::string nodeText(const NodeRecord& r, const std::string& mode)
{
    const std::string m = effectiveLabelMode(mode);
    if (m == "IP")
        return r.IP;
    if (m == "IPNAME")
        return r.Node + "(" + r.IP + ")";
    return r.Node;
}

std::string hardwareRootText(const NodeRecord& r, const std::string& mode)
{
    const std::string m = effectiveLabelMode(mode);
    if (m == "IP")
        return r.IP;
    if (m == "IPNAME")
        return r.Node + " (" + r.IP + ")";
    return r.Node;
}

void addNetworkRoot(TreeView& tree) { tree.addEntry("", RootKey, "Network", "nw", 0); }

bool addNodeToTree(std::size_t n, const NodeRecord& r, const std::string& mode, const std::string& localAddress,
                   TreeView& nodeTree, TreeView* loginTree)
{
    const std::string key = nodeKey(n);
    const std::string text = nodeText(r, mode);
    if (r.IP == localAddress) {
        if (r.Login.empty() && r.Enabled == "True")
            nodeTree.addEntry(RootKey, key, text, "hm", n);
        return true;
    }
    auto add = [&](TreeView& tree) {
        if (r.Enabled == "True")
            tree.addEntry(RootKey, key, text, r.Login.empty() ? "pc" : "pw", n);
        else if (r.Enabled == "Jump")
            tree.addEntry(RootKey, key, text, "jp", n);
    };
    add(nodeTree);
    if (loginTree)
        add(*loginTree);
    return false;
}

void buildHardwareTree(TreeView& hardwareTree, const NodeRecord& r, const std::string& mode)
{
    hardwareTree.clear();
    hardwareTree.addEntry("", RootKey, hardwareRootText(r, mode), "pc", 0);
    hardwareTree.addEntry(RootKey, DrivesKey, "DVD/CD Drive", "dvd", 0);
}

std::size_t selectedNodeFromTag(const std::string& tagText, std::size_t nodeCount)
{
    std::size_t i = 0;
    while (i < tagText.size() && tagText[i] == ' ')
        ++i;
    std::size_t value = 0;
    const auto res = std::from_chars(tagText.data() + i, tagText.data() + tagText.size(), value);
    if (res.ec != std::errc() || value > nodeCount)
        return 0;
    return value;
}

} // namespace vorlu
