// The source view's tools: Validate through the control, Indent through the
// engine's markup writer, the three toggles, the element-name test over the
// page's custom elements, and the find and replace dialog.

#include "tests/source_view/support/SourceViewFixture.h"

#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "source_view/ValidateXml.h"

#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

namespace {

class SourceViewTools : public qmtest::SourceViewTest
{
protected:
    SourceViewTools()
    {
        control.m_coloringEditor = view.get();
        view->m_control = &control;
        view->m_engine = &engine;
    }

    qmtest::TempHome home; // the control makes its folders there
    CMorvaXEditorCtrl control;
    CXHTML engine;
};

std::string Message(const std::string& text)
{
    CSafeBuf message;
    ValidateXMLValue(qmtest::FromUtf8(text), false, &message);
    return qmtest::Utf8(message);
}

} // namespace

TEST_F(SourceViewTools, ValidateShowsTheOutcome)
{
    Set("<p>one</p>\r\n<p>two &amp; <b>three</b></p>");
    driver.press = "OK";
    view->OnValidate();
    EXPECT_EQ(1, driver.shown);
    EXPECT_EQ("Validate", driver.caption);
    EXPECT_EQ(std::vector<std::string>{"Document is valid."}, driver.texts);

    Set("<p>one<b>two</p>");
    view->OnValidate();
    EXPECT_EQ(2, driver.shown);
    EXPECT_EQ("Validation failed", driver.caption);
    ASSERT_EQ(1u, driver.texts.size());
    EXPECT_EQ(0u, driver.texts[0].find("XML error - \n Error Reason: "));
    EXPECT_NE(std::string::npos, driver.texts[0].find("mismatch")) << driver.texts[0];
}

TEST(ValidateXMLValue, FragmentsAndDeclarations)
{
    struct Case
    {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"<p>a</p><p>b</p>", true}, // two siblings without a common parent
        {"bare text", true},
        {"", true},
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
         "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n<html><body/></html>",
            true},
        {"<p>a & b</p>", false},
        {"<p>", false},
        {"</AdDedBlS12Bs><p>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CSafeBuf message;
        EXPECT_EQ(c.ok, ValidateXMLValue(qmtest::FromUtf8(c.text), false, &message));
        EXPECT_EQ(c.ok, qmtest::Utf8(message) == "Document is valid.");
    }
    EXPECT_EQ("Document is valid.", Message("<br/>"));
}

TEST_F(SourceViewTools, IndentRewritesParseableTextOnly)
{
    Set("<p>a</p><div><p>b</p></div>");
    ASSERT_TRUE(view->OnIndent());
    const std::string indented = Text();
    EXPECT_NE("<p>a</p><div><p>b</p></div>", indented);
    EXPECT_NE(std::string::npos, indented.find("\r\n\t<p>b</p>")) << indented;
    // One undo step takes it back.
    view->OnUndo();
    EXPECT_EQ("<p>a</p><div><p>b</p></div>", Text());

    Set("<p>broken<div></p>");
    EXPECT_FALSE(view->OnIndent());
    EXPECT_EQ("<p>broken<div></p>", Text());
    EXPECT_FALSE(view->CanUndo());
}

TEST_F(SourceViewTools, TogglesKeepTheButtonFlags)
{
    EXPECT_FALSE(view->IsToolChecked(CColoringEditor::kButtonWhitespace));
    view->OnWhitespace();
    view->OnDimTags();
    view->OnDimTags();
    view->OnWordWrap();
    EXPECT_TRUE(view->IsToolChecked(36));
    EXPECT_FALSE(view->IsToolChecked(37));
    EXPECT_TRUE(view->IsToolChecked(38));
    EXPECT_FALSE(view->IsToolChecked(35));
    EXPECT_GT(view->Text().WrapColumns(), 0);
    view->OnWordWrap();
    EXPECT_EQ(0, view->Text().WrapColumns());
}

