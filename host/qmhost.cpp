// qmhost: runs a page in the test browser and prints what happened.
//
//   qmhost [--png OUT.png] [--log FILE] [--window [--close]] PAGE
//
// PAGE is a page file (host/PageFile.h). Its plug-in module is found as
// given when the path is absolute, else next to the page, in the build's
// plugins/ folder beside this program's folder, or beside this program.
// The log goes to standard output, ending with the final form value and
// either "accounting: clean" or the problems found; --log writes the same
// log to FILE as well.
//
// --window shows the page in a window on the desktop (host/WindowFrontEnd.h):
// the steps play through the window, then it waits until it is closed
// (--close: closes it as soon as the steps have run). --png then writes what
// the window shows. Without a display it fails with status 2.
//
// Exit status: 0 when the page ran clean, 1 when it could not run (usage, an
// unreadable page, a module that does not load), 2 when it ran but problems
// were found, or when --window finds no display.

#include "host/PageFile.h"
#include "host/PageRunner.h"
#include "host/WindowFrontEnd.h"

#include "platform/sys/Bundle.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace {

int Usage()
{
    std::cerr << "usage: qmhost [--png OUT.png] [--log FILE] [--window [--close]] PAGE\n";
    return 1;
}

bool IsFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Folder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

std::string FindModule(const std::string& module, const std::string& pagePath)
{
    if (!module.empty() && module[0] == '/')
        return module;
    const std::string exe = qm::sys::ExecutableFolder();
    const std::string candidates[]
        = {Folder(pagePath) + "/" + module, exe + "/../plugins/" + module, exe + "/" + module};
    for (const std::string& c : candidates)
        if (IsFile(c))
            return c;
    return module;
}

} // namespace

int main(int argc, char** argv)
{
    std::string png, logPath, pagePath;
    bool window = false;
    qm::host::WindowOptions windowOptions;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--png" && i + 1 < argc)
            png = argv[++i];
        else if (arg == "--log" && i + 1 < argc)
            logPath = argv[++i];
        else if (arg == "--window")
            window = true;
        else if (arg == "--close")
            windowOptions.closeAfterSteps = true;
        else if (!arg.empty() && arg[0] == '-')
            return Usage();
        else if (pagePath.empty())
            pagePath = arg;
        else
            return Usage();
    }
    if (pagePath.empty() || (windowOptions.closeAfterSteps && !window))
        return Usage();

    std::ifstream in(pagePath, std::ios::binary);
    if (!in) {
        std::cerr << "qmhost: cannot read " << pagePath << "\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    qm::host::Page page;
    std::string error;
    if (!qm::host::ReadPage(text.str(), page, error)) {
        std::cerr << "qmhost: " << pagePath << ": " << error << "\n";
        return 1;
    }
    std::string why;
    if (window && !qm::host::WindowFrontEnd::OpenDisplay(why)) {
        std::cerr << "qmhost: " << why << "\n";
        return 2;
    }
    qm::host::PageRun run;
    if (window) {
        qm::host::WindowFrontEnd frontEnd(windowOptions);
        run = qm::host::RunPage(page, FindModule(page.module, pagePath), png, &frontEnd);
    } else {
        run = qm::host::RunPage(page, FindModule(page.module, pagePath), png);
    }
    std::cout << run.log;
    std::cout.flush();
    if (!logPath.empty()) {
        std::ofstream log(logPath, std::ios::binary);
        log << run.log;
        if (!log.flush()) {
            std::cerr << "qmhost: cannot write " << logPath << "\n";
            return 1;
        }
    }
    if (!run.loaded)
        return 1;
    return run.problems.empty() ? 0 : 2;
}
