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
    EXPECT_EQ(2, RunRender("--width 40000 " + kSamples + "/sample.xhtml", d, out));
}
