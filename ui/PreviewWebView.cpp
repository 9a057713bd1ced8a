#include "ui/PreviewWebView.h"

#include "base/text/Utf.h"
#include "platform/ui/WebView.h"

#include <string>

bool LoadURL(qm::ui::WebView* view, const unsigned short* url)
{
    if (view == nullptr || url == nullptr || url[0] == 0)
        return false;
    try {
        return view->LoadURL(ToUTF8String(url));
    } catch (...) {
        return false;
    }
}
