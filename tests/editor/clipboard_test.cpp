// Copy, cut and paste on an engine with a loaded document, case by case
// from tests/data/clipboard/clipboard.txt (see its head for the form of a
// case); then what the case table cannot hold: the paste point, a cut the
// clipboard refuses, and files pasted from the clipboard.

#include "tests/common/CaseBlocks.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/editor/support/MarkedDocument.h"

#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "platform/dnd/Pasteboard.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

qm::dnd::Pasteboard& Board() { return qm::events::Services::Get().Pasteboards().Clipboard(); }

// \r, \n and \uXXXX of case text as their units.
CSafeBuf Unescape(const std::string& text)
{
    CSafeBuf plain;
    plain.AssignUTF8(text.c_str());
    CSafeBuf out;
    for (int i = 0; i < plain.Length(); ++i) {
        unsigned short c = plain.GetAt(i);
        if (c == '\\' && i + 1 < plain.Length()) {
            const unsigned short e = plain.GetAt(++i);
            if (e == 'u' && i + 4 < plain.Length()) {
                c = static_cast<unsigned short>(std::stoul(qmtest::Utf8(plain.Mid(i + 1, 4)), nullptr, 16));
                i += 4;
            } else {
                c = e == 'r' ? '\r' : e == 'n' ? '\n' : e;
            }
        }
        out += c;
    }
    return out;
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

bool IsWide(const std::string& type) { return type != "public.html" && type != "public.file-url"; }

// Puts "type=text" lines on the clipboard; "item" starts the next item.
void FillBoard(const std::string& lines)
{
    Board().Clear();
    std::istringstream in(lines);
    std::string line;
    qm::dnd::PasteboardItemId item = 1;
    while (std::getline(in, line)) {
        if (line == "item") {
            ++item;
            continue;
        }
        const std::string::size_type eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string type = line.substr(0, eq);
        const CSafeBuf text = Unescape(line.substr(eq + 1));
        if (IsWide(type)) {
            Board().PutItemFlavor(item, type, static_cast<const unsigned short*>(text),
                static_cast<std::size_t>(text.Length()) * 2);
        } else {
            const std::string bytes = qmtest::Utf8(text);
            Board().PutItemFlavor(item, type, bytes.data(), bytes.size());
        }
    }
}

std::string BoardLines()
{
    std::string out;
    for (std::size_t i = 1; i <= Board().ItemCount(); ++i) {
        if (i > 1)
            out += "item\n";
        for (const qm::dnd::Flavor& f : Board().ItemAt(i)->flavors) {
            std::string text;
            if (IsWide(f.type)) {
                CSafeBuf wide;
                for (std::size_t b = 0; b + 1 < f.data.size(); b += 2)
                    wide += static_cast<unsigned short>(f.data[b] | (f.data[b + 1] << 8));
                text = qmtest::Utf8(wide);
            } else {
                text.assign(f.data.begin(), f.data.end());
            }
            out += f.type + "=" + Escape(text) + "\n";
        }
    }
    return out;
}

class Clipboard : public qmtest::EngineWithControl
{
protected:
    // Loads markup: "|" the caret, "[" "]" the selected characters (of one
    // run, or from one run to another across elements; the caret then
    // stands at the selection's start).
    void Load(std::string markup)
    {
        const std::string::size_type open = markup.find('[');
        const std::string::size_type close = markup.find(']');
        std::string selected;
        if (open != std::string::npos && close != std::string::npos && markup.find('<', open) < close) {
            ASSERT_TRUE(engine->LoadDocument(CSafeBuf(markup.c_str())));
            qmtest::MarkSelection(*engine);
            CPtrList runs;
            engine->m_doc.m_root->GetAllChildren(&runs, 0, true, kKindText, 0);
            ASSERT_GT(runs.GetCount(), 0);
            auto* first = static_cast<CElement*>(runs.GetHead());
            first->m_caretOffset = first->m_selStart;
            engine->m_doc.m_caretElement = first;
            // Undo goes back to the text without the brackets.
            engine->GetSourceCode(engine->m_doc.m_sourceBaseline, 6);
            return;
        }
        if (open != std::string::npos && close != std::string::npos) {
            selected = markup.substr(open + 1, close - open - 1);
            markup.erase(close, 1);
            markup.erase(open, 1);
        }
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        ASSERT_TRUE(engine->LoadDocument(CSafeBuf(markup.c_str())));
        if (!selected.empty())
            Select(selected);
    }

    void Select(const std::string& text)
    {
        CPtrList runs;
        engine->m_doc.m_root->GetAllChildren(&runs, 0, false, kKindText, 0);
        CElement* found = nullptr;
        int at = -1;
        runs.ForEachItem([&](void* item) {
            auto* run = static_cast<CElement*>(item);
            if (!found && (at = run->m_text.Find(CSafeBuf(text.c_str()))) >= 0)
                found = run;
        });
        if (found) {
            found->m_selected = 1;
            found->m_selStart = at;
            found->m_selEnd = at + static_cast<long>(text.size()) - 1;
            engine->m_doc.m_selectionPresent = 1;
            engine->m_doc.m_caretElement = found;
            return;
        }
        FAIL() << "no run holds " << text;
    }

    std::string Content()
    {
        CSafeBuf out;
        engine->GetSourceCode(out, 6);
        std::string s = qmtest::Utf8(out);
        const auto open = s.find("<body");
        const auto start = open == std::string::npos ? 0 : s.find('>', open) + 1;
        const auto end = s.rfind("</body>");
        s = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
        return Escape(s);
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

} // namespace

TEST_F(Clipboard, Cases)
{
    qmtest::CaseBlockFile file("clipboard/clipboard.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.name);
        const auto split = c.input.find("\n+++");
        ASSERT_NE(split, std::string::npos);
        Load(c.input.substr(0, split));
        FillBoard(c.input.substr(split + 4));
        control->EnablePasteMarkup = c.HasOption("markup") ? 1 : 0;
        control->m_viewMode = c.HasOption("source") ? 1 : 0;
        driver.shown = 0;
        if (c.HasOption("copy"))
            engine->OnCopy();
        else if (c.HasOption("cut"))
            engine->OnCut();
        else if (c.HasOption("paste"))
            engine->OnPaste();
        else
            FAIL() << "no command";
        std::string out = Content() + "\n" + BoardLines();
        if (driver.shown > 0)
            out += "messages: " + std::to_string(driver.shown) + " " + driver.texts.front() + "\n";
        if (c.HasOption("undo")) {
            engine->OnUndo();
            out += "undone: " + Content() + "\n";
        }
        while (!out.empty() && out.back() == '\n')
            out.pop_back();
        file.Check(c, out);
    }
}

// Command+Enter is the copy key.
TEST_F(Clipboard, CommandEnterCopies)
{
    Load("<p>ab [cd]</p>");
    Board().Clear();
    qm::events::Services::Get().Input().modifiers = qm::events::kModCommand;
    engine->OnChar(3, 1, 0);
    qm::events::Services::Get().Input().modifiers = 0;
    EXPECT_EQ(BoardLines(), "public.quillmark=cd\npublic.utf16-plain-text=cd\n");
}

// A cut whose copy did not reach the clipboard (here: the selection flag
// is up but nothing is selected, so there is nothing to write) changes
// nothing: no deletion, no undo step, no change reported.
TEST_F(Clipboard, CutChangesNothingUnlessTheCopyReachedTheClipboard)
{
    Load("<p>a|b</p><p>c</p>");
    engine->m_doc.m_selectionPresent = 1;
    FillBoard("public.utf16-plain-text=old");
    const int undoSteps = engine->m_doc.m_undoList.GetCount();
    engine->OnCut();
    EXPECT_EQ(Content(), "<p>ab</p><p>c</p>");
    EXPECT_EQ(BoardLines(), "public.utf16-plain-text=old\n");
    EXPECT_EQ(engine->m_doc.m_undoList.GetCount(), undoSteps);
    EXPECT_EQ(engine->m_doc.m_selectionPresent, 1);
}

// Cut from inside one paragraph into another, then paste at the same
// place: the text comes back word for word in its two paragraphs, and two
// undo steps go back through the cut to the start. The same for a cut
// across the cells of two or three rows (row groups and inline elements
// too): each cell's content comes back to its cell. And for two whole
// items holding a div beside a paragraph (the div starting with an anchor
// the selection does not take): they come back as items of the list.
TEST_F(Clipboard, CutAcrossParagraphsAndPasteBackRestoresTheText)
{
    const std::string paragraphs = "<p>Hello world</p><p>World <b>again</b></p><p>End</p>";
    const struct
    {
        const char* marked;
        std::string original;
    } cases[] = {
        {"<p>Hello wor[ld</p><p>Wor]ld <b>again</b></p><p>End</p>", paragraphs},
        {"<p>Hel[lo world</p><p>World <b>again</b></p><p>E]nd</p>", paragraphs},
        {"<p>Hello world</p><p>World <b>ag[ain</b></p><p>En]d</p>", paragraphs},
        {"<table><tr><td>a1 o[ne</td><td>b1 x</td></tr><tr><td>a2 y</td><td>b2 t]wo</td></tr></table>",
            "<table><tr><td>a1 one</td><td>b1 x</td></tr><tr><td>a2 y</td><td>b2 two</td></tr></table>"},
        {"<table><tr><td>a1</td><td>b1 o[ne</td></tr><tr><td>a2 y</td><td>b2</td></tr><tr><td>a3 "
         "t]wo</td><td>b3</td></tr></table>",
            "<table><tr><td>a1</td><td>b1 one</td></tr><tr><td>a2 y</td><td>b2</td></tr><tr><td>a3 "
            "two</td><td>b3</td></tr></table>"},
        {"<table><thead><tr><td>h1 o[ne</td><td>h2</td></tr></thead><tbody><tr><td>a2 "
         "t]wo</td><td>b2</td></tr></tbody></table>",
            "<table><thead><tr><td>h1 one</td><td>h2</td></tr></thead><tbody><tr><td>a2 "
            "two</td><td>b2</td></tr></tbody></table>"},
        {"<table><tr><td>a1 <i>o[ne</i></td><td><b>b1</b></td></tr><tr><td>a2 y</td><td>b2 t]wo "
         "<b>z</b></td></tr></table>",
            "<table><tr><td>a1 <i>one</i></td><td><b>b1</b></td></tr><tr><td>a2 y</td><td>b2 two "
            "<b>z</b></td></tr></table>"},
        {"<table><tr><td>a1 o[ne</td><td>b1</td></tr><tr><td>a2 y</td><td>b2 <b>t]wo</b> z</td></tr></table>",
            "<table><tr><td>a1 one</td><td>b1</td></tr><tr><td>a2 y</td><td>b2 <b>two</b> "
            "z</td></tr></table>"},
        {"<table><tr><td>a1 o[ne</td></tr><tr><td><a href=\"#b\">Li]nk</a> z</td></tr></table>",
            "<table><tr><td>a1 one</td></tr><tr><td><a href=\"#b\">Link</a> z</td></tr></table>"},
        {"<table><tr><td>a1 o[ne</td><td><i>b1 <b>t]wo</b></i> z</td></tr></table>",
            "<table><tr><td>a1 one</td><td><i>b1 <b>two</b></i> z</td></tr></table>"},
        {"<table><tr><td>a1 o[ne</td></tr><tr><td>a2 t]wo</td></tr></table><p>after</p>",
            "<table><tr><td>a1 one</td></tr><tr><td>a2 two</td></tr></table><p>after</p>"},
        {"<ul><li><div class=\"f\"><p><a id=\"a\"></a></p><p><code>[one</code> x;</p></div><p>more "
         "one</p></li><li><div class=\"f\"><p><a id=\"b\"></a></p><p><code>two</code> y;</p></div><p>more "
         "two]</p></li><li>three</li></ul>",
            "<ul><li><div class=\"f\"><p><a id=\"a\"></a></p><p><code>one</code> x;</p></div>"
            "<p>more one</p></li><li><div class=\"f\"><p><a id=\"b\"></a></p><p><code>two</code> "
            "y;</p></div><p>more two</p></li><li>three</li></ul>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.marked);
        Load(c.marked);
        engine->OnCut();
        const std::string afterCut = Content();
        ASSERT_NE(afterCut, c.original);
        engine->OnPaste();
        EXPECT_EQ(Content(), c.original);
        engine->OnUndo();
        EXPECT_EQ(Content(), afterCut);
        engine->OnUndo();
        EXPECT_EQ(Content(), c.original);
    }
}

// The same for list items: a cut from one item into the next (of the same
// list, of a nested list, of another list, or of a list nested in the
// item) joins what is left into the first item; paste at the same place
// gives back the words as they were, each item's text an item again (at
// the level and in the list of the item pasted into), and undo goes back
// through the paste and the cut, a step each. A term, which does not
// split, takes back the term's and the definition's words parted by a
// line break.
TEST_F(Clipboard, CutAcrossListItemsAndPasteBackRestoresTheText)
{
    struct Case
    {
        const char* marked;
        const char* original;
        const char* pasted; // null: the original
        // What undo of the paste gives (null: what the cut left): a blank
        // at the start of a link reads back before it.
        const char* undone = nullptr;
    };
    for (const Case& c :
        {
            Case{"<ul><li>Hello wor[ld</li><li>a]gain here</li></ul>",
                "<ul><li>Hello world</li><li>again here</li></ul>", nullptr},
            Case{"<ol><li>one t[wo</li><li>three</li><li>fo]ur five</li><li>six</li></ol>",
                "<ol><li>one two</li><li>three</li><li>four five</li><li>six</li></ol>", nullptr},
            Case{"<ul><li>a <b>bo[ld</b> word</li><li>more <i>it]alic</i> end</li></ul>",
                "<ul><li>a <b>bold</b> word</li><li>more <i>italic</i> end</li></ul>", nullptr},
            Case{"<ul><li>one<ul><li>Hello wor[ld</li></ul></li><li>a]gain here</li></ul>",
                "<ul><li>one<ul><li>Hello world</li></ul></li><li>again here</li></ul>",
                "<ul><li>one<ul><li>Hello world</li><li>again here</li></ul></li></ul>"},
            Case{"<ul><li>one t[wo<ul><li>thr]ee</li><li>four</li></ul></li></ul>",
                "<ul><li>one two<ul><li>three</li><li>four</li></ul></li></ul>",
                "<ul><li>one two</li><li>three<ul><li>four</li></ul></li></ul>"},
            Case{"<ul><li>Hello wor[ld</li></ul><ol><li>a]gain here</li><li>more</li></ol>",
                "<ul><li>Hello world</li></ul><ol><li>again here</li><li>more</li></ol>",
                "<ul><li>Hello world</li><li>again here</li></ul><ol><li>more</li></ol>"},
            Case{"<ul><li>Hello wor[ld</li><li>World] again</li></ul>",
                "<ul><li>Hello world</li><li>World again</li></ul>", nullptr},
            Case{"<ul><li><a href=\"#d\">1.1 Des[cription</a></li><li><a href=\"#c\">1.2 Command] Line "
                 "Options</a></li></ul>",
                "<ul><li><a href=\"#d\">1.1 Description</a></li><li><a href=\"#c\">1.2 Command Line "
                "Options</a></li></ul>",
                nullptr, "<ul><li><a href=\"#d\">1.1 Des</a> <a href=\"#c\">Line Options</a></li></ul>"},
            Case{"<ul><li><a href=\"#\">Policy documentation</a> [&#187;</li><li><a href=\"#b\">Debian "
                 "Python ]Policy documentation</a></li></ul>",
                "<ul><li><a href=\"#\">Policy documentation</a> \u00bb</li><li><a href=\"#b\">Debian Python "
                "Policy documentation</a></li></ul>",
                "<ul><li><a href=\"#\">Policy documentation</a> \u00bb</li><li><a href=\"#b\">Debian "
                "Python</a> "
                "<a href=\"#b\">Policy documentation</a></li></ul>"},
            Case{"<p>Hello wor[ld</p><p>World] again</p>", "<p>Hello world</p><p>World again</p>", nullptr},
            Case{"<ul><li>one t[wo</li></ul><p>thr]ee four</p>", "<ul><li>one two</li></ul><p>three four</p>",
                "<ul><li>one two</li><li>three four</li></ul>"},
            Case{"<p>one t[wo</p><ul><li>thr]ee</li></ul>", "<p>one two</p><ul><li>three</li></ul>",
                "<p>one two</p><p>three</p>"},
            Case{"<dl><dt>Hello wor[ld</dt><dd>a]gain here</dd></dl>",
                "<dl><dt>Hello world</dt><dd>again here</dd></dl>",
                "<dl><dt>Hello world<br />again here</dt></dl>"},
        }) {
        SCOPED_TRACE(c.marked);
        Load(c.marked);
        engine->OnCut();
        const std::string afterCut = Content();
        engine->OnPaste();
        const std::string pasted = Content();
        EXPECT_EQ(pasted, c.pasted ? c.pasted : c.original);
        engine->OnUndo();
        EXPECT_EQ(Content(), c.undone ? c.undone : afterCut);
        engine->OnUndo();
        EXPECT_EQ(Content(), c.original);
    }
}
