#include "model/ModelFileCache.h"

#include "scene/CD3DFrame.h"
#include "scene/CD3DMesh.h"
#include "scene/MeshLoader.h"
#include "scene/SceneContext.h"
#include "scene/XFile.h"

#include <cstring>

namespace vorlu {

namespace {

void note(std::string* error, const std::string& text)
{
    if (error && error->empty())
        *error = text;
}

// A frame data object and what it holds, into frame. False when a part of it
// failed; what was read up to there stays.
bool LoadFrame(CD3DFrame& frame, SceneContext& context, const XObject& data, std::string* error)
{
    frame.ObjectName = data.name();
    for (const XObject* child : data.children()) {
        if (IsTemplate(*child, "Frame")) {
            auto sub = std::make_shared<CD3DFrame>();
            frame.AddChild(sub);
            if (!LoadFrame(*sub, context, *child, error))
                return false;
        } else if (IsTemplate(*child, "Mesh")) {
            auto mesh = std::make_shared<CD3DMesh>();
            std::string meshError;
            if (!mesh->InitFromXOF(context, *child, &meshError)) {
                note(error, meshError);
                return false;
            }
            frame.AddMesh(mesh);
        } else if (IsTemplate(*child, "FrameTransformMatrix")) {
            const auto& bytes = child->data();
            if (bytes.size() < 64) {
                note(error, "frame \"" + data.name() + "\": transform matrix is truncated");
                return false;
            }
            // Sixteen little-endian singles, row by row.
            Matrix m{1.0f};
            for (int i = 0; i < 16; ++i) {
                const std::uint8_t* b = bytes.data() + i * 4;
                const std::uint32_t bits = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                           static_cast<std::uint32_t>(b[2]) << 16 |
                                           static_cast<std::uint32_t>(b[3]) << 24;
                float v;
                std::memcpy(&v, &bits, 4);
                m[i / 4][i % 4] = v;
            }
            frame.SetMatrix(m);
        }
    }
    return true;
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
    for (const XObject* obj : entry.file->topLevel()) {
        if (IsTemplate(*obj, "Frame")) {
            auto child = std::make_shared<CD3DFrame>();
            frame.AddChild(child); // attached first: keeps what it read if it fails midway
            LoadFrame(*child, context, *obj, error);
        } else if (IsTemplate(*obj, "Mesh")) {
            auto mesh = std::make_shared<CD3DMesh>();
            std::string meshError;
            if (!mesh->InitFromXOF(context, *obj, &meshError))
                note(error, meshError);
            frame.AddMesh(mesh); // appended even when its load failed: it then draws nothing
        }
    }
    return true;
}

} // namespace vorlu
