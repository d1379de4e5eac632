#include "settings/color.h"

void Color_To_GL(TColor Color, float& R, float& G, float& B) {
    R = static_cast<float>(Color & 0xFF) / 255.0f;
    G = static_cast<float>((Color >> 8) & 0xFF) / 255.0f;
    B = static_cast<float>((Color >> 16) & 0xFF) / 255.0f;
}

TColorGL Color_To_GL(TColor Color) {
    TColorGL c;
    Color_To_GL(Color, c.R, c.G, c.B);
    return c;
}