TEST_F(SourceViewTools, ElementNamesKnownOrListedByThePage)
{
    control.SetCustomInlineElements(qmtest::Wide(u"note, term"));
    control.SetCustomBlockElements(qmtest::Wide(u"panel"));
    control.SetCustomEmptyElements(qmtest::Wide(u"marker"));
    for (const char16_t* name : {u"p", u"table", u"note", u"term", u"panel", u"marker"})
        EXPECT_TRUE(view->IsValidHTMLTag(qmtest::U16(name), static_cast<int>(std::u16string(name).size())));
    for (const char16_t* name : {u"notes", u"P", u"blink", u"ote"})
        EXPECT_FALSE(view->IsValidHTMLTag(qmtest::U16(name), static_cast<int>(std::u16string(name).size())));
    EXPECT_FALSE(view->IsValidHTMLTag(nullptr, 0));
}

TEST_F(SourceViewTools, FindAndReplaceThroughTheDialog)
{
    Set("<p>cat</p><p>Cat</p><p>cat</p>");
    view->DoFindReplace(false);
    CFindReplaceDlg* dialog = view->FindDialog();
    ASSERT_NE(nullptr, dialog);
    ASSERT_EQ(1u, qm::ui::ModalDialog::Modeless().size());
    qm::ui::ModalDialog& window = dialog->Dialog();
    EXPECT_EQ(-1, window.FindButton("Replace")); // the find page

    window.SetField("find", "cat");
    window.Press(window.FindButton("Find Next"));
    EXPECT_EQ(3, view->SelectionStart());
    EXPECT_EQ(6, view->SelectionEnd());
    window.Press(window.FindButton("Find Next")); // case ignored
    EXPECT_EQ(13, view->SelectionStart());
    window.SetField("match case", "1");
    window.Press(window.FindButton("Find Next"));
    EXPECT_EQ(23, view->SelectionStart());
    window.Press(window.FindButton("Find Next")); // round to the start
    EXPECT_EQ(3, view->SelectionStart());
    window.SetField("direction", "up");
    window.Press(window.FindButton("Find Next"));
    EXPECT_EQ(23, view->SelectionStart());

    // Opened again, on the replace page: still one dialog.
    view->DoFindReplace(true);
    EXPECT_EQ(dialog, view->FindDialog());
    EXPECT_EQ(1u, qm::ui::ModalDialog::Modeless().size());
    ASSERT_NE(-1, window.FindButton("Replace"));
    window.SetField("replace", "dog");
    window.Press(window.FindButton("Replace")); // the selected "cat"
    EXPECT_TRUE(dialog->LastFound());
    EXPECT_EQ("<p>cat</p><p>Cat</p><p>dog</p>", Text());
    window.SetField("match case", "0");
    window.Press(window.FindButton("Replace All"));
    EXPECT_EQ(2, dialog->LastReplaced());
    EXPECT_EQ("<p>dog</p><p>dog</p><p>dog</p>", Text());
    view->OnUndo(); // Replace All is one step
    EXPECT_EQ("<p>cat</p><p>Cat</p><p>dog</p>", Text());
    window.SetField("find", "bird");
    window.Press(window.FindButton("Find Next"));
    EXPECT_FALSE(dialog->LastFound());

    // Letters beyond ASCII match in either case too.
    Set("<p>\xC3\xA9t\xC3\xA9</p><p>\xC3\x89T\xC3\x89</p><p>\xD0\xB4\xD0\xB0</p><p>\xD0\x94\xD0\x90</p>");
    view->SetSelection(0, 0);
    window.SetField("direction", "down");
    window.SetField("find", "\xC3\x89t\xC3\xA9"); // Été
    window.Press(window.FindButton("Find Next"));
    EXPECT_EQ(3, view->SelectionStart());
    window.Press(window.FindButton("Find Next"));
    EXPECT_EQ(13, view->SelectionStart());
    window.SetField("find", "\xD0\x94\xD0\xB0"); // Да
    window.Press(window.FindButton("Find Next"));
    EXPECT_EQ(23, view->SelectionStart());
    window.Press(window.FindButton("Find Next"));
    EXPECT_EQ(32, view->SelectionStart());
    window.SetField("match case", "1");
    window.Press(window.FindButton("Find Next"));
    EXPECT_FALSE(dialog->LastFound()) << "as written, it is nowhere";

    window.Press(window.FindButton("Close"));
    EXPECT_TRUE(qm::ui::ModalDialog::Modeless().empty());
    view->DoFindReplace(false); // opens again
    EXPECT_EQ(1u, qm::ui::ModalDialog::Modeless().size());
}
