#pragma once
// The offscreen target the frame tests draw into.

#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/offscreen.h"

#include <memory>
#include <string>

/// An offscreen target made current and set up as the view sets up a new context (depth test,
/// face culling, glyph lists). Null with `error` filled when no context can be had.
inline std::unique_ptr<TOffscreenGL> MakeTestTarget(int w, int h, std::string& error) {
    auto gl = TOffscreenGL::Create(w, h, &error);
    if (gl) {
        InitSurfaceState();
        if (!BuildFontLists()) {
            error = "the glyph lists could not be made";
            gl.reset();
        }
    }
    return gl;
}
