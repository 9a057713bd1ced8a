#include "ui/PreviewWebView.h"

#include "base/SafeBuf.h"
#include "platform/ui/WebView.h"

#include <string>

bool LoadURL(qm::ui::WebView* view, const unsigned short* url)
{
    if (view == nullptr || url == nullptr || url[0] == 0)
        return false;
    try {
        CSafeBuf text(url);
        char* utf8 = nullptr;
        const int n = text.CreateUTF8Str(&utf8);
        const std::string request(utf8 != nullptr ? utf8 : "", utf8 != nullptr && n > 0 ? n : 0);
        delete[] utf8;
        return view->LoadURL(request);
    } catch (...) {
        return false;
    }
}
