#pragma once
// The host's log: one line per thing that happened that a page author or a
// test would want to see (what the plug-in asked of the browser, what the
// page's functions were called with, how the UI was answered, script
// results, faults of the plug-in). Lines are UTF-8.

#include <string>
#include <vector>

namespace qm::host {

class EventLog
{
public:
    void Add(std::string line) { m_lines.push_back(std::move(line)); }
    const std::vector<std::string>& Lines() const { return m_lines; }
    // Every line, each ended by a newline.
    std::string Text() const;
    // Whether some line holds the text.
    bool Contains(const std::string& text) const;
    void Clear() { m_lines.clear(); }

private:
    std::vector<std::string> m_lines;
};

// A text as a quoted, escaped string for the log: "a\"b\n".
std::string Quote(const std::string& text);

} // namespace qm::host
