// The document's value exchanged with the page, on a control started in the
// test host: the value replaced (with the question about markup that does
// not load), repaired without touching the document, markup and text
// inserted, attributes set, the selection and tag-list views, and the
// page's context-menu entries.

#include "plugin/EntryPoints.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/Plugin.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "host/Host.h"
#include "platform/events/Services.h"
#include "platform/input/KeyLayout.h"
#include "platform/net/Http.h"
#include "platform/qd/Port.h"
#include "style/sheets/StyleClass.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace qm::host;
using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

const char kBefore[] = "<p>before</p>";
// The output mode of the preview's page.
constexpr int kPreviewPage = 17474;

class ControlExchangeTest : public qmtest::ControlInstanceTest
{
protected:
    ControlExchangeTest() : ControlInstanceTest("exchange-home-") { }

    void PrepareHost() override
    {
        host->GetBrowser().Window().functions = {"qmContentChanged", "qmContextMenuClicked"};
        host->GetBrowser().Window().onCall
            = [this](const std::string& name, const std::vector<ScriptValue>& a) {
                  calls.push_back(name);
                  if (a.size() > 1 && a[1].type == NPVariantType_String)
                      callTexts.push_back(a[1].text);
                  if (onCall)
                      onCall(name);
              };
    }

    CXDoc& Doc() { return Control()->m_pXHTML->m_doc; }

    void Answer(const std::string& press)
    {
        if (press == "close") {
            DialogAnswer a;
            a.kind = DialogAnswer::kClose;
            Ui().dialogs.push_back(a);
        } else if (!press.empty()) {
            DialogAnswer a;
            a.press = press;
            Ui().dialogs.push_back(a);
        }
    }

    std::string SourceText()
    {
        CSafeBuf text;
        Control()->GetSourceText(text, false);
        return ToUtf8(text);
    }

    std::string DocumentMarkup()
    {
        CSafeBuf out;
        Control()->m_pXHTML->GetSourceCode(out, 2);
        return ShownReturns(WithoutComment(ToUtf8(out)));
    }

    // A carriage return is shown as \r: the case files keep plain line ends.
    static std::string ShownReturns(std::string markup)
    {
        for (std::size_t at = markup.find('\r'); at != std::string::npos; at = markup.find('\r', at))
            markup.replace(at, 1, "\\r");
        return markup;
    }

    // One mouse event at a point of the plug-in's area, as the browser sends it.
    void Mouse(std::uint16_t what, int h, int v)
    {
        int gh = 0, gv = 0;
        host->Window().ToScreen(h, v, gh, gv);
        auto& input = qm::events::Services::Get().Input();
        if (what == mouseDown)
            input.buttons |= qm::events::kButtonPrimary;
        if (what == mouseUp)
            input.buttons &= ~qm::events::kButtonPrimary;
        input.mouseH = gh;
        input.mouseV = gv;
        EventRecord e{what, 0, 0, {static_cast<std::int16_t>(gv), static_cast<std::int16_t>(gh)}, 0};
        funcs.event(&npp, &e);
    }

    // A forward Delete typed through the host: an edit of the document.
    void Delete()
    {
        EventRecord focus{NPEventType_GetFocusEvent, 0, 0, {0, 0}, 0};
        funcs.event(&npp, &focus);
        EventRecord e{keyDown, std::uint32_t(qm::input::kVK_ForwardDelete) << 8 | 127, 0, {0, 0}, 0};
        EXPECT_EQ(1, funcs.event(&npp, &e));
    }

    int Count(const std::string& call) const
    {
        int n = 0;
        for (const std::string& c : calls)
            n += c == call ? 1 : 0;
        return n;
    }

    std::vector<std::string> calls;
    std::vector<std::string> callTexts;
    std::function<void(const std::string&)> onCall;
};

// Options of a case: "name=value" words.
std::string Option(const qmtest::CaseBlock& c, const std::string& name)
{
    for (const std::string& o : c.options) {
        if (o.compare(0, name.size() + 1, name + "=") == 0)
            return o.substr(name.size() + 1);
    }
    return "";
}

std::string Joined(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& i : items)
        out += (out.empty() ? "" : " | ") + i;
    return out;
}

