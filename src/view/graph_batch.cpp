#include "view/graph_batch.h"

void TArrayBatch::Begin(GLenum primitive) {
    Primitive = primitive;
    Inside = true;
    Coloured = false;
    Positions.clear();
    Colours.clear();
}

void TArrayBatch::Color(const TColorGL& c) {
    Current = c;
    if (!Inside) {
        glColor3f(c.R, c.G, c.B);
        return;
    }
    if (!Coloured) {
        // The vertices so far have the colour that was current at Begin.
        Coloured = true;
        GLfloat r = 0;
        GLfloat g = 0;
        GLfloat b = 0;
        if (!Positions.empty()) {
            GLfloat before[4] = {1, 1, 1, 1};
            glGetFloatv(GL_CURRENT_COLOR, before);
            r = before[0];
            g = before[1];
            b = before[2];
        }
        for (std::size_t i = 0; i < Positions.size() / 3; ++i) {
            Colours.insert(Colours.end(), {r, g, b});
        }
    }
}

void TArrayBatch::Vertex(float x, float y, float z) {
    Positions.push_back(x);
    Positions.push_back(y);
    Positions.push_back(z);
    if (Coloured) {
        Colours.push_back(Current.R);
        Colours.push_back(Current.G);
        Colours.push_back(Current.B);
    }
}

void TArrayBatch::Reserve(std::size_t vertices) {
    Positions.reserve(3 * vertices);
}

void TArrayBatch::End() {
    Inside = false;
    if (Positions.empty()) {
        return;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, Positions.data());
    if (Coloured) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, 0, Colours.data());
    }
    glDrawArrays(Primitive, 0, static_cast<GLsizei>(Positions.size() / 3));
    if (Coloured) {
        glDisableClientState(GL_COLOR_ARRAY);
        // The current colour is left undefined by a colour array; immediate mode leaves the last.
        glColor3f(Current.R, Current.G, Current.B);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
}
