#include "app/DemoSeed.h"

#include "nodes/NodeFolders.h"
#include "nodes/NodeFile.h"
#include "nodes/NodeTable.h"
#include "platform/SimulatedNetwork.h"

#include <system_error>

namespace vorlu {

bool seedDemoFolder(const std::filesystem::path& folder, const SimulatedNetwork& network, std::string& error)
{
    std::error_code ec;
    const std::filesystem::path nodeFile = folder / NodeFileName;
    if (std::filesystem::exists(nodeFile, ec))
        return true;
    if (ec) {
        error = nodeFile.string() + ": " + ec.message();
        return false;
    }
    NodeTable table;
    for (const SimulatedNetwork::Computer& c : network.computers) {
        if (!c.listed)
            continue;
        NodeRecord r = discoveredNode(c.name);
        r.IP = c.address.value_or("");
        table.append(std::move(r));
        if (!folderNameProblem(c.name))
            std::filesystem::create_directories(nodeFolder(folder, c.name), ec);
    }
    return saveNodeFile(nodeFile, table, NodeFileForm::Reset, &error);
}

} // namespace vorlu
