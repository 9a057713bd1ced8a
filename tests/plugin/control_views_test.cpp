// The control's views through the test host: the Mode property, the source
// view and the question when its text does not clean, the preview and the
// screen-reader renderings (their files, their window, their style sheets
// and what a page-supplied sheet may read), and reading the sheets back.

#include "plugin/EntryPoints.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/Plugin.h"

#include "base/files/ResourceBuffer.h"
#include "base/files/UserFolders.h"
#include "base/shims/TimeShims.h"
#include "editor/XHTML.h"
#include "host/Host.h"
#include "source_view/ColoringEditor.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/FixedClock.h"
#include "tests/common/OfflineNetwork.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace qm::host;
using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

// Markup that does not clean but that Tidy repairs; markup that neither
// cleans nor loads, before or after repair.
const char kBroken[] = "<p>one <b>two</p><p>three</p>";
const char* const kHopeless = qmtest::HopelessMarkup();

class ControlViewsTest : public qmtest::ControlInstanceTest
{
protected:
    ControlViewsTest() : ControlInstanceTest("views-home-") { }

    void PrepareHost() override
    {
        host->GetBrowser().Window().functions = {"qmModeChanged"};
        host->GetBrowser().Window().onCall
            = [this](const std::string& name, const std::vector<ScriptValue>& args) {
                  std::string call = name;
                  for (const ScriptValue& a : args)
                      call += " " + a.text;
                  calls.push_back(call);
                  if (during)
                      during();
              };
    }

    void Answer(const std::string& press)
    {
        DialogAnswer a;
        if (press == "close")
            a.kind = DialogAnswer::kClose;
        else
            a.press = press;
        Ui().dialogs.push_back(a);
    }

    std::string Mode()
    {
        CSafeBuf mode;
        Control()->GetMode(mode);
        return ToUtf8(mode);
    }

    std::string SourceText(bool markers = false)
    {
        CSafeBuf text;
        Control()->GetSourceText(text, markers);
        return ToUtf8(text);
    }

    void SetSourceText(const std::string& text)
    {
        CSafeBuf buffer(FromUtf8(text));
        Control()->SetSourceText(buffer);
    }

    std::string DocumentMarkup()
    {
        CSafeBuf out;
        Control()->m_pXHTML->GetSourceCode(out, 2 | 4);
        return ToUtf8(out);
    }

    bool Checked(int kind) { return Control()->ToolIsButtonChecked(kind, 0, true) != 0; }

    // The preview files of the temporary folder (it holds other files too).
    std::vector<std::string> TempFiles()
    {
        std::vector<std::string> previews;
        for (const std::string& f : qmtest::FilesIn(ToUtf8(GetUserTempFolder()))) {
            const std::string name = f.substr(f.rfind('/') + 1);
            if (name.rfind("Ie", 0) == 0 && name.size() > 5 && name.compare(name.size() - 5, 5, ".html") == 0)
                previews.push_back(f);
        }
        return previews;
    }

    // A file's UTF-16 text after its byte order mark; "(no mark)" without one.
    static std::string Utf16File(const std::string& path)
    {
        const std::string bytes = qmtest::ReadFile(path);
        if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF
            || static_cast<unsigned char>(bytes[1]) != 0xFE)
            return "(no mark)";
        CSafeBuf text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const unsigned short unit = static_cast<unsigned char>(bytes[i])
                | static_cast<unsigned short>(static_cast<unsigned char>(bytes[i + 1]) << 8);
            text.Insert(text.Length(), unit);
        }
        return ToUtf8(text);
    }

    // Shows a rendering with the window closed; the text of the file written.
    std::string Render(bool preview)
    {
        Answer("close");
        const auto before = TempFiles();
        if (preview)
            Control()->OnPreview();
        else
            Control()->OnBlind();
        const auto after = TempFiles();
        if (after.size() != before.size() + 1)
            return "(" + std::to_string(int(after.size()) - int(before.size())) + " new files)";
        for (const std::string& f : after)
            if (std::find(before.begin(), before.end(), f) == before.end())
                return Utf16File(f);
        return "(none)";
    }

    std::vector<std::string> calls;
    // What the page's function does when it is called.
    std::function<void()> during;
};

