#pragma once
// Loading a URL into the preview window's web view. The web view renders
// nothing here; it records what it was asked to show.

namespace qm::ui {
class WebView;
}

// Asks the web view to load url in its main frame. False for a null view or
// an empty URL.
bool LoadURL(qm::ui::WebView* view, const unsigned short* url);