// SetValue on a control holding kBefore: what the user was asked, the view
// the source button shows, the source view's text, the document and Value.
TEST_F(ControlExchangeTest, SetValueByWhatTheUserAnswers)
{
    qmtest::CaseBlockFile file("plugin/exchange_set_value.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.header);
        if (made) {
            EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&npp, nullptr));
            npp = NPP_t{};
        }
        const std::string options = Option(c, "options");
        CMorvaXEditorCtrl* control
            = Start({{"Value", kBefore}, {"Options", options.empty() ? "0" : options}});
        ASSERT_NE(nullptr, control);
        Ui().shown = 0;
        Ui().caption.clear();
        Ui().texts.clear();
        Ui().labels.clear();
        Ui().defaultLabel.clear();
        Answer(Option(c, "answer"));
        // nest=N: the input inside N span start tags, nested deeper than a
        // repair takes; they are written "<span>*N" in the output.
        const std::string nest = Option(c, "nest");
        std::string spans;
        for (int i = nest.empty() ? 0 : std::stoi(nest); i > 0; --i)
            spans += "<span>";
        control->SetValue(FromUtf8(spans + c.input));
        std::string out;
        if (Ui().shown) {
            out += "shown " + std::to_string(Ui().shown) + ": " + Ui().caption + " | " + Joined(Ui().texts)
                + "\n";
            out += "buttons " + Joined(Ui().labels) + ", default " + Ui().defaultLabel + "\n";
        }
        Ui().failures.clear();
        out += std::string("source button ") + (control->ToolIsButtonChecked(25, 0, true) ? "on" : "off")
            + "\n";
        std::string source = WithoutComment(SourceText());
        source.erase(std::remove(source.begin(), source.end(), '\r'), source.end());
        if (!source.empty() && source[0] == '\n')
            source.erase(0, 1);
        out += "source: " + source + "\n";
        out += "document: " + DocumentMarkup() + "\n";
        out += "value: " + ShownReturns(ToUtf8(control->Value)) + "\n";
        out += "undo " + std::to_string(Doc().m_undoList.GetCount()) + ", redo "
            + std::to_string(Doc().m_redoList.GetCount());
        for (auto at = spans.empty() ? std::string::npos : out.find(spans); at != std::string::npos;
             at = out.find(spans, at))
            out.replace(at, spans.size(), "<span>*" + nest);
        file.Check(c, out);
    }
}

TEST_F(ControlExchangeTest, AfterSetValueOnlyTheFirstRealEditIsReported)
{
    CMorvaXEditorCtrl* control = Start({{"Value", kBefore}});
    ASSERT_NE(nullptr, control);
    Delete(); // an undo step before the value is replaced
    control->SetValue(FromUtf8("<p>new text</p>"));
    EXPECT_EQ(0, Doc().m_undoList.GetCount());
    EXPECT_EQ(0, Doc().m_redoList.GetCount());

    // Undo with nothing to undo changes nothing: no report.
    control->m_pXHTML->OnUndo();
    EXPECT_EQ(0, Count("qmContentChanged"));

    // The page's handler reads the new markup.
    std::vector<std::string> seen;
    onCall = [&](const std::string& name) {
        if (name == "qmContentChanged")
            seen.push_back(FormValue());
    };
    Delete();
    Delete();
    EXPECT_EQ(1, Count("qmContentChanged"));
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("<p>ew text</p>", seen[0]);
    EXPECT_EQ("<p>w text</p>", FormValue());

    // Replaced again, the next edit is news again.
    control->SetValue(FromUtf8("<p>again</p>"));
    Delete();
    EXPECT_EQ(2, Count("qmContentChanged"));
}

TEST_F(ControlExchangeTest, ValueReadTwiceIsTheSame)
{
    CMorvaXEditorCtrl* control
        = Start({{"Value", "<p>one</p><ul><li>two</li></ul>"}, {"IndentOutput", "Friendly"}});
    ASSERT_NE(nullptr, control);
    const std::string first = FormValue();
    EXPECT_EQ(first, FormValue());
    control->SetValue(FromUtf8("<div><p>x</p></div>"));
    CSafeBuf a, b;
    control->GetValue1(a);
    control->GetValue1(b);
    EXPECT_EQ(ToUtf8(a), ToUtf8(b));
}

