// qm-render on the sample document, loaded as the editor loads it: a PNG of
// the laid-out size showing its backgrounds and pictures, the markup written
// back, the boxes; its answers to what it cannot read.

#include "platform/cg/Pixel.h"
#include "style/Image.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const std::string kSamples = std::string(QM_TEST_DATA_DIR) + "/../../samples";

// Runs the tool (tests run in the build folder) with its output in out.
int RunRender(const std::string& args, const std::string& folder, std::string& out)
{
    const std::string file = folder + "/out.txt";
    const int raw = std::system(("tools/qm-render " + args + " >" + file + " 2>/dev/null").c_str());
    out = qmtest::ReadFile(file);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

} // namespace

TEST(RenderTool, RendersTheSampleAndReportsWhatItCannotRead)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("render-tool-")));
    const std::string d = dir.Path();
    std::string out;
    ASSERT_EQ(0,
        RunRender("--width 640 --css " + kSamples + "/sample.css --png " + d + "/s.png --xhtml " + d
                + "/s.xhtml --boxes " + kSamples + "/sample.xhtml",
            d, out));
    EXPECT_EQ(0u, out.rfind("/body[1] x=0 y=0 w=640 h=", 0)) << out.substr(0, 80);
    // The body keeps the editor's margins (10 at the sides, 15 above).
    EXPECT_NE(std::string::npos, out.find("/body[1]/div[1] x=10 y=15 ")) << "the masthead";
    EXPECT_NE(std::string::npos, out.find("/body[1]/div[2] x=408 ")) << "the note floats right";

    CImage png;
    ASSERT_TRUE(png.LoadPictureFile(qmtest::FromUtf8(d + "/s.png")));
    EXPECT_EQ(640, png.GetWidth());
    cairo_surface_t* s = png.GetImage()->Surface();
    const unsigned char* px = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    // The masthead's stripes (inside its outline).
    const qm::cg::Pixel stripe = qm::cg::ReadPixel(px, stride, 11, 16);
    EXPECT_EQ(70, stripe.red);
    EXPECT_EQ(190, stripe.blue);
    EXPECT_NE(std::string::npos, qmtest::ReadFile(d + "/s.xhtml").find("<p class=\"dotted\">"));

    EXPECT_EQ(1, RunRender(d + "/none.xhtml", d, out));
    ASSERT_TRUE(qmtest::WriteFile(d + "/bad.xhtml", "<body><p>a</body>"));
    EXPECT_EQ(1, RunRender(d + "/bad.xhtml", d, out));
    ASSERT_TRUE(qmtest::WriteFile(d + "/latin1.xhtml", "<p>caf\xE9</p>"));
    EXPECT_EQ(1, RunRender(d + "/latin1.xhtml", d, out)) << "bytes that are not UTF-8";
    EXPECT_EQ(1, RunRender("--css " + d + "/none.css " + kSamples + "/sample.xhtml", d, out));
    EXPECT_EQ(1, RunRender("--png " + d + "/no/such/folder.png " + kSamples + "/sample.xhtml", d, out));
    EXPECT_EQ(2, RunRender("--width 600000000 " + kSamples + "/sample.xhtml", d, out)) << "past any bitmap";
}

