// The alignment, image and small structural commands, run through the
// engine's command table as the toolbar and the menus run them. A case of
// tests/data/commands/*.txt gives markup with the caret as "|" and selected
// text between "[" and "]"; its options are what happens, in order: a
// number posts that command, "caret:TAG:OFFSET" puts the caret on the first
// element of that tag, "menu:TAG" opens the context menu on the first
// element of that tag (the element the image and link commands act on),
// "remove-tag:N" removes entry N (from the outermost) of the tag list,
// "unexpect:TAG" reshapes the ancestors of the first element of that tag as
// removing formatting does, "shift-return" types Shift+Return. The body's content comes out (compact,
// U+00A0 as "{nbsp}").

#include "tests/common/CaseBlocks.h"
#include "tests/common/PngPixels.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/EngineWithControl.h"

#include "document/XDoc.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/SourceCode.h"
#include "elements/ImageElement.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "style/paint/DocumentPng.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned int kCommandMessage = 1;
constexpr unsigned int kTagList = 32887;

class StructureCommands : public qmtest::EngineWithControl
{
protected:
    void SetUp() override
    {
        EngineWithControl::SetUp();
        control->ClassImageFloatRight = CSafeBuf("floatright");
        control->ClassImageFloatLeft = CSafeBuf("floatleft");
    }
    void TearDown() override
    {
        qm::events::Services::Get().Input().modifiers = 0;
        EngineWithControl::TearDown();
    }

    bool Load(std::string markup)
    {
        const std::string::size_type at = markup.find('|');
        if (at != std::string::npos)
            markup.replace(at, 1, kCaretMarker);
        engine->m_menuElement = nullptr;
        // Laid out 200 pixels wide: a long link wraps into pieces.
        engine->m_doc.m_viewRect = CRect(0, 0, 200, 300);
        engine->m_doc.m_viewWidth = 200;
        engine->AssignWnd();
        if (!engine->LoadDocument(CSafeBuf(markup.c_str())))
            return false;
        MarkSelection();
        return true;
    }

    // The runs from the one holding "[" to the one holding "]" are
    // selected; the brackets go.
    void MarkSelection()
    {
        CPtrList all;
        engine->m_doc.m_root->GetAllChildren(&all, 0, false, kKindText, 0);
        bool inside = false;
        for (void* pos = all.GetHeadPosition(); pos;) {
            auto* run = static_cast<CElement*>(all.GetNext(pos));
            const int open = run->m_text.Find(static_cast<unsigned short>('['));
            if (open >= 0) {
                Cut(run, open);
                inside = true;
            }
            if (!inside)
                continue;
            const int close = run->m_text.Find(static_cast<unsigned short>(']'));
            if (close >= 0)
                Cut(run, close);
            run->m_selected = 1;
            run->m_selectable = 1;
            run->m_selStart = open >= 0 ? open : 0;
            run->m_selEnd = (close >= 0 ? close : run->m_text.Length()) - 1;
            engine->m_doc.m_selectionPresent = 1;
            inside = close < 0;
        }
    }

    void Cut(CElement* run, int offset)
    {
        run->m_text.Delete(offset, 1);
        if (engine->m_doc.m_caretElement == run && run->m_caretOffset > offset)
            --run->m_caretOffset;
    }

