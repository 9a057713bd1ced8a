// Markup at the limits, driven through the control as a page drives it: set
// as Value, inserted with InsertXML, pasted (HTML, the editor's own flavour,
// plain text), typed into the source view and switched back, or loaded into
// the engine. Each case must finish, leave a document with a body that takes
// a letter typed through the browser's key event (the letter appears in the
// form value), and write nothing of an entity's expansion or of a local file.
// Each case runs in its own process (ctest), and prints its time and the
// process's peak memory.

#include "plugin/MorvaXEditorCtrl.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/TreeQueries.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Event.h"
#include "platform/events/EventTarget.h"
#include "platform/events/Services.h"

#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

// How the markup reaches the editor.
enum class Reader
{
    kValue,     // the page sets Value (cleaning, repair, load)
    kInsertXML, // the page inserts it at the caret
    kPasteHtml, // pasted as "public.html"
    kPasteOwn,  // pasted in the editor's own flavour
    kPasteText, // pasted as plain text
    kSource,    // typed into the source view, then back to the document
    kLoad       // the engine loads it
};

// What the case does before the letter is typed.
enum class Then
{
    kNothing,
    kLastRun, // the caret goes to the end of the document's last text
    kSortList // the definition list around the caret is sorted
};

struct LimitCase
{
    LimitCase(std::string n, Reader r, std::function<std::string()> m, Then t = Then::kNothing,
        std::vector<std::string> f = {})
        : name(std::move(n)), reader(r), markup(std::move(m)), then(t), forbidden(std::move(f))
    { }
    std::string name;
    Reader reader;
    std::function<std::string()> markup;
    Then then = Then::kNothing;
    // Texts that must not appear in what the editor writes.
    std::vector<std::string> forbidden;
};

constexpr int kDeep = 100000;
// The large pastes.
constexpr size_t kPasteBytes = 10 << 20;
// The letters that may be typed, with the US layout's key codes: the test
// types the first one the markup does not hold (paths of the checkout, which
// some cases hold, may hold any letter).
struct Letter
{
    char letter;
    std::uint32_t keyCode;
};
constexpr Letter kLetters[] = {{'q', 0x0C}, {'z', 0x06}, {'j', 0x26}, {'x', 0x07}, {'k', 0x28}};
// The context menu's sort of a definition list, as the menu posts it.
constexpr unsigned int kCommandMessage = 1;
constexpr unsigned int kSortDefinitions = 32944;

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    out.reserve(s.size() * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

std::string Nested(
    const std::string& open, const std::string& close, const char* before = "", const char* after = "")
{
    return before + Repeat(open, kDeep) + "deep" + Repeat(close, kDeep) + after;
}

// Words of text, none holding the typed letter.
std::string Words(size_t bytes, const char* separator)
{
    static const char* const kWords[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta",
        "iota", "kappa", "lambda", "mu", "nu", "xi", "omicron", "pi", "rho", "sigma", "tau", "upsilon"};
    std::string out;
    out.reserve(bytes + 16);
    for (size_t i = 0; out.size() < bytes; ++i) {
        out += kWords[i % 20];
        out += (i % 12 == 11) ? separator : " ";
    }
    return out;
}

std::string Paragraphs(size_t bytes) { return "<p>" + Words(bytes, "</p>\n<p>") + "</p>"; }

std::string Table(int rows)
{
    std::string out = "<table border=\"1\">";
    for (int r = 0; r < rows; ++r)
        out += "<tr><td>row " + std::to_string(r) + "</td><td>beta</td><td>gamma</td></tr>";
    return out + "</table>";
}

// A definition list whose terms come in reverse order.
std::string ReversedDefinitions(int items)
{
    std::string out = "<dl>";
    char term[16];
    for (int i = items; i > 0; --i) {
        std::snprintf(term, sizeof term, "t%05d", i);
        out += std::string("<dt>") + term + "</dt><dd>d" + std::to_string(i) + "</dd>";
    }
    return out + "</dl>";
}

const char kXhtmlStart[] = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>";
const char kXhtmlEnd[] = "</body></html>";

std::string WithSubset(const std::string& subset, const std::string& body)
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE html [\n" + subset + "]>\n" + kXhtmlStart + body + kXhtmlEnd;
}

std::string Laughs()
{
    std::string subset = "<!ENTITY a \"ha\">\n";
    for (char c = 'b'; c <= 'j'; ++c)
        subset += std::string("<!ENTITY ") + c + " \"" + Repeat(std::string("&") + char(c - 1) + ";", 10)
            + "\">\n";
    return WithSubset(subset, "<p>&j;</p>");
}

const std::string kBlock = Repeat("zx", 50000);

std::string Quadratic()
{
    return WithSubset("<!ENTITY e \"" + kBlock + "\">\n", "<p>" + Repeat("&e;", 20000) + "</p>");
}

const char kPasswd[] = "file:///etc/passwd";
// Local files of the test's own, written before each case: a text, and a
// declaration of an entity that holds the same text.
const char kMarker[] = "local-file-marker-8c1d";
const std::string kLocalText = std::string(QM_TEST_OUTPUT_DIR) + "/limits-local.txt";
const std::string kLocalDeclarations = std::string(QM_TEST_OUTPUT_DIR) + "/limits-local.dtd";

