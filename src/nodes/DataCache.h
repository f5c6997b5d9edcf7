#pragma once
#include "nodes/NodeTable.h"

#include <array>
#include <filesystem>
#include <functional>
#include <vector>

namespace vorlu {

// The files of a node folder that hold stored drive data, in the order
// "Clear Data cache" deletes them.
inline constexpr std::array<const char*, 3> DataCacheFiles = {"report", "sen_cd", "settings"};

// "Clear Data cache": deletes those files from the folder of every node, one
// file name at a time, yielding after each. Only folders whose names pass the
// folder-name check are touched, and only plain files (or links, which are
// removed themselves) directly inside a real folder of the program folder.
// Whatever cannot be deleted is skipped. Returns the files deleted.
std::vector<std::filesystem::path> clearDataCache(const std::filesystem::path& programFolder, const NodeTable& nodes,
                                                  const std::function<void()>& yield);

} // namespace vorlu