TEST(RenderTool, DrawsTheEditorsViewScrolledWithItsCaret)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("render-view-")));
    const std::string d = dir.Path();
    const std::string sample = " --css " + kSamples + "/sample.css " + kSamples + "/sample.xhtml";
    std::string out;
    ASSERT_EQ(0, RunRender("--width 300 --png " + d + "/whole.png" + sample, d, out));
    ASSERT_EQ(0, RunRender("--view 300x200 --scroll 0,150 --view-png " + d + "/view.png" + sample, d, out));
    // The caret in the first paragraph's text, which the view shows.
    ASSERT_EQ(0,
        RunRender(
            "--view 300x200 --scroll 0,150 --caret 60,260 --view-png " + d + "/caret.png" + sample, d, out));

    CImage whole, view, caret;
    ASSERT_TRUE(whole.LoadPictureFile(qmtest::FromUtf8(d + "/whole.png")));
    ASSERT_TRUE(view.LoadPictureFile(qmtest::FromUtf8(d + "/view.png")));
    ASSERT_TRUE(caret.LoadPictureFile(qmtest::FromUtf8(d + "/caret.png")));
    ASSERT_EQ(300, view.GetWidth());
    ASSERT_EQ(200, view.GetHeight());
    auto pixel = [](CImage& image, int x, int y) {
        cairo_surface_t* s = image.GetImage()->Surface();
        const qm::cg::Pixel p = qm::cg::ReadPixel(
            cairo_image_surface_get_data(s), std::size_t(cairo_image_surface_get_stride(s)), x, y);
        return (p.red << 24) | (p.green << 16) | (p.blue << 8) | p.alpha;
    };
    int differing = 0, caretPixels = 0, caretColumn = -1;
    bool oneColumn = true;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            differing += pixel(view, x, y) != pixel(whole, x, y + 150);
            if (pixel(caret, x, y) != pixel(view, x, y)) {
                ++caretPixels;
                oneColumn = oneColumn && (caretColumn < 0 || caretColumn == x);
                caretColumn = x;
            }
        }
    }
    EXPECT_EQ(differing, 0) << "the view shows document rows 150 to 349";
    EXPECT_GT(caretPixels, 10);
    EXPECT_TRUE(oneColumn) << "the caret is a bar 1 pixel wide";

    EXPECT_EQ(2, RunRender("--view 0x10 --view-png " + d + "/x.png" + sample, d, out));
    EXPECT_EQ(2, RunRender("--scroll 0,10" + sample, d, out)) << "no view to scroll";
    EXPECT_EQ(2, RunRender("--width 300 --view 300x200 --view-png " + d + "/x.png" + sample, d, out));
}

// A document wider than one tile of the bitmap can be, a word of 5,000
// letters: the PNG has its whole width, and the view scrolled to the far
// right shows the word's end.
TEST(RenderTool, AWordWiderThanATileIsWrittenWholeAndShownAtItsEnd)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("render-wide-")));
    const std::string d = dir.Path();
    ASSERT_TRUE(qmtest::WriteFile(
        d + "/wide.xhtml", "<html><body><p>" + std::string(5000, 'm') + "</p><p>after</p></body></html>"));
    std::string out;
    ASSERT_EQ(0, RunRender("--boxes --png " + d + "/wide.png " + d + "/wide.xhtml", d, out));
    int width = 0;
    ASSERT_EQ(1, std::sscanf(out.c_str(), "/body[1] x=0 y=0 w=%d", &width)) << out.substr(0, 80);
    ASSERT_GT(width, 32767);
    // The PNG's header: its width and height, big-endian, after the
    // signature and the header chunk's length and name.
    const std::string png = qmtest::ReadFile(d + "/wide.png");
    ASSERT_GT(png.size(), 24u);
    auto word = [&](std::size_t at) {
        return (unsigned(static_cast<unsigned char>(png[at])) << 24)
            | (unsigned(static_cast<unsigned char>(png[at + 1])) << 16)
            | (unsigned(static_cast<unsigned char>(png[at + 2])) << 8)
            | unsigned(static_cast<unsigned char>(png[at + 3]));
    };
    EXPECT_EQ(unsigned(width), word(16));

    ASSERT_EQ(0,
        RunRender("--view 400x100 --scroll " + std::to_string(width - 400) + ",0 --view-png " + d
                + "/end.png " + d + "/wide.xhtml",
            d, out));
    CImage view;
    ASSERT_TRUE(view.LoadPictureFile(qmtest::FromUtf8(d + "/end.png")));
    cairo_surface_t* s = view.GetImage()->Surface();
    int ink = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 400; ++x) {
            const qm::cg::Pixel p = qm::cg::ReadPixel(
                cairo_image_surface_get_data(s), std::size_t(cairo_image_surface_get_stride(s)), x, y);
            ink += p.red < 100 && p.green < 100 && p.blue < 100;
        }
    }
    EXPECT_GT(ink, 50) << "the last letters of the word";
}
