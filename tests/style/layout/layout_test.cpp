// The layout pass end to end: a style sheet and markup in, the box dump out
// (tests/data/layout/cases.txt), laid out at the width a case names (800
// by default).

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "style/layout/BoxDump.h"
#include "style/layout/LayoutPass.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

// A case's input: the page's sheet, then "%% markup" and the document (a
// case without a sheet may start with the markup).
void Parts(const std::string& input, std::string& sheet, std::string& markup)
{
    std::string* into = &markup;
    std::istringstream lines(input);
    std::string line;
    bool marked = input.find("%% markup") != std::string::npos;
    if (marked)
        into = &sheet;
    while (std::getline(lines, line)) {
        if (line == "%% markup")
            into = &markup;
        else
            *into += line + "\n";
    }
}

int WidthOption(const qmtest::CaseBlock& c)
{
    for (const std::string& o : c.options) {
        if (o.rfind("width=", 0) == 0)
            return std::stoi(o.substr(6));
    }
    return 800;
}

// The dump's lines, text runs left out unless asked for.
std::string Boxes(const CElement* body, bool textRuns)
{
    CSafeBuf out;
    GetBoxDump(body, out);
    std::istringstream lines(ToUtf8(out));
    std::string line, kept;
    while (std::getline(lines, line)) {
        if (textRuns || line.find("/text()[") == std::string::npos)
            kept += line + "\n";
    }
    return kept;
}

} // namespace

TEST(Layout, Cases)
{
    qmtest::CaseBlockFile file("layout/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::string sheet, markup;
        Parts(c.input, sheet, markup);
        CXHTML engine;
        engine.m_doc.LoadStyleClass(FromUtf8(sheet), 0, false, 0);
        CMarkupDocument document(&engine);
        CSafeBuf error;
        ASSERT_TRUE(document.Read(markup.data(), markup.size(), error)) << c.name;
        ASSERT_TRUE(LayoutDocument(document.Body(), WidthOption(c))) << c.name;
        const std::string boxes = Boxes(document.Body(), c.HasOption("text"));
        file.Check(c, boxes);
        // A second pass over the laid-out tree gives the same boxes.
        ASSERT_TRUE(LayoutDocument(document.Body(), WidthOption(c))) << c.name;
        EXPECT_EQ(Boxes(document.Body(), c.HasOption("text")), boxes)
            << c.name << ": a second pass moved boxes";
    }
}
