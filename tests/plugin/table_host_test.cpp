// qmhost on the table pages of tests/plugin/pages (the size pickers, image
// and table resizing) with the editor's module: the page's file name in,
// what qmhost prints out (tests/data/plugin/qmhost_tables.txt). Each page's
// window is left in the test output as a PNG for a person to look at.

#include "tests/common/CaseBlocks.h"
#include "tests/common/PngPixels.h"
#include "tests/common/RunCommand.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string PngFor(const std::string& page) { return qmtest::TestOutputPath("qmhost-" + page) + ".png"; }

TEST(TableHost, QmhostRunsTheTablePages)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("qmhost-tables-home-")));
    qmtest::CaseBlockFile file("plugin/qmhost_tables.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        int status = 0;
        const std::string log = qmtest::RunCommand(
            std::string(QM_QMHOST) + " --png " + PngFor(c.input) + " " + QM_PLUGIN_PAGES + "/" + c.input,
            status);
        EXPECT_EQ(0, status) << c.name << "\n" << log;
        file.Check(c, log);
    }
}

// The image's bottom-right handle dragged 50 pixels right with the button
// held: the window shows a dotted outline 250 x 125 from the image's
// top-left corner (the plug-in at (20, 30), the image at (20, 41) in it).
TEST(TableHost, TheDraggedHandleShowsADottedOutline)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("qmhost-outline-home-")));
    int status = 0;
    const std::string png = PngFor("resize-image-outline.xml");
    const std::string log = qmtest::RunCommand(
        std::string(QM_QMHOST) + " --png " + png + " " + QM_PLUGIN_PAGES + "/resize-image.xml", status);
    ASSERT_EQ(0, status) << log;
    qmtest::PngPixels pixels;
    ASSERT_TRUE(qmtest::ReadPng(png, pixels));
    auto black = [&](int x, int y) {
        const unsigned char* p
            = pixels.rgba.data() + (std::size_t(y) * std::size_t(pixels.width) + std::size_t(x)) * 4;
        return p[0] < 64 && p[1] < 64 && p[2] < 64;
    };
    // The outline's right edge (x 40 + 250 - 1) and bottom edge (y 71 +
    // 125 - 1): dotted, so about half of their pixels are black; none
    // just outside them.
    int right = 0, bottom = 0, outside = 0;
    for (int y = 80; y < 190; ++y) {
        right += black(289, y) ? 1 : 0;
        outside += black(291, y) ? 1 : 0;
    }
    for (int x = 250; x < 285; ++x) {
        bottom += black(x, 195) ? 1 : 0;
        outside += black(x, 197) ? 1 : 0;
    }
    EXPECT_GT(right, 30);
    EXPECT_LT(right, 80);
    EXPECT_GT(bottom, 10);
    EXPECT_EQ(0, outside);
}

} // namespace
