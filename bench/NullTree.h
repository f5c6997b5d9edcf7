#pragma once
// A tree control that discards every entry, so only the logic is timed.
#include "network/TreeView.h"

namespace vorlu::bench {

class NullTree : public TreeView {
public:
    void clear() override {}
    void addEntry(const std::string&, const std::string&, const std::string&, const std::string&,
                  std::size_t) override
    {
    }
    void setVisible(bool) override {}
};

} // namespace vorlu::bench
