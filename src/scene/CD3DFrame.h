#pragma once
// A node of the scene graph: a local transformation, ordered child frames and
// meshes, a name and an on/off switch. Row-vector conventions: a frame's
// world matrix is local x parent world.
#include "scene/Device.h"
#include "scene/SceneMath.h"

#include <memory>
#include <string>
#include <vector>

namespace vorlu {

class CD3DMesh;
class SceneContext;
class XFile;
class MeshCache;
class XObject;

enum CombineType : int {
    CombinePremultiply = 0,  // new x local: acts first, in the frame's own space
    CombinePostmultiply = 1, // local x new: acts last, in the parent's space
    CombineReplace = 2,      // new
};

class CD3DFrame {
public:
    // What FindChildObject found: a frame, a mesh, or neither.
    struct Found {
        CD3DFrame* frame = nullptr;
        CD3DMesh* mesh = nullptr;
        explicit operator bool() const { return frame || mesh; }
    };

    std::string ObjectName;
    bool Enabled = true; // false: the subtree is neither drawn nor picked

    // Reads a ".x" file into this frame, adding to what it holds: top-level
    // frames become children, top-level meshes become meshes. False when the
    // file cannot be opened or read; a failed part is skipped otherwise.
    bool InitFromFile(SceneContext& context, const std::string& strFile, std::string* error = nullptr);
    // The same from a file already read, so that one parse can fill many
    // frames. False only when stopAtFailedPart and a part failed.
    bool InitFromXFile(SceneContext& context, const XFile& file, std::string* error = nullptr,
                       bool stopAtFailedPart = false);

    void AddChild(std::shared_ptr<CD3DFrame> child);
    void AddMesh(std::shared_ptr<CD3DMesh> childMesh);
    int GetChildFrameCount() const { return static_cast<int>(children_.size()); }
    int GetChildMeshCount() const { return static_cast<int>(meshes_.size()); }
    // Throw std::out_of_range outside 0 .. count - 1.
    const std::shared_ptr<CD3DFrame>& GetChildFrame(int i) const;
    const std::shared_ptr<CD3DMesh>& GetChildMesh(int i) const;

    // Pre-order, depth-first, exact and case-sensitive: this frame, then its
    // meshes, then its children. Disabled frames are searched too.
    Found FindChildObject(const std::string& Name, int flags = 0);

    // Set from components: local = S x T(-centre) x R x T(centre) x T(position).
    void SetPosition(const Vector& vec);
    Vector GetPosition() const; // translation row of the local matrix
    const Vector& StoredPosition() const { return position_; }

    void AddRotation(int combinetype, float X, float Y, float z, float rot);
    void AddTranslation(int combinetype, float X, float Y, float z);

    const Matrix& GetMatrix() const { return local_; }
    void SetMatrix(const Matrix& m) { local_ = m; }

    // World and inverse world of the whole subtree from the scene's world matrix.
    void UpdateFrames(const Matrix& sceneWorld);
    // As of the last UpdateFrames.
    Vector TransformCoord(const Vector& vIn) const;
    Vector InverseTransformCoord(const Vector& vIn) const;

    // Opaque subsets of the whole subtree, then the translucent ones blended.
    void Render(Device& device, const Matrix& sceneWorld) const;

private:
    bool LoadFromFileData(SceneContext& context, const XObject& data, std::string* error, MeshCache& meshes);
    void RenderTree(Device& device, bool opaque, bool translucent) const;
    void RebuildLocalMatrix();
    void Combine(int combinetype, const Matrix& m);

    Matrix local_{1.0f};
    Matrix world_{0.0f};
    Matrix inverseWorld_{0.0f};
    std::vector<std::shared_ptr<CD3DFrame>> children_;
    std::vector<std::shared_ptr<CD3DMesh>> meshes_;
    Vector position_{0.0f};
    Quaternion orientation_{1.0f, 0.0f, 0.0f, 0.0f};
    Vector orientationCenter_{0.0f};
    float scale_ = 1.0f;
};

} // namespace vorlu
