#include "platform/ui/OpenURL.h"

#include "platform/events/Services.h"

namespace qm::ui {

bool OpenURL(const std::string& url)
{
    if (url.empty())
        return false;
    for (unsigned char c : url)
        if (c < 0x20 || c == 0x7F)
            return false;
    try {
        return events::Services::Get().Ui().OpenURL(url);
    } catch (...) {
        return false;
    }
}

} // namespace qm::ui
