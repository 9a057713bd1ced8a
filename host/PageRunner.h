#pragma once
// Runs a page (host/PageFile.h) in a test host: loads the module, makes the
// tag's instance, runs the steps in order, then reads the form value,
// writes the window as a PNG when asked, destroys the instance and checks
// what the plug-in left behind. Each step is logged ("> click (10, 20)",
// points as (x, y) in the plug-in's area) before what it caused, and an
// event's answer after it ("< handled"). Page functions run their bodies
// when the plug-in calls them (at most eight calls deep).

#include "host/PageFile.h"

#include <string>

namespace qm::host {

class Host;

// What shows the page to a person (host/WindowFrontEnd.h): it gets the
// host once the instance exists, plays the input steps through its own
// event path, and after the steps waits until the person closes it.
class PageFrontEnd
{
public:
    virtual ~PageFrontEnd() = default;
    // The instance exists and no step has run yet.
    virtual void Open(Host& host, const Page& page) = 0;
    // Plays an input step (click, mouse-down/up, null, drag, key, type,
    // text-input, wheel, focus, blur) through the window's own events and
    // answers the plug-in's handled flag; -1 when the step is not input,
    // which the runner then runs itself.
    virtual int Play(const PageStep& step) = 0;
    // A step has run: what it changed is shown before the next one.
    virtual void StepDone() = 0;
    // A page function was called (the status line shows "qm..." events).
    virtual void Called(const std::string& name) = 0;
    // The <close-window/> step: the person closes the window.
    virtual void RequestClose() = 0;
    // Whether the window has been closed: no step runs after that.
    virtual bool Closed() const = 0;
    // After the steps: returns once the window is closed (at once when it
    // is closed already).
    virtual void Wait() = 0;
    // Writes what the window shows of the browser window as a PNG.
    virtual bool WritePNG(const std::string& path) = 0;
    // The instance is about to be destroyed.
    virtual void Close() = 0;
};

struct PageRun
{
    bool loaded = false; // the module loaded and the instance was made
    bool hasFormValue = false;
    std::string formValue;
    std::vector<std::string> problems; // see Host::Problems, plus PNG failures
    std::string log;                   // the whole log, one line each
};

// modulePath is the module file to load (the page's module, resolved by
// the caller); pngPath empty: no picture. With a front end the steps play
// in its window, the picture is taken from it, and the run ends when the
// window is closed.
PageRun RunPage(const Page& page, const std::string& modulePath, const std::string& pngPath,
    PageFrontEnd* frontEnd = nullptr);

} // namespace qm::host
