// HTML from another program pasted into the real pages of tests/data/corpus:
// pieces of a page's own source as it is written (indented, with its line
// ends), a pre, a table, a list, a definition list, and a heading with the
// blocks after it, each pasted at the start of a word inside a paragraph,
// a list item, a table cell, a heading and a pre. The words before and
// after that place stay as they were and the piece's words come in between,
// whole and in order, as a browser shows them (a pre's lines too when the
// piece is a pre and it goes into a paragraph). Each paste is one undo
// step: undo gives back the value as it was.

#include "tests/common/CorpusCaret.h"
#include "tests/common/CorpusPages.h"
#include "tests/common/DocText.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <libxml/HTMLparser.h>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace {

using qmtest::FromUtf8;
using qmtest::Point;
using qmtest::Shown;
using qmtest::ShownText;
using qmtest::Words;
using qmtest::WordStartIn;

const std::string kCorpus = std::string(QM_TEST_DATA_DIR) + "/corpus";

std::string PageName(const ::testing::TestParamInfo<std::string>& info)
{
    return qmtest::TestNameOf(info.param);
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Where the element whose start tag begins at open ends in source (after
// its end tag), counting the same tags nested in it; npos when it does
// not end.
std::size_t ElementEnd(const std::string& lower, std::size_t open, const std::string& tag)
{
    int depth = 0;
    for (std::size_t at = open; at < lower.size();) {
        const std::size_t start = lower.find("<" + tag, at);
        const std::size_t close = lower.find("</" + tag + ">", at);
        if (close == std::string::npos)
            return std::string::npos;
        if (start != std::string::npos && start < close) {
            const char after = start + tag.size() + 1 < lower.size() ? lower[start + tag.size() + 1] : '>';
            if (after == '>' || std::isspace(static_cast<unsigned char>(after)))
                ++depth;
            at = start + tag.size() + 1;
            continue;
        }
        if (--depth == 0)
            return close + tag.size() + 3;
        at = close + tag.size() + 3;
    }
    return std::string::npos;
}

// The source of the first element with that tag after the body's start,
// and of the elements after it up to count of them in all; empty when none.
std::string Piece(const std::string& page, const std::string& tag, int count = 1)
{
    const std::string lower = Lower(page);
    const std::size_t body = lower.find("<body");
    std::size_t open = lower.find("<" + tag, body == std::string::npos ? 0 : body);
    while (open != std::string::npos) {
        const char after = open + tag.size() + 1 < lower.size() ? lower[open + tag.size() + 1] : 0;
        if (after == '>' || std::isspace(static_cast<unsigned char>(after)))
            break;
        open = lower.find("<" + tag, open + 1);
    }
    if (open == std::string::npos)
        return "";
    std::size_t end = ElementEnd(lower, open, tag);
    if (end == std::string::npos)
        return "";
    // The blocks after it: each up to its end tag.
    for (int i = 1; i < count; ++i) {
        const std::size_t next = lower.find('<', end);
        if (next == std::string::npos || lower.compare(next, 2, "</") == 0)
            break;
        std::size_t name = next + 1;
        while (name < lower.size() && std::isalnum(static_cast<unsigned char>(lower[name])))
            ++name;
        const std::size_t stop = ElementEnd(lower, next, lower.substr(next + 1, name - next - 1));
        if (stop == std::string::npos || stop - open > 6000)
            break;
        end = stop;
    }
    return end - open > 20000 ? "" : page.substr(open, end - open);
}

// A no-break space shows as a blank.
std::string Plain(std::string text)
{
    for (std::size_t at = text.find("\u00A0"); at != std::string::npos; at = text.find("\u00A0", at + 1))
        text.replace(at, 2, " ");
    return text;
}

// Text as plain text pasting takes it in: typographic characters of other
// programs in their plain forms.
std::string Typed(std::string text)
{
    static const std::pair<const char*, const char*> kPlain[] = {{"\u00B7", "-"}, {"\u2018", "'"},
        {"\u2019", "'"}, {"\u201B", "'"}, {"\u2032", "'"}, {"\u201C", "\""}, {"\u201D", "\""},
        {"\u2033", "\"\""}, {"\u2026", "..."}, {"\u2014", " -- "}, {"\u2013", "-"}, {"\u2022", "-"}};
    for (const auto& [from, to] : kPlain) {
        const std::string f(from), t(to);
        for (std::size_t at = text.find(f); at != std::string::npos; at = text.find(f, at + t.size()))
            text.replace(at, f.size(), t);
    }
    return text;
}

// The text of HTML as a browser shows it, words apart where blocks part
// them.
std::string ShownHtml(const std::string& html)
{
    htmlDocPtr doc = htmlReadMemory(html.data(), static_cast<int>(html.size()), "piece.html", "UTF-8",
        HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING);
    if (!doc)
        return "";
    std::string text;
    if (const xmlNode* root = xmlDocGetRootElement(doc))
        qmtest::CollectText(root->children, text);
    xmlFreeDoc(doc);
    return Plain(text);
}

// The lines of text with tabs as blanks, empty lines and blanks at the
// ends of lines left out, each ending in a line end.
std::string Lines(const std::string& text)
{
    std::string out, line;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : '\n';
        if (c != '\n' && c != '\r') {
            line += c == '\t' ? ' ' : c;
            continue;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        if (!line.empty())
            out += line + "\n";
        line.clear();
    }
    return out;
}

// How many times part stands in text.
std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The text of the first pre of html, as its lines.
std::string PreLines(const std::string& html)
{
    const std::string lower = Lower(html);
    const std::size_t open = lower.find("<pre");
    const std::size_t end = open == std::string::npos ? open : ElementEnd(lower, open, "pre");
    if (end == std::string::npos)
        return "";
    // The blanks that part the pre from the text before it are not its
    // own (the lines are looked for as a part of the document's text: the
    // first one may start with blanks there).
    std::string text = ShownHtml(html.substr(open, end - open));
    text.erase(0, text.find_first_not_of(' '));
    return Lines(text);
}

qm::dnd::Pasteboard& Board() { return qm::events::Services::Get().Pasteboards().Clipboard(); }

// Another program's HTML on the clipboard, as its description and plain
// text.
void PutHtml(const std::string& html, const std::string& text)
{
    Board().Clear();
    Board().PutItemFlavor(1, "public.html", html.data(), html.size());
    const CSafeBuf wide = FromUtf8(text);
    Board().PutItemFlavor(1, "public.utf16-plain-text", static_cast<const unsigned short*>(wide),
        static_cast<std::size_t>(wide.Length()) * 2);
}

bool Under(const CElement* run, long kind)
{
    return run->IsElementUnderTag(static_cast<int>(kind)) != nullptr;
}

struct Target
{
    const char* name;
    std::function<bool(const CElement*)> is;
};

const std::vector<Target>& Targets()
{
    static const std::vector<Target> targets = {
        {"a paragraph",
            [](const CElement* run) {
                const CElement* block = run->GetFirstBlockParent();
                return block && block->m_kind == kKindP && !Under(run, kKindLi) && !Under(run, kKindTd);
            }},
        {"a list item", [](const CElement* run) { return Under(run, kKindLi) && !Under(run, kKindTd); }},
        {"a table cell", [](const CElement* run) { return Under(run, kKindTd) && !Under(run, kKindPre); }},
        {"a heading",
            [](const CElement* run) {
                const CElement* block = run->GetFirstBlockParent();
                return block && IsHeadingKind(block->m_kind);
            }},
        {"a pre", [](const CElement* run) { return Under(run, kKindPre) && !Under(run, kKindTd); }},
    };
    return targets;
}

struct PieceKind
{
    const char* tag;
    int count;
};

const PieceKind kPieces[] = {{"pre", 1}, {"table", 1}, {"ul", 1}, {"dl", 1}, {"h2", 3}, {"p", 2}};

class PasteHtmlCorpus : public qmtest::ControlInstanceTest, public ::testing::WithParamInterface<std::string>
{
protected:
    PasteHtmlCorpus() : ControlInstanceTest("paste-html-corpus-home-") { }

    void Load()
    {
        control->SetValue(FromUtf8(input));
        Ui().failures.clear();
        engine = control->m_pXHTML;
    }

    std::string input;
    CMorvaXEditorCtrl* control = nullptr;
    CXHTML* engine = nullptr;
};

TEST_P(PasteHtmlCorpus, PiecesOfThePageKeepTheirWordsAndUndo)
{
    const std::string page = qmtest::AsText(qmtest::ReadFile(kCorpus + "/" + GetParam()));
    input = page;
    control = Start({{"Value", "<p>start</p>"}, {"Options", "2"}, {"EnablePasteMarkup", "true"}});
    ASSERT_NE(nullptr, control);
    Load();
    if (control->m_viewMode == 1)
        GTEST_SKIP() << "does not load";
    ASSERT_NE(nullptr, engine);
    const std::string original = FormValue();

    for (const PieceKind& kind : kPieces) {
        const std::string piece = Piece(page, kind.tag, kind.count);
        if (piece.empty())
            continue;
        // The piece's text ends where its last word does: the blanks that
        // the page's body adds after it are no part of it.
        std::string pieceText = ShownHtml(piece);
        pieceText.erase(pieceText.find_last_not_of(" \t\r\n") + 1);
        // Form controls are cleaned out of another program's markup, their
        // text with them.
        const std::string lower = Lower(piece);
        if (Words(pieceText).empty() || lower.find("<button") != std::string::npos
            || lower.find("<input") != std::string::npos || lower.find("<select") != std::string::npos
            || lower.find("<textarea") != std::string::npos)
            continue;
        SCOPED_TRACE(std::string("piece ") + kind.tag + ": " + piece.substr(0, 200));
        for (const Target& target : Targets()) {
            const Shown before = ShownText(engine->m_doc.m_root);
            const Point point = WordStartIn(before.pieces, target.is);
            if (point.offset < 0)
                continue;
            SCOPED_TRACE(std::string("into ") + target.name);
            PutHtml(piece, pieceText);
            qmtest::PutCaret(engine->m_doc, before.pieces, point);
            const std::size_t at = qmtest::ShownAt(before, point.piece, point.offset);
            const std::string prefix = before.text.substr(0, at);
            const std::string suffix = before.text.substr(at);
            engine->OnPaste();
            Ui().failures.clear();
            const std::string pasted = FormValue();
            // The piece's end may join the word after the place or stand
            // apart from it. Blocks do not go into a pre: the clipboard's
            // plain text does, its typographic characters made plain.
            const bool typed = std::string(target.name) == "a pre";
            const auto as = [typed](const std::string& t) { return typed ? Typed(t) : t; };
            const std::vector<std::string> now = Words(as(ShownText(engine->m_doc.m_root).text));
            const std::vector<std::string> joined = Words(as(prefix + pieceText + suffix));
            const std::vector<std::string> apart = Words(as(prefix + pieceText + "\n" + suffix));
            EXPECT_TRUE(now == joined || now == apart) << qmtest::FirstDifference(apart, now) << "\n"
                                                       << qmtest::ValueDifference(original, pasted);
            // A pre that goes in as a block keeps its lines: they stand
            // once more in the document than before.
            const std::string lines = std::string(kind.tag) == "pre" && std::string(target.name) != "a pre"
                ? PreLines(piece)
                : std::string();
            if (!lines.empty()) {
                EXPECT_EQ(Count(Lines(before.text), lines) + 1,
                    Count(Lines(ShownText(engine->m_doc.m_root).text), lines))
                    << "the pre's lines:\n"
                    << lines << qmtest::ValueDifference(original, pasted);
            }
            engine->OnUndo();
            EXPECT_EQ("", qmtest::ValueDifference(original, FormValue())) << "the paste is one undo step";
            if (FormValue() != original)
                Load();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, PasteHtmlCorpus, ::testing::ValuesIn(qmtest::FirstPages(kCorpus)), PageName);

} // namespace
