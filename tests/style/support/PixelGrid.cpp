#include "tests/style/support/PixelGrid.h"

#include "platform/cg/Context.h"

#include <cstdlib>

namespace qmtest {

namespace {

struct Legend
{
    char symbol;
    int r, g, b;
};

constexpr Legend kLegend[] = {
    {'W', 255, 255, 255},
    {'K', 0, 0, 0},
    {'R', 255, 0, 0},
    {'G', 0, 255, 0},
    {'B', 0, 0, 255},
    {'Y', 255, 255, 0},
    {'T', 178, 178, 255},
    {'g', 200, 200, 200},
    {'d', 160, 160, 160},
};

char Symbol(qm::cg::Pixel stored)
{
    if (stored.alpha == 0)
        return '.';
    if (stored.alpha != 255)
        return '+';
    for (const Legend& l : kLegend) {
        if (std::abs(stored.red - l.r) <= 2 && std::abs(stored.green - l.g) <= 2
            && std::abs(stored.blue - l.b) <= 2)
            return l.symbol;
    }
    return '+';
}

} // namespace

std::string PixelGrid(const qm::cg::Context& ctx, int left, int top, int width, int height)
{
    std::string out;
    for (int row = top; row < top + height; ++row) {
        for (int x = left; x < left + width; ++x)
            out += Symbol(ctx.ReadPixel(x, row));
        out += '\n';
    }
    return out;
}

} // namespace qmtest
