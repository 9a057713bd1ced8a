// qmhost --window on a virtual display: the page's steps played as the
// desktop's events give the log and the pixels the headless host gives;
// closing the window inside a dialog ends the instance cleanly; without a
// display the window is refused with status 2.

#include "tests/common/PngPixels.h"
#include "tests/common/RunCommand.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool HaveVirtualDisplay() { return std::system("command -v xvfb-run >/dev/null 2>&1") == 0; }

#define REQUIRE_VIRTUAL_DISPLAY()                                                                            \
    if (!HaveVirtualDisplay())                                                                               \
    GTEST_SKIP() << "xvfb-run is not installed (scripts/setup installs it): the window is not tested"

std::string Page(const std::string& name) { return std::string(QM_HOST_PAGES) + "/" + name; }

// The simple input method, whatever the desktop's settings: typed keys
// commit their characters.
const std::string kEnv = "env GTK_IM_MODULE=gtk-im-context-simple NO_AT_BRIDGE=1 ";

std::string Qmhost(const std::string& args, int& status)
{
    return qmtest::RunCommand(kEnv + QM_QMHOST + " " + args, status);
}

// A window that never closes fails the test (status 124) instead of hanging it.
std::string InWindow(const std::string& args, int& status)
{
    return qmtest::RunCommand(kEnv + "timeout 120 xvfb-run -a -s '-screen 0 1024x768x24' " + QM_QMHOST
            + " --window --close " + args,
        status);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string WithoutLine(std::string log, const std::string& line)
{
    const std::size_t at = log.find(line + "\n");
    if (at != std::string::npos)
        log.erase(at, line.size() + 1);
    return log;
}

struct PlayCase
{
    const char* page;
    const char* mustLog; // a line the run must log
};

TEST(WindowHost, PlaysTheStepsAsTheHeadlessHostRunsThem)
{
    REQUIRE_VIRTUAL_DISPLAY();
    const PlayCase cases[] = {
        {"fixture.xml", "status: alert: OK"},
        {"window-steps.xml", "form value: \"Typed"},
        {"editor-window.xml", "page: qmFocusLost(\"ed1\")"},
    };
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("window")));
    for (const PlayCase& c : cases) {
        SCOPED_TRACE(c.page);
        const std::string base = dir.Path() + "/" + c.page;
        int status = -1;
        Qmhost("--png " + base + ".h.png --log " + base + ".h.log " + Page(c.page), status);
        ASSERT_EQ(status, 0);
        InWindow("--png " + base + ".w.png --log " + base + ".w.log " + Page(c.page), status);
        ASSERT_EQ(status, 0);
        const std::string headless = ReadFile(base + ".h.log");
        const std::string window = ReadFile(base + ".w.log");
        EXPECT_NE(headless.find(c.mustLog), std::string::npos);
        EXPECT_EQ(WithoutLine(window, "window closed"), headless);

        qmtest::PngPixels h, w;
        ASSERT_TRUE(qmtest::ReadPng(base + ".h.png", h));
        ASSERT_TRUE(qmtest::ReadPng(base + ".w.png", w));
        ASSERT_EQ(w.width, h.width);
        ASSERT_EQ(w.height, h.height);
        int differing = 0;
        for (std::size_t i = 0; i < h.rgba.size(); i += 4)
            if (h.rgba[i] != w.rgba[i] || h.rgba[i + 1] != w.rgba[i + 1] || h.rgba[i + 2] != w.rgba[i + 2])
                ++differing;
        EXPECT_EQ(differing, 0) << "pixels differ between the window and the headless picture";
    }
}

TEST(WindowHost, ClosingTheWindowInsideADialogOrMenuEndsTheInstanceCleanly)
{
    REQUIRE_VIRTUAL_DISPLAY();
    const struct
    {
        const char* page;
        const char* ended;    // what the window logs when the close ends it
        const char* returned; // the plug-in's call returning with the default
    } cases[] = {
        {"close-in-dialog.xml", "window: the dialog was closed with the browser window",
            "call Alert(\"Leave?\") -> \"closed\""},
        {"close-in-menu.xml", "window: the menu was dismissed with the browser window",
            "status: menu at (100, 100): 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        int status = -1;
        const std::string log = InWindow(Page(c.page), status);
        EXPECT_EQ(status, 0) << log;
        const std::size_t ended = log.find(c.ended);
        const std::size_t returned = log.find(c.returned);
        const std::size_t closed = log.find("window closed");
        const std::size_t destroyed = log.find("status: destroy:");
        ASSERT_NE(ended, std::string::npos) << log;
        ASSERT_NE(returned, std::string::npos) << log;
        EXPECT_LT(ended, returned);
        EXPECT_LT(returned, closed);
        EXPECT_LT(closed, destroyed);
        EXPECT_EQ(log.find("never typed"), std::string::npos);
        EXPECT_NE(log.find("accounting: clean"), std::string::npos) << log;

        // Headless, the window closes at once: nothing is shown.
        const std::string headless = Qmhost(Page(c.page), status);
        EXPECT_EQ(status, 0) << headless;
        EXPECT_EQ(headless.find(c.returned), std::string::npos) << headless;
        EXPECT_EQ(headless.find("never typed"), std::string::npos) << headless;
        EXPECT_NE(headless.find("accounting: clean"), std::string::npos) << headless;
    }
}

TEST(WindowHost, RefusesToRunWithoutADisplay)
{
    const char* envs[] = {"env -u DISPLAY -u WAYLAND_DISPLAY", "env -u WAYLAND_DISPLAY DISPLAY=:4711"};
    for (const char* env : envs) {
        SCOPED_TRACE(env);
        int status = -1;
        const std::string out = qmtest::RunCommand(
            std::string("sh -c '") + env + " " + QM_QMHOST + " --window " + Page("fixture.xml") + " 2>&1'",
            status);
        EXPECT_EQ(status, 2);
        EXPECT_EQ(out.rfind("qmhost: --window ", 0), 0u) << out;
        EXPECT_EQ(out.find("accounting"), std::string::npos) << out;
    }
}

} // namespace
