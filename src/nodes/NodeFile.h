#pragma once
#include "nodes/NodeTable.h"
#include <filesystem>
#include <functional>
#include <string>

namespace vorlu {

inline constexpr const char* NodeFileName = "lg.ini";

// Beyond these the file is refused whole and kept as it is: the table, the
// trees and a later save of it would not fit in memory, and dropping the
// records past a cap would lose them at the next save.
inline constexpr std::size_t MaxNodeRecords = 250000;
inline constexpr std::size_t MaxNodeFileBytes = std::size_t{64} << 20;

// The records parseNodeFile would make of the text, counted without keeping them.
std::size_t countNodeRecords(const std::string& text);

enum class NodeFileForm {
    Plain, // every field as it is
    Reset  // label replaced by the name and every node listed again, after a network scan
};

// Parses node file text into the table, seven lines a record. A record cut
// short by the end of the file is kept with its missing fields empty.
// onRecord(n) runs after record n is complete; yieldMidRecord runs between
// the sixth and the seventh line, as the loader repaints there.
void parseNodeFile(const std::string& text, NodeTable& table, const std::function<void(std::size_t)>& onRecord = {},
                   const std::function<void()>& yieldMidRecord = {});

std::string formatNodeFile(const NodeTable& table, NodeFileForm form);

// Writes the node file atomically, readable by the owner only (it holds
// passwords). False when the previous file had to stay.
bool saveNodeFile(const std::filesystem::path& file, const NodeTable& table, NodeFileForm form,
                  std::string* error = nullptr);

} // namespace vorlu