    // One option of a case; false when it is not understood.
    bool Run(const std::string& step)
    {
        if (step.rfind("menu:", 0) == 0) {
            engine->m_menuElement
                = engine->m_doc.m_root->FindChild(CSafeBuf(step.substr(5).c_str()), 0, true);
            return engine->m_menuElement != nullptr;
        }
        if (step.rfind("caret:", 0) == 0) {
            // caret:TAG:OFFSET puts the caret on the first element of the tag.
            const std::string::size_type colon = step.find(':', 6);
            if (colon == std::string::npos)
                return false;
            CElement* e
                = engine->m_doc.m_root->FindChild(CSafeBuf(step.substr(6, colon - 6).c_str()), 0, true);
            if (!e)
                return false;
            e->m_caretOffset = std::stol(step.substr(colon + 1));
            engine->m_doc.m_caretElement = e;
            return true;
        }
        if (step.rfind("unexpect:", 0) == 0) {
            CElement* e = engine->m_doc.m_root->FindChild(CSafeBuf(step.substr(9).c_str()), 0, true);
            if (!e)
                return false;
            engine->m_doc.RemoveUnexpectTag(e);
            return true;
        }
        if (step.rfind("remove-tag:", 0) == 0) {
            // The tag list with its entry N (from the outermost) removed.
            driver.dialogs.push_back(
                {qm::host::DialogAnswer::kPress, "Remove", {{"entry", step.substr(11)}}});
            engine->PostMessage(kCommandMessage, kTagList, 0);
            return true;
        }
        if (step == "shift-return") {
            qm::events::Services::Get().Input().modifiers = qm::events::kModShift;
            engine->OnChar(13, 1, 0);
            qm::events::Services::Get().Input().modifiers = 0;
            return true;
        }
        if (step.empty() || step.find_first_not_of("0123456789") != std::string::npos)
            return false;
        engine->PostMessage(kCommandMessage, static_cast<unsigned int>(std::stoul(step)), 0);
        return true;
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
        for (auto nb = s.find("\xC2\xA0"); nb != std::string::npos; nb = s.find("\xC2\xA0"))
            s.replace(nb, 2, "{nbsp}");
        return s;
    }

