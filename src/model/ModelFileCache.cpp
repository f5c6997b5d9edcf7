#include "model/ModelFileCache.h"

#include "scene/CD3DFrame.h"
#include "scene/SceneContext.h"
#include "scene/XFile.h"

namespace vorlu {

namespace {

void note(std::string* error, const std::string& text)
{
    if (error && error->empty())
        *error = text;
}

} // namespace

ModelFileCache::ModelFileCache() = default;
ModelFileCache::~ModelFileCache() = default;

bool ModelFileCache::LoadInto(CD3DFrame& frame, SceneContext& context, const std::string& path, std::string* error)
{
    auto it = files_.find(path);
    if (it == files_.end()) {
        Entry entry;
        entry.file = XFile::open(path, entry.error);
        it = files_.emplace(path, std::move(entry)).first;
    }
    const Entry& entry = it->second;
    if (!entry.file) {
        note(error, entry.error);
        return false;
    }
    frame.InitFromXFile(context, *entry.file, error);
    return true;
}

} // namespace vorlu
