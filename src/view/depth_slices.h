#pragma once
// A frame cut into slices of depth for the vector pictures: the frame is drawn once into a
// feedback buffer to learn where its primitives lie, and a large one is then recorded slice by
// slice, farthest first, so that a recorder holds one slice's primitives at a time and not the
// whole frame's (twenty surfaces of 200 x 200 are 1.6 million segments).

#include "view/frame.h"

#include <GL/gl.h>

#include <vector>

/// What the frame feeds back, surveyed: where its primitives lie and what recording them costs.
struct TDepthSurvey {
    bool Complete = false; ///< false when the frame could not be fed back or read
    /// The floats that recording each primitive in colour feeds back (clipped by a slice's planes,
    /// a polygon gains two corners), with its window depths.
    struct TPrimitive {
        float Near = 0; ///< window depths, 0 (near plane) to 1 (far plane)
        float Far = 0;
        float Centre = 0;
        double Floats = 0;
    };
    std::vector<TPrimitive> Primitives;
    double Calls = 0;          ///< the recorder's own calls (widths, sizes, texts) in one frame
    GLdouble Projection[16]{}; ///< the frame's projection, relating window depth to the eye's
};

/// The frame of `Scene` drawn into a feedback buffer of positions, with `CountCalls` set to a
/// counter the recorder's own calls add to.
TDepthSurvey SurveyFrame(TScene& Scene, const TFrameSize& Size, long& CountCalls);

/// The window depths between the slices, near to far, so that each slice feeds back about
/// `SliceFloats` floats; none when the frame is recorded whole. A cut never falls on a
/// primitive's centre.
std::vector<double> SliceCuts(const TDepthSurvey& Survey, double SliceFloats, double CallFloats);

/// The feedback buffer, in floats, that holds the largest slice in colour with room to spare.
GLint SliceBufferFloats(const TDepthSurvey& Survey, const std::vector<double>& Cuts,
                        double CallFloats);

/// Keeps what lies between the window depths `*NearCut` and `*FarCut` (null: open on that side)
/// with the clip planes 0 and 1; `EndSlices` takes them away.
void ClipToSlice(const TDepthSurvey& Survey, const double* NearCut, const double* FarCut);
void EndSlices();

/// Runs `Record` for every slice of `Cuts`, farthest first, with the slice's planes set; stops
/// when it returns false.
template <typename TRecord>
bool ForEachSlice(const TDepthSurvey& Survey, const std::vector<double>& Cuts, TRecord Record) {
    bool ok = true;
    for (std::size_t k = Cuts.size() + 1; k-- > 0 && ok;) {
        ClipToSlice(Survey, k > 0 ? &Cuts[k - 1] : nullptr, k < Cuts.size() ? &Cuts[k] : nullptr);
        ok = Record(k);
    }
    EndSlices();
    return ok;
}