TEST_F(ControlViewsTest, ModeIsTrimmedAndLowerCasedAndSwitchesToTheSource)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p><p>two</p>"}});
    ASSERT_NE(nullptr, control);
    calls.clear();
    control->SetMode(qmtest::Wide("SOURCE "));
    EXPECT_EQ("source", ToUtf8(control->Mode));
    EXPECT_EQ(1, control->m_viewMode);
    EXPECT_EQ("source", Mode());
    EXPECT_EQ((std::vector<std::string>{"qmModeChanged ed1 wysiwyg source"}), calls);
    EXPECT_TRUE(Checked(25));
    EXPECT_FALSE(Checked(27));
    // The source view shows the markup, indented, with the caret's marker
    // where the caret was (the start of the first paragraph).
    EXPECT_NE(std::string::npos, SourceText().find("<p>one</p>"));
    // The source caret stands where the document's caret was: before "one".
    const std::string plain = SourceText();
    EXPECT_EQ(int(plain.find("one")), control->m_coloringEditor->Caret()) << plain;
    EXPECT_EQ(0, Ui().shown);

    // Set again, nothing happens; an unknown view is only stored.
    calls.clear();
    control->SetMode(qmtest::Wide("source"));
    control->SetMode(qmtest::Wide("elsewhere"));
    EXPECT_EQ(1, control->m_viewMode);
    EXPECT_EQ("elsewhere", ToUtf8(control->Mode));
    EXPECT_TRUE(calls.empty());
}

TEST_F(ControlViewsTest, ModeGivenAtStartBuildsTheSourceToolbar)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}, {"Mode", "Source"}});
    EXPECT_EQ(1, control->m_viewMode);
    EXPECT_EQ((std::vector<std::string>{"qmModeChanged ed1 wysiwyg source"}), calls);
    // The source view's Validate tool (kind 35) is on its toolbar.
    EXPECT_EQ(1, control->ToolIsButtonEnabled(35, 0, true));
    EXPECT_TRUE(Checked(25));
}

TEST_F(ControlViewsTest, TheSourceViewFollowsTheControlsFocus)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}, {"Mode", "source"}});
    auto send = [this](std::uint16_t what) {
        EventRecord e{what, 0, 0, {0, 0}, 0};
        return funcs.event(&npp, &e);
    };
    EXPECT_EQ(1, send(NPEventType_GetFocusEvent));
    EXPECT_TRUE(control->m_coloringEditor->HasFocus()) << "its caret shows";
    EXPECT_EQ(1, send(NPEventType_LoseFocusEvent));
    EXPECT_FALSE(control->m_coloringEditor->HasFocus());
}

TEST_F(ControlViewsTest, LeavingCleanSourceAsksNothingAndLoadsIt)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}});
    control->SetMode(qmtest::Wide("source"));
    SetSourceText("<p>changed</p>\n<p>two</p>");
    calls.clear();
    control->SetMode(qmtest::Wide("wysiwyg"));
    EXPECT_EQ(0, Ui().shown);
    EXPECT_EQ(0, control->m_viewMode);
    EXPECT_EQ("wysiwyg", Mode());
    EXPECT_TRUE(Checked(27));
    EXPECT_EQ((std::vector<std::string>{"qmModeChanged ed1 source wysiwyg"}), calls);
    EXPECT_EQ("<p>changed</p><p>two</p>", DocumentMarkup());
}

// A page function called by the switch finds the view it was told of in
// place: it reads that view's name and the document as the switch left it,
// what it inserts goes into that view, and asking for that view again does
// not switch a second time.
TEST_F(ControlViewsTest, APageFunctionCalledByASwitchFindsTheNewViewInPlace)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p><p>two</p>"}, {"IndentOutput", "Compact"}});
    control->InsertText(qmtest::Wide("A")); // the caret stands after "A"
    std::vector<std::string> seen;
    during = [this, &seen] {
        CSafeBuf value;
        Control()->GetValue1(value);
        seen.push_back(Mode() + " " + WithoutComment(ToUtf8(value)));
        Control()->SetMode(Control()->Mode);
    };
    calls.clear();
    control->SetMode(qmtest::Wide("source"));
    EXPECT_EQ((std::vector<std::string>{"qmModeChanged ed1 wysiwyg source"}), calls);
    control->SetMode(qmtest::Wide("wysiwyg"));
    EXPECT_EQ(
        (std::vector<std::string>{"qmModeChanged ed1 wysiwyg source", "qmModeChanged ed1 source wysiwyg"}),
        calls);
    EXPECT_EQ(
        (std::vector<std::string>{"source <p>Aone</p><p>two</p>", "wysiwyg <p>Aone</p><p>two</p>"}), seen);
    // Reading the value did not load the source text again: the caret is
    // where the source view had it, after "A".
    during = nullptr;
    control->InsertText(qmtest::Wide("C"));
    EXPECT_EQ("<p>ACone</p><p>two</p>", DocumentMarkup());

    // Markup inserted by the function on the way into the source view is in
    // the source text, and so in the document when the view is left.
    during = [this] { Control()->InsertXML(qmtest::Wide("<b>B</b>")); };
    control->SetMode(qmtest::Wide("source"));
    during = nullptr;
    EXPECT_NE(std::string::npos, SourceText().find("<b>B</b>")) << SourceText();
    control->SetMode(qmtest::Wide("wysiwyg"));
    EXPECT_NE(std::string::npos, DocumentMarkup().find("<b>B</b>")) << DocumentMarkup();

    // A function that asks for the other view gets it: the last switch stands.
    during = [this] {
        if (Control()->m_viewMode == 0)
            Control()->SetMode(qmtest::Wide("source"));
    };
    calls.clear();
    control->SetMode(qmtest::Wide("source"));
    control->SetMode(qmtest::Wide("wysiwyg"));
    during = nullptr;
    EXPECT_EQ(1, control->m_viewMode);
    EXPECT_EQ("source", Mode());
    EXPECT_EQ((std::vector<std::string>{"qmModeChanged ed1 wysiwyg source",
                  "qmModeChanged ed1 source wysiwyg", "qmModeChanged ed1 wysiwyg source"}),
        calls);
    EXPECT_TRUE(Checked(25));
    EXPECT_FALSE(Checked(27));
}

