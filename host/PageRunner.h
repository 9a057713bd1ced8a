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

struct PageRun
{
    bool loaded = false; // the module loaded and the instance was made
    bool hasFormValue = false;
    std::string formValue;
    std::vector<std::string> problems; // see Host::Problems, plus PNG failures
    std::string log;                   // the whole log, one line each
};

// modulePath is the module file to load (the page's module, resolved by
// the caller); pngPath empty: no picture.
PageRun RunPage(const Page& page, const std::string& modulePath, const std::string& pngPath);

} // namespace qm::host
