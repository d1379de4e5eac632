#pragma once
// The view as a vector picture (SVG, PDF, EPS): the frame that `DrawScene` draws, recorded
// through OpenGL's feedback buffer, with the axis numbers and letters as real text.

#include "view/frame.h"

#include <cstdio>
#include <string>
#include <string_view>

enum class TVectorFormat { Svg, Pdf, Eps };

/// Writes the picture of `Scene` at `Size` to `Out` as it is recorded (1 pixel = 1 point; the
/// background filled), drawn into the current context, which is left as the frame leaves it.
/// Lines, points and meshes keep their colours and widths and are sorted by depth; a large frame
/// is recorded in slices of depth, so that memory holds one slice at a time. Numbers are written
/// with a point in any locale. False when the picture cannot be recorded or `Out` fails; what
/// was written is then incomplete.
bool WriteVectorPicture(TScene& Scene, const TFrameSize& Size, TVectorFormat Format,
                        std::FILE* Out);

/// The bytes of the picture of `Scene` at `Size` (1 pixel = 1 point; the background filled),
/// drawn into the current context, which is left as the frame leaves it. Lines, points and
/// meshes keep their colours and widths and are sorted by depth. Empty (and `Error` filled)
/// when the picture cannot be made.
std::string VectorPictureBytes(TScene& Scene, const TFrameSize& Size, TVectorFormat Format,
                               std::string* Error = nullptr);

/// How the vector pictures are recorded.
struct TVectorOptions {
    /// A frame that feeds back more floats than this is recorded in slices of depth of about
    /// this many each (16 MB, some 270,000 segments): a recorder holds one slice at a time.
    double SliceFloats = 4.0 * (1 << 20);
};
void SetVectorOptions(const TVectorOptions& Options);

/// `glLineWidth` and `glPointSize` told to the vector recorder as well, which the feedback buffer
/// does not tell: the frame sets widths only through these.
void SetLineWidth(float Width);
void SetPointSize(float Size);

/// Hands single-byte text at the current raster position to the vector recorder when a vector
/// picture is being recorded (the feedback buffer does not capture glBitmap glyphs); otherwise
/// does nothing.
void RecordVectorText(std::string_view Text);

/// The family of the view's font, named by the SVG picture's text (PDF and EPS name the standard
/// Helvetica, which every reader has). Until it is set, Helvetica.
void SetVectorTextFamily(const std::string& Family);
