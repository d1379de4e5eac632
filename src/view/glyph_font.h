#pragma once
// The view's text: one OpenGL display list per single-byte character (Windows-1251), made
// from an 11-pixel sans-serif font, at list numbers FontListBase .. FontListBase + 254.

#include <string_view>

inline constexpr unsigned FontListBase = 1000;
inline constexpr int FontListCount = 255;

/// Makes the 255 glyph lists in the current OpenGL context, `PixelRatio` device pixels to a pixel
/// of the view (the glyphs of a screen of twice the density are twice as large). Needs a
/// QGuiApplication (for the font) and a current compatibility context. Returns false when the
/// lists could not be made. Lists belong to their context: call again whenever the context is
/// new or the ratio changes.
bool BuildFontLists(double PixelRatio = 1);

/// Draws single-byte text at the current raster position in the colour that was current when
/// the raster position was set. All attributes are saved and restored around the call.
void PrintText(std::string_view Text);
