#include "source_view/DragToken.h"

#include <random>

std::uint32_t NewDragToken()
{
    static std::uint32_t last = std::random_device{}();
    if (++last == 0)
        ++last;
    return last;
}
