// Edits aimed at a point of the view. Drops onto the engine: the editor's
// own selection moved or refused, another editor's markup copied, text from
// another program refused where the edit guard refuses a change, every drag
// refused while the preview shows, and files uploaded where the document
// takes them. Paste at the context menu's point, and into an image's text.

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/editor/support/MarkedDocument.h"
#include "tests/net/support/LoopbackServer.h"

#include "base/shims/Pasteboard.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "platform/dnd/DragSession.h"
#include "platform/dnd/Pasteboard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string UploadAnswer()
{
    return "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body>"
           "<doLibraryUploadResponse xmlns=\"urn:quillmark:webservice\"><url>http://lib.test/stored</url>"
           "</doLibraryUploadResponse></s:Body></s:Envelope>";
}

void AddText(qm::dnd::DragSession& drag, qm::dnd::FlavorType flavor, const char* text)
{
    const CSafeBuf units(text);
    drag.AddFlavor(
        1, flavor, static_cast<const unsigned short*>(units), static_cast<std::size_t>(units.Length()) * 2);
}

void AddToken(qm::dnd::DragSession& drag, std::uint32_t token)
{
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(token >> (8 * i));
    drag.AddFlavor(1, kFlavorEditorTag, bytes, sizeof bytes);
}

class PointedEdits : public qmtest::EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        window.clipRect = {0, 0, 300, 400};
        engine->m_window = &window;
    }

    void Load(const char* markup) { ASSERT_TRUE(engine->LoadDocument(CSafeBuf(markup))); }

    CElement* Run(const char* text)
    {
        CPtrList runs;
        engine->m_doc.m_root->GetAllChildren(&runs, 0, false, kKindText, 0);
        CElement* found = nullptr;
        runs.ForEachItem([&](void* item) {
            auto* run = static_cast<CElement*>(item);
            if (!found && run->m_text.Find(CSafeBuf(text)) >= 0)
                found = run;
        });
        return found;
    }

    // The view point of a caret offset in the run holding text.
    CPoint PointAt(const char* text, int offset)
    {
        CElement* run = Run(text);
        EXPECT_NE(run, nullptr) << text;
        if (!run)
            return CPoint(0, 0);
        CElement* caret = engine->m_doc.m_caretElement;
        const long old = run->m_caretOffset;
        engine->m_doc.m_caretElement = run;
        run->m_caretOffset = offset;
        engine->m_doc.UpdateKeyCursor();
        CPoint point = engine->m_doc.m_caretPoint;
        run->m_caretOffset = old;
        engine->m_doc.m_caretElement = caret;
        point.y -= 4;
        return point;
    }

    void Select(const char* text, long start, long end)
    {
        CElement* run = Run(text);
        ASSERT_NE(run, nullptr);
        run->m_selected = 1;
        run->m_selStart = start;
        run->m_selEnd = end;
        engine->m_doc.m_selectionPresent = 1;
        engine->m_doc.DrawDoc(2); // the selection's edges are laid out
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
        for (auto cr = s.find_first_of("\r\n"); cr != std::string::npos; cr = s.find_first_of("\r\n"))
            s.erase(cr, 1);
        return s;
    }

    NPWindow window{};
    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(PointedEdits, TheOwnSelectionMovesButNotOntoItself)
{
    Load("<p>ab cd efgh</p>");
    Select("cd", 0, 1);
    qm::dnd::DragSession onto;
    AddText(onto, kFlavorEditorMarkup, "cd");
    AddToken(onto, engine->m_doc.m_dragToken);
    EXPECT_EQ(engine->ReceiveDrop(onto, PointAt("cd", 1)), 1);
    EXPECT_EQ(Content(), "<p>ab cd efgh</p>");

    Select("cd", 0, 1);
    qm::dnd::DragSession elsewhere;
    AddText(elsewhere, kFlavorEditorMarkup, "cd");
    AddToken(elsewhere, engine->m_doc.m_dragToken);
    EXPECT_EQ(engine->ReceiveDrop(elsewhere, PointAt("efgh", 2)), 0);
    // The blanks on both sides of the words moved away stay two, written
    // so that they read back as two.
    EXPECT_EQ(Content(),
        "<p>ab \xC2\xA0"
        "efcdgh</p>");
    engine->OnUndo();
    EXPECT_EQ(Content(), "<p>ab cd efgh</p>");
}

