#pragma once
// The page in a window on the desktop: qmhost --window. The window shows the
// browser window's pixels (the same bitmap --png writes) and a status line
// with the last "qm..." event the plug-in sent the page and the length of the
// form value. It repaints only the rectangles whose pixels changed since it
// last drew (host/SurfaceChanges.h).
//
// What the person does reaches the plug-in as a browser hands it over: key
// presses as key events of the US layout (host/GdkKeys.h), text through the
// desktop's input method (a commit as typed text, a pre-edit as the active
// input area's text), pointer presses, moves, drags and the wheel, focus in
// and out. Dialogs, menus, put-file and help tags are shown by
// host/WindowUi.h; the clipboard's text and HTML follow the desktop's
// clipboard both ways. While the window waits for the person, the host's
// virtual clock follows real time and null events go out as a browser sends
// them.
//
// The page's steps play first: input steps are turned into the desktop's
// own events and sent through the window, so they take the path a person's
// input takes; real input is ignored until the steps are done. Only one
// window exists at a time; it needs a display (OpenDisplay).

#include "host/PageRunner.h"

#include <memory>
#include <string>

namespace qm::host {

struct WindowOptions
{
    bool closeAfterSteps = false; // close the window as soon as the steps have run
};

class WindowFrontEnd : public PageFrontEnd
{
public:
    // Connects to the desktop; false with the reason when there is no
    // display (neither DISPLAY nor WAYLAND_DISPLAY set, or it cannot be opened).
    static bool OpenDisplay(std::string& why);

    explicit WindowFrontEnd(WindowOptions options = WindowOptions());
    ~WindowFrontEnd() override;
    WindowFrontEnd(const WindowFrontEnd&) = delete;
    WindowFrontEnd& operator=(const WindowFrontEnd&) = delete;

    void Open(Host& host, const Page& page) override;
    int Play(const PageStep& step) override;
    void StepDone() override;
    void Called(const std::string& name) override;
    void RequestClose() override;
    bool Closed() const override;
    void Wait() override;
    bool WritePNG(const std::string& path) override;
    void Close() override;

    struct Impl;

private:
    std::unique_ptr<Impl> m;
};

} // namespace qm::host
