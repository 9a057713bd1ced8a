#pragma once
// The packed colour value: red in the low byte, then green, then blue, the top
// byte 0. The CSS code also uses -1 (invalid), -2 (transparent) and -3
// (inherit) as colour answers; those never go through RGB.

inline constexpr unsigned long RGB(int r, int g, int b)
{
    return static_cast<unsigned long>(r & 0xFF) | (static_cast<unsigned long>(g & 0xFF) << 8)
        | (static_cast<unsigned long>(b & 0xFF) << 16);
}

// Turns colour into black or white, whichever contrasts with it, and sets
// other to the opposite one: a dark colour (weighted brightness below 48)
// gives white on black, anything lighter black on white.
void CalcSelectionColor(unsigned long& colour, unsigned long& other);
