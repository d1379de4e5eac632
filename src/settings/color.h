#pragma once
// Colours are 32-bit values laid out 0x00BBGGRR (red in the low byte), as the settings and the
// documents store them; OpenGL gets them as three single-precision fractions.

#include <cstdint>

using TColor = std::uint32_t;

/// The three OpenGL components of a colour, each 0..1.
struct TColorGL {
    float R = 0.0f;
    float G = 0.0f;
    float B = 0.0f;
    bool operator==(const TColorGL&) const = default;
};

/// Splits a colour into its OpenGL fractions. The high byte is ignored, so a system-colour value
/// (0xFF00000F) is not resolved: its low bytes are taken as they stand.
void Color_To_GL(TColor Color, float& R, float& G, float& B);
TColorGL Color_To_GL(TColor Color);

// Named colour values used as defaults and proposals.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
