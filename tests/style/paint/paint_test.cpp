// Painting against expected pixels: backgrounds, borders, floats, the
// selection tint, pictures and resize handles (tests/data/paint/cases.txt),
// then the bitmap's size rules and repainting.

#include "element/Element.h"
#include "platform/cg/Context.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/PaintState.h"
#include "tests/common/CaseBlocks.h"
#include "tests/style/support/PaintHarness.h"
#include "tests/style/support/PixelGrid.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::string Painted(const qmtest::CaseBlock& c)
{
    std::string markup = c.input;
    for (size_t at; (at = markup.find("@DATA@")) != std::string::npos;)
        markup.replace(at, 6, QM_TEST_DATA_DIR);
    auto doc = qmtest::ReadPaintDocument(markup);
    if (!doc)
        return "does not read";
    if (!RepaintDocument(doc->body))
        return "not painted";
    int width = 0, height = 0;
    for (const std::string& o : c.options)
        std::sscanf(o.c_str(), "%dx%d", &width, &height);
    return qmtest::PixelGrid(*doc->body->m_dc, width, height);
}

} // namespace

TEST(Painting, PixelsMatchTheCaseFile)
{
    qmtest::CaseBlockFile file("paint/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases())
        file.Check(c, Painted(c));
}
