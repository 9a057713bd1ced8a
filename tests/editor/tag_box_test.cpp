// The tag box: the style drop-list's marks and current row after a refresh
// at a caret or a selection (cases in tests/data/editor/tag_box.txt), and
// the page's "qmTagListChanged" when the caret reaches another element.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qmtest::FromUtf8;
using qmtest::Utf8;

namespace {

const char kStyles[]
    = "<styles>"
      "<style><name>A</name><elt>span</elt><id>a</id><attr><name>class</name><value>a</value></attr></style>"
      "<style><name>A id</name><elt>span</elt><id>aid</id><attr><name>class</name><value>a</value></attr>"
      "<attr><name>id</name><value>guid()</value></attr></style>"
      "<style><name>P</name><elt>p</elt><id>p</id></style>"
      "<style><name>Note</name><elt>p</elt><id>note</id>"
      "<attr><name>class</name><value>note</value></attr></style>"
      "<style><name>P2</name><elt>p</elt><id>p2</id></style>"
      "<style><name>Box</name><elt>div</elt><id>box</id><attr><name>class</name><value>box</value></attr></"
      "style>"
      "</styles>";

void ReplaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (std::string::size_type at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
        text.replace(at, what.size(), with);
}

class TagBoxTest : public qmtest::ControlInstanceTest
{
protected:
    TagBoxTest() : ControlInstanceTest("tag-box-home-") { }

    void PrepareHost() override
    {
        host->GetBrowser().Window().functions = {"qmTagListChanged"};
        host->GetBrowser().Window().onCall
            = [this](const std::string& name, const std::vector<qm::host::ScriptValue>&) {
                  calls.push_back(name);
              };
    }

    CXHTML& Engine() { return *Control()->m_pXHTML; }

    std::string Refreshed()
    {
        Engine().DisplayTagBox();
        unsigned short* ids = Control()->CurrentStyles();
        const std::string styles = ids ? Utf8(CSafeBuf(ids)) : "";
        delete[] ids;
        return "row " + std::to_string(Control()->StyleGetCurSel()) + "; styles " + styles;
    }

    // The text runs from the one holding "[" to the one holding "]" are
    // selected whole; the brackets go.
    void MarkSelection()
    {
        CPtrList runs;
        Engine().m_doc.m_root->GetAllChildren(&runs, 0, false, kKindText, 0);
        bool inside = false;
        for (void* pos = runs.GetHeadPosition(); pos;) {
            auto* run = static_cast<CElement*>(runs.GetNext(pos));
            const int open = run->m_text.Find(static_cast<unsigned short>('['));
            if (open >= 0) {
                run->m_text.Delete(open, 1);
                inside = true;
            }
            if (!inside)
                continue;
            const int close = run->m_text.Find(static_cast<unsigned short>(']'));
            if (close >= 0)
                run->m_text.Delete(close, 1);
            run->m_selected = 1;
            run->m_selectable = 1;
            run->m_selStart = 0;
            run->m_selEnd = run->m_text.Length() - 1;
            Engine().m_doc.m_selectionPresent = 1;
            inside = close < 0;
        }
    }

    // The first text run of the document in document order after skip others.
    CElement* TextRun(int skip)
    {
        std::vector<CElement*> stack{Engine().m_doc.m_root};
        while (!stack.empty()) {
            CElement* e = stack.back();
            stack.pop_back();
            if (e->IsTextElement() && skip-- == 0)
                return e;
            std::vector<CElement*> children;
            for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
                children.push_back(c);
            stack.insert(stack.end(), children.rbegin(), children.rend());
        }
        return nullptr;
    }

    std::vector<std::string> calls;
};

TEST_F(TagBoxTest, MarksAndRowFollowTheCaretAndSelection)
{
    Start({{"Styles", kStyles}, {"Value", "<p>x</p>"}});
    qmtest::CaseBlockFile file("editor/tag_box.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::string markup = c.input;
        ReplaceAll(markup, "|", kCaretMarker);
        Control()->SetValue(FromUtf8(markup));
        MarkSelection();
        file.Check(c, Refreshed());
    }
}

TEST_F(TagBoxTest, OnlyAMoveToAnotherElementIsReported)
{
    Start({{"Styles", kStyles}, {"Value", "<p>one</p><p>two</p>"}});
    CElement* first = TextRun(0);
    CElement* second = TextRun(1);
    ASSERT_TRUE(first && second);
    const struct
    {
        CElement* element;
        int offset;
        size_t reported;
    } moves[] = {{first, 1, 1}, {first, 2, 1}, {first, 0, 1}, {second, 1, 2}, {second, 3, 2}, {first, 1, 3}};
    calls.clear();
    Engine().m_tagBoxElementId = 0;
    for (const auto& move : moves) {
        Engine().m_doc.ChangeCursorElement(move.element, move.offset);
        Engine().DisplayTagBox();
        EXPECT_EQ(move.reported, calls.size()) << move.offset;
    }
    for (const std::string& name : calls)
        EXPECT_EQ("qmTagListChanged", name);
}

TEST_F(TagBoxTest, WithoutItemsNothingIsMarked)
{
    Start({{"Styles", "<styles></styles>"}, {"Value", "<p>one</p>"}});
    EXPECT_EQ(-1, Engine().FindAndCheckTagBox(TextRun(0)->m_parent, nullptr, true));
    EXPECT_EQ(-1, Engine().FindAndCheckTagBox(TextRun(0), nullptr, true)) << "a text run has no tag";
    EXPECT_EQ("row -1; styles ", Refreshed());
}

TEST_F(TagBoxTest, TheToolbarsStyleButtonsFollowTheCaretsAncestors)
{
    Start({{"Buttons",
               "<buttons><style><id>note-p</id><elt>p</elt><attr><name>class</name><value>note</value></attr>"
               "</style><style><id>any-span</id><elt>span</elt></style></buttons>"},
        {"ToolbarWysiwyg", "note-p,any-span"}, {"Value", "<p>x</p>"}});
    auto checked = [this](const char* name) {
        void* pos = Control()->m_toolBars.GetHeadPosition();
        while (pos) {
            auto* bar = static_cast<ToolBarStruct*>(Control()->m_toolBars.GetNext(pos));
            for (ButtonInfo* b = bar->buttons; b; b = b->next)
                if (CSafeBuf(b->textId) == name)
                    return Control()->ToolIsButtonChecked(0, b->EditorCommandID, false) == 1;
        }
        ADD_FAILURE() << "no button " << name;
        return false;
    };
    const struct
    {
        const char* markup;
        bool noteP;
        bool anySpan;
    } cases[] = {
        {"<div><p class=\"note\"><span>t|ext</span></p></div>", true, true},
        {"<p class=\"note\">t|ext</p>", true, false},
        {"<p><span>t|ext</span></p>", false, true},
        {"<p>t|ext</p>", false, false},
    };
    for (const auto& c : cases) {
        std::string markup = c.markup;
        ReplaceAll(markup, "|", kCaretMarker);
        Control()->SetValue(FromUtf8(markup));
        Engine().DisplayTagBox();
        EXPECT_EQ(c.noteP, checked("note-p")) << c.markup;
        EXPECT_EQ(c.anySpan, checked("any-span")) << c.markup;
    }
}

} // namespace
