#include "nodes/NodeTable.h"

namespace vorlu {

std::size_t NodeTable::findName(const std::string& name) const
{
    for (std::size_t i = 0; i < records_.size(); ++i)
        if (records_[i].Name == name)
            return i + 1;
    return 0;
}

NodeRecord discoveredNode(const std::string& name)
{
    NodeRecord r;
    r.Name = name;
    r.Node = name;
    return r;
}

} // namespace vorlu