TEST_F(PointedEdits, AnotherEditorsMarkupIsCopied)
{
    Load("<p>ab cd efgh</p>");
    Select("cd", 0, 1);
    qm::dnd::DragSession drag;
    AddText(drag, kFlavorEditorMarkup, "<b>x</b>");
    AddToken(drag, engine->m_doc.m_dragToken + 1);
    // Over this editor's selection another editor's drag still goes in.
    EXPECT_EQ(engine->ReceiveDrop(drag, PointAt("cd", 1)), 0);
    EXPECT_NE(Content().find("<b>x</b>"), std::string::npos) << Content();
    EXPECT_EQ(Content(), "<p>ab c<b>x</b>d efgh</p>");
}

TEST_F(PointedEdits, ForeignTextIsRefusedOverLockedContent)
{
    Load("<p style=\"-qm-lock: true\">locked</p><p>free</p>");
    qm::dnd::DragSession drag;
    AddText(drag, kFlavorUnicodeText, "x");
    EXPECT_EQ(engine->ReceiveDrop(drag, PointAt("locked", 3)), 1);
    EXPECT_EQ(Content(), "<p style=\"-qm-lock: true\">locked</p><p>free</p>");
    EXPECT_EQ(engine->ReceiveDrop(drag, PointAt("free", 2)), 0);
    EXPECT_EQ(Content(), "<p style=\"-qm-lock: true\">locked</p><p>frxee</p>");
}

TEST_F(PointedEdits, EveryDragIsRefusedWhileThePreviewShows)
{
    Load("<p>free</p>");
    qm::dnd::DragSession drag;
    AddText(drag, kFlavorUnicodeText, "x");
    for (int mode : {2, 3}) {
        control->m_viewMode = mode;
        EXPECT_EQ(CXHTML::MyDragReceiveHandler(nullptr, engine.get(), drag), CXHTML::kDragRefusedInView);
        EXPECT_EQ(CXHTML::MyDragTrackingHandler(3, nullptr, engine.get(), drag), CXHTML::kDragRefusedInView);
    }
    control->m_viewMode = 0;
    control->shown = false;
    EXPECT_EQ(CXHTML::MyDragReceiveHandler(nullptr, engine.get(), drag), CXHTML::kDragRefusedInView);
    EXPECT_EQ(CXHTML::MyDragReceiveHandler(nullptr, nullptr, drag), 1);
    EXPECT_EQ(Content(), "<p>free</p>");
}

// Three files with the caret in a pre: the picture may not go there, the
// two others are uploaded and linked; one location message is shown. The
// same through the clipboard and through a drop.
TEST_F(PointedEdits, FilesThatMayNotGoAtTheCaretAreReportedOnce)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(dir.Create(qmtest::TestOutputPath("drop-files-")));
    const char gif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff,\x00\x00\x00\x00";
    const std::string names[] = {"one.txt", "two.gif", "three.pdf"};
    for (const std::string& name : names) {
        std::ofstream out(dir.Path() + "/" + name, std::ios::binary);
        if (name == "two.gif")
            out.write(gif, sizeof gif);
        else
            out << "some bytes of " << name;
    }
    for (const bool dropped : {false, true}) {
        SCOPED_TRACE(dropped);
        qmtest::LoopbackServer server;
        server.Answer("/library", 200, UploadAnswer());
        engine->m_imageLibraryURL = CSafeBuf(server.Url("/library").c_str());
        engine->m_attachmentLibraryURL = CSafeBuf(server.Url("/library").c_str());
        Load("<pre>a|b</pre>");
        const std::string caret = std::string("<pre>a") + kCaretMarker + "b</pre>";
        Load(caret.c_str());
        driver.shown = 0;
        qm::dnd::DragSession drag;
        qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
        board.Clear();
        qm::dnd::DragItemRef item = 1;
        for (const std::string& name : names) {
            const std::string url = "file://" + dir.Path() + "/" + name;
            drag.AddFlavor(item, kFlavorFileURL, url.data(), url.size());
            board.PutItemFlavor(item, "public.file-url", url.data(), url.size());
            ++item;
        }
        if (dropped)
            EXPECT_EQ(engine->ReceiveDrop(drag, PointAt("ab", 1)), 0);
        else
            engine->OnPaste();
        EXPECT_EQ(server.Requests().size(), 2u);
        EXPECT_EQ(driver.shown, 1);
        ASSERT_FALSE(driver.texts.empty());
        EXPECT_EQ(driver.texts.front(), "The content cannot be inserted at this location.");
        const std::string content = Content();
        EXPECT_NE(content.find("<a href=\"http://lib.test/stored\">one.txt</a>"), std::string::npos)
            << content;
        EXPECT_NE(content.find("three.pdf</a>"), std::string::npos) << content;
        EXPECT_EQ(content.find("<img"), std::string::npos) << content;
    }
}

} // namespace

