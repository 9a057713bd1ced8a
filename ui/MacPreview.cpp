#include "ui/MacPreview.h"

#include "ui/PreviewWebView.h"

void CMacPreview::OnSize(unsigned int, int cx, int cy)
{
    m_viewWidth = cx > 0 ? cx : 0;
    m_viewHeight = cy > 0 ? cy : 0;
}

bool CMacPreview::LoadURL(const unsigned short* url) { return ::LoadURL(&m_webView, url); }

void CMacPreview::OnInitDialog()
{
    Dialog().texts.clear();
    if (!m_webView.CurrentURL().empty())
        Dialog().texts.push_back(m_webView.CurrentURL());
}
