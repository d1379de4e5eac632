#pragma once
// The view's text: one OpenGL display list per single-byte character (Windows-1251), made
// from an 11-pixel sans-serif font, at list numbers FontListBase .. FontListBase + 254.

#include <string_view>
#include <vector>

inline constexpr unsigned FontListBase = 1000;
inline constexpr int FontListCount = 255;

/// One glyph as glBitmap draws it.
struct TGlyphBitmap {
    bool Draws = false; ///< control codes and the unassigned byte draw nothing
    int Width = 0;
    int Height = 0;
    float OriginY = 0;
    float Advance = 0;
    std::vector<unsigned char> Bits;
};

/// The 255 glyphs' bitmaps from Qt's font. Needs a QGuiApplication but no OpenGL context, so a
/// caller may make them while another thread makes the context.
/// `PixelRatio` device pixels to a pixel of the view: on a screen of twice the density the glyphs
/// are twice as large.
std::vector<TGlyphBitmap> MakeGlyphBitmaps(double PixelRatio = 1);

/// Makes the glyph lists from the bitmaps in the current OpenGL context. Returns false when the
/// lists could not be made. Lists belong to their context: call again whenever it is new.
bool BuildFontLists(const std::vector<TGlyphBitmap>& Glyphs);

/// `BuildFontLists(MakeGlyphBitmaps(PixelRatio))`: needs a QGuiApplication and a current context.
/// Call again whenever the context is new or the ratio changes.
bool BuildFontLists(double PixelRatio = 1);

/// How far the pen moves over single-byte text in the glyph lists built last, device pixels; 0
/// before any lists were built.
float TextAdvance(std::string_view Text);

/// Draws single-byte text at the current raster position in the colour that was current when
/// the raster position was set. All attributes are saved and restored around the call.
void PrintText(std::string_view Text);
