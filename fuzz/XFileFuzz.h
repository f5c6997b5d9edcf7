#pragma once
// Shared by the three ".x" harnesses: the fuzzed bytes follow a fixed header, so that the
// fuzzer spends its time on the body, and every mesh the file holds goes through the loader.
#include "scene/MeshLoader.h"
#include "scene/XFile.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

namespace vorlu::fuzz {

inline void loadMeshes(const XObject& o, std::unordered_set<const XObject*>& seen)
{
    if (!seen.insert(&o).second)
        return;
    if (IsTemplate(o, "Mesh")) {
        std::string error;
        LoadMeshFromXof(o, error);
    }
    for (const XObject* c : o.children())
        loadMeshes(*c, seen);
}

inline int parseWithHeader(const char* header, const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> bytes(header, header + std::strlen(header));
    bytes.insert(bytes.end(), data, data + size);
    std::string error;
    const auto file = XFile::parse(bytes.data(), bytes.size(), error);
    if (!file) {
        if (error.empty() || error.find('\n') != std::string::npos)
            __builtin_trap(); // the error is promised as one line of text
        return 0;
    }
    std::unordered_set<const XObject*> seen;
    for (const XObject* o : file->topLevel())
        loadMeshes(*o, seen);
    return 0;
}

} // namespace vorlu::fuzz