TEST_F(ControlViewsTest, ARefusedSwitchKeepsTheSourceButtonChecked)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>before</p>"}});
    control->SetMode(qmtest::Wide("source"));
    SetSourceText(kBroken);
    Answer("Edit");
    calls.clear();
    const int shown = Ui().shown;
    control->SetMode(qmtest::Wide("wysiwyg"));
    EXPECT_EQ(1, Ui().shown - shown);
    EXPECT_EQ(1, control->m_viewMode);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(Checked(25));
    EXPECT_FALSE(Checked(27));
}

// Leaving a source text that does not clean, by the answers given.
struct LeaveCase
{
    const char* name;
    const char* text;
    int options;
    std::vector<std::string> answers;
    std::vector<std::string> labels; // of the first question
    int result;                      // of SwitchFromSource
    const char* document;            // afterwards; null: as before the source view
};

const LeaveCase kLeaveCases[] = {
    {"EditStays", kBroken, 0, {"Edit"}, {"Fix", "Edit", "Discard"}, 1, nullptr},
    {"ClosedStays", kBroken, 0, {"close"}, {"Fix", "Edit", "Discard"}, 1, nullptr},
    {"FixRepairs", kBroken, 0, {"Fix"}, {"Fix", "Edit", "Discard"}, 0,
        "<p>one <strong>two</strong></p><p><strong>three</strong></p>"},
    {"Option2000CannotFix", kBroken, 0x2000, {"Edit"}, {"Edit", "Discard"}, 1, nullptr},
    // A "]]>" in a script's text ends the section the repair puts it in,
    // unless it is split over two.
    {"FixKeepsAScriptHoldingASectionEnd", "<p>one</p><script>var s = \"]]>\";</script>", 0, {"Fix"},
        {"Fix", "Edit", "Discard"}, 0, "<p>one</p><script><![CDATA[var s = \"]]]]><![CDATA[>\";]]></script>"},
    // Neither the text nor its repair loads: Discard keeps the document
    // from before the source view; Edit keeps the source view.
    {"FailedRepairThenDiscard", kHopeless, 0, {"Fix", "Discard"}, {"Fix", "Edit", "Discard"}, 0, nullptr},
    {"FailedRepairThenEdit", kHopeless, 0, {"Fix", "Edit"}, {"Fix", "Edit", "Discard"}, 1, nullptr},
    {"DiscardUnloadableKeepsTheDocument", kHopeless, 0, {"Discard"}, {"Fix", "Edit", "Discard"}, 0, nullptr},
};

