#pragma once
// An OpenGL compatibility context with no window and no X server: Mesa's surfaceless EGL
// platform and a framebuffer object of the requested size. Tests, the picture export and the
// command line draw frames into it with the same code as the on-screen view.

#include <QImage>

#include <memory>
#include <string>

class TOffscreenGL {
public:
    /// Makes the context and a Width x Height colour + depth target and makes it current.
    /// Returns null and fills Error when no context can be had.
    static std::unique_ptr<TOffscreenGL> Create(int Width, int Height, std::string* Error);
    ~TOffscreenGL();
    TOffscreenGL(const TOffscreenGL&) = delete;
    TOffscreenGL& operator=(const TOffscreenGL&) = delete;

    /// Makes the context and its target current in the calling thread.
    bool MakeCurrent();
    /// Leaves the calling thread with no current context, so that another thread may make this
    /// one current: a target made in one thread can then be drawn into in another.
    void Release();
    int Width() const { return W; }
    int Height() const { return H; }
    /// Waits for drawing to finish and returns the target's pixels, top row first.
    QImage Grab();

    struct Impl;

private:
    TOffscreenGL() = default;
    std::unique_ptr<Impl> P;
    int W = 0;
    int H = 0;
};
