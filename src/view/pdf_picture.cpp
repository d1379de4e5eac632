#include "view/pdf_picture.h"

#include "view/depth_slices.h"

#include <GL/gl.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The marks that the recorder's own calls leave in the feedback buffer, each followed by a value.
constexpr GLfloat WidthMark = 30001;
constexpr GLfloat PointSizeMark = 30002;
constexpr GLfloat TextMark = 30003;
// What one of those calls adds to the feedback: two pass-through tokens with their values.
constexpr double CallFloats = 4;
// A vertex fed back in colour: x, y, z and RGBA.
constexpr int ColorVertex = 7;

struct TText {
    std::string Bytes; // Windows-1251
    float X = 0, Y = 0, Z = 0;
    float R = 0, G = 0, B = 0;
};

// The recording under way: its texts of the slice being drawn.
bool Recording = false;
std::vector<TText> SliceTexts;

struct TVertex {
    float X = 0, Y = 0;
};

struct TPrimitive {
    enum class TKind : std::uint8_t { Line, Point, Polygon, Text };
    TKind Kind = TKind::Line;
    float Depth = 0; // the centre's window depth
    float Size = 1;  // the line's width or the point's size
    float R = 0, G = 0, B = 0;
    std::uint32_t First = 0; // the first vertex, or the text's index
    std::uint32_t Count = 0;
};

// The page's bytes with their offsets, for the cross-reference table.
class TPdfOut {
public:
    explicit TPdfOut(std::FILE* out) : Out(out) {}
    void Put(std::string_view text) {
        if (std::fwrite(text.data(), 1, text.size(), Out) != text.size())
            Failed = true;
        Offset += static_cast<long>(text.size());
    }
    /// A coordinate or a colour: three decimals at most, with a point, never an exponent.
    void Number(double value) {
        char buffer[64];
        const long long thousandths =
            static_cast<long long>(value * 1000 + (value < 0 ? -0.5 : 0.5));
        const std::to_chars_result end =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(thousandths) / 1000,
                          std::chars_format::fixed, 3);
        std::string_view text(buffer, static_cast<std::size_t>(end.ptr - buffer));
        while (text.back() == '0')
            text.remove_suffix(1);
        if (text.back() == '.')
            text.remove_suffix(1);
        Put(text == "-0" ? "0" : text);
        Put(" ");
    }
    void Integer(long value) {
        char buffer[32];
        const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, value);
        Put(std::string_view(buffer, static_cast<std::size_t>(end.ptr - buffer)));
    }
    long Offset = 0;
    bool Failed = false;

private:
    std::FILE* Out;
};

// Draws the primitives of one slice, far to near, keeping the pen's colour and width between
// them: segments that continue each other in one colour and width become one path.
class TContent {
public:
    explicit TContent(TPdfOut& out) : Out(out) {}

    void Draw(const std::vector<TPrimitive>& primitives, const std::vector<TVertex>& vertices) {
        for (const TPrimitive& p : primitives) {
            switch (p.Kind) {
            case TPrimitive::TKind::Line:
                Line(p, vertices[p.First], vertices[p.First + 1]);
                break;
            case TPrimitive::TKind::Point:
                Point(p, vertices[p.First]);
                break;
            case TPrimitive::TKind::Polygon:
                Polygon(p, vertices);
                break;
            case TPrimitive::TKind::Text:
                Text(p);
                break;
            }
        }
        EndPath();
    }