TEST_F(ControlViewsTest, LeavingUncleanSourceAsksWithEditAsDefault)
{
    for (const LeaveCase& c : kLeaveCases) {
        SCOPED_TRACE(c.name);
        if (made) {
            EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&npp, nullptr));
            made = false;
        }
        Ui().shown = 0;
        CMorvaXEditorCtrl* control
            = Start({{"Value", "<p>before</p>"}, {"Options", std::to_string(c.options)}});
        control->SetMode(qmtest::Wide("source"));
        SetSourceText(c.text);
        for (const std::string& a : c.answers)
            Answer(a);
        const int firstShown = Ui().shown;
        EXPECT_EQ(c.result, control->SwitchFromSource(false));
        EXPECT_EQ(int(c.answers.size()), Ui().shown - firstShown);
        EXPECT_EQ("Edit", Ui().defaultLabel);
        if (c.answers.size() == 1) {
            EXPECT_EQ(c.labels, Ui().labels);
        }
        // Value holds the source text (or what it became) either way.
        if (c.result == 1) {
            EXPECT_EQ(c.text, ToUtf8(control->Value));
            EXPECT_TRUE(Checked(25));
            EXPECT_EQ(1, control->m_viewMode);
        }
        EXPECT_EQ(c.document ? c.document : "<p>before</p>", DocumentMarkup());
        EXPECT_TRUE(Ui().dialogs.empty());
    }
}

TEST_F(ControlViewsTest, PreviewWritesOneMarkedFileAndShowsItsAddress)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<h1>Title</h1><p>one &amp; two</p>"}});
    ASSERT_TRUE(TempFiles().empty());
    calls.clear();
    Answer("close");
    control->SetMode(qmtest::Wide("preview"));
    const auto files = TempFiles();
    ASSERT_EQ(1u, files.size());
    const std::string name = files[0].substr(files[0].rfind('/') + 1);
    EXPECT_EQ(0u, name.rfind("Ie", 0)) << name;
    EXPECT_EQ(".html", name.substr(name.size() - 5));
    const std::string page = Utf16File(files[0]);
    EXPECT_NE(std::string::npos, page.find("Title")) << page;
    EXPECT_NE(std::string::npos, page.find("one &amp; two")) << page;

    // The window showed the file and was titled by the preview button.
    EXPECT_EQ("preview", Ui().kind);
    EXPECT_EQ((std::vector<std::string>{"file://" + files[0]}), Ui().texts);
    EXPECT_FALSE(Ui().caption.empty());
    EXPECT_EQ(0, control->m_dialogOpen);

    // The view stays WYSIWYG with its button checked.
    EXPECT_EQ("wysiwyg", Mode());
    EXPECT_TRUE(Checked(27));
    EXPECT_FALSE(Checked(26));
    EXPECT_EQ((std::vector<std::string>{"qmModeChanged ed1 wysiwyg preview"}), calls);
}

TEST_F(ControlViewsTest, TwoPreviewsInOneSecondGetTwoFiles)
{
    qmtest::FixedLocalTime time({2026, 12, 8, 1, 2, 3});
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}});
    Render(true);
    Render(true);
    const auto files = TempFiles();
    ASSERT_EQ(2u, files.size());
    for (const std::string& f : files)
        EXPECT_NE(std::string::npos, f.find("20261208010203")) << f;
    (void)control;
}

TEST_F(ControlViewsTest, APreviewNeverWritesOverATakenName)
{
    qmtest::FixedLocalTime time({2026, 12, 8, 1, 2, 3});
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}});
    // Every name this second could give is taken.
    const std::string folder = ToUtf8(GetUserTempFolder());
    const unsigned engine = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(control->m_pXHTML));
    for (int r = 0; r < 1000; ++r) {
        char name[96];
        std::snprintf(name, sizeof name, "/Ie%08X20261208010203%d%lu.html", engine, r, GetCurrentThreadId());
        ASSERT_TRUE(qmtest::WriteFile(folder + name, "taken"));
    }
    Answer("close");
    CSafeBuf page(FromUtf8("<p>new</p>"));
    control->DisplayPreview(page, 26);
    EXPECT_EQ(1000u, TempFiles().size());
    for (const std::string& f : TempFiles())
        ASSERT_EQ("taken", qmtest::ReadFile(f)) << f;
    // The window opened empty.
    EXPECT_EQ("preview", Ui().kind);
    EXPECT_TRUE(Ui().texts.empty());
    EXPECT_TRUE(control->m_lastPreviewFile.IsEmpty());
}

TEST_F(ControlViewsTest, TheScreenReaderReadsTheDocumentInOrder)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<h2>Head</h2><ul><li>a</li><li>b</li></ul>"}});
    calls.clear();
    const std::string page = Render(false);
    EXPECT_NE(std::string::npos, page.find("[Heading level 2] Head")) << page;
    EXPECT_NE(std::string::npos, page.find("2. b")) << page;
    EXPECT_EQ((std::vector<std::string>{"qmModeChanged ed1 wysiwyg screen-reader"}), calls);
    EXPECT_EQ("wysiwyg", Mode());
    (void)control;
}

