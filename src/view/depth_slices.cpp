#include "view/depth_slices.h"

#include <algorithm>

namespace {

// The survey's feedback buffer starts at this many floats and doubles until the frame fits.
constexpr GLint FirstSurveyFloats = 1 << 20;
constexpr GLint LastSurveyFloats = 1 << 28;
// A vertex fed back in colour: x, y, z and RGBA.
constexpr double ColorVertexFloats = 7;

} // namespace

TDepthSurvey SurveyFrame(TScene& scene, const TFrameSize& size, long& countCalls) {
    TDepthSurvey survey;
    std::vector<GLfloat> buffer;
    GLint used = -1;
    for (GLint floats = FirstSurveyFloats; floats <= LastSurveyFloats && used < 0; floats *= 2) {
        buffer.assign(static_cast<std::size_t>(floats), 0.0f);
        glFeedbackBuffer(floats, GL_3D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        countCalls = 0;
        DrawScene(scene, size);
        used = glRenderMode(GL_RENDER);
    }
    if (used < 0)
        return survey;
    glGetDoublev(GL_PROJECTION_MATRIX, survey.Projection);
    survey.Calls = static_cast<double>(countCalls);
    const auto at = [&](GLint i) { return buffer[static_cast<std::size_t>(i)]; };
    GLint i = 0;
    while (i < used) {
        const GLint token = static_cast<GLint>(at(i++));
        int count = 0;
        double extra = 1;
        switch (token) {
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            count = 1;
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            count = 2;
            break;
        case GL_POLYGON_TOKEN:
            count = static_cast<int>(at(i++));
            extra = 2 + 2 * ColorVertexFloats; // the count, and two corners a slice's planes add
            break;
        case GL_PASS_THROUGH_TOKEN:
            ++i;
            continue;
        default:
            return survey; // a buffer that cannot be read
        }
        if (count <= 0 || i + 3 * count > used)
            return survey;
        TDepthSurvey::TPrimitive p;
        p.Near = 1;
        p.Far = 0;
        double sum = 0;
        for (int v = 0; v < count; ++v) {
            const float z = at(i + 3 * v + 2);
            p.Near = std::min(p.Near, z);
            p.Far = std::max(p.Far, z);
            sum += z;
        }
        p.Centre = static_cast<float>(sum / count);
        p.Floats = extra + count * ColorVertexFloats;
        survey.Primitives.push_back(p);
        i += 3 * count;
    }
    survey.Complete = true;
    return survey;
}

std::vector<double> SliceCuts(const TDepthSurvey& survey, double sliceFloats, double callFloats) {
    double total = survey.Calls * callFloats;
    for (const TDepthSurvey::TPrimitive& p : survey.Primitives)
        total += p.Floats;
    const std::size_t slices = static_cast<std::size_t>(total / sliceFloats) + 1;
    if (!survey.Complete || slices < 2 || survey.Primitives.size() < 2 * slices)
        return {};
    std::vector<float> centres;
    centres.reserve(survey.Primitives.size());
    for (const TDepthSurvey::TPrimitive& p : survey.Primitives)
        centres.push_back(p.Centre);
    std::sort(centres.begin(), centres.end());
    std::vector<double> cuts;
    for (std::size_t k = 1; k < slices; ++k) {
        // Between the next two centres that differ: in double, halfway between two neighbouring
        // floats is a depth that no primitive's centre has.
        std::size_t i = centres.size() * k / slices;
        while (i < centres.size() && centres[i] == centres[i - 1])
            ++i;
        if (i == centres.size())
            break;
        const double cut = (double{centres[i - 1]} + double{centres[i]}) / 2;
        if (cuts.empty() || cuts.back() < cut)
            cuts.push_back(cut);
    }
    return cuts;
}

GLint SliceBufferFloats(const TDepthSurvey& survey, const std::vector<double>& cuts,
                        double callFloats) {
    std::vector<double> floats(cuts.size() + 1, survey.Calls * callFloats);
    for (const TDepthSurvey::TPrimitive& p : survey.Primitives) {
        // Every slice that the primitive reaches into records a piece of it.
        const auto first = std::lower_bound(cuts.begin(), cuts.end(), double{p.Near});
        const auto last = std::upper_bound(cuts.begin(), cuts.end(), double{p.Far});
        for (auto k = first - cuts.begin(); k <= last - cuts.begin(); ++k)
            floats[static_cast<std::size_t>(k)] += p.Floats;
    }
    double largest = 0;
    for (const double f : floats)
        largest = std::max(largest, f);
    return static_cast<GLint>(std::min(largest * 1.0625 + 65536.0, double{LastSurveyFloats}));
}

namespace {

// The depth in the eye's space of a window depth, through the projection (column-major).
double EyeDepth(const GLdouble* p, double windowDepth) {
    const double ndc = 2 * windowDepth - 1;
    return (p[14] - ndc * p[15]) / (ndc * p[11] - p[10]);
}

} // namespace

void ClipToSlice(const TDepthSurvey& survey, const double* nearCut, const double* farCut) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity(); // the planes are given in the eye's space
    const auto plane = [&](GLenum name, const double* cut, bool keepFarther) {
        if (!cut) {
            glDisable(name);
            return;
        }
        // Depth grows away from the eye in the window; which way the eye's depth runs depends on
        // the projection, so the side kept is found from a point farther than the cut.
        const double at = EyeDepth(survey.Projection, *cut);
        const double farther = EyeDepth(survey.Projection, std::min(1.0, *cut + 0.25));
        const double sign = (keepFarther == (farther > at)) ? 1 : -1;
        const GLdouble equation[4] = {0, 0, sign, -sign * at};
        glClipPlane(name, equation);
        glEnable(name);
    };
    plane(GL_CLIP_PLANE0, nearCut, true);
    plane(GL_CLIP_PLANE1, farCut, false);
    glPopMatrix();
}

void EndSlices() {
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
}
