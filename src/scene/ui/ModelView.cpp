#include "scene/ui/ModelView.h"
#include "platform/Log.h"

#include "scene/Scene.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace vorlu {

ModelView::ModelView(QWidget* parent) : QOpenGLWidget(parent), device_(std::make_unique<GlDevice>())
{
    device_->setViewportSize(width(), height(), devicePixelRatioF());
}

ModelView::~ModelView()
{
    if (scene_) {
        scene_->setFrameRequester(nullptr);
        if (scene_->context().devicePointer() == device_.get())
            scene_->context().setDevice(nullptr);
    }
    // The base class destroys the context after this object's members are
    // gone; the device must not hear of it then.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
    if (device_->hasContext()) {
        makeCurrent();
        device_->contextAboutToBeDestroyed();
        doneCurrent();
    }
}

void ModelView::attachScene(Scene* scene)
{
    if (scene_ && scene_ != scene)
        scene_->setFrameRequester(nullptr);
    scene_ = scene;
    if (scene_)
        scene_->setFrameRequester([this] { update(); });
}

void ModelView::initializeGL()
{
    device_->contextCreated();
    // A view moved to another window gets a new context; the old one's
    // objects must go while it is still current.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &ModelView::contextGoing, Qt::UniqueConnection);
}

void ModelView::contextGoing()
{
    makeCurrent();
    device_->contextAboutToBeDestroyed();
    doneCurrent();
}

void ModelView::resizeGL(int, int)
{
    device_->setViewportSize(width(), height(), devicePixelRatioF());
}

void ModelView::paintGL()
{
    device_->setViewportSize(width(), height(), devicePixelRatioF());
    bool drawn = false;
    if (scene_) {
        try {
            drawn = scene_->Paint();
        } catch (const std::exception& e) {
            qCWarning(lcScene, "3D view: drawing failed: %s", e.what());
        }
    }
    if (!drawn) {
        // Nothing to draw yet (or the device is lost): show the background
        // instead of whatever the new framebuffer holds.
        const std::uint32_t c = scene_ ? scene_->BackgroundColour : 0;
        QOpenGLFunctions* f = context()->functions();
        f->glClearColor(static_cast<float>((c >> 16) & 0xFF) / 255.0f, static_cast<float>((c >> 8) & 0xFF) / 255.0f,
                        static_cast<float>(c & 0xFF) / 255.0f, 1.0f);
        f->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
}

void ModelView::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    if (scene_)
        scene_->TrackballPress(p.x(), p.y());
    emit mousePressed(event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
}

void ModelView::mouseMoveEvent(QMouseEvent* event)
{
    if (!scene_)
        return;
    const QPointF p = event->position();
    scene_->TrackballHalfTurnPixels = width();
    scene_->TrackballMouseMove(event->buttons() == Qt::LeftButton, p.x(), p.y());
}

void ModelView::wheelEvent(QWheelEvent* event)
{
    // 120 units are one notch of an ordinary wheel.
    if (scene_)
        scene_->WheelZoom(static_cast<float>(event->angleDelta().y()) / 120.0f);
    event->accept();
}

void ModelView::mouseReleaseEvent(QMouseEvent* event)
{
    if (scene_)
        scene_->TrackballRelease();
    emit mouseReleased(event->button(), event->position().x(), event->position().y());
}

} // namespace vorlu
