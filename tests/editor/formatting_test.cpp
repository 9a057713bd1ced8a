// Block formats and inline formatting, markup in and markup out. A case of
// tests/data/formatting/*.txt gives markup with the caret as "|" and
// selected text between "[" and "]"; its options are the steps, in order:
//   item:TAG[:NAME=VALUE]  the style item later steps pass (none at first)
//   block:CODE:MODE        ProcessHeading on the caret element
//   blocks:CODE:MODE       ProcessHeading on every selected element in turn
//   font:CODE              DoFontButton with the item
//   list:KIND              BeforePutIntoTag and PutIntoTag on the caret
//   bold, italic, strong, em  the key commands
//   NUMBER                 that command, as the toolbar and menus post it
//   menu:TAG               the context menu's element: the first of TAG
//   cancel                 the next dialog is cancelled
//   class:NAME             the next dialog shows a class row and sets NAME
//   type:TEXT              typed at the caret
// The body's content comes out; a case with [result] also gives the last
// ProcessHeading's answer on a line of its own, and a line "reads back as:"
// follows when the content written does not read back as it stands.

#include "tests/common/CaseBlocks.h"
#include "tests/common/PngPixels.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TempDir.h"
#include "tests/editor/support/EngineWithControl.h"
#include "tests/editor/support/MarkedDocument.h"

#include "editor/StyleBarItem.h"
#include "element/Element.h"
#include "style/paint/DocumentPng.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr unsigned int kCommandMessage = 1;

class Formatting : public qmtest::EngineWithControl
{
protected:
    void TearDown() override
    {
        FreeStyleBarItems(item);
        EngineWithControl::TearDown();
    }

    void SetItem(const std::string& text)
    {
        FreeStyleBarItems(item);
        const std::string::size_type colon = text.find(':');
        item = NewStyleBarItem(nullptr, nullptr, qmtest::FromUtf8(text.substr(0, colon)), nullptr, nullptr);
        if (colon == std::string::npos)
            return;
        const std::string pair = text.substr(colon + 1);
        const std::string::size_type eq = pair.find('=');
        item->attributes
            = NewAttributeItem(qmtest::FromUtf8(pair.substr(0, eq)), qmtest::FromUtf8(pair.substr(eq + 1)));
    }

    // Two numbers after a prefix, "CODE:MODE".
    static bool Pair(const std::string& text, int& a, int& b)
    {
        const std::string::size_type colon = text.find(':');
        if (colon == std::string::npos)
            return false;
        a = std::stoi(text.substr(0, colon));
        b = std::stoi(text.substr(colon + 1));
        return true;
    }

    bool Run(const std::string& step)
    {
        CXDoc& doc = engine->m_doc;
        int code = 0, mode = 0;
        if (step.rfind("item:", 0) == 0) {
            SetItem(step.substr(5));
            return item != nullptr;
        }
        if (step.rfind("block:", 0) == 0 && Pair(step.substr(6), code, mode)) {
            result = engine->ProcessHeading(code, doc.m_caretElement, mode, item);
            return true;
        }
        if (step.rfind("blocks:", 0) == 0 && Pair(step.substr(7), code, mode)) {
            CPtrList list;
            doc.m_root->GetAllChildren(&list, 0, true, 0, 0);
            std::vector<long> ids;
            for (void* pos = list.GetHeadPosition(); pos;)
                ids.push_back(static_cast<CElement*>(list.GetNext(pos))->GetID());
            for (long id : ids) {
                if (CElement* e = doc.FindElement(id))
                    result = engine->ProcessHeading(code, e, mode, item);
            }
            return true;
        }
        if (step.rfind("font:", 0) == 0) {
            engine->DoFontButton(std::stoi(step.substr(5)), item);
            return true;
        }
        if (step.rfind("list:", 0) == 0) {
            const int kind = std::stoi(step.substr(5));
            engine->BeforePutIntoTag(doc.m_caretElement, kind);
            engine->PutIntoTag(doc.m_caretElement, kind);
            return true;
        }
        if (step.rfind("menu:", 0) == 0) {
            engine->m_menuElement = doc.m_root->FindChild(CSafeBuf(step.substr(5).c_str()), 0, true);
            return engine->m_menuElement != nullptr;
        }
        if (step.rfind("type:", 0) == 0) {
            for (char c : step.substr(5))
                engine->OnChar(static_cast<unsigned char>(c), 1, 0);
            return true;
        }
        if (step.rfind("class:", 0) == 0) {
            // The class row shows (option bits 512 and 131072); OK with it.
            control->Options |= 512 | 131072;
            driver.dialogs.push_back({qm::host::DialogAnswer::kPress, "OK", {{"class", step.substr(6)}}});
            return true;
        }
        if (step == "cancel") {
            driver.dialogs.push_back({qm::host::DialogAnswer::kPress, "Cancel", {}});
            return true;
        }
        if (step == "bold" || step == "italic" || step == "strong" || step == "em") {
            void (CXHTML::*key)() = step == "bold" ? &CXHTML::KeyBold
                : step == "italic"                 ? &CXHTML::KeyItalic
                : step == "strong"                 ? &CXHTML::KeyStrong
                                                   : &CXHTML::KeyEm;
            (engine.get()->*key)();
            return true;
        }
        if (step.empty() || step.find_first_not_of("0123456789") != std::string::npos)
            return false;
        engine->PostMessage(kCommandMessage, static_cast<unsigned int>(std::stoul(step)), 0);
        return true;
    }

