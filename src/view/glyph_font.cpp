#include "view/glyph_font.h"

#include "documents/code_page.h"
#include "view/vector_picture.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

QFont ViewFont(double ratio) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(11 * ratio))));
    // Glyph lists are bitmaps: a pixel is either drawn or not.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A glyph as glBitmap wants it: rows from the bottom up, 8 pixels a byte, first pixel in the
// high bit, rows packed to whole bytes (the caller sets unpack alignment 1).
std::vector<GLubyte> GlyphBits(const QImage& img) {
    const int w = img.width();
    const int h = img.height();
    const int rowBytes = (w + 7) / 8;
    std::vector<GLubyte> bits(static_cast<std::size_t>(rowBytes) * h, 0);
    for (int y = 0; y < h; ++y) {
        const uchar* line = img.constScanLine(h - 1 - y);
        for (int x = 0; x < w; ++x)
            if (line[x] > 127)
                bits[static_cast<std::size_t>(y) * rowBytes + x / 8] |=
                    static_cast<GLubyte>(0x80u >> (x % 8));
    }
    return bits;
}

// The pen's advance of every glyph in the lists, for measuring text without drawing it. The lists
// themselves are state of the context, shared the same way.
std::array<float, FontListCount> Advances{};

} // namespace

std::vector<TGlyphBitmap> MakeGlyphBitmaps(double PixelRatio) {
    const QFont font = ViewFont(PixelRatio);
    // The SVG picture names the font the glyphs come from.
    SetVectorTextFamily(QFontInfo(font).family().toStdString());
    const QFontMetrics fm(font);
    const int height = fm.height();
    const int descent = fm.descent();
    std::vector<TGlyphBitmap> glyphs(FontListCount);
    for (int code = 0; code < FontListCount; ++code) {
        const char32_t cp = Cp1251ToUnicode(static_cast<unsigned char>(code));
        if (cp < 0x20 || cp == 0x7F)
            continue;
        const QString text = QString::fromUcs4(&cp, 1);
        const int advance = fm.horizontalAdvance(text);
        const int width = std::max(1, fm.boundingRect(text).right() + 1);
        const int cellWidth = std::max(advance, width);
        QImage img(cellWidth, height, QImage::Format_Grayscale8);
        img.fill(0);
        {
            QPainter p(&img);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(0, fm.ascent(), text);
        }
        TGlyphBitmap& g = glyphs[static_cast<std::size_t>(code)];
        g.Draws = true;
        g.Width = cellWidth;
        g.Height = height;
        g.OriginY = static_cast<float>(descent);
        g.Advance = static_cast<float>(advance);
        g.Bits = GlyphBits(img);
    }
    return glyphs;
}

bool BuildFontLists(const std::vector<TGlyphBitmap>& glyphs) {
    glDeleteLists(FontListBase, FontListCount);
    GLint oldAlign = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlign);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int code = 0; code < FontListCount && code < static_cast<int>(glyphs.size()); ++code) {
        const TGlyphBitmap& g = glyphs[static_cast<std::size_t>(code)];
        glNewList(FontListBase + code, GL_COMPILE);
        // Control codes and the unassigned byte draw nothing and do not move the pen.
        if (g.Draws)
            glBitmap(g.Width, g.Height, 0.0f, g.OriginY, g.Advance, 0.0f, g.Bits.data());
        glEndList();
        Advances[static_cast<std::size_t>(code)] = g.Draws ? g.Advance : 0.0f;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlign);
    return glIsList(FontListBase + 'A') == GL_TRUE;
}

bool BuildFontLists(double PixelRatio) {
    return BuildFontLists(MakeGlyphBitmaps(PixelRatio));
}

float TextAdvance(std::string_view Text) {
    float sum = 0;
    for (const char c : Text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < FontListCount)
            sum += Advances[code];
    }
    return sum;
}

void PrintText(std::string_view Text) {
    if (Text.empty())
        return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glListBase(FontListBase);
    glCallLists(static_cast<GLsizei>(Text.size()), GL_UNSIGNED_BYTE, Text.data());
    glPopAttrib();
    // A vector picture takes the text as text, at the same raster position.
    RecordVectorText(Text);
}
