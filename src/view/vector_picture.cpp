#include "view/vector_picture.h"

#include "documents/code_page.h"
#include "formula/locale_separator.h"

#include <GL/gl.h>
#include <gl2ps.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The glyphs of the view's font are 11 pixels high; the text of the picture matches them.
constexpr double FontPixels = 11;
// The feedback buffer starts at this many floats and doubles until the frame fits.
constexpr GLint FirstBufferFloats = 1 << 22;
constexpr GLint LastBufferFloats = 1 << 29;

// Set while a picture is recorded: the size and the family of its text.
double RecordingFontSize = 0;
std::string RecordingFamily;
std::string ViewFamily = "Helvetica";

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

} // namespace

void SetVectorTextFamily(const std::string& family) {
    if (!family.empty())
        ViewFamily = family;
}

void SetLineWidth(float width) {
    glLineWidth(width);
    gl2psLineWidth(width);
}

void SetPointSize(float size) {
    glPointSize(size);
    gl2psPointSize(size);
}

void RecordVectorText(std::string_view text) {
    if (RecordingFontSize <= 0 || text.empty())
        return;
    // The picture's text is UTF-8; the glyph lists' bytes are Windows-1251.
    const std::string utf8 = Cp1251ToUtf8(text);
    gl2psTextOpt(utf8.c_str(), RecordingFamily.c_str(), static_cast<GLshort>(RecordingFontSize),
                 GL2PS_TEXT_BL, 0);
}

std::string VectorPictureBytes(TScene& scene, const TFrameSize& size, TVectorFormat format,
                               std::string* error) {
    GLint viewport[4] = {0, 0, size.ClientWidth, size.ClientHeight};
    // Depth sorting by the primitives' centres: a 200 x 200 surface (80,000 segments) becomes a
    // PDF in 0.3 s and 3.8 MB; splitting them on a BSP tree took 1.6 s and 13 MB, and changes
    // nothing a picture of lines shows.
    GLint options = GL2PS_DRAW_BACKGROUND | GL2PS_SILENT | GL2PS_NO_BLENDING;
    if (format == TVectorFormat::Pdf)
        options |= GL2PS_COMPRESS;
    RecordingFontSize = FontPixels * scene.PixelRatio;
    // A PDF or EPS names one of the standard fonts that every reader has; an SVG the view's own,
    // which is also what printing (the SVG drawn by Qt) can embed as text.
    RecordingFamily = format == TVectorFormat::Svg ? ViewFamily : "Helvetica";
    // The page's background is the clear colour as the page begins; the frame sets the same.
    const TColorGL& background = scene.Settings.BackGroundGL();
    glClearColor(background.R, background.G, background.B, 1.0f);
    // gl2ps writes its numbers with printf, which follows the locale: a Russian one would put
    // commas into coordinates that no reader of the file can take.
    const kurvant::TMachineNumbers machineNumbers;
    std::string bytes;
    for (GLint buffer = FirstBufferFloats; buffer <= LastBufferFloats; buffer *= 2) {
        TMemoryFile out;
        if (!out.File)
            break;
        GLint state = gl2psBeginPage("Qel Kurvant", "Qel Kurvant", viewport, Gl2psFormat(format),
                                     GL2PS_SIMPLE_SORT, options, GL_RGBA, 0, nullptr, 0, 0, 0,
                                     buffer, out.File, "view");
        if (state != GL2PS_SUCCESS)
            break;
        DrawScene(scene, size);
        state = gl2psEndPage();
        if (state == GL2PS_OVERFLOW)
            continue;
        if (state == GL2PS_SUCCESS || state == GL2PS_NO_FEEDBACK)
            bytes = out.Take();
        break;
    }
    RecordingFontSize = 0;
    if (bytes.empty() && error)
        *error = "the vector picture could not be recorded";
    return bytes;
}
