#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace vorlu {

struct NodeRecord {
    std::string Name;
    std::string IP;
    std::string Node;
    std::string Login;
    std::string Password;
    std::string Enabled = "True";
    std::string Scanned = "False";
};

// The known nodes, numbered from 1 to count(). Record numbers never change
// while the program runs; only a reset empties the table.
class NodeTable {
public:
    std::size_t count() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    bool contains(std::size_t n) const { return n >= 1 && n <= records_.size(); }
    NodeRecord& at(std::size_t n) { return records_.at(n - 1); }
    const NodeRecord& at(std::size_t n) const { return records_.at(n - 1); }
    // Appends and returns the new record's number.
    std::size_t append(NodeRecord record)
    {
        records_.push_back(std::move(record));
        return records_.size();
    }
    // Record number of the first record with exactly this name, or 0.
    std::size_t findName(const std::string& name) const;
    void clear() { records_.clear(); }
    void reserve(std::size_t n) { records_.reserve(n); }

private:
    std::vector<NodeRecord> records_;
};

// A newly discovered computer as the scans record it.
NodeRecord discoveredNode(const std::string& name);

} // namespace vorlu
