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
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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
    std::vector<std::string> mustLog; // lines the run must log
};

TEST(WindowHost, PlaysTheStepsAsTheHeadlessHostRunsThem)
{
    REQUIRE_VIRTUAL_DISPLAY();
    const PlayCase cases[] = {
        {"fixture.xml", {"status: alert: OK"}},
        {"window-steps.xml",
            {"form value: \"Typed: abc, ABC! \xC3\xA9\\n \xC3\xA9t\xC3\xA9"
             "BC\"",
                "status: key: control character 28"}},
        // After typing, keys still work: an arrow and Backspace edit, then
        // Control+Z undoes and Command+Shift+Z redoes.
        {"editor-window.xml",
            {"page: qmFocusLost(\"ed1\")", "dialog property \"Image\"",
                "form value: \"<p>abc</p><p>\xC3\xA9xz</p>\"\n> drag",
                "form value: \"<p>abc</p><p>\xC3\xA9</p>\"\n> key 6 command shift",
                "form value: \"<p>abc</p><p>\xC3\xA9xz</p>\"\nfinal"}},
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
        for (const std::string& line : c.mustLog)
            EXPECT_NE(headless.find(line), std::string::npos) << line;
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

TEST(WindowHost, ClosingTheWindowInsideADialogMenuOrDragEndsTheInstanceCleanly)
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
        {"close-in-drag.xml", "window: drag of 1 item(s) cancelled with the browser window",
            "status: drag: not dropped (-128)"},
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

// A person at the desktop, played by xdotool: a click, typing, an arrow,
// Backspace and the desktop's Redo after the typing, a double click, a
// drag of the text dropped back on the window, the window losing and
// regaining the focus; then the window is asked to end (SIGTERM) as a
// session ending asks it.
const char* const kPerson = R"(
QMHOST --window --log DIR/person.log PAGE > /dev/null 2>&1 &
pid=$!
W=$(xdotool search --sync --name 'Window steps' | head -1)
sleep 2
xdotool windowfocus --sync $W
M="xdotool mousemove --window $W"
$M 200 150 click 1; sleep 0.3
xdotool type --delay 50 abc; xdotool key Left BackSpace ctrl+shift+z; sleep 0.3
$M 150 120 click --repeat 2 --delay 100 1; sleep 0.3
xdotool keydown shift; $M 160 130 mousedown 1; xdotool keyup shift
for x in 170 190 210 230 250; do $M $x 160; sleep 0.1; done
sleep 0.3; xdotool mouseup 1; sleep 0.5
xdotool windowfocus --sync $(xdotool search --maxdepth 0 --name '' | head -1); sleep 0.3
xdotool windowfocus --sync $W; sleep 0.3
kill -TERM $pid
wait $pid
)";

// Two programs: a drag of the text started in one window is dropped on
// the other, the second window's page being the first's under another title.
const char* const kTwoPrograms = R"(
QMHOST --window --log DIR/a.log PAGE > /dev/null 2>&1 &
a=$!
sed "s/title=.Window steps./title='Other program'/" PAGE > DIR/other.xml
QMHOST --window --log DIR/b.log DIR/other.xml > /dev/null 2>&1 &
b=$!
WA=$(xdotool search --sync --name 'Window steps' | head -1)
WB=$(xdotool search --sync --name 'Other program' | head -1)
sleep 2
xdotool windowmove --sync $WB 600 0
xdotool windowfocus --sync $WA
xdotool keydown shift; xdotool mousemove --window $WA 160 130 mousedown 1; xdotool keyup shift
for x in 200 300 400 500 600 700 750; do xdotool mousemove $x 160; sleep 0.15; done
sleep 0.4; xdotool mouseup 1; sleep 0.8
kill -TERM $a $b
wait $a && wait $b
)";

// The find dialog, shown without a modal loop, stays open beside the
// window: the person types the word into it, presses Return twice (Find
// Next: the first and then the second match), closes it with Escape and
// types over the match in the window.
const char* const kFinder = R"(
QMHOST --window --log DIR/find.log PAGE > /dev/null 2>&1 &
pid=$!
W=$(xdotool search --sync --name 'Find in a window' | head -1)
sleep 2
xdotool windowfocus --sync $W
xdotool mousemove --window $W 30 62 click 1; sleep 0.3
xdotool key ctrl+f
F=$(xdotool search --sync --onlyvisible --name '^Replace$' | head -1)
for i in 1 2 3 4 5 6 7 8 9 10; do
  xdotool windowfocus $F 2>/dev/null; sleep 0.3
  f=$(xdotool getwindowfocus 2>/dev/null); [ "$f" = "$F" ] && break
