#pragma once
// Model files read once and put into as many frames as need them. Every
// frame gets its own frames and meshes; only the parsed file is shared.
#include <map>
#include <memory>
#include <string>

namespace vorlu {

class CD3DFrame;
class SceneContext;
class XFile;

class ModelFileCache {
public:
    ModelFileCache();
    ~ModelFileCache();
    ModelFileCache(const ModelFileCache&) = delete;
    ModelFileCache& operator=(const ModelFileCache&) = delete;

    // Adds the contents of the file at path to frame, as loading the file into
    // the frame does: top-level frames become children, top-level meshes become
    // meshes, other objects are skipped; a part that fails is skipped and the
    // rest still loads. False when the file cannot be opened or read, with the
    // reason in error when given.
    bool LoadInto(CD3DFrame& frame, SceneContext& context, const std::string& path, std::string* error = nullptr);

    // Distinct files read so far (a file that could not be read counts once too).
    std::size_t filesRead() const { return files_.size(); }

private:
    struct Entry {
        std::unique_ptr<XFile> file; // null when it could not be read
        std::string error;
    };
    std::map<std::string, Entry> files_;
};

} // namespace vorlu