TEST_F(ControlExchangeTest, SetValueRemakesTheRenderingOnShow)
{
    // The rendering itself is the views' work; here only that the value
    // leaves the view as it was.
    CMorvaXEditorCtrl* control = Start({{"Value", kBefore}});
    ASSERT_NE(nullptr, control);
    control->m_viewMode = 2;
    control->SetValue(FromUtf8("<p>shown</p>"));
    EXPECT_EQ(2, control->m_viewMode);
    EXPECT_EQ("<p>shown</p>", DocumentMarkup());
    control->m_viewMode = 0;
}

// Fix: markup in, the repaired markup (or nothing) out.
TEST(ControlFixTest, RepairsOrGivesNothing)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("fix-home-")));
    CMorvaXEditorCtrl control;
    qmtest::CaseBlockFile file("plugin/exchange_fix.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        SCOPED_TRACE(c.header);
        CSafeBuf out;
        control.Fix(FromUtf8(c.input), out);
        // Line ends written visibly: the file's own CRs would be dropped.
        std::string shown;
        for (const char ch : ToUtf8(out))
            shown += ch == '\r' ? std::string("\\r") : ch == '\n' ? std::string("\\n") : std::string(1, ch);
        file.Check(c, shown);
        if (!out.IsEmpty()) {
            EXPECT_TRUE(control.ValidateXMLValue(out, false));
        }
    }
}

TEST(ControlFixTest, WithoutAnEngineATemporaryOneRepairs)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("fix-home-")));
    CMorvaXEditorCtrl control;
    CSafeBuf withEngine;
    control.Fix(FromUtf8("<p><b>x</p>"), withEngine);
    delete control.m_pXHTML;
    control.m_pXHTML = nullptr;
    CSafeBuf without;
    control.Fix(FromUtf8("<p><b>x</p>"), without);
    EXPECT_EQ(ToUtf8(withEngine), ToUtf8(without));
    EXPECT_FALSE(without.IsEmpty());
    unsigned short* copy = control.Fix(FromUtf8("<?xml v"));
    EXPECT_EQ(nullptr, copy) << "nothing that is not well-formed";
    delete[] copy;
}

TEST(ControlValueBeforeStartTest, MarkupThatDoesNotCleanIsKeptForTheStart)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("early-home-")));
    CMorvaXEditorCtrl control;
    // The start asks about this text, so it must still be the page's.
    control.SetValue(FromUtf8("<p>one <b>two</p>"));
    EXPECT_EQ("<p>one <b>two</p>", ToUtf8(control.Value));
    control.SetValue(FromUtf8("<p>fine</p>"));
    CSafeBuf loaded;
    control.m_pXHTML->GetSourceCode(loaded, 2);
    EXPECT_NE(std::string::npos, ToUtf8(loaded).find("<p>fine</p>"));
    EXPECT_EQ(0, control.m_created);
    // Not ready: the other operations leave the document alone.
    control.InsertXML(FromUtf8("<b>x</b>"));
    control.SetAttribute(FromUtf8("/body[1]"), FromUtf8("class"), FromUtf8("k"));
    CSafeBuf out;
    control.GetSelectedXML(out);
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(ControlExchangeTest, InsertXMLInTheSourceViewGoesInVerbatim)
{
    CMorvaXEditorCtrl* control = Start({{"Value", kBefore}});
    ASSERT_NE(nullptr, control);
    control->m_viewMode = 1;
    CSafeBuf text = FromUtf8("<p>a</p>");
    control->SetSourceText(text);
    const std::string document = DocumentMarkup();
    control->InsertXML(FromUtf8("<b>x  &nbsp;</b><i>"));
    control->InsertText(FromUtf8("t"));
    EXPECT_EQ("<b>x  &nbsp;</b><i>t<p>a</p>", SourceText());
    EXPECT_EQ(document, DocumentMarkup()) << "the WYSIWYG document is not touched";
    // The renderings take nothing.
    control->m_viewMode = 2;
    control->InsertXML(FromUtf8("<b>y</b>"));
    control->InsertText(FromUtf8("y"));
    EXPECT_EQ("<b>x  &nbsp;</b><i>t<p>a</p>", SourceText());
    EXPECT_EQ(document, DocumentMarkup());
    control->m_viewMode = 0;
}