std::string ExternalEntity(const std::string& location)
{
    return WithSubset("<!ENTITY x SYSTEM \"" + location + "\">\n", "<p>see &x;</p>");
}

std::string ParameterEntity()
{
    return WithSubset(
        "<!ENTITY % p SYSTEM \"file://" + kLocalDeclarations + "\">\n%p;\n", "<p>see &leak;</p>");
}

std::string ExternalSubset(const std::string& location)
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE html SYSTEM \"" + location + "\">\n" + kXhtmlStart
        + "<p>see &leak;</p>" + kXhtmlEnd;
}

const char* ReaderName(Reader r)
{
    switch (r) {
    case Reader::kValue: return "Value";
    case Reader::kInsertXML: return "InsertXML";
    case Reader::kPasteHtml: return "PasteHtml";
    case Reader::kPasteOwn: return "PasteOwn";
    case Reader::kPasteText: return "PasteText";
    case Reader::kSource: return "Source";
    case Reader::kLoad: return "Load";
    }
    return "";
}

std::vector<LimitCase> Cases()
{
    const std::vector<std::pair<std::string, std::function<std::string()>>> deep = {
        {"Divs", [] { return Nested("<div>", "</div>"); }},
        {"Spans", [] { return Nested("<span>", "</span>", "<p>", "</p>"); }},
        {"Bold", [] { return Nested("<b>", "</b>", "<p>", "</p>"); }},
        {"TablesInCells", [] { return Nested("<table><tr><td>", "</td></tr></table>"); }},
        {"Lists", [] { return Nested("<ul><li>", "</li></ul>"); }},
    };
    const Reader markupReaders[] = {Reader::kValue, Reader::kInsertXML, Reader::kPasteHtml, Reader::kPasteOwn,
        Reader::kSource, Reader::kLoad};
    std::vector<LimitCase> cases;
    for (const auto& shape : deep)
        for (Reader r : markupReaders)
            cases.push_back({"Deep" + shape.first + "Through" + ReaderName(r), r, shape.second});

    // Markup that once sent the repair into an endless loop.
    const char* const loops[] = {"<!D a><li <a <a h", "<!D a><li <a <a h>", "<!DOCTYPE a><li <a <a h",
        "<!D a><li <a <a h<!D a><li <a <a h"};
    for (Reader r : {Reader::kValue, Reader::kPasteHtml, Reader::kSource})
        for (int i = 0; i < 4; ++i) {
            const std::string text = loops[i];
            cases.push_back(
                {"RepairLoop" + std::to_string(i) + "Through" + ReaderName(r), r, [text] { return text; }});
        }

    const Reader entityReaders[]
        = {Reader::kValue, Reader::kInsertXML, Reader::kPasteHtml, Reader::kPasteOwn};
    const std::vector<std::string> files = {"root:x:0:0", kMarker};
    for (Reader r : entityReaders) {
        const std::string through = std::string("Through") + ReaderName(r);
        cases.push_back({"Laughs" + through, r, Laughs, Then::kNothing, {"hahahahahahahahahahaha"}});
        cases.push_back({"QuadraticBlowUp" + through, r, Quadratic, Then::kNothing, {kBlock + kBlock}});
        cases.push_back(
            {"ExternalEntity" + through, r, [] { return ExternalEntity(kPasswd); }, Then::kNothing, files});
        cases.push_back({"ExternalEntityPath" + through, r, [] { return ExternalEntity(kLocalText); },
            Then::kNothing, files});
        cases.push_back({"ParameterEntity" + through, r, ParameterEntity, Then::kNothing, files});
        cases.push_back({"ExternalSubset" + through, r, [] { return ExternalSubset(kLocalDeclarations); },
            Then::kNothing, files});
    }

    cases.push_back(
        {"TenMegabytesOfTextPasted", Reader::kPasteText, [] { return Words(kPasteBytes, "\n"); }});
    cases.push_back({"TenMegabytesOfHtmlPasted", Reader::kPasteHtml, [] { return Paragraphs(kPasteBytes); }});
    cases.push_back({"OneMegabyteLineWithoutSpaces", Reader::kValue,
        [] { return "<p>" + std::string(1 << 20, 'x') + "</p>"; }});
    cases.push_back(
        {"OneMegabyteLineWithSpaces", Reader::kValue, [] { return "<p>" + Words(1 << 20, " ") + "</p>"; }});
    cases.push_back({"FiveThousandRowTable", Reader::kValue, [] { return Table(5000); }, Then::kLastRun});
    cases.push_back({"SortTwoThousandDefinitions", Reader::kValue, [] { return ReversedDefinitions(2000); },
        Then::kSortList});
    return cases;
}

class Limits : public qmtest::ControlInstanceTest, public ::testing::WithParamInterface<LimitCase>
{
protected:
    Limits() : ControlInstanceTest("limits-home-") { }

    CXHTML& Engine() { return *Control()->m_pXHTML; }