    void RunFile(const char* path)
    {
        qmtest::CaseBlockFile file(path);
        for (const qmtest::CaseBlock& c : file.Cases()) {
            SCOPED_TRACE(c.name);
            FreeStyleBarItems(item);
            item = nullptr;
            result = 0;
            ASSERT_TRUE(qmtest::LoadMarked(*engine, c.input));
            for (const std::string& step : c.options) {
                if (step != "result") {
                    ASSERT_TRUE(Run(step)) << step;
                }
            }
            EXPECT_TRUE(engine->m_doc.m_caretElement == nullptr
                || engine->m_doc.IsElementInTree(engine->m_doc.m_caretElement));
            const std::string now = qmtest::BodyContent(*engine);
            std::string actual = now;
            if (c.HasOption("result"))
                actual += "\n" + std::to_string(result);
            // The value written now reads back as it stands.
            const std::string read = qmtest::ReadBack(*engine);
            if (read != now)
                actual += "\nreads back as: " + read;
            file.Check(c, actual);
        }
    }

    STYLE_BAR_ITEM* item = nullptr;
    int result = 0;
    qmtest::ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

TEST_F(Formatting, BlockFormats) { RunFile("formatting/blocks.txt"); }

TEST_F(Formatting, InlineFormats) { RunFile("formatting/inline.txt"); }

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

// The wrapped run takes the weight of its new element at once: the picture
// changes, though the text and the selection stay.
TEST_F(Formatting, TheWrappedRunIsDrawnInItsNewStyle)
{
    ASSERT_TRUE(qmtest::LoadMarked(*engine, "<p>ab[cde]fg</p>"));
    const qmtest::PngPixels plain = Picture(engine->m_doc.m_root, "format-plain-");
    engine->KeyStrong();
    ASSERT_EQ(qmtest::BodyContent(*engine), "<p>ab<strong>cde</strong>fg</p>");
    const qmtest::PngPixels strong = Picture(engine->m_doc.m_root, "format-strong-");
    EXPECT_EQ(plain.width, strong.width);
    EXPECT_NE(plain.rgba, strong.rgba);
}

// The other pieces of an inline element wrapped over lines are unwrapped
// (their text stays) or deleted with their text; the piece asked about stays.
TEST_F(Formatting, TheOtherPiecesOfAWrappedElementGoTogether)
{
    const std::string markup
        = "<p>x <b>one two three four five six seven eight nine ten eleven twelve</b> y</p>";
    for (bool destroy : {false, true}) {
        ASSERT_TRUE(qmtest::LoadMarked(*engine, markup));
        CElement* first = engine->m_doc.m_root->FindChild(CSafeBuf("b"), 0, true);
        ASSERT_NE(first, nullptr);
        CPtrList pieces;
        ASSERT_EQ(first->GetWrappedInlineBrothers(&pieces), -1) << "laid out 200 pixels wide, the b wraps";
        ASSERT_GT(pieces.GetCount(), 0);
        const long firstId = first->GetID();
        engine->RemoveInlineBrothers(first, destroy);
        EXPECT_NE(engine->m_doc.FindElement(firstId), nullptr);
        EXPECT_EQ(engine->m_doc.m_root->FindChild(CSafeBuf("b"), 1, true), nullptr);
        const std::string content = qmtest::BodyContent(*engine);
        EXPECT_EQ(content.find("<b>"), content.rfind("<b>")) << content;
        EXPECT_EQ(content.find("twelve") == std::string::npos, destroy) << content;
        EXPECT_NE(content.find("x <b>one"), std::string::npos) << content;
    }
}

} // namespace