TEST_F(ControlExchangeTest, InsertXMLAddsAnUndoStepAndTheMarkup)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>ab</p>"}});
    ASSERT_NE(nullptr, control);
    const int undo = Doc().m_undoList.GetCount();
    control->InsertXML(nullptr);
    EXPECT_EQ("<p>ab</p>", DocumentMarkup());
    control->InsertXML(FromUtf8("<b>x</b>"));
    if (DocumentMarkup() == "<p>ab</p>")
        GTEST_SKIP() << "markup insertion is not built on this branch";
    EXPECT_NE(std::string::npos, DocumentMarkup().find("<b>x</b>"));
    EXPECT_EQ(undo + 1, Doc().m_undoList.GetCount());
}

// Every style element of a loaded head applies, in document order: a later
// one styles what the first leaves alone and wins a tie with it. Each is
// written back where it stood.
TEST_F(ControlExchangeTest, EveryStyleElementOfTheHeadApplies)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>ab</p>"}});
    ASSERT_NE(nullptr, control);
    const std::string value = "<html><head><style>p{color:red}</style><style>h1{color:blue}</style>"
                              "<style>p{color:green}</style></head><body><h1>a</h1><p>b</p></body></html>";
    control->SetValue(FromUtf8(value));
    CElement* h1 = Doc().m_root ? Doc().m_root->m_firstChild : nullptr;
    ASSERT_NE(nullptr, h1);
    ASSERT_NE(nullptr, h1->m_nextSibling);
    EXPECT_EQ(0xFF0000, h1->Style().color);
    EXPECT_EQ(0x008000, h1->m_nextSibling->Style().color);
    EXPECT_EQ("\\r\n" + value, DocumentMarkup());
}

// A style element for print or another medium than the screen is kept in
// the head word for word, loaded or inserted, but its rules never style what
// the editor shows; "all" and "screen" in a media list apply as no media does.
TEST_F(ControlExchangeTest, StyleElementsForOtherMediaAreKeptButNeverApply)
{
    const struct
    {
        const char* value;
        std::int32_t color; // the paragraph's
    } cases[] = {
        {"<html><head><style media=\"print\">p{color:red}</style></head><body><p>b</p></body></html>", 0},
        {"<html><head><style>p{color:red}</style><style media=\"print\">p{color:blue}</style></head>"
         "<body><p>b</p></body></html>",
            0x0000FF},
        {"<html><head><style media=\"aural\">p{color:blue}</style><style media=\"handheld\">p{color:blue}"
         "</style><style>p{color:red}</style></head><body><p>b</p></body></html>",
            0x0000FF},
        {"<html><head><style>p{color:blue}</style><style media=\"print, Screen\">p{color:red}</style></head>"
         "<body><p>b</p></body></html>",
            0x0000FF},
        {"<html><head><style media=\"all\">p{color:red}</style></head><body><p>b</p></body></html>",
            0x0000FF},
    };
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>ab</p>"}});
    ASSERT_NE(nullptr, control);
    for (const auto& c : cases) {
        control->SetValue(FromUtf8(c.value));
        CElement* p = Doc().m_root ? Doc().m_root->m_firstChild : nullptr;
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(c.color, p->Style().color) << c.value;
        EXPECT_EQ(std::string("\\r\n") + c.value, DocumentMarkup());
    }
    // Inserted: kept in the head after what it holds, and undone with the
    // content.
    control->SetValue(FromUtf8("<p>ab</p>"));
    const std::string before = DocumentMarkup();
    control->InsertXML(FromUtf8("<style media=\"print\">p{color:red}</style><p>new</p>"));
    EXPECT_EQ("\\r\n<html><head><style media=\"print\">p{color:red}</style></head><body><p>new</p><p>ab</p>"
              "</body></html>",
        DocumentMarkup());
    ASSERT_NE(nullptr, Doc().m_root->m_firstChild);
    EXPECT_EQ(0, Doc().m_root->m_firstChild->Style().color);
    // A style element for the screen inserted after it is the sheet, and
    // stays after it.
    control->InsertXML(FromUtf8("<style>p{color:blue}</style>"));
    EXPECT_EQ(
        "\\r\n<html><head><style media=\"print\">p{color:red}</style><style>p{color:blue}</style></head>"
        "<body><p>new</p><p>ab</p></body></html>",
        DocumentMarkup());
    EXPECT_EQ(0xFF0000, Doc().m_root->m_firstChild->Style().color);
    control->m_pXHTML->OnUndo();
    control->m_pXHTML->OnUndo();
    EXPECT_EQ(before, DocumentMarkup());
}