TEST_F(ControlViewsTest, AnUnreachableScreenReaderSheetShowsTheFailure)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}});
    const std::string missing = home.Path() + "/missing.xsl";
    control->SetScreenReaderXSLT(FromUtf8(missing));
    EXPECT_EQ(1, control->m_screenReaderXSLTFailed);
    EXPECT_EQ("Can not load XSLT document " + missing, Render(false));
    // The built-in sheet back clears the failure.
    control->SetScreenReaderXSLT(FromUtf8("  "));
    EXPECT_EQ(0, control->m_screenReaderXSLTFailed);
    EXPECT_NE(std::string::npos, Render(false).find("one"));
}

TEST_F(ControlViewsTest, AnEmptyPreviewSheetBringsTheBuiltInOneBack)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}});
    CSafeBuf builtIn;
    ASSERT_TRUE(SaveResourceToBuffer("preview.xsl", &builtIn));
    EXPECT_EQ(ToUtf8(builtIn), ToUtf8(control->m_previewXSLTText));

    const std::string inline_
        = "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
          "<xsl:template match=\"/\"><html><body>inline sheet</body></html></xsl:template>"
          "</xsl:stylesheet>";
    control->SetPreviewXSLT(FromUtf8(" " + inline_ + " "));
    CSafeBuf read;
    control->GetPreviewXSLT(read);
    EXPECT_EQ(inline_, ToUtf8(read));
    EXPECT_NE(std::string::npos, Render(true).find("inline sheet"));

    control->SetPreviewXSLT(FromUtf8(""));
    EXPECT_EQ(ToUtf8(builtIn), ToUtf8(control->m_previewXSLTText));
    control->GetPreviewXSLT(read);
    EXPECT_EQ(ToUtf8(builtIn), ToUtf8(read));
}

TEST_F(ControlViewsTest, NamedSheetsReadBackAsTheirSettingOffThePageOrigin)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}});
    // A local file is used but reads back as its name.
    const std::string local = home.Path() + "/sheet.xsl";
    const std::string sheet
        = "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
          "<xsl:template match=\"/\"><html><body>local sheet</body></html></xsl:template>"
          "</xsl:stylesheet>";
    ASSERT_TRUE(qmtest::WriteFile(local, sheet));
    control->SetPreviewXSLT(FromUtf8(local));
    EXPECT_EQ(sheet, ToUtf8(control->m_previewXSLTText));
    unsigned short* read = control->GetPreviewXSLT();
    EXPECT_EQ(local, ToUtf8(read));
    delete[] read;

    // An address of another origin reads back as the address.
    qmtest::OfflineNetwork offline;
    control->m_pageAddress = FromUtf8("http://page.example/edit.html");
    control->SetScreenReaderXSLT(FromUtf8("http://other.example/sr.xsl"));
    CSafeBuf out;
    control->GetScreenReaderXSLT(out);
    EXPECT_EQ("http://other.example/sr.xsl", ToUtf8(out));
}

// Inline preview sheets that try to read a local file.
struct ReadingSheet
{
    const char* name;
    const char* sheet; // SECRET stands for the secret file's path
};

const ReadingSheet kReadingSheets[] = {
    {"document",
        "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
        "<xsl:template match=\"/\"><html><body><xsl:copy-of select=\"document('SECRET')\"/>"
        "</body></html></xsl:template></xsl:stylesheet>"},
    {"import",
        "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
        "<xsl:import href=\"SECRET\"/>"
        "<xsl:template match=\"/\"><html><body>x</body></html></xsl:template></xsl:stylesheet>"},
    {"entity",
        "<!DOCTYPE xsl:stylesheet [<!ENTITY s SYSTEM \"SECRET\">]>"
        "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
        "<xsl:template match=\"/\"><html><body>&s;</body></html></xsl:template></xsl:stylesheet>"},
};

TEST_F(ControlViewsTest, AnInlinePreviewSheetReadsNoLocalFile)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}});
    const std::string secret = home.Path() + "/secret.xml";
    ASSERT_TRUE(qmtest::WriteFile(secret, "<secret>TOP-SECRET-TEXT</secret>"));
    for (const ReadingSheet& s : kReadingSheets) {
        SCOPED_TRACE(s.name);
        std::string sheet = s.sheet;
        sheet.replace(sheet.find("SECRET"), 6, secret);
        control->SetPreviewXSLT(FromUtf8(sheet));
        const std::string page = Render(true);
        EXPECT_EQ(std::string::npos, page.find("TOP-SECRET-TEXT")) << page;
        EXPECT_EQ(std::string::npos, page.find(" new files)")) << "one preview written";
    }
}

} // namespace
