#pragma once
// The preview web view. It renders nothing; it records each URL it was asked
// to load, so a host or a test can see what would be shown.

#include <string>
#include <vector>

namespace qm::ui {

class WebView
{
public:
    // Records the request; false (nothing recorded) for an empty URL.
    bool LoadURL(const std::string& url);

    // The last URL loaded, empty when none.
    const std::string& CurrentURL() const { return m_current; }
    const std::vector<std::string>& History() const { return m_history; }

private:
    std::string m_current;
    std::vector<std::string> m_history;
};

} // namespace qm::ui