done
xdotool type --delay 50 fox; xdotool key Return; sleep 0.5
xdotool key Return; sleep 0.5
xdotool key Escape; sleep 0.5
xdotool windowfocus --sync $W; sleep 0.3
xdotool type --delay 50 cat; sleep 0.5
kill -TERM $pid
wait $pid
)";

// Runs a script of a person's actions on a page under a virtual display;
// false when xdotool is missing.
bool RunPerson(std::string script, const std::string& dir, const std::string& page = "window-steps.xml")
{
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
        return false;
    for (const auto& [name, value] :
        {std::pair<std::string, std::string>{"QMHOST", QM_QMHOST}, {"DIR", dir}, {"PAGE", Page(page)}})
        for (std::size_t at = script.find(name); at != std::string::npos; at = script.find(name, at))
            script.replace(at, name.size(), value);
    {
        std::ofstream out(dir + "/person.sh");
        out << script;
    }
    int status = -1;
    const std::string out = qmtest::RunCommand(
        kEnv + "timeout 120 xvfb-run -a -s '-screen 0 1280x768x24' sh " + dir + "/person.sh", status);
    EXPECT_EQ(status, 0) << out;
    return true;
}

// The texts must be in the log in this order.
void ExpectInOrder(const std::string& log, const std::vector<std::string>& texts)
{
    std::size_t at = 0;
    for (const std::string& text : texts) {
        const std::size_t found = log.find(text, at);
        ASSERT_NE(found, std::string::npos) << text << "\n" << log.substr(at);
        at = found + 1;
    }
}

#define SKIP_WITHOUT_A_PERSON()                                                                              \
    GTEST_SKIP() << "xdotool is not installed (scripts/setup installs it): a person's input is not tested"

TEST(WindowHost, APersonsKeysClicksAndDragsReachThePlugin)
{
    REQUIRE_VIRTUAL_DISPLAY();
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("person")));
    if (!RunPerson(kPerson, dir.Path()))
        SKIP_WITHOUT_A_PERSON();
    const char* const lines[] = {
        "> mouse down (160, 120)",
        "> text input \"c\"",
        "> key 123\n< handled\nstatus: key: control character 28",
        "> key 51\n",
        "> key 6 command shift\n",
        "> mouse down (110, 90)\nstatus: click at (110, 90)\n< handled\n> mouse up (110, 90)\n< handled\n"
        "> mouse down (110, 90)",
        "> mouse down (120, 100)\ndrag of 1 item(s) 'utxt' -> to the window\nstatus: drop: ",
        "window: drag of 1 item(s) dropped on the browser window: accepted",
        "> deactivate",
        "> activate",
        "window closed",
        "final form value: \"Typed: abc, ABC! \xC3\xA9\\n \xC3\xA9t\xC3\xA9"
        "BCabZTyped",
        "accounting: clean",
    };
    ExpectInOrder(
        ReadFile(dir.Path() + "/person.log"), std::vector<std::string>(std::begin(lines), std::end(lines)));
}

TEST(WindowHost, ADragCarriesTextFromOneProgramToAnother)
{
    REQUIRE_VIRTUAL_DISPLAY();
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("two")));
    if (!RunPerson(kTwoPrograms, dir.Path()))
        SKIP_WITHOUT_A_PERSON();
    ExpectInOrder(ReadFile(dir.Path() + "/a.log"),
        {"drag of 1 item(s) 'utxt' -> to the window", "window: drag of 1 item(s) dropped on another program",
            "status: drag: dropped", "accounting: clean"});
    ExpectInOrder(ReadFile(dir.Path() + "/b.log"),
        {"status: drop: Typed: abc, ABC!", "window: drop from another program of 1 item(s) at (",
            "): accepted",
            "final form value: \"Typed: abc, ABC! \xC3\xA9\\n \xC3\xA9t\xC3\xA9"
            "BCTyped",
            "accounting: clean"});
}

TEST(WindowHost, ADialogShownWithoutAModalLoopStaysOpenBesideTheWindow)
{
    REQUIRE_VIRTUAL_DISPLAY();
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("finder")));
    if (!RunPerson(kFinder, dir.Path(), "find-in-window.xml"))
        SKIP_WITHOUT_A_PERSON();
    ExpectInOrder(ReadFile(dir.Path() + "/find.log"),
        {"shown without a modal loop", "window: showing \"Replace\"", "window: pressed \"Find Next\"",
            "window: pressed \"Find Next\"", "window: closed \"Replace\"", "{find=\"fox\"", "} hidden",
            "> text input \"t\"", "window closed",
            "final form value: \"<p>The quick brown fox jumps over the lazy dog.</p>"
            "<p>Second line with a cat too.</p>\"",
            "accounting: clean"});
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
