#include "host/SurfaceChanges.h"

#include <algorithm>
#include <cstring>

namespace qm::host {

std::vector<PixelRect> SurfaceChanges::Take(const unsigned char* data, int width, int height, int stride)
{
    std::vector<PixelRect> out;
    if (!data || width <= 0 || height <= 0 || stride < width * 4)
        return out;
    const std::size_t rowPixels = static_cast<std::size_t>(width);
    if (width != m_width || height != m_height) {
        m_width = width;
        m_height = height;
        m_copy.assign(rowPixels * static_cast<std::size_t>(height), 0);
        for (int y = 0; y < height; ++y)
            std::memcpy(&m_copy[rowPixels * y], data + static_cast<std::size_t>(stride) * y, rowPixels * 4);
        out.push_back(PixelRect{0, 0, width, height});
        return out;
    }
    for (int band = 0; band < height; band += kBandRows) {
        int left = width, right = -1, top = -1, bottom = -1;
        const int end = std::min(height, band + kBandRows);
        for (int y = band; y < end; ++y) {
            std::uint32_t* copy = &m_copy[rowPixels * y];
            const unsigned char* row = data + static_cast<std::size_t>(stride) * y;
            if (std::memcmp(copy, row, rowPixels * 4) == 0)
                continue;
            std::uint32_t pixel;
            int first = 0;
            while (std::memcpy(&pixel, row + first * 4, 4), pixel == copy[first])
                ++first;
            int last = width - 1;
            while (std::memcpy(&pixel, row + last * 4, 4), pixel == copy[last])
                --last;
            std::memcpy(copy, row, rowPixels * 4);
            left = std::min(left, first);
            right = std::max(right, last);
            if (top < 0)
                top = y;
            bottom = y;
        }
        if (top < 0)
            continue;
        const PixelRect r{left, top, right - left + 1, bottom - top + 1};
        PixelRect* prev = out.empty() ? nullptr : &out.back();
        if (prev && prev->y + prev->height == r.y && prev->x <= r.x + r.width
            && r.x <= prev->x + prev->width) {
            const int x0 = std::min(prev->x, r.x);
            const int x1 = std::max(prev->x + prev->width, r.x + r.width);
            *prev = PixelRect{x0, prev->y, x1 - x0, r.y + r.height - prev->y};
        } else {
            out.push_back(r);
        }
    }
    return out;
}

} // namespace qm::host