// A new control sheet set by page script goes before the document's own
// rules, as at load: the head's rules still win ties and style what the
// sheet leaves alone, and the value keeps every style element as it came.
TEST_F(ControlExchangeTest, ANewControlSheetKeepsTheDocumentsOwnRulesAfterIt)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>ab</p>"}});
    ASSERT_NE(nullptr, control);
    const std::string value = "<html><head><style>p{color:red}</style><style media=\"print\">h1{color:red}"
                              "</style><style>h1{color:blue}</style></head><body><h1>a</h1><p>b<em>c</em></p>"
                              "</body></html>";
    control->SetValue(FromUtf8(value));
    control->SetCSS(FromUtf8("p{color:green} em{color:green} h1{color:green}"));
    CElement* h1 = Doc().m_root ? Doc().m_root->m_firstChild : nullptr;
    ASSERT_NE(nullptr, h1);
    CElement* p = h1->m_nextSibling;
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(0xFF0000, h1->Style().color);
    EXPECT_EQ(0x0000FF, p->Style().color);
    CElement* em = p->m_firstChild;
    while (em && ToUtf8(em->GetTagName()) != "em")
        em = em->m_nextSibling;
    ASSERT_NE(nullptr, em);
    EXPECT_EQ(0x008000, em->Style().color) << "the control's rule styles the emphasis";
    const auto selectors = [this]() {
        std::string out;
        for (const STYLE_CLASS* r = Doc().m_workingRules; r; r = r->next)
            out += ToUtf8(r->selectorText) + " ";
        return out;
    };
    EXPECT_EQ("p em h1 p h1 ", selectors());
    EXPECT_EQ("\\r\n" + value, DocumentMarkup());
    // A second sheet replaces the first; the document's rules are there once.
    control->SetCSS(FromUtf8("em{color:blue}"));
    EXPECT_EQ("em p h1 ", selectors());
    EXPECT_EQ("\\r\n" + value, DocumentMarkup());
}

// A style element in inserted markup goes into the head, where a loaded
// document keeps its style elements: read as content, its rules would show
// as text. The first one the document holds is its sheet; each applies, as
// it does when the document is read again. Undo takes the head back with the
// content.
TEST_F(ControlExchangeTest, InsertXMLKeepsStyleElementsInTheHead)
{
    const struct
    {
        const char* value;
        const char* inserted;
        const char* expected;
    } cases[] = {
        {"<p>ab</p>", "<style>p.x{color:red}</style><p class=\"x\">new</p>",
            "\\r\n<html><head><style>p.x{color:red}</style></head><body><p "
            "class=\"x\">new</p><p>ab</p></body></html>"},
        {"<p>ab</p>", "<p class=\"x\">new<style type=\"text/css\"><!-- p.x{color:red} --></style> words</p>",
            "\\r\n<html><head><style type=\"text/css\"><!-- p.x{color:red} --></style></head><body><p "
            "class=\"x\">new words</p><p>ab</p></body></html>"},
        {"<html><head><title>T</title><style>p{margin:0}</style></head><body><p>ab</p></body></html>",
            "<style>p.x{color:red}</style><p class=\"x\">new</p>",
            "\\r\n<html><head><title>T</title><style>p{margin:0}</style><style>p.x{color:red}</style></"
            "head><body><p "
            "class=\"x\">new</p><p>ab</p></body></html>"},
    };
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>ab</p>"}});
    ASSERT_NE(nullptr, control);
    for (const auto& c : cases) {
        control->SetValue(FromUtf8(c.value));
        const std::string before = DocumentMarkup();
        control->InsertXML(FromUtf8(c.inserted));
        EXPECT_EQ(c.expected, DocumentMarkup()) << c.inserted;
        // The rule applies, the document's first sheet or not.
        CElement* p = Doc().m_root ? Doc().m_root->m_firstChild : nullptr;
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(0x0000FF, p->Style().color) << c.inserted;
        // The preview's page writes the working rules in its head: the
        // inserted element gives way to them, so its rule is there once.
        CSafeBuf page;
        Doc().GetSourceCode(page, kPreviewPage, true);
        const std::string written = ToUtf8(page);
        const size_t first = written.find("p.x");
        EXPECT_NE(std::string::npos, first) << written;
        EXPECT_EQ(std::string::npos, written.find("p.x", first + 1)) << written;
        control->m_pXHTML->OnUndo();
        EXPECT_EQ(before, DocumentMarkup()) << c.inserted;
    }
}

