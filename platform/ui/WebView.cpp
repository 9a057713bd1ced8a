#include "platform/ui/WebView.h"

namespace qm::ui {

bool WebView::LoadURL(const std::string& url)
{
    if (url.empty())
        return false;
    try {
        m_history.push_back(url);
        m_current = url;
    } catch (...) {
        return false;
    }
    return true;
}

} // namespace qm::ui
