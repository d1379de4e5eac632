#include "view/vector_picture.h"

#include "documents/code_page.h"
#include "formula/locale_separator.h"
#include "view/depth_slices.h"
#include "view/pdf_picture.h"

#include <GL/gl.h>
#include <gl2ps.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// The glyphs of the view's font are 11 pixels high; the text of the picture matches them.
constexpr double FontPixels = 11;
// What one call of gl2ps's own (a width, a point size, a text) adds to the feedback, at most.
constexpr double Gl2psCallFloats = 8;

// Set while a picture is recorded: the size and the family of its text.
double RecordingFontSize = 0;
std::string RecordingFamily;
std::string ViewFamily = "Helvetica";
// The calls that reach the recorder, counted while the frame is surveyed.
long RecorderCalls = 0;
// How much of the frame a slice of the recording feeds back: see `TVectorOptions`.
double SliceFloats = TVectorOptions{}.SliceFloats;

GLint Gl2psFormat(TVectorFormat format) {
    switch (format) {
    case TVectorFormat::Svg:
        return GL2PS_SVG;
    case TVectorFormat::Pdf:
        return GL2PS_PDF;
    case TVectorFormat::Eps:
        return GL2PS_EPS;
    }
    return GL2PS_SVG;
}

struct TMemoryFile {
    char* Data = nullptr;
    std::size_t Size = 0;
    std::FILE* File = nullptr;
    TMemoryFile() { File = open_memstream(&Data, &Size); }
    ~TMemoryFile() {
        if (File)
            std::fclose(File);
        std::free(Data);
    }
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;
    std::string Take() {
        std::fclose(File);
        File = nullptr;
        return std::string(Data, Size);
    }
};

// SVG and EPS through gl2ps, slice by slice of depth when the frame is large.
bool WriteGl2psPicture(TScene& scene, const TFrameSize& size, TVectorFormat format,
                       std::FILE* out) {
    GLint viewport[4] = {0, 0, size.ClientWidth, size.ClientHeight};
    // Depth sorting by the primitives' centres: a 200 x 200 surface (80,000 segments) becomes a
    // picture in 0.3 s; splitting them on a BSP tree took five times as long and changes nothing
    // a picture of lines shows.
    const GLint options = GL2PS_DRAW_BACKGROUND | GL2PS_SILENT | GL2PS_NO_BLENDING;
    const TDepthSurvey survey = SurveyFrame(scene, size, RecorderCalls);
    if (!survey.Complete)
        return false;
    const std::vector<double> cuts = SliceCuts(survey, SliceFloats, Gl2psCallFloats);
    if (gl2psBeginPage("Qel Kurvant", "Qel Kurvant", viewport, Gl2psFormat(format),
                       GL2PS_SIMPLE_SORT, options, GL_RGBA, 0, nullptr, 0, 0, 0,
                       SliceBufferFloats(survey, cuts, Gl2psCallFloats), out,
                       "view") != GL2PS_SUCCESS)
        return false;
    bool ok = true;
    if (cuts.empty()) {
        DrawScene(scene, size);
    } else {
        ok = ForEachSlice(survey, cuts, [&](std::size_t k) {
            // Each slice is a viewport of gl2ps, of a height of its own so that the clip paths
            // of an SVG have names of their own; the page clips what lies above it.
            GLint slice[4] = {0, 0, size.ClientWidth, size.ClientHeight + static_cast<GLint>(k)};
            gl2psBeginViewport(slice);
            DrawScene(scene, size);
            const GLint state = gl2psEndViewport();
            // The background is painted once, under the farthest slice.
            gl2psSetOptions(options & ~GL2PS_DRAW_BACKGROUND);
            return state == GL2PS_SUCCESS || state == GL2PS_NO_FEEDBACK;
        });
    }
    const GLint state = gl2psEndPage();
    return ok && (state == GL2PS_SUCCESS || state == GL2PS_NO_FEEDBACK);
}

} // namespace

void SetVectorTextFamily(const std::string& family) {
    if (!family.empty())
        ViewFamily = family;
}

void SetVectorOptions(const TVectorOptions& options) {
    SliceFloats = options.SliceFloats;
}

void SetLineWidth(float width) {
    glLineWidth(width);
    ++RecorderCalls;
    if (PdfRecording())
        PdfLineWidth(width);
    else
        gl2psLineWidth(width);
}

void SetPointSize(float size) {
    glPointSize(size);
    ++RecorderCalls;
    if (PdfRecording())
        PdfPointSize(size);
    else
        gl2psPointSize(size);
}

void RecordVectorText(std::string_view text) {
    if (RecordingFontSize <= 0 || text.empty())
        return;
    ++RecorderCalls;
    if (PdfRecording()) {
        PdfText(text);
        return;
    }
    // The picture's text is UTF-8; the glyph lists' bytes are Windows-1251.
    const std::string utf8 = Cp1251ToUtf8(text);
    gl2psTextOpt(utf8.c_str(), RecordingFamily.c_str(), static_cast<GLshort>(RecordingFontSize),
                 GL2PS_TEXT_BL, 0);
}

bool WriteVectorPicture(TScene& scene, const TFrameSize& size, TVectorFormat format,
                        std::FILE* out) {
    if (!out)
        return false;
    // gl2ps writes its numbers with printf, which follows the locale: a Russian one would put
    // commas into coordinates that no reader of the file can take.
    const kurvant::TMachineNumbers machineNumbers;
    RecordingFontSize = FontPixels * scene.PixelRatio;
    // A PDF or EPS names one of the standard fonts that every reader has; an SVG the view's own,
    // which is also what printing (the SVG drawn by Qt) can embed as text.
    RecordingFamily = format == TVectorFormat::Svg ? ViewFamily : "Helvetica";
    // The page's background is the clear colour as the page begins; the frame sets the same.
    const TColorGL& background = scene.Settings.BackGroundGL();
    glClearColor(background.R, background.G, background.B, 1.0f);
    // The PDF is written by the program itself: gl2ps's keeps a copy of every primitive of the
    // page until the page ends, 300 MB for the largest frames.
    const bool ok =
        format == TVectorFormat::Pdf
            ? WritePdfPicture(scene, size, out, RecordingFontSize, SliceFloats, RecorderCalls)
            : WriteGl2psPicture(scene, size, format, out);
    RecordingFontSize = 0;
    return ok && std::fflush(out) == 0 && !std::ferror(out);
}

std::string VectorPictureBytes(TScene& scene, const TFrameSize& size, TVectorFormat format,
                               std::string* error) {
    TMemoryFile out;
    std::string bytes;
    if (out.File && WriteVectorPicture(scene, size, format, out.File))
        bytes = out.Take();
    if (bytes.empty() && error)
        *error = "the vector picture could not be recorded";
    return bytes;
}
