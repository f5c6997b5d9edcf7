#pragma once
#include <cstddef>
#include <string>

namespace vorlu {

// The operations the tree rules need of a tree control.
class TreeView {
public:
    virtual ~TreeView() = default;
    virtual void clear() = 0;
    // parentKey empty: a root entry. tag 0: no tag.
    virtual void addEntry(const std::string& parentKey, const std::string& key, const std::string& text,
                          const std::string& picture, std::size_t tag) = 0;
    virtual void setVisible(bool visible) = 0;
};

} // namespace vorlu
