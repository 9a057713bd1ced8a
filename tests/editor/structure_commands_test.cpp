// The alignment, image and small structural commands, run through the
// engine's command table as the toolbar and the menus run them, over the
// cases of tests/data/commands/*.txt (the steps are CommandCases'). Besides
// those: "remove-tag:N" removes entry N (from the outermost) of the tag
// list, "unexpect:TAG" reshapes the ancestors of the first element of that
// tag as removing formatting does, "target:TAG" makes the first element of
// that tag the one a double click or a property command aimed at,
// "release" frees the elements edits took out of the tree, as the engine
// does between events, "menu-last:TAG" opens the context menu on the last
// element of that tag and "ok:NAME=VALUE" answers the next property page
// with OK after setting one field.

#include "tests/common/CaseBlocks.h"
#include "tests/common/PngPixels.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"
#include "tests/editor/support/CommandCases.h"

#include "document/XDoc.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/TreeQueries.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/SourceCode.h"
#include "elements/ImageElement.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "style/paint/DocumentPng.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned int kTagList = 32887;

class StructureCommands : public qmtest::CommandCases
{
protected:
    void SetUp() override
    {
        CommandCases::SetUp();
        control->ClassImageFloatRight = CSafeBuf("floatright");
        control->ClassImageFloatLeft = CSafeBuf("floatleft");
    }

    bool Step(const std::string& step) override
    {
        if (step.rfind("unexpect:", 0) == 0) {
            CElement* e = First(step.substr(9));
            if (!e)
                return false;
            engine->m_doc.RemoveUnexpectTag(e);
            return true;
        }
        if (step == "release") {
            engine->m_doc.ReleaseRemovedElements();
            return true;
        }
        if (step.rfind("target:", 0) == 0) {
            engine->m_targetElement = First(step.substr(7));
            return engine->m_targetElement != nullptr;
        }
        if (step.rfind("menu-last:", 0) == 0) {
            // The last element of the tag: the last line's piece of a
            // wrapped inline element.
            const CSafeBuf tag(step.substr(10).c_str());
            engine->m_menuElement = nullptr;
            for (CElement* e = engine->m_doc.m_root; e; e = NextInSubtree(e, engine->m_doc.m_root))
                if (e->IsTag(tag))
                    engine->m_menuElement = e;
            return engine->m_menuElement != nullptr;
        }
        if (step.rfind("ok:", 0) == 0) {
            // The next property page answered with OK, NAME=VALUE set.
            const std::string::size_type eq = step.find('=');
            if (eq == std::string::npos)
                return false;
            driver.dialogs.push_back(
                {qm::host::DialogAnswer::kPress, "OK", {{step.substr(3, eq - 3), step.substr(eq + 1)}}});
            return true;
        }
        if (step.rfind("remove-tag:", 0) == 0) {
            // The tag list with its entry N (from the outermost) removed.
            driver.dialogs.push_back(
                {qm::host::DialogAnswer::kPress, "Remove", {{"entry", step.substr(11)}}});
            engine->PostMessage(kCommandMessage, kTagList, 0);
            return true;
        }
        return false;
    }
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
