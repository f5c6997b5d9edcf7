#include "model/ModelAssembly.h"

#include "model/ModelFileCache.h"
#include "model/ModelLayout.h"
#include "scene/CD3DFrame.h"
#include "scene/Scene.h"

#include "platform/Log.h"

#include <algorithm>
#include <filesystem>

namespace vorlu {

namespace {

constexpr std::uint32_t ModelAmbient = 0x90909090;

void callIfSet(const std::function<void()>& f)
{
    if (f)
        f();
}

// Adds an offset to the frame's current position. The sum is formed in double
// precision and stored in single precision.
void Place(CD3DFrame& frame, const std::array<double, 3>& offset)
{
    const Vector p = frame.GetPosition();
    frame.SetPosition(Vector(static_cast<float>(static_cast<double>(p.x) + offset[0]),
                             static_cast<float>(static_cast<double>(p.y) + offset[1]),
                             static_cast<float>(static_cast<double>(p.z) + offset[2])));
}

} // namespace

ModelAssembly::ModelAssembly(Scene& scene, std::string mediaFolder, RepaintPace& pace, AssemblyServices services)
    : scene_(scene), mediaFolder_(std::move(mediaFolder)), pace_(pace), services_(std::move(services))
{
}

void ModelAssembly::loadFiles(CD3DFrame& frame, const std::vector<std::string>& files, ModelFileCache& cache)
{
    for (const std::string& name : files) {
        // A file that cannot be read leaves the frame without its parts; assembly goes on.
        std::string error;
        if (!cache.LoadInto(frame, scene_.context(), mediaFolder_ + name, &error) &&
            std::find(unread_.begin(), unread_.end(), name) == unread_.end()) {
            unread_.push_back(name);
            report("cannot read the model file " + mediaFolder_ + name + (error.empty() ? "" : ": " + error));
        }
    }
}

void ModelAssembly::report(const std::string& problem)
{
    qCWarning(lcModel, "%s", problem.c_str());
    if (services_.problem)
        services_.problem(problem);
}

void ModelAssembly::load_start()
{
    if (inProgress_)
        return;
    inProgress_ = true;
    callIfSet(services_.showBusyCursor);
    // Whatever ends the assembly, an error included, clears the guard and
    // takes the busy cursor down, once.
    struct Finish {
        ModelAssembly& self;
        bool done = false;
        void now()
        {
            if (done)
                return;
            done = true;
            self.inProgress_ = false;
            callIfSet(self.services_.showDefaultCursor);
        }
        ~Finish() { now(); }
    } finish{*this};
    pace_.yield();

    std::error_code ec;
    if (!std::filesystem::is_directory(mediaFolder_, ec))
        report("the media folder " + mediaFolder_ + " is missing: the model has no parts");

    unread_.clear();
    container_ = std::make_shared<CD3DFrame>();
    scene_.UnitFrames.clear();
    scene_.RackFrames.clear();
    for (int i = 0; i < UnitCount; ++i)
        scene_.UnitFrames.push_back(std::make_shared<CD3DFrame>());
    for (int i = 0; i < RackCount; ++i)
        scene_.RackFrames.push_back(std::make_shared<CD3DFrame>());
    pace_.yield();
    pace_.yield();

    // Each file is parsed once; every unit and rack still gets its own frames and meshes.
    ModelFileCache cache;
    for (int unit = 1; unit <= UnitCount; ++unit) {
        loadFiles(*scene_.UnitFrames[static_cast<std::size_t>(unit - 1)], UnitMeshFiles(unit), cache);
        pace_.yield();
        pace_.yield();
    }
    for (int unit = 1; unit <= UnitCount; ++unit) {
        Place(*scene_.UnitFrames[static_cast<std::size_t>(unit - 1)], UnitOffset(unit));
        if (unit == 2 || unit == 4 || unit == 6)
            pace_.yield();
    }
    for (int rack = 1; rack <= RackCount; ++rack)
        loadFiles(*scene_.RackFrames[static_cast<std::size_t>(rack - 1)], RackMeshFiles(), cache);
    for (int rack = 2; rack <= RackCount; ++rack) // rack 1 stays at the origin
        Place(*scene_.RackFrames[static_cast<std::size_t>(rack - 1)], RackOffset(rack));
    filesParsed_ = cache.filesRead();

    scene_.context().device().SetRenderState(RenderState::Ambient, ModelAmbient);

    scene_.SceneRoot = NewChildFrame(nullptr);
    pace_.yield();
    // The first trackball frame stays in the tree as an identity frame above the container.
    scene_.TrackballFrame = NewChildFrame(scene_.SceneRoot.get());
    for (const auto& unit : scene_.UnitFrames)
        container_->AddChild(unit);
    for (const auto& rack : scene_.RackFrames)
        container_->AddChild(rack);
    container_->AddTranslation(CombineReplace, ContainerTranslation[0], ContainerTranslation[1],
                               ContainerTranslation[2]);
    scene_.TrackballFrame->AddChild(container_);
    pace_.yield();

    scene_.HideAllUnits();
    scene_.RenderScene();
    scene_.TrackballFrame = container_;

    scene_.ModelLoaded = true;
    finish.now();
    callIfSet(services_.focusView);
    pace_.yield();
}

} // namespace vorlu
