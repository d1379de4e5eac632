#include "view/offscreen.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

struct TOffscreenGL::Impl {
    EGLDisplay Display = EGL_NO_DISPLAY;
    EGLContext Context = EGL_NO_CONTEXT;
    GLuint Fbo = 0;
    GLuint ColorRb = 0;
    GLuint DepthRb = 0;
    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
};

namespace {

template <typename F> bool Resolve(F& fn, const char* name) {
    fn = reinterpret_cast<F>(eglGetProcAddress(name));
    return fn != nullptr;
}

EGLDisplay SurfacelessDisplay() {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay)
        return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

} // namespace

std::unique_ptr<TOffscreenGL> TOffscreenGL::Create(int Width, int Height, std::string* Error) {
    auto fail = [Error](const char* why) -> std::unique_ptr<TOffscreenGL> {
        if (Error)
            *Error = why;
        return nullptr;
    };
    if (Width <= 0 || Height <= 0)
        return fail("the picture size must be positive");

    std::unique_ptr<TOffscreenGL> gl(new TOffscreenGL);
    gl->P = std::make_unique<Impl>();
    gl->W = Width;
    gl->H = Height;
    Impl& p = *gl->P;

    p.Display = SurfacelessDisplay();
    if (p.Display == EGL_NO_DISPLAY)
        return fail("no surfaceless EGL display");
    EGLint major = 0, minor = 0;
    if (!eglInitialize(p.Display, &major, &minor))
        return fail("EGL could not be initialised");
    if (!eglBindAPI(EGL_OPENGL_API))
        return fail("EGL has no desktop OpenGL");
    // No version or profile asked: the implementation gives a compatibility context, where the
    // fixed-function calls of the view work.
    p.Context = eglCreateContext(p.Display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
    if (p.Context == EGL_NO_CONTEXT)
        return fail("no OpenGL context could be made");
    if (!eglMakeCurrent(p.Display, EGL_NO_SURFACE, EGL_NO_SURFACE, p.Context))
        return fail("the OpenGL context could not be made current");

    if (!Resolve(p.GenFramebuffers, "glGenFramebuffers") ||
        !Resolve(p.DeleteFramebuffers, "glDeleteFramebuffers") ||
        !Resolve(p.BindFramebuffer, "glBindFramebuffer") ||
        !Resolve(p.GenRenderbuffers, "glGenRenderbuffers") ||
        !Resolve(p.DeleteRenderbuffers, "glDeleteRenderbuffers") ||
        !Resolve(p.BindRenderbuffer, "glBindRenderbuffer") ||
        !Resolve(p.RenderbufferStorage, "glRenderbufferStorage") ||
        !Resolve(p.FramebufferRenderbuffer, "glFramebufferRenderbuffer") ||
        !Resolve(p.CheckFramebufferStatus, "glCheckFramebufferStatus"))
        return fail("framebuffer objects are not available");

    p.GenFramebuffers(1, &p.Fbo);
    p.BindFramebuffer(GL_FRAMEBUFFER, p.Fbo);
    p.GenRenderbuffers(1, &p.ColorRb);
    p.BindRenderbuffer(GL_RENDERBUFFER, p.ColorRb);
    p.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, Width, Height);
    p.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, p.ColorRb);
    p.GenRenderbuffers(1, &p.DepthRb);
    p.BindRenderbuffer(GL_RENDERBUFFER, p.DepthRb);
    p.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, Width, Height);
    p.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, p.DepthRb);
    if (p.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return fail("the offscreen target is incomplete");
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return gl;
}

TOffscreenGL::~TOffscreenGL() {
    if (!P)
        return;
    Impl& p = *P;
    if (p.Context != EGL_NO_CONTEXT) {
        eglMakeCurrent(p.Display, EGL_NO_SURFACE, EGL_NO_SURFACE, p.Context);
        if (p.DeleteRenderbuffers) {
            if (p.ColorRb)
                p.DeleteRenderbuffers(1, &p.ColorRb);
            if (p.DepthRb)
                p.DeleteRenderbuffers(1, &p.DepthRb);
        }
        if (p.DeleteFramebuffers && p.Fbo)
            p.DeleteFramebuffers(1, &p.Fbo);
        eglMakeCurrent(p.Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(p.Display, p.Context);
    }
    // The display is shared by every offscreen context of the process; it stays initialised.
}

bool TOffscreenGL::MakeCurrent() {
    if (!eglMakeCurrent(P->Display, EGL_NO_SURFACE, EGL_NO_SURFACE, P->Context))
        return false;
    P->BindFramebuffer(GL_FRAMEBUFFER, P->Fbo);
    return true;
}

void TOffscreenGL::Release() {
    eglMakeCurrent(P->Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

QImage TOffscreenGL::Grab() {
    glFinish();
    QImage img(W, H, QImage::Format_RGBA8888);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, img.bits());
    // OpenGL counts rows from the bottom.
    return img.mirrored(false, true).convertToFormat(QImage::Format_RGB32);
}
