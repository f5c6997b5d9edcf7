#pragma once
// The 3D model view: a GL widget that owns the OpenGL device, draws the
// attached scene when painted, and turns its mouse events into trackball
// steps. The application sets its objectName and connects mousePressed for
// picking.
#include "scene/GlDevice.h"

#include <QOpenGLWidget>

#include <memory>

namespace vorlu {

class Scene;

class ModelView : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit ModelView(QWidget* parent = nullptr);
    ~ModelView() override;

    GlDevice& device() { return *device_; }
    // The scene drawn on paint; its RenderScene then asks this view for a
    // frame (update()), so requests within one event-loop turn draw once.
    void attachScene(Scene* scene);
    Scene* scene() const { return scene_; }

signals:
    // After the trackball has taken the press (x, y in view pixels).
    void mousePressed(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x,
                      double y);
    void mouseReleased(Qt::MouseButton button, double x, double y);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void contextGoing();

    std::unique_ptr<GlDevice> device_;
    Scene* scene_ = nullptr;
};

} // namespace vorlu