namespace {

// Moved within one text run, after itself: the caret keeps its place in
// the text once the dragged characters are gone.
TEST_F(PointedEdits, AMoveThatEndsAParagraphWithABlankKeepsItAsItReadsBack)
{
    Load("<p>ab cd</p><p>efgh</p>");
    Select("cd", 0, 1);
    qm::dnd::DragSession drag;
    AddText(drag, kFlavorEditorMarkup, "cd");
    AddToken(drag, engine->m_doc.m_dragToken);
    EXPECT_EQ(engine->ReceiveDrop(drag, PointAt("efgh", 2)), 0);
    const std::string moved = Content();
    EXPECT_EQ(moved, "<p>ab\xC2\xA0</p><p>efcdgh</p>");
    engine->OnUndo();
    engine->OnRedo();
    EXPECT_EQ(Content(), moved);
}

TEST_F(PointedEdits, AMoveWithinOneRunLandsAtTheDropPoint)
{
    Load("<p>abcdefgh</p>");
    Select("abcdefgh", 2, 3);
    qm::dnd::DragSession drag;
    AddText(drag, kFlavorEditorMarkup, "cd");
    AddToken(drag, engine->m_doc.m_dragToken);
    EXPECT_EQ(engine->ReceiveDrop(drag, PointAt("abcdefgh", 6)), 0);
    EXPECT_EQ(Content(), "<p>abefcdgh</p>");
}

// The own selection moved from inside one paragraph into the next, to the
// start of a third: the two it came from join again (no word left split
// over two blocks), and the moved part joins the text at the drop point at
// both ends. One undo step takes the move back.
TEST_F(PointedEdits, AMoveAcrossParagraphsJoinsWhatItLeaves)
{
    const char* original = "<p>Hello world</p><p>World again</p><p>End</p>";
    ASSERT_TRUE(qmtest::LoadMarked(*engine, "<p>Hello wor[ld</p><p>Wor]ld again</p><p>End</p>", 300));
    engine->GetSourceCode(engine->m_doc.m_sourceBaseline, 6); // undo's text: without the brackets
    engine->m_doc.DrawDoc(2);
    qm::dnd::DragSession drag;
    AddText(drag, kFlavorEditorMarkup, "<p>ld</p><p>Wor</p>");
    AddToken(drag, engine->m_doc.m_dragToken);
    EXPECT_EQ(engine->ReceiveDrop(drag, PointAt("End", 0)), 0);
    EXPECT_EQ(Content(), "<p>Hello world again</p><p>ld</p><p>WorEnd</p>");
    engine->OnUndo();
    EXPECT_EQ(Content(), original);
}

// The same across list items: the items the move took text out of join
// again; the moved items go in as items at a drop point in a list, and as
// lists before a paragraph dropped at its start. And across a whole table.
TEST_F(PointedEdits, AMoveAcrossListItemsOrATableJoinsWhatItLeaves)
{
    struct Case
    {
        const char* marked;
        const char* dragged;
        const char* dropAt;
        const char* moved;
    };
    for (const Case& c : {
             Case{"<ul><li>Hello wor[ld</li><li>a]gain here</li><li>End</li></ul>",
                 "<ul><li>ld</li><li>a</li></ul>", "End",
                 "<ul><li>Hello worgain here</li><li>ld</li><li>aEnd</li></ul>"},
             Case{"<ul><li>Hello wor[ld</li></ul><ol><li>a]gain here</li></ol><p>End</p>",
                 "<ul><li>ld</li></ul><ol><li>a</li></ol>", "End",
                 "<ul><li>Hello worgain here</li><li>ld</li></ul><ol><li>a</li></ol><p>End</p>"},
             // A table the selection holds whole moves whole: none is left
             // behind with emptied cells.
             Case{"<p>Hello wor[ld</p><table><tr><td>x</td></tr></table><p>a]gain here</p><p>End</p>",
                 "<p>ld</p><table><tr><td>x</td></tr></table><p>a</p>", "End",
                 "<p>Hello worgain here</p><p>ld</p><table><tr><td>x</td></tr></table><p>aEnd</p>"},
         }) {
        SCOPED_TRACE(c.marked);
        std::string original = c.marked;
        original.erase(original.find('['), 1);
        original.erase(original.find(']'), 1);
        ASSERT_TRUE(qmtest::LoadMarked(*engine, c.marked, 300));
        engine->GetSourceCode(engine->m_doc.m_sourceBaseline, 6);
        engine->m_doc.DrawDoc(2);
        qm::dnd::DragSession drag;
        AddText(drag, kFlavorEditorMarkup, c.dragged);
        AddToken(drag, engine->m_doc.m_dragToken);
        EXPECT_EQ(engine->ReceiveDrop(drag, PointAt(c.dropAt, 0)), 0);
        EXPECT_EQ(Content(), c.moved);
        engine->OnUndo();
        EXPECT_EQ(Content(), original);
    }
}

} // namespace

