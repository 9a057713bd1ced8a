// qm-style: the sheets given in order as the page's sheet, a document read
// through the reader, one line an element; its answers to what it cannot
// read.

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

// Runs the tool (tests run in the build folder); out receives its standard
// output. Answers its exit status.
int RunStyleTool(const std::string& args, const std::string& folder, std::string& out)
{
    const std::string file = folder + "/out.txt";
    const int raw = std::system(("tools/qm-style " + args + " >" + file + " 2>/dev/null").c_str());
    out = qmtest::ReadFile(file);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

} // namespace

TEST(StyleTool, LaterSheetsWinAndFailuresAreReported)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("style-tool-")));
    const std::string d = dir.Path();
    ASSERT_TRUE(qmtest::WriteFile(d + "/a.css", "p { color: red; margin-left: 2px } .x { color: green }"));
    ASSERT_TRUE(qmtest::WriteFile(d + "/b.css", "p { color: blue }"));
    ASSERT_TRUE(qmtest::WriteFile(d + "/doc.xhtml",
        "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><p>a</p><p class=\"x\">b</p></body></html>"));
    ASSERT_TRUE(qmtest::WriteFile(d + "/bad.xhtml", "<body><p>a</body>"));

    std::string out;
    EXPECT_EQ(RunStyleTool("--css " + d + "/a.css --css " + d + "/b.css " + d + "/doc.xhtml", d, out), 0);
    EXPECT_EQ(out,
        "/body[1]\n"
        "/body[1]/p[1] margin-left=2px color=#0000ff\n"
        "/body[1]/p[1]/text()[1]\n"
        "/body[1]/p[2] margin-left=2px color=#008000\n"
        "/body[1]/p[2]/text()[1]\n");
    EXPECT_EQ(RunStyleTool("--css " + d + "/none.css " + d + "/doc.xhtml", d, out), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(RunStyleTool(d + "/bad.xhtml", d, out), 1);
    EXPECT_EQ(RunStyleTool("--css", d, out), 2);
    EXPECT_EQ(RunStyleTool(d + "/doc.xhtml extra", d, out), 2);
}
