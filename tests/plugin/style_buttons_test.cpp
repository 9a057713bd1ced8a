// The toolbar buttons that follow the caret's place, read from the control's
// toolbar after the engine set them for the caret of each document in turn.

#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include "editor/XHTML.h"
#include "element/markup/SourceCode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class StyleButtons : public qmtest::ControlInstanceTest
{
protected:
    StyleButtons() : ControlInstanceTest("style-buttons-") { }

    // Each button as its kind and "e" (enabled) or "-", with "x" when
    // checked.
    std::string States(CMorvaXEditorCtrl* c)
    {
        static const int kKinds[] = {7, 8, 9, 11, 12, 13, 14, 16, 17, 18, 19, 31, 39};
        std::string out;
        for (int kind : kKinds) {
            out += (out.empty() ? "" : " ") + std::to_string(kind);
            out += c->ToolIsButtonEnabled(kind, 0, true) ? "e" : "-";
            out += c->ToolIsButtonChecked(kind, 0, true) ? "x" : "";
        }
        return out;
    }
};

TEST_F(StyleButtons, FollowTheCaretsPlace)
{
    CMorvaXEditorCtrl* c = Start({{"ToolbarWysiwyg",
        "numbering,bullets,undo-blockquote,layout-table,data-table,draw-layout-table,draw-data-table,image,"
        "line,hyperlink,attachment,definition-list,indent"}});
    ASSERT_NE(c, nullptr);
    CXHTML* engine = c->m_pXHTML;
    ASSERT_NE(engine, nullptr);
    const struct
    {
        const char* markup; // "|" is the caret
        const char* states;
    } cases[] = {
        {"<p>a|b</p>", "7e 8e 9- 11e 12e 13e 14e 16e 17e 18- 19- 31e 39-"},
        {"<ul><li>a|b</li></ul>", "7e 8ex 9- 11e 12e 13e 14e 16e 17e 18- 19- 31e 39-"},
        {"<ol><li>a|b</li></ol>", "7ex 8e 9- 11e 12e 13e 14e 16e 17e 18- 19- 31e 39-"},
        {"<pre>a|b</pre>", "7e 8e 9- 11e 12e 13e 14e 16- 17e 18- 19- 31e 39e"},
        {"<dl><dt>a|b</dt><dd>c</dd></dl>", "7- 8- 9- 11- 12- 13- 14- 16e 17- 18- 19- 31- 39-"},
        // A cell ends the walk: the list around the table is not shown.
        {"<ul><li><table><tr><td>a|b</td></tr></table></li></ul>",
            "7e 8e 9- 11e 12e 13e 14e 16e 17e 18- 19- 31e 39-"},
        {"<p><a href=\"x.htm\">a|b</a></p>", "7e 8e 9- 11e 12e 13e 14e 16e 17e 18e 19e 31e 39-"},
        {"<p>a|b</p>", "7e 8e 9- 11e 12e 13e 14e 16e 17e 18- 19- 31e 39-"},
    };
    for (const auto& k : cases) {
        std::string markup = k.markup;
        markup.replace(markup.find('|'), 1, kCaretMarker);
        ASSERT_TRUE(engine->LoadDocument(qmtest::FromUtf8(markup))) << k.markup;
        engine->DisplayStyleButton(nullptr);
        EXPECT_EQ(k.states, States(c)) << k.markup;
    }
}

} // namespace
