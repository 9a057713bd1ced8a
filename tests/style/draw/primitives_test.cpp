// The drawing primitives against expected pixels (tests/data/draw_primitives/
// cases.txt). Each case names a primitive and its numbers; the options say
// whether an element with the bitmap's height as flip height is passed
// ("flip"), whether the bitmap starts white ("white") and its size ("WxH",
// 12x10 by default). Fill colours are red, frame and stroke colours blue.

#include "base/geometry/Colour.h"
#include "base/geometry/Rect.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "platform/cg/Context.h"
#include "style/draw/DrawPrimitives.h"
#include "tests/common/CaseBlocks.h"
#include "tests/style/support/PixelGrid.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <vector>

namespace {

constexpr unsigned long kRed = RGB(255, 0, 0);
constexpr unsigned long kBlue = RGB(0, 0, 255);

std::string Draw(const qmtest::CaseBlock& c)
{
    int width = 12, height = 10;
    for (const std::string& o : c.options)
        std::sscanf(o.c_str(), "%dx%d", &width, &height);
    auto ctx = qm::cg::Context::CreateBitmap(nullptr, width, height, 0);
    if (!ctx)
        return "no context";
    if (c.HasOption("white")) {
        ctx->SetRGBFillColor(1, 1, 1, 1);
        ctx->FillRect(qm::cg::Rect{0, 0, double(width), double(height)});
    }
    CXHTML owner;
    owner.m_doc.m_bitmapHeight = height;
    std::unique_ptr<CElement> element(CreateElement("div", nullptr, nullptr, &owner));
    const CElement* e = c.HasOption("flip") ? element.get() : nullptr;

    std::istringstream in(c.input);
    std::string name;
    in >> name;
    std::vector<int> n;
    for (int v; in >> v;)
        n.push_back(v);
    auto rect = [&]() { return n.size() >= 4 ? CRect(n[0], n[1], n[2], n[3]) : CRect(); };
    if (name == "xFillSolidRect") {
        xFillSolidRect(ctx.get(), rect(), kRed, e);
    } else if (name == "xFrameRect") {
        xFrameRect(ctx.get(), rect(), kBlue, e);
    } else if (name == "xDrawLine") {
        xDrawLine(ctx.get(), rect(), kBlue, e ? height : 0);
    } else if (name == "xDrawPolygon") {
        POINT points[5] = {};
        for (size_t i = 0; i < 5 && 2 * i + 1 < n.size(); ++i)
            points[i] = POINT{n[2 * i], n[2 * i + 1]};
        xDrawPolygon(ctx.get(), points, kRed, kBlue, e);
    } else if (name == "xDrawCircle") {
        xDrawCircle(ctx.get(), rect(), kBlue, e);
    } else if (name == "xDrawEllipse") {
        xDrawEllipse(ctx.get(), rect(), kRed, e);
    } else if (name == "xInvertRect") {
        xInvertRect(ctx.get(), rect(), e);
    } else {
        return "unknown primitive " + name;
    }
    return qmtest::PixelGrid(*ctx, width, height);
}

} // namespace

TEST(DrawPrimitives, PixelsMatchTheCaseFile)
{
    qmtest::CaseBlockFile file("draw_primitives/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases())
        file.Check(c, Draw(c));
}