    void Background(const TColorGL& c, int width, int height) {
        FillColor(c.R, c.G, c.B);
        Out.Put("0 0 ");
        Out.Integer(width);
        Out.Put(" ");
        Out.Integer(height);
        Out.Put(" re f\n");
    }

private:
    void EndPath() {
        if (PathOpen)
            Out.Put("S\n");
        PathOpen = false;
    }
    void StrokeColor(float r, float g, float b) {
        if (Stroke[0] == r && Stroke[1] == g && Stroke[2] == b)
            return;
        EndPath();
        Out.Number(r), Out.Number(g), Out.Number(b);
        Out.Put("RG\n");
        Stroke[0] = r, Stroke[1] = g, Stroke[2] = b;
    }
    void FillColor(float r, float g, float b) {
        if (Fill[0] == r && Fill[1] == g && Fill[2] == b)
            return;
        Out.Number(r), Out.Number(g), Out.Number(b);
        Out.Put("rg\n");
        Fill[0] = r, Fill[1] = g, Fill[2] = b;
    }
    void Width(float width) {
        if (width == PenWidth)
            return;
        EndPath();
        Out.Number(width);
        Out.Put("w\n");
        PenWidth = width;
    }
    void Line(const TPrimitive& p, TVertex a, TVertex b) {
        StrokeColor(p.R, p.G, p.B);
        Width(p.Size);
        if (!PathOpen || a.X != Pen.X || a.Y != Pen.Y) {
            Out.Number(a.X), Out.Number(a.Y);
            Out.Put("m ");
        }
        Out.Number(b.X), Out.Number(b.Y);
        Out.Put("l\n");
        PathOpen = true;
        Pen = b;
    }
    void Point(const TPrimitive& p, TVertex a) {
        // A round dot as wide as the point: a path of no length with round ends, in a state of
        // its own.
        EndPath();
        Out.Put("q 1 J ");
        Out.Number(p.R), Out.Number(p.G), Out.Number(p.B);
        Out.Put("RG ");
        Out.Number(p.Size);
        Out.Put("w ");
        Out.Number(a.X), Out.Number(a.Y);
        Out.Put("m ");
        Out.Number(a.X), Out.Number(a.Y);
        Out.Put("l S Q\n");
    }
    void Polygon(const TPrimitive& p, const std::vector<TVertex>& vertices) {
        EndPath();
        FillColor(p.R, p.G, p.B);
        for (std::uint32_t i = 0; i < p.Count; ++i) {
            const TVertex v = vertices[p.First + i];
            Out.Number(v.X), Out.Number(v.Y);
            Out.Put(i == 0 ? "m " : "l ");
        }
        Out.Put("h f\n");
    }
    void Text(const TPrimitive& p) {
        EndPath();
        const TText& t = SliceTexts[p.First];
        FillColor(t.R, t.G, t.B);
        Out.Put("BT /F1 ");
        Out.Number(p.Size);
        Out.Put("Tf ");
        Out.Number(t.X), Out.Number(t.Y);
        Out.Put("Td (");
        // Helvetica's standard encoding has the axis numbers' and letters' characters; another
        // letter shows as a question mark rather than as a wrong one.
        std::string escaped;
        for (const char c : t.Bytes) {
            if (c == '(' || c == ')' || c == '\\')
                escaped += '\\';
            escaped += static_cast<unsigned char>(c) < 0x80 && c >= ' ' ? c : '?';
        }
        Out.Put(escaped);
        Out.Put(") Tj ET\n");
    }

    TPdfOut& Out;
    float Stroke[3] = {-1, -1, -1};
    float Fill[3] = {-1, -1, -1};
    float PenWidth = 1; // the width a page starts with
    bool PathOpen = false;
    TVertex Pen;
};

// One slice of the frame, fed back in colour and read into primitives sorted far to near.
bool FeedSlice(TScene& scene, const TFrameSize& size, std::vector<GLfloat>& buffer, double fontSize,
               std::vector<TPrimitive>& primitives, std::vector<TVertex>& vertices) {
    SliceTexts.clear();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    DrawScene(scene, size);
    const GLint used = glRenderMode(GL_RENDER);
    if (used < 0)
        return false;
    primitives.clear();
    vertices.clear();
    float width = 1;
    float pointSize = 1;
    const auto at = [&](GLint i) { return buffer[static_cast<std::size_t>(i)]; };
    GLint i = 0;
    while (i < used) {
        const GLint token = static_cast<GLint>(at(i++));
        TPrimitive p;
        int count = 0;
        switch (token) {
        case GL_PASS_THROUGH_TOKEN: {
            const GLfloat mark = at(i++);
            if (i + 1 >= used || static_cast<GLint>(at(i)) != GL_PASS_THROUGH_TOKEN)
                continue;
            const GLfloat value = at(i + 1);
            i += 2;
            if (mark == WidthMark) {
                width = value;
            } else if (mark == PointSizeMark) {
                pointSize = value;
            } else if (mark == TextMark) {
                const auto index = static_cast<std::uint32_t>(value);
                if (index < SliceTexts.size()) {
                    p.Kind = TPrimitive::TKind::Text;
                    p.First = index;
                    p.Depth = SliceTexts[index].Z;
                    p.Size = static_cast<float>(fontSize);
                    primitives.push_back(p);
                }
            }
            continue;
        }
        case GL_POINT_TOKEN:
            p.Kind = TPrimitive::TKind::Point;
            p.Size = pointSize;
            count = 1;
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            p.Kind = TPrimitive::TKind::Line;
            p.Size = width;
            count = 2;
            break;
        case GL_POLYGON_TOKEN:
            p.Kind = TPrimitive::TKind::Polygon;
            count = static_cast<int>(at(i++));
            break;
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            i += ColorVertex; // the glyphs of the screen: the page has the text instead
            continue;
        default:
            return false;
        }
        if (count <= 0 || i + ColorVertex * count > used)
            return false;
        p.First = static_cast<std::uint32_t>(vertices.size());
        p.Count = static_cast<std::uint32_t>(count);
        double depth = 0, r = 0, g = 0, b = 0;
        for (int v = 0; v < count; ++v, i += ColorVertex) {
            vertices.push_back({at(i), at(i + 1)});
            depth += at(i + 2);
            r += at(i + 3), g += at(i + 4), b += at(i + 5);
        }
        // A line between two colours (the colours of the heights) takes the colour between them.
        p.Depth = static_cast<float>(depth / count);
        p.R = static_cast<float>(r / count);
        p.G = static_cast<float>(g / count);
        p.B = static_cast<float>(b / count);
        primitives.push_back(p);
    }
    // Far to near; in the order of the drawing where depths are equal.
    std::stable_sort(primitives.begin(), primitives.end(),
                     [](const TPrimitive& a, const TPrimitive& b) { return a.Depth > b.Depth; });
    return true;
}

