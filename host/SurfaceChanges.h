#pragma once
// What changed in a pixel surface since it was last looked at. The window
// repaints only these rectangles: the plug-in draws into the browser
// window's port whenever it likes (inside an update it asked for, or
// directly while it handles an event), so comparing the port's pixels with
// a copy of them finds exactly what must reach the screen.
//
// Rows are compared in bands; each band with a change gives the rectangle
// spanning its changed columns and rows, and rectangles of touching bands
// whose columns overlap are joined.

#include <cstdint>
#include <vector>

namespace qm::host {

struct PixelRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class SurfaceChanges
{
public:
    static constexpr int kBandRows = 32;

    // 4 bytes a pixel, stride bytes a row. The first look, and a look at a
    // surface of another size, answers the whole surface.
    std::vector<PixelRect> Take(const unsigned char* data, int width, int height, int stride);

private:
    std::vector<std::uint32_t> m_copy;
    int m_width = -1;
    int m_height = -1;
};

} // namespace qm::host