// Counts the requests that reach the network; every one fails.
class CountingNetwork : public qm::net::NetworkDriver
{
public:
    CountingNetwork() : m_previous(qm::events::Services::Get().Network())
    {
        qm::events::Services::Get().SetNetwork(this);
    }
    ~CountingNetwork() override { qm::events::Services::Get().SetNetwork(m_previous); }
    qm::net::HttpResponse Send(const qm::net::HttpRequest&) override
    {
        ++sent;
        return {};
    }
    int sent = 0;

private:
    qm::net::NetworkDriver* m_previous;
};

TEST_F(ControlExchangeTest, InsertXMLOfALocalPictureUploadsNothing)
{
    CMorvaXEditorCtrl* control
        = Start({{"Value", "<p>ab</p>"}, {"ImageLibraryURL", "http://127.0.0.1:9/library"}});
    ASSERT_NE(nullptr, control);
    CountingNetwork network;
    control->InsertXML(FromUtf8("<img src=\"file://localhost/tmp/none.png\" alt=\"x\" />"));
    if (DocumentMarkup().find("<img") == std::string::npos)
        GTEST_SKIP() << "markup insertion is not built on this branch";
    EXPECT_EQ(0, network.sent);
}

TEST_F(ControlExchangeTest, SetAttributeOnAnIndexedPath)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p><p>two</p>"}});
    ASSERT_NE(nullptr, control);
    const std::string before = FormValue();
    // A missing argument or a position below 1 changes nothing.
    control->SetAttribute(nullptr, FromUtf8("class"), FromUtf8("k"));
    control->SetAttribute(FromUtf8("/body[1]/p[2]"), nullptr, FromUtf8("k"));
    control->SetAttribute(FromUtf8("/body[1]/p[2]"), FromUtf8("class"), nullptr);
    control->SetAttribute(FromUtf8("/body[1]/p[0]"), FromUtf8("class"), FromUtf8("k"));
    control->SetAttribute(FromUtf8("/body[1]/p[3]"), FromUtf8("class"), FromUtf8("k"));
    control->RemoveAttribute(FromUtf8("/body[1]/p[1]"), nullptr);
    EXPECT_EQ(before, FormValue());
    EXPECT_EQ(0, Count("qmContentChanged"));

    if (!Doc().FindElementByQPath(FromUtf8("/body[1]")))
        GTEST_SKIP() << "the path lookup is not built on this branch";
    control->SetAttribute(FromUtf8("/body[1]/p[2]"), FromUtf8("class"), FromUtf8("k"));
    EXPECT_EQ("<p>one</p><p class=\"k\">two</p>", FormValue());
    control->RemoveAttribute(FromUtf8("/body[1]/p[2]"), FromUtf8("class"));
    EXPECT_EQ("<p>one</p><p>two</p>", FormValue());
}

TEST_F(ControlExchangeTest, SelectionViewsAnswerOnlyInTheWysiwygView)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<div><p>one <b>two</b></p><p>three</p></div>"}});
    ASSERT_NE(nullptr, control);
    CSafeBuf xml, text;
    control->GetSelectedXML(xml);
    control->GetSelectedText(text);
    EXPECT_EQ("", ToUtf8(xml)) << "nothing selected";
    EXPECT_EQ("", ToUtf8(text));

    control->m_pXHTML->SelectAll();
    control->GetSelectedXML(xml);
    control->GetSelectedText(text);
    EXPECT_EQ("<p>one <b>two</b></p><p>three</p>", ToUtf8(xml));
    EXPECT_EQ("one two\r\n\r\nthree\r\n\r\n", ToUtf8(text));

    control->m_viewMode = 1;
    CSafeBuf views[6];
    control->GetSelectedXML(views[0]);
    control->GetSelectedText(views[1]);
    control->GetTagList(views[2]);
    control->GetTagListXML(views[3]);
    control->GetPath(views[4]);
    control->GetQPath(views[5]);
    for (const CSafeBuf& v : views)
        EXPECT_TRUE(v.IsEmpty()) << ToUtf8(v);
    control->m_viewMode = 0;
}

