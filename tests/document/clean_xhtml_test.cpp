// Markup cleaning: the cases of tests/data/clean/cases.txt, run through an
// engine whose control settings (Options, the custom element lists,
// Namespaces) each case gives; and cleaning without any control.

#include "document/XDoc.h"

#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/document/support/ShownMarkup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::FromUtf8;
using qmtest::ShownMarkup;

std::string OptionValue(const qmtest::CaseBlock& c, const std::string& name)
{
    for (const std::string& o : c.options) {
        if (o.rfind(name + "=", 0) == 0)
            return o.substr(name.size() + 1);
    }
    return "";
}

TEST(CleanXHTMLCases, ModesAndSettings)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("clean-home-")));
    qmtest::CaseBlockFile file("clean/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CMorvaXEditorCtrl control;
        CXHTML engine;
        engine.m_control = &control;
        engine.m_controlOptions = &control.Options;
        const std::string options = OptionValue(c, "options");
        control.Options = options.empty() ? 0 : std::stoi(options, nullptr, 16);
        control.SetCustomBlockElements(FromUtf8(OptionValue(c, "block")));
        control.SetCustomInlineElements(FromUtf8(OptionValue(c, "inline")));
        control.SetCustomEmptyElements(FromUtf8(OptionValue(c, "empty")));
        std::string namespaces = OptionValue(c, "namespaces");
        for (char& ch : namespaces)
            ch = ch == '_' ? ' ' : ch;
        control.Namespaces = FromUtf8(namespaces);
        const std::string mode = OptionValue(c, "mode");

        CSafeBuf text = FromUtf8(c.input);
        const bool cleaned = engine.CleanXHTML(text, mode.empty() ? 0 : std::stoi(mode));
        file.Check(c, (cleaned ? "" : "FALSE: ") + ShownMarkup(text));
    }
}

TEST(CleanXHTML, WithoutAControlNoElementIsTheControlsOwn)
{
    CXHTML engine;
    CSafeBuf text = FromUtf8("<p>a<Foo>b</Foo></p><Bar><p>c</p></Bar>");
    const int options = 0x4000;
    engine.m_controlOptions = &options;
    ASSERT_TRUE(engine.m_doc.CleanXHTML(text, 9));
    EXPECT_EQ(ShownMarkup(text), "<p>ab</p><div><p>c</p></div>");
    EXPECT_EQ(engine.m_doc.m_registry.GetCount(), 0) << "the markup tree makes no elements";
}

} // namespace