namespace {

// The context menu's paste: a point outside the selection takes the text
// and the selection goes; a point inside pastes in place of the selection.
TEST_F(PointedEdits, PastePointDecidesWhereTheTextGoes)
{
    qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
    for (const bool inside : {false, true}) {
        SCOPED_TRACE(inside);
        Load("<p>ab cd efghij</p>");
        Select("cd", 0, 1);
        board.Clear();
        const CSafeBuf text("X");
        board.PutItemFlavor(1, "public.utf16-plain-text", static_cast<const unsigned short*>(text), 2);
        engine->m_pastePoint = inside ? PointAt("cd", 1) : PointAt("efghij", 3);
        engine->OnPaste();
        EXPECT_EQ(Content(),
            inside ? "<p>ab X efghij</p>"
                   : "<p>ab \xC2\xA0"
                     "efgXhij</p>");
    }
}

// Plain text pasted or dropped into an image's text (the text display of
// images) becomes one line.
TEST_F(PointedEdits, TextIntoAnImagesTextBecomesOneLine)
{
    engine->m_imageDisplayMode = 2;
    for (const bool dropped : {false, true}) {
        SCOPED_TRACE(dropped);
        Load("<p>a<img src=\"p.png\" alt=\"xy\" />b</p>");
        engine->m_doc.DrawDoc(2);
        CElement* run = Run("xy");
        ASSERT_NE(run, nullptr);
        engine->m_doc.m_caretElement = run;
        run->m_caretOffset = 1;
        ASSERT_TRUE(engine->IsCursorInImage());
        const CSafeBuf text("a\r\nb");
        if (dropped) {
            qm::dnd::DragSession drag;
            AddText(drag, kFlavorUnicodeText, "a\r\nb");
            EXPECT_EQ(engine->ReceiveDrop(drag, PointAt("xy", 1)), 0);
        } else {
            qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
            board.Clear();
            board.PutItemFlavor(1, "public.utf16-plain-text", static_cast<const unsigned short*>(text),
                static_cast<std::size_t>(text.Length()) * 2);
            engine->OnPaste();
        }
        ASSERT_NE(Run("xaby"), nullptr) << Content();
    }
}

} // namespace

namespace {

// The own selection moved to where its markup may not go (blocks into a
// pre) is refused: the original stays.
TEST_F(PointedEdits, AMoveTheDropPointRefusesKeepsTheOriginal)
{
    Load("<p>one</p><pre>ab</pre>");
    Select("one", 0, 2);
    qm::dnd::DragSession drag;
    AddText(drag, kFlavorEditorMarkup, "<p>one</p>");
    AddToken(drag, engine->m_doc.m_dragToken);
    EXPECT_EQ(engine->ReceiveDrop(drag, PointAt("ab", 1)), 1);
    EXPECT_EQ(Content(), "<p>one</p><pre>ab</pre>");
}

} // namespace
