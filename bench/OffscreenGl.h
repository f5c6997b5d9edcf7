#pragma once
// An OpenGL context current on an offscreen framebuffer, for benchmarks that
// draw. The body gets a function that waits until the GPU is done.
#include <benchmark/benchmark.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <functional>

template <typename Body>
void WithOffscreenGl(benchmark::State& state, int width, int height, Body body)
{
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface)) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    {
        QOpenGLFramebufferObject fbo(width, height, QOpenGLFramebufferObject::CombinedDepthStencil);
        fbo.bind();
        const std::function<void()> finish = [&] { context.functions()->glFinish(); };
        body(finish);
        fbo.release();
    }
    context.doneCurrent();
}
