// The source view's picture: line numbers in the gutter, tags in their
// colour, the selection behind its text and the caret. Written as a PNG
// (test-output/source_view.png) so a person can look at it.

#include "tests/source_view/support/SourceViewFixture.h"

#include "platform/cg/PngExport.h"
#include "platform/qd/Port.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <tuple>

namespace {

class SourceViewDraw : public qmtest::SourceViewTest
{
protected:
    struct Rgb
    {
        int r, g, b;
        bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    };

    Rgb Pixel(int x, int y)
    {
        cairo_surface_t* s = window.Port()->Surface();
        cairo_surface_flush(s);
        const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(row)[x];
        return Rgb{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>(p & 0xFF)};
    }

    // Whether some pixel of the rectangle is of the colour's hue: text is
    // antialiased, so its pixels lie between the colour and the background.
    bool Holds(int left, int top, int right, int bottom, Rgb colour)
    {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const Rgb p = Pixel(x, y);
                const Rgb bg = x < view->GutterWidth() ? Rgb{240, 240, 240} : Rgb{255, 255, 255};
                // p = bg + a (colour - bg) for one a in (0.5, 1], channel by channel.
                double a = -1;
                bool ok = true;
                for (const auto& [pc, cc, bc] : {std::tuple{p.r, colour.r, bg.r},
                         std::tuple{p.g, colour.g, bg.g}, std::tuple{p.b, colour.b, bg.b}}) {
                    if (cc == bc) {
                        ok = ok && std::abs(pc - bc) <= 2;
                        continue;
                    }
                    const double ac = double(pc - bc) / double(cc - bc);
                    if (a < 0)
                        a = ac;
                    ok = ok && std::abs(ac - a) < 0.08;
                }
                if (ok && a > 0.5 && a <= 1.01)
                    return true;
            }
        }
        return false;
    }
};

} // namespace

TEST_F(SourceViewDraw, LineNumbersTagsSelectionAndCaret)
{
    Set("<html>\r\n<body>\r\n\t<!-- a comment -->\r\n\t<p class=\"intro\">Some "
        "_x_Here_selection_begins_x_selected_x_Here_selection_ends_x__x_Here_to_put_cursor_x_ text &amp; "
        "more</p>\r\n"
        "\t<blink>unknown</blink>\r\n</body>\r\n</html>");
    Send(updateEvt);
    ASSERT_TRUE(
        qm::cg::WritePNG(window.Port()->Surface(), std::string(QM_TEST_OUTPUT_DIR) + "/source_view.png"));

    const int h = view->LineHeight();
    const int gutter = view->GutterWidth();
    // The gutter and its grey numbers on the first rows.
    EXPECT_TRUE(Pixel(1, 1) == (Rgb{240, 240, 240}));
    EXPECT_TRUE(Holds(0, 2, gutter, 2 + h, Rgb{128, 128, 128}));
    EXPECT_TRUE(Holds(0, 2 + 6 * h, gutter, 2 + 7 * h, Rgb{128, 128, 128}));  // line 7
    EXPECT_FALSE(Holds(0, 2 + 7 * h, gutter, 2 + 8 * h, Rgb{128, 128, 128})); // no line 8
    // Tags in blue on the first row, a comment in green on the third, an
    // unknown element in red on the fifth.
    EXPECT_TRUE(Holds(gutter, 2, kWidth / 2, 2 + h, Rgb{0, 0, 176}));
    EXPECT_TRUE(Holds(gutter, 2 + 2 * h, kWidth / 2, 2 + 3 * h, Rgb{0, 128, 0}));
    EXPECT_TRUE(Holds(gutter, 2 + 4 * h, kWidth / 2, 2 + 5 * h, Rgb{192, 0, 0}));
    // The selection's highlight, and the black caret right after it.
    const CPoint sel = view->PointFromPos(view->SelectionStart());
    EXPECT_TRUE(Pixel(sel.x + 1, sel.y + 1) == (Rgb{181, 213, 255}));
    const CPoint caret = view->PointFromPos(view->Caret());
    EXPECT_TRUE(Pixel(caret.x, caret.y + h / 2) == (Rgb{0, 0, 0}));
    EXPECT_TRUE(Pixel(caret.x + 2, caret.y + 1) == (Rgb{255, 255, 255}));
    // Without focus the caret is not drawn.
    view->KillFocus();
    EXPECT_TRUE(Pixel(caret.x, caret.y + h / 2) == (Rgb{255, 255, 255}));
}

TEST_F(SourceViewDraw, AHiddenPluginDrawsNothing)
{
    record.clipRect = NPRect{0, 0, 0, 0};
    cairo_t* cr = cairo_create(window.Port()->Surface());
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    Set("<p>x</p>");
    Send(updateEvt);
    EXPECT_FALSE(Holds(0, 0, 40, 20, Rgb{240, 240, 240}));
}
