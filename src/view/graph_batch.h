#pragma once
// Where the drawing of graphs sends its vertices: one primitive batch at a time, each vertex
// with the colour current when it is given.

#include "settings/color.h"

#include <GL/gl.h>

#include <cstddef>
#include <vector>

/// Straight to OpenGL in immediate mode, glBegin .. glEnd: the plain way, kept as the reference
/// that the arrays are checked against.
class TImmediateBatch {
public:
    void Begin(GLenum primitive) { glBegin(primitive); }
    void Color(const TColorGL& c) { glColor3f(c.R, c.G, c.B); }
    void Vertex(float x, float y, float z) { glVertex3f(x, y, z); }
    void Vertex(float x, float y) { glVertex2f(x, y); }
    void End() { glEnd(); }
    void Reserve(std::size_t) {}
};

/// Into arrays, drawn with one glDrawArrays at the end of the batch: the driver is handed the
/// vertices at once instead of call by call. Colours given inside a batch go into a colour array;
/// afterwards the current colour is the last one given, as after immediate mode.
class TArrayBatch {
public:
    void Begin(GLenum primitive);
    void Color(const TColorGL& c);
    void Vertex(float x, float y, float z);
    void Vertex(float x, float y) { Vertex(x, y, 0.0f); }
    void End();
    /// Room for this many vertices in the batch about to begin.
    void Reserve(std::size_t vertices);

private:
    GLenum Primitive = GL_POINTS;
    bool Inside = false;
    bool Coloured = false; ///< a colour was given inside the batch
    TColorGL Current{1.0f, 1.0f, 1.0f};
    std::vector<GLfloat> Positions;
    std::vector<GLfloat> Colours;
};