void PutObject(TPdfOut& out, std::vector<long>& offsets, std::string_view body) {
    offsets.push_back(out.Offset);
    out.Integer(static_cast<long>(offsets.size()));
    out.Put(" 0 obj\n");
    out.Put(body);
    out.Put("\nendobj\n");
}

} // namespace

bool PdfRecording() {
    return Recording;
}

void PdfLineWidth(float width) {
    glPassThrough(WidthMark);
    glPassThrough(width);
}

void PdfPointSize(float size) {
    glPassThrough(PointSizeMark);
    glPassThrough(size);
}

void PdfText(std::string_view text) {
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid)
        return;
    GLfloat position[4] = {};
    GLfloat color[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, color);
    SliceTexts.push_back(
        {std::string(text), position[0], position[1], position[2], color[0], color[1], color[2]});
    glPassThrough(TextMark);
    glPassThrough(static_cast<GLfloat>(SliceTexts.size() - 1));
}

bool WritePdfPicture(TScene& scene, const TFrameSize& size, std::FILE* file, double fontSize,
                     double sliceFloats, long& countCalls) {
    struct TRecordingFlag {
        TRecordingFlag() { Recording = true; }
        ~TRecordingFlag() {
            Recording = false;
            SliceTexts.clear();
        }
    } flag;
    const TDepthSurvey survey = SurveyFrame(scene, size, countCalls);
    if (!survey.Complete)
        return false;
    const std::vector<double> cuts = SliceCuts(survey, sliceFloats, CallFloats);
    std::vector<GLfloat> buffer(
        static_cast<std::size_t>(SliceBufferFloats(survey, cuts, CallFloats)));

    TPdfOut out(file);
    std::vector<long> offsets;
    out.Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    PutObject(out, offsets, "<< /Type /Catalog /Pages 2 0 R >>");
    PutObject(out, offsets, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    const std::string box =
        "[0 0 " + std::to_string(size.ClientWidth) + " " + std::to_string(size.ClientHeight) + "]";
    PutObject(out, offsets,
              "<< /Type /Page /Parent 2 0 R /MediaBox " + box +
                  " /Resources << /Font << /F1 5 0 R >> /ProcSet [/PDF /Text] >> "
                  "/Contents 4 0 R >>");
    offsets.push_back(out.Offset);
    out.Put("4 0 obj\n<< /Length 6 0 R >>\nstream\n");
    const long streamStart = out.Offset;

    TContent content(out);
    content.Background(scene.Settings.BackGroundGL(), size.ClientWidth, size.ClientHeight);
    std::vector<TPrimitive> primitives;
    std::vector<TVertex> vertices;
    const bool recorded = ForEachSlice(survey, cuts, [&](std::size_t) {
        if (!FeedSlice(scene, size, buffer, fontSize, primitives, vertices))
            return false;
        content.Draw(primitives, vertices);
        return !out.Failed;
    });
    if (!recorded)
        return false;

    const long streamLength = out.Offset - streamStart;
    out.Put("endstream\nendobj\n");
    PutObject(out, offsets,
              "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    PutObject(out, offsets, std::to_string(streamLength));
    PutObject(out, offsets, "<< /Title (Qel Kurvant) /Producer (Qel Kurvant) >>");
    const long table = out.Offset;
    out.Put("xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n");
    for (const long offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010ld 00000 n \n", offset);
        out.Put(entry);
    }
    out.Put("trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
            " /Root 1 0 R /Info 7 0 R >>\nstartxref\n" + std::to_string(table) + "\n%%EOF\n");
    return !out.Failed;
}