    static void Paste(const char* flavour, const std::string& utf8, bool wide)
    {
        qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
        board.Clear();
        if (wide) {
            const CSafeBuf text = FromUtf8(utf8);
            board.PutItemFlavor(
                1, flavour, static_cast<const unsigned short*>(text), static_cast<size_t>(text.Length()) * 2);
        } else {
            board.PutItemFlavor(1, flavour, utf8.data(), utf8.size());
        }
    }

    void Read(Reader reader, const std::string& markup)
    {
        CMorvaXEditorCtrl* control = Control();
        switch (reader) {
        case Reader::kValue: control->SetValue(FromUtf8(markup)); break;
        case Reader::kInsertXML: control->InsertXML(FromUtf8(markup)); break;
        case Reader::kPasteHtml:
            Paste("public.html", markup, false);
            Engine().OnPaste();
            break;
        case Reader::kPasteOwn:
            Paste("public.quillmark", markup, true);
            Engine().OnPaste();
            break;
        case Reader::kPasteText:
            Paste("public.utf16-plain-text", markup, true);
            Engine().OnPaste();
            break;
        case Reader::kSource: {
            control->OnSource();
            CSafeBuf text = FromUtf8(markup);
            control->SetSourceText(text);
            qm::host::DialogAnswer fix;
            fix.press = "Fix";
            Ui().dialogs.push_back(fix);
            control->OnXHtml();
            break;
        }
        case Reader::kLoad: Engine().LoadDocument(FromUtf8(markup)); break;
        }
        Ui().dialogs.clear();
    }

    // The end of the document's last text run.
    void CaretToLastRun()
    {
        CElement* last = nullptr;
        CElement* root = Engine().m_doc.m_root;
        for (CElement* e = root; e; e = NextInSubtree(e, root)) {
            if (e->m_kind == kKindText)
                last = e;
        }
        ASSERT_NE(nullptr, last);
        Engine().m_doc.ChangeCursorElement(last, last->m_text.Length());
    }

    // The letter as a browser hands a key on: the key-down, the text-input
    // event of its character, the key-up.
    void TypeLetter(Letter typed)
    {
        const char letter = typed.letter;
        const std::uint32_t keyCode = typed.keyCode;
        EventRecord focus{NPEventType_GetFocusEvent, 0, 0, {0, 0}, 0};
        funcs.event(&npp, &focus);
        EventRecord key{keyDown, keyCode << 8 | std::uint32_t(letter), 0, {0, 0}, 0};
        funcs.event(&npp, &key);
        qm::events::Event text(qm::events::kEventClassTextInput, qm::host::Host::kTextInputCommit);
        text.SetParam(qm::events::kParamText, std::u16string(1, char16_t(letter)));
        qm::events::EventTarget::Application().SendEvent(text);
        key.what = keyUp;
        funcs.event(&npp, &key);
    }
};

void PrintTo(const LimitCase& c, std::ostream* out) { *out << c.name; }

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

TEST_P(Limits, FinishesAndTakesALetter)
{
    const LimitCase& c = GetParam();
    std::ofstream(kLocalText) << kMarker << "\n";
    std::ofstream(kLocalDeclarations) << "<!ENTITY leak \"" << kMarker << "\">\n";
    const std::string markup = c.markup();
    const Letter* typed = std::find_if(std::begin(kLetters), std::end(kLetters),
        [&markup](const Letter& l) { return markup.find(l.letter) == std::string::npos; });
    ASSERT_NE(std::end(kLetters), typed);
    const char letter = typed->letter;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_NE(nullptr, Start({{"Value", "<p>start</p>"}, {"Options", "2"}, {"EnablePasteMarkup", "true"}}));
    Read(c.reader, markup);
    if (c.then == Then::kLastRun)
        CaretToLastRun();
    if (c.then == Then::kSortList)
        Engine().PostMessage(kCommandMessage, kSortDefinitions, 0);
    TypeLetter(*typed);
    const std::string value = FormValue();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("limit %s: %.2f s, %.0f MB peak, %zu bytes written\n", c.name.c_str(), seconds,
        PeakMegabytes(), value.size());
    RecordProperty("seconds", std::to_string(seconds));

    ASSERT_NE(nullptr, Engine().m_doc.m_root);
    EXPECT_EQ(kKindBody, Engine().m_doc.m_root->m_kind);
    EXPECT_NE(std::string::npos, value.find(letter)) << value.substr(0, 300);
    CSafeBuf source;
    Control()->GetSourceText(source, false);
    for (const std::string& text : c.forbidden) {
        EXPECT_EQ(std::string::npos, value.find(text)) << text.substr(0, 40);
        EXPECT_EQ(std::string::npos, ToUtf8(source).find(text)) << text.substr(0, 40);
    }
    if (c.then == Then::kSortList) {
        EXPECT_LT(value.find("t00001"), value.find("t00002"));
        EXPECT_LT(value.find("t01999"), value.find("t02000"));
    }
}

INSTANTIATE_TEST_SUITE_P(Editor, Limits, ::testing::ValuesIn(Cases()),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return info.param.name; });

} // namespace
