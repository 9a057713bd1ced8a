#pragma once
// Opening a URL in the system's default handler (a browser window, a mail
// program): handed to the host's UI driver, which answers whether it was
// handed on.

#include <string>

namespace qm::ui {

// False for an empty URL or one holding control characters, and when the
// driver refuses it.
bool OpenURL(const std::string& url);

} // namespace qm::ui
