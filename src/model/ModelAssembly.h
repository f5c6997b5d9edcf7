#pragma once
// Builds the model once at start-up: ten drive units and five racks read from
// the model files of the media folder, placed on their grid under one
// container, hung into the scene root, and all hidden until a node's drives
// are shown.
#include "commands/RepaintPace.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorlu {

class CD3DFrame;
class ModelFileCache;
class Scene;

// What the assembly needs from the window around it; any of them may be left empty.
struct AssemblyServices {
    // Called once each per assembly, in this order, on every path.
    std::function<void()> showBusyCursor;
    std::function<void()> showDefaultCursor;
    std::function<void()> focusView;         // input focus to the model view
    // Each file that could not be read and a missing media folder, as one line
    // each; they also go to the log.
    std::function<void(const std::string&)> problem;
};

class ModelAssembly {
public:
    // mediaFolder ends with a separator; file names are appended to it as they are.
    ModelAssembly(Scene& scene, std::string mediaFolder, RepaintPace& pace, AssemblyServices services = {});
    ModelAssembly(const ModelAssembly&) = delete;
    ModelAssembly& operator=(const ModelAssembly&) = delete;

    // Assembles the model into the scene: SceneRoot, TrackballFrame, UnitFrames,
    // RackFrames, and ModelLoaded at the end. A call made while one runs (from
    // a yield) returns at once and leaves the cursor alone. A file that is
    // missing or unreadable is skipped and reported: the unit or rack lacks
    // those parts. Device errors are thrown.
    void load_start();

    const std::string& MediaFolder() const { return mediaFolder_; }
    bool AssemblyInProgress() const { return inProgress_; }
    // Parent of all units and racks; the trackball turns it. Null before assembly.
    const std::shared_ptr<CD3DFrame>& ModelContainer() const { return container_; }

    // Files that could not be read during the last assembly, each named once.
    const std::vector<std::string>& UnreadFiles() const { return unread_; }
    // Distinct files parsed by the last assembly (each is parsed once for all units).
    std::size_t FilesParsed() const { return filesParsed_; }

private:
    void loadFiles(CD3DFrame& frame, const std::vector<std::string>& files, ModelFileCache& cache);
    void report(const std::string& problem);

    Scene& scene_;
    std::string mediaFolder_;
    RepaintPace& pace_;
    AssemblyServices services_;
    bool inProgress_ = false;
    std::shared_ptr<CD3DFrame> container_;
    std::vector<std::string> unread_;
    std::size_t filesParsed_ = 0;
};

} // namespace vorlu