TEST_F(ControlExchangeTest, SelectionViewsAfterAMouseDrag)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<div><p>first line</p><p>second line</p></div>"}});
    ASSERT_NE(nullptr, control);
    // From inside the first paragraph to inside the second (the body's
    // margin is 12 pixels; each line about 18).
    const int top = control->m_toolbarHeight + 1 + 12;
    Mouse(mouseDown, 1 + 12 + 20, top + 8);
    Mouse(nullEvent, 1 + 12 + 40, top + 8 + 34);
    Mouse(mouseUp, 1 + 12 + 40, top + 8 + 34);
    CSafeBuf xml, text;
    control->GetSelectedXML(xml);
    control->GetSelectedText(text);
    EXPECT_NE(std::string::npos, ToUtf8(xml).find(" line</p><p>second")) << ToUtf8(xml);
    EXPECT_NE(std::string::npos, ToUtf8(text).find(" line\r\n\r\nsecond")) << ToUtf8(text);

    CSafeBuf list, path, qpath;
    control->GetTagList(list);
    control->GetPath(path);
    control->GetQPath(qpath);
    if (qpath.IsEmpty())
        GTEST_SKIP() << "the engine's tag list is not built on this branch";
    EXPECT_EQ("body,div", ToUtf8(list));
    EXPECT_EQ("/body/div", ToUtf8(path));
    EXPECT_EQ("/body[1]/div[1]", ToUtf8(qpath));
}

TEST_F(ControlExchangeTest, TagListXMLOfALinkIsXML)
{
    CMorvaXEditorCtrl* control
        = Start({{"Value", "<p><a href=\"x?a=1&amp;b=2\">l" + std::string(kCaretMarker) + "ink</a></p>"}});
    ASSERT_NE(nullptr, control);
    CSafeBuf xml;
    control->GetTagListXML(xml);
    if (xml.IsEmpty())
        GTEST_SKIP() << "the engine's tag list is not built on this branch";
    EXPECT_TRUE(control->ValidateXMLValue(xml, false)) << ToUtf8(xml);
    EXPECT_NE(std::string::npos, ToUtf8(xml).find("x?a=1&amp;b=2")) << ToUtf8(xml);
}

TEST_F(ControlExchangeTest, EditorValueWithMarkers)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}});
    ASSERT_NE(nullptr, control);
    CSafeBuf plain, marked;
    control->GetEditorValue(plain, 0);
    EXPECT_EQ(ToUtf8(control->Value), ToUtf8(plain));
    control->GetEditorValue(marked, 1);
    EXPECT_NE(ToUtf8(plain), ToUtf8(marked)) << "the caret's marker is in it";
    control->m_viewMode = 1;
    CSafeBuf source = FromUtf8("<p>typed</p>");
    control->SetSourceText(source);
    control->GetEditorValue(marked, 1);
    EXPECT_NE(std::string::npos, ToUtf8(marked).find("typed"));
    control->m_viewMode = 0;
}

TEST_F(ControlExchangeTest, ContextMenuEntriesCountFrom38000)
{
    CMorvaXEditorCtrl* control = Start({{"Value", kBefore}});
    ASSERT_NE(nullptr, control);
    auto ids = [control] {
        std::vector<unsigned> out;
        for (const CONTEXT_MENU_ENTRY* e = control->PageMenuEntries(); e; e = e->next)
            out.push_back(e->id);
        return out;
    };
    control->AddToContextMenu(FromUtf8("a"), FromUtf8("A"), nullptr);
    control->AddToContextMenu(FromUtf8(""), FromUtf8("none"), nullptr);
    control->AddToContextMenu(nullptr, FromUtf8("none"), nullptr);
    control->AddToContextMenu(FromUtf8("no label"), nullptr, nullptr);
    control->AddToContextMenu(FromUtf8("b"), FromUtf8("B"), FromUtf8("third"));
    control->AddToContextMenu(FromUtf8("c"), FromUtf8(""), nullptr);
    EXPECT_EQ((std::vector<unsigned>{38000, 38001, 38002}), ids());
    EXPECT_EQ("third", ToUtf8(control->PageMenuEntries()->next->third));

    // Choosing one tells the page its name.
    control->m_pXHTML->PostMessage(1, 38001, 0);
    EXPECT_EQ((std::vector<std::string>{"qmContextMenuClicked"}), calls);
    EXPECT_EQ((std::vector<std::string>{"b"}), callTexts);

    control->ClearContextMenu();
    EXPECT_EQ(std::vector<unsigned>(), ids());
    control->AddToContextMenu(FromUtf8("d"), FromUtf8("D"), nullptr);
    EXPECT_EQ((std::vector<unsigned>{38000}), ids());
}