    void RunFile(const char* path)
    {
        qmtest::CaseBlockFile file(path);
        for (const qmtest::CaseBlock& c : file.Cases()) {
            SCOPED_TRACE(c.name);
            ASSERT_TRUE(Load(c.input));
            for (const std::string& step : c.options)
                ASSERT_TRUE(Run(step)) << step;
            file.Check(c, Content());
            EXPECT_TRUE(engine->m_doc.m_caretElement == nullptr
                || engine->m_doc.IsElementInTree(engine->m_doc.m_caretElement));
        }
    }

    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(StructureCommands, Alignment) { RunFile("commands/align.txt"); }

// The document's picture as a PNG in the test output (for a person to look
// at), read back.
qmtest::PngPixels Picture(CElement* root, const std::string& name)
{
    qmtest::PngPixels png;
    const std::string path = qmtest::TestOutputPath(name) + ".png";
    EXPECT_EQ(DocumentPngResult::Written, WriteDocumentPNG(root, path));
    EXPECT_TRUE(qmtest::ReadPng(path, png)) << path;
    return png;
}

// The per-image text command shows that image as its alternative text; the
// same command again gives it back to the document's display: the picture.
TEST_F(StructureCommands, TheImagesOwnTextDisplayTwiceShowsThePictureAgain)
{
    engine->m_doc.m_baseURL = qmtest::FromUtf8(QM_TEST_DATA_DIR "/images/");
    ASSERT_TRUE(Load("<p>a|<img src=\"wide.png\" alt=\"seen as words\"/></p>"));
    auto* image = dynamic_cast<CImageElement*>(engine->m_doc.m_root->FindChild(CSafeBuf("img"), 0, true));
    ASSERT_NE(image, nullptr);
    const qmtest::PngPixels graphic = Picture(engine->m_doc.m_root, "image-graphic-");
    engine->m_menuElement = image;

    engine->PostMessage(kCommandMessage, 32876, 0);
    EXPECT_EQ(image->m_displayType, 2);
    EXPECT_EQ(image->GetDisplayType(), 2);
    ASSERT_NE(image->m_firstChild, nullptr) << "the alternative text is shown in a child";
    EXPECT_EQ(qmtest::Utf8(image->m_firstChild->m_text), "seen as words");
    const qmtest::PngPixels text = Picture(engine->m_doc.m_root, "image-own-text-");
    EXPECT_NE(graphic.rgba, text.rgba);
    // The caret in the text shown goes back to the image with it.
    engine->m_doc.m_caretElement = image->m_firstChild;
    image->m_firstChild->m_caretOffset = 3;

    engine->PostMessage(kCommandMessage, 32876, 0);
    EXPECT_EQ(image->m_displayType, 0);
    EXPECT_EQ(image->GetDisplayType(), 1);
    EXPECT_EQ(image->m_firstChild, nullptr);
    const qmtest::PngPixels back = Picture(engine->m_doc.m_root, "image-back-");
    EXPECT_EQ(graphic.width, back.width);
    EXPECT_EQ(graphic.height, back.height);
    EXPECT_EQ(graphic.rgba, back.rgba);
    EXPECT_EQ(engine->m_doc.m_caretElement, image);
    EXPECT_EQ(image->m_caretOffset, 0);
}

TEST_F(StructureCommands, ImagesAndLinks) { RunFile("commands/images_links.txt"); }

TEST_F(StructureCommands, RulesBreaksAndDeletion) { RunFile("commands/structure.txt"); }

// The tag list shows the elements around the caret from the outermost down,
// the body left out; Edit opens the chosen one's properties. Inside a
// locked element every entry is locked, and nothing can be chosen.
TEST_F(StructureCommands, TheTagListListsTheAncestorsAndEditsTheChosenOne)
{
    ASSERT_TRUE(Load("<div><p>a<b>b|c</b></p></div>"));
    driver.dialogs.push_back({qm::host::DialogAnswer::kPress, "Edit", {{"entry", "1"}}});
    driver.dialogs.push_back({qm::host::DialogAnswer::kPress, "OK", {{"title", "lead"}}});
    engine->PostMessage(kCommandMessage, kTagList, 0);
    EXPECT_EQ(driver.caption, "Properties");
    EXPECT_EQ(Content(), "<div><p title=\"lead\">a<b>bc</b></p></div>");

    ASSERT_TRUE(Load("<div><p>a<b>b|c</b></p></div>"));
    engine->m_doc.m_root->FindChild(CSafeBuf("div"), 0, true)->m_locked = 1;
    driver.dialogs.push_back({qm::host::DialogAnswer::kPress, "Remove", {{"entry", "2"}}});
    engine->PostMessage(kCommandMessage, kTagList, 0);
    EXPECT_EQ(driver.texts, (std::vector<std::string>{"div (locked element)", "p (locked)", "b (locked)"}));
    EXPECT_NE(engine->m_doc.m_root->FindChild(CSafeBuf("b"), 0, true), nullptr);
}

// A heading inside a heading (which markup cannot give: it is repaired as
// it is read): reshaping the inner one's ancestors makes the outer one a p.
TEST_F(StructureCommands, AHeadingAroundAHeadingBecomesAParagraph)
{
    ASSERT_TRUE(Load("<h1 class=\"big\">a|</h1>"));
    CElement* outer = engine->m_doc.m_root->m_firstChild;
    ASSERT_NE(outer, nullptr);
    CElement* inner = CreateElement("h2", engine->m_doc.m_workingRules, engine->m_doc.m_root, engine.get());
    CElement* text = CreateElement("", engine->m_doc.m_workingRules, engine->m_doc.m_root, engine.get());
    ASSERT_TRUE(inner && text);
    text->m_text = CSafeBuf("b");
    inner->AppendChild(text);
    outer->AppendChild(inner);
    engine->m_doc.RemoveUnexpectTag(inner);
    CElement* p = engine->m_doc.m_root->m_firstChild;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(qmtest::Utf8(CSafeBuf(p->GetTagName())), "p");
    EXPECT_FALSE(engine->m_doc.IsElementExist(outer));
    CSafeBuf cls;
    EXPECT_FALSE(p->GetAttrString("class", cls));
    ASSERT_TRUE(p->m_lastChild);
    EXPECT_EQ(p->m_lastChild, inner);
    EXPECT_EQ(qmtest::Utf8(inner->m_firstChild->m_text), "b");
}

} // namespace
