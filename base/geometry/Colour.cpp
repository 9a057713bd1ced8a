#include "base/geometry/Colour.h"

void CalcSelectionColor(unsigned long& colour, unsigned long& other)
{
    const unsigned long r = colour & 0xFF;
    const unsigned long g = (colour >> 8) & 0xFF;
    const unsigned long b = (colour >> 16) & 0xFF;
    const unsigned long brightness = (3 * r + 6 * g + b) / 10;
    if (brightness < 48) {
        colour = 0xFFFFFF;
        other = 0;
    } else {
        colour = 0;
        other = 0xFFFFFF;
    }
}