TEST_F(ControlExchangeTest, LongContextMenuTextsAreCutAt99Units)
{
    CMorvaXEditorCtrl* control = Start({{"Value", kBefore}});
    ASSERT_NE(nullptr, control);
    const std::string long150(150, 'n');
    // 98 letters and then a character outside the basic plane: the pair
    // does not fit in 99 units and goes whole.
    const std::string pair = std::string(98, 'p') + "\xF0\x9F\x98\x80" + "tail";
    control->AddToContextMenu(FromUtf8(long150), FromUtf8(pair), FromUtf8(std::string(99, 't')));
    const CONTEXT_MENU_ENTRY* e = control->PageMenuEntries();
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(std::string(99, 'n'), ToUtf8(e->name));
    EXPECT_EQ(std::string(98, 'p'), ToUtf8(e->label));
    EXPECT_EQ(std::string(99, 't'), ToUtf8(e->third));
}

TEST(ControlValidateTagTest, TrimsThenRemovesOneOfEachMark)
{
    const std::pair<const char*, const char*> cases[] = {
        {" <p> ", "p"},
        {"*.note", "note"},
        {"<*.x>", "x"},
        {".<p", "<p"},
        {"<<p>>", "<p>"},
        {"", ""},
        {"<", ""},
        {">", ""},
    };
    for (const auto& c : cases) {
        CSafeBuf name = FromUtf8(c.first);
        CMorvaXEditorCtrl::ValidateTag(name);
        EXPECT_EQ(c.second, ToUtf8(name)) << c.first;
    }
}

} // namespace

// An image library written by page script is where pasted pictures go from
// then on, as one given as a page parameter is.
TEST_F(ControlExchangeTest, AnImageLibraryWrittenByScriptReachesTheEngine)
{
    ASSERT_NE(nullptr, Start({{"ImageLibraryURL", "http://first/lib"}}));
    EXPECT_EQ("http://first/lib", ToUtf8(Control()->m_pXHTML->m_imageLibraryURL));
    static const char kUrl[] = "http://h/lib/";
    NPVariant value;
    value.type = NPVariantType_String;
    value.value.stringValue.UTF8Characters = kUrl;
    value.value.stringValue.UTF8Length = sizeof kUrl - 1;
    EXPECT_TRUE(Control()->Mozilla_SetProperty(Browser::GetStringIdentifier("ImageLibraryURL"), &value));
    EXPECT_EQ("http://h/lib", ToUtf8(Control()->m_pXHTML->m_imageLibraryURL));
}

// A page function that runs while a page call holds the port (here: the
// change report of InsertText writing the sheet) saves and restores the
// port in turn; the outer call still puts back the port and origin it
// found.
TEST_F(ControlExchangeTest, ACallFromThePageInsideAnotherLeavesThePortAsItWas)
{
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>one</p>"}});
    ASSERT_NE(nullptr, control);
    control->SetValue(FromUtf8("<p>two</p>")); // the next edit is reported
    onCall = [&](const std::string& name) {
        if (name == "qmContentChanged")
            control->SetCSS(FromUtf8("p{color:red}"));
    };
    qm::qd::Port* const before = qm::qd::GetPort();
    const qm::qd::Point origin = before ? before->Origin() : qm::qd::Point{};
    control->InsertText(FromUtf8("x"));
    ASSERT_EQ(1, Count("qmContentChanged"));
    EXPECT_EQ(before, qm::qd::GetPort());
    if (before) {
        EXPECT_EQ(origin.h, before->Origin().h);
        EXPECT_EQ(origin.v, before->Origin().v);
    }
}
