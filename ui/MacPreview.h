#pragma once
// CMacPreview: the modal window that shows a rendering of the document (the
// preview and the screen-reader view). Its whole content area is a web view
// (platform/ui/WebView.h), which records the URL it was asked to load
// instead of rendering it. When the window opens, the dialog the host's UI
// driver sees carries that URL as its only text, so a driver (and a person
// reading the host's log) can tell what the window would show.

#include "platform/ui/WebView.h"
#include "ui/Dialog.h"

class CMacPreview : public CDialog
{
public:
    CMacPreview() : CDialog("preview") { }

    // Lays the window out: the web view takes the whole content area of
    // cx x cy pixels (negative sizes count as 0).
    void OnSize(unsigned int type, int cx, int cy);
    int ViewWidth() const { return m_viewWidth; }
    int ViewHeight() const { return m_viewHeight; }

    // Asks the web view to load url (ui/PreviewWebView.h): false for an
    // empty URL, which leaves the window empty.
    bool LoadURL(const unsigned short* url);

    qm::ui::WebView& GetWebView() { return m_webView; }
    const qm::ui::WebView& GetWebView() const { return m_webView; }

protected:
    // The dialog's text is the URL the web view shows (none while it is empty).
    void OnInitDialog() override;

private:
    qm::ui::WebView m_webView;
    int m_viewWidth = 0;
    int m_viewHeight = 0;
};
