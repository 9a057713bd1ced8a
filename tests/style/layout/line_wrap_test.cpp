// Inline content wrapped into lines: documents laid out at a width, their
// boxes written as the box dump (style/layout/BoxDump.h) and compared with
// tests/data/line_wrap/cases.txt. Options: [w=N] the layout width (default
// 300). Laying a document out again after an edit must give the boxes of a
// layout from scratch.

#include "tests/common/CaseBlocks.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "platform/text/TextLayout.h"
#include "platform/text/WordCache.h"
#include "style/layout/BoxDump.h"
#include "style/layout/LayoutPass.h"
#include "style/layout/LayoutSteps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Dump(const CElement* root)
{
    CSafeBuf out;
    GetBoxDump(root, out);
    return std::string(out.GetAnsiBuffer());
}

int WidthOption(const qmtest::CaseBlock& c)
{
    for (const std::string& o : c.options) {
        if (o.rfind("w=", 0) == 0)
            return std::stoi(o.substr(2));
    }
    return 300;
}

struct Laid
{
    explicit Laid(const std::string& markup)
    {
        CSafeBuf error;
        read = doc.Read(markup.data(), markup.size(), error);
    }
    CXHTML engine;
    CMarkupDocument doc{&engine};
    bool read = false;
};

} // namespace

TEST(LineWrap, Cases)
{
    qmtest::CaseBlockFile file("line_wrap/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        Laid laid(c.input);
        ASSERT_TRUE(laid.read) << c.name;
        ASSERT_TRUE(LayoutDocument(laid.doc.Body(), WidthOption(c)));
        file.Check(c, Dump(laid.doc.Body()));
    }
}

namespace {

const char kParagraphs[]
    = "<div><p>First paragraph with <span style=\"border: 1px solid blue\">a bordered span that "
      "runs over several lines of the column</span> and a <a href=\"#x\">link with <b>bold "
      "words inside it</b></a> before its end.</p><p>Second paragraph, plain text of some "
      "length that wraps a few times at the narrow width.</p><p><i>Third</i> one, "
      "well-known and short-lived.</p><p dir=\"rtl\">\u0633\u0644\u0627\u0645 <b>bold English "
      "words \u0639\u0644\u064a\u0643\u0645</b> \u0635\u062f\u064a\u0642\u064a and more "
      "English to wrap</p></div>";

// The first text run of the n-th paragraph (from 0).
CTextElement* FirstRunOf(CElement* body, int n)
{
    CElement* div = body->m_firstChild;
    CElement* p = div ? div->m_firstChild : nullptr;
    for (int i = 0; p && i < n; ++i)
        p = p->m_nextSibling;
    return p ? dynamic_cast<CTextElement*>(p->m_firstChild) : nullptr;
}

} // namespace

TEST(LineWrap, LayingOutAgainGivesTheBoxesOfAFreshLayout)
{
    Laid fresh(kParagraphs);
    ASSERT_TRUE(LayoutDocument(fresh.doc.Body(), 260));
    const std::string expected = Dump(fresh.doc.Body());

    // Narrower first (more pieces), then the same width twice.
    Laid again(kParagraphs);
    ASSERT_TRUE(LayoutDocument(again.doc.Body(), 120));
    EXPECT_NE(Dump(again.doc.Body()), expected);
    ASSERT_TRUE(LayoutDocument(again.doc.Body(), 260));
    EXPECT_EQ(Dump(again.doc.Body()), expected);
    ASSERT_TRUE(LayoutDocument(again.doc.Body(), 260));
    EXPECT_EQ(Dump(again.doc.Body()), expected);
}

TEST(LineWrap, LayingOutAgainShapesNoTextAgain)
{
    // The pieces of plain text joined before a layout keep their shapings,
    // and each piece made again takes the one its text had.
    Laid laid("<div><p>Plain text of some length that wraps a few times at the narrow width.</p>"
              "<p>A paragraph with <b>bold words that run over several lines</b> of the column, "
              "and <i>more</i> after them.</p></div>");
    ASSERT_TRUE(laid.read);
    ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 120));
    const std::string expected = Dump(laid.doc.Body());
    const std::uint64_t shaped = qm::text::Layout::ShapeCount();
    ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 120));
    EXPECT_EQ(Dump(laid.doc.Body()), expected);
    EXPECT_EQ(qm::text::Layout::ShapeCount(), shaped);
}

TEST(LineWrap, AnEditBetweenLayoutsLaysOutAsTheEditedDocument)
{
    std::string edited(kParagraphs);
    edited.insert(edited.find("Second paragraph"), "Several new words typed here. ");
    Laid fresh(edited);
    ASSERT_TRUE(LayoutDocument(fresh.doc.Body(), 200));

    Laid laid(kParagraphs);
    ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 150));
    CTextElement* run = FirstRunOf(laid.doc.Body(), 1);
    ASSERT_NE(run, nullptr);
    CSafeBuf typed;
    typed = "Several new words typed here. ";
    typed += run->m_text;
    run->m_text = typed;
    ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 200));
    EXPECT_EQ(Dump(laid.doc.Body()), Dump(fresh.doc.Body()));
}

TEST(LineWrap, AnEditLaidOutAgainInPartGivesTheBoxesOfAWholeLayout)
{
    // A piece of a wrapped run takes new text and is laid out again alone:
    // its block joins the pieces and makes its lines again, so words move
    // back to earlier lines and into the pieces around it.
    const struct
    {
        int paragraph;
        int piece; // among the run's pieces
        const char* text;
    } cases[] = {
        {1, 1, "x"},                                    // no blank at the end: joins the next piece's word
        {1, 0, "Second "},                              // shorter: words come back up
        {1, 2, "several words typed into the middle "}, // longer: words go on down
        {3, 0, "\u0633\u0644\u0627\u0645 "},            // a right-to-left line
    };
    for (const auto& c : cases) {
        Laid laid(kParagraphs);
        ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 150));
        CTextElement* run = FirstRunOf(laid.doc.Body(), c.paragraph);
        ASSERT_NE(run, nullptr);
        for (int i = 0; i < c.piece && run; i++)
            run = dynamic_cast<CTextElement*>(run->m_nextSibling);
        ASSERT_NE(run, nullptr) << c.text;
        CSafeBuf text;
        text.AssignUTF8(c.text);
        run->m_text = text;
        run->FastReCalc(true);
        const std::string partial = Dump(laid.doc.Body());
        ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 150));
        EXPECT_EQ(partial, Dump(laid.doc.Body())) << c.text;
    }
}

namespace {

// A paragraph of about `units` units of words drawn from `words` (blank
// separated), deterministic for a seed.
std::string LongParagraph(const std::vector<const char*>& words, int units, unsigned seed)
{
    std::string text;
    unsigned state = seed;
    for (int n = 0; n < units;) {
        state = state * 1103515245u + 12345u;
        for (const char* p = words[(state >> 16) % words.size()]; *p; ++p) {
            text += *p;
            n += (*p & 0xC0) != 0x80; // UTF-8: a unit for each character here
        }
        text += ' ';
        ++n;
    }
    return text;
}

// The text runs below e in document order.
void RunsOf(CElement* e, std::vector<CTextElement*>& out)
{
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CTextElement* run = dynamic_cast<CTextElement*>(c))
            out.push_back(run);
        RunsOf(c, out);
    }
}

// Lays markup out at width twice: with the word cache and the cuts for
// length off (every text shaped whole, every rest laid out whole) and on
// (long texts cut for length). The boxes and the text runs must be the same;
// shaped receives the units the second layout shaped. With again, the cut
// layout is laid out once more: the joined pieces must give the same lines.
void ExpectCutLikeWhole(const std::string& markup, int width, std::uint64_t& shaped, bool again = false)
{
    qm::text::WordCache::Get().SetEnabled(false);
    CTextElement::EnableCutsForLength(false);
    Laid whole(markup);
    const bool laidWhole = LayoutDocument(whole.doc.Body(), width);
    CTextElement::EnableCutsForLength(true);
    ASSERT_TRUE(laidWhole);
    qm::text::WordCache::Get().SetEnabled(true);
    Laid cut(markup);
    const std::uint64_t units = qm::text::Layout::ShapedUnits();
    ASSERT_TRUE(LayoutDocument(cut.doc.Body(), width));
    shaped = qm::text::Layout::ShapedUnits() - units;
    EXPECT_EQ(Dump(cut.doc.Body()), Dump(whole.doc.Body()));
    std::vector<CTextElement*> wholeRuns, cutRuns;
    RunsOf(whole.doc.Body(), wholeRuns);
    RunsOf(cut.doc.Body(), cutRuns);
    ASSERT_EQ(cutRuns.size(), wholeRuns.size());
    for (size_t i = 0; i < cutRuns.size(); ++i)
        EXPECT_TRUE(cutRuns[i]->m_text == wholeRuns[i]->m_text) << i;
    if (again) {
        ASSERT_TRUE(LayoutDocument(cut.doc.Body(), width));
        EXPECT_EQ(Dump(cut.doc.Body()), Dump(whole.doc.Body()));
    }
}

} // namespace

TEST(LineWrap, LongParagraphsBreakAsTheWholeTextShapedAtOnce)
{
    // A long run is wrapped in pieces cut for length; its lines must be those
    // of a layout that shapes each piece's whole text at once (word cache
    // off), which never cuts.
    const std::vector<const char*> latin = {"abcd", "efgh", "well-known", "x-ray", "(see)", "what?", "50%",
        "1984", "3.14", "AVA", "Tom", "Wave", "Yes,", "LT.", "soft\xC2\xADhyphen",
        "non\xC2\xA0"
        "break",
        "--", "...", "a", "extraordinarily", "{x}", "[y]", "wow!"};
    const std::vector<const char*> greek
        = {"\xCE\xB1\xCE\xB2\xCE\xB3", "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82",
            "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1", "42", "(\xCF\x89)"};
    const std::vector<const char*> numbers = {"1", "22", "333", "4444", "-", "%"};
    // Texts shaped whole: right-to-left words with digits and marks, runs
    // of ideographs (each one a break opportunity), symbols among Latin
    // words, and three scripts.
    const std::vector<const char*> hebrew = {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",
        "\xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D", "\xD7\x98\xD7\x95\xD7\x91", "12", "(\xD7\x90)", "?"};
    const std::vector<const char*> chinese = {"\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\xE7\xAC\xA6"
                                              "\xE6\xB5\x8B\xE8\xAF\x95\xE4\xB8\x80\xE4\xB8\x8B",
        "\xE5\xA4\xA9\xE5\x9C\xB0\xE4\xBA\xBA\xE5\x92\x8C\xEF\xBC\x8C"};
    const std::vector<const char*> symbols = {"abcd", "x\xE2\x89\xA4y", "\xE2\x88\x91", "sum", "a+b", "efgh"};
    const std::vector<const char*> scripts = {
        "abcd", "\xCE\xB1\xCE\xB2\xCE\xB3", "efgh", "\xD0\xB4\xD0\xBE\xD0\xBC", "\xE4\xB8\xAD\xE6\x96\x87"};
    const struct
    {
        const std::vector<const char*>* words;
        const char* style; // of the paragraph
        int width;
        const char* before; // content before the paragraph
    } cases[] = {
        {&latin, "", 300, ""},
        {&latin, "", 800, ""},
        {&latin, "font-size: 5px", 300, ""},
        {&latin, "font-size: 40px; font-family: Courier New", 700, ""},
        {&latin, "text-transform: capitalize", 260, ""},
        {&latin, "text-transform: uppercase; font-family: Arial; font-weight: bold", 320, ""},
        {&latin, "text-indent: -120px; padding-left: 120px", 400, ""},
        {&greek, "", 300, ""},
        {&numbers, "", 300, ""},
        {&latin, "", 500, "<div style=\"float: left; width: 150px; height: 400px\">f</div>"},
        {&hebrew, "", 300, ""},
        {&hebrew, "direction: rtl", 500, ""},
        {&chinese, "", 300, ""},
        {&chinese, "font-size: 30px", 700, ""},
        {&symbols, "", 300, ""},
        {&scripts, "", 400, ""},
    };
    for (const auto& c : cases) {
        const std::string markup = std::string("<div>") + c.before + "<p style=\"" + c.style + "\">"
            + LongParagraph(*c.words, 3000, 17) + "</p><p>after</p></div>";
        SCOPED_TRACE(std::string(c.style) + " at " + std::to_string(c.width));
        std::uint64_t shaped = 0;
        ExpectCutLikeWhole(markup, c.width, shaped);
        // Cut for length: the text is shaped a few times over, not once a line.
        EXPECT_LT(shaped, 8u * 3000u);
    }
}

TEST(LineWrap, LongParagraphsInInlineElementsBreakAsTheWholeTextShapedAtOnce)
{
    // A long run that is the only content of inline elements is cut for
    // length too, each piece in duplicates of the elements around it; the
    // lines, and the edges of the elements' first and last pieces, must be
    // those of a layout without cuts.
    const std::vector<const char*> words = {"abcd", "efgh", "well-known", "x-ray", "(see)", "what?", "50%",
        "1984", "AVA", "Tom", "soft\xC2\xADhyphen", "--", "a", "extraordinarily", "{x}", "wow!"};
    const struct
    {
        const char* open;
        const char* close;
        int width;
    } cases[] = {
        {"<b>", "</b>", 300},
        {"<b>", "</b>", 800},
        {"<span style=\"border: 3px solid; padding: 0 20px; margin: 0 15px\">", "</span>", 400},
        {"<span style=\"font-size: 30px\">", "</span>", 700},
        {"<b><i>", "</i></b>", 300},
        {"<a href=\"x\" style=\"padding: 0 40px\"><em style=\"margin-right: 50px\">", "</em></a>", 500},
    };
    for (const auto& c : cases) {
        const std::string markup = std::string("<div><p>lead ") + c.open + LongParagraph(words, 3000, 23)
            + c.close + "</p><p>after</p></div>";
        SCOPED_TRACE(std::string(c.open) + " at " + std::to_string(c.width));
        std::uint64_t shaped = 0;
        ExpectCutLikeWhole(markup, c.width, shaped, true);
        // At any depth, each line shapes a few lines of text.
        EXPECT_LT(shaped, 8u * 3000u);
    }
}

TEST(LineWrap, TheLinesOfALongParagraphHoldTheirOwnTextOnly)
{
    // Every line's piece holds buffers for its own text, not for the rest of
    // the paragraph it was cut from, whether the run is cut for length (in
    // the block) or not (in an inline element).
    const std::string text = LongParagraph({"abcd", "efgh"}, 8000, 5);
    for (const char* markup : {"<p>%</p>", "<p><b>%</b></p>"}) {
        std::string doc(markup);
        doc.replace(doc.find('%'), 1, text);
        Laid laid(doc);
        ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 800));
        std::vector<CTextElement*> runs;
        RunsOf(laid.doc.Body(), runs);
        ASSERT_GT(runs.size(), 50u) << markup;
        for (CTextElement* run : runs) {
            const int length = run->m_text.Length();
            EXPECT_LE(run->m_text.GetCapacity(), 2 * length + 64) << markup;
            EXPECT_LE(run->TextLayout().Text().capacity(), 2u * length + 64) << markup;
        }
    }
}

TEST(LineWrap, ALongParagraphKeepsItsSelectionAndCaretAcrossItsPieces)
{
    const std::string text = LongParagraph({"abcd", "efgh", "ij"}, 9000, 3) + "end";
    const int n = static_cast<int>(text.size());
    const struct
    {
        int selStart, selEnd, caret;
    } cases[] = {{0, n - 1, n}, {10, 4000, 4001}, {2500, 2600, 0}, {n - 3, n - 1, n - 2}, {4000, 4000, 4000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.selStart) + ".." + std::to_string(c.selEnd) + " caret "
            + std::to_string(c.caret));
        Laid laid("<div><p>" + text + "</p></div>");
        CTextElement* run = FirstRunOf(laid.doc.Body(), 0);
        ASSERT_NE(run, nullptr);
        run->m_selected = 1;
        run->m_selStart = c.selStart;
        run->m_selEnd = c.selEnd;
        run->m_caretOffset = c.caret;
        laid.engine.m_doc.m_caretElement = run;
        ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 300));

        // Each piece selects its own part of the range, and one has the caret.
        std::vector<CTextElement*> pieces;
        RunsOf(laid.doc.Body(), pieces);
        ASSERT_GT(pieces.size(), 20u);
        int at = 0, selected = 0, caret = -1;
        for (CTextElement* piece : pieces) {
            const int length = piece->m_text.Length();
            if (piece->m_selected && piece->m_selStart <= piece->m_selEnd) {
                EXPECT_EQ(at + piece->m_selStart, std::max(c.selStart, at));
                EXPECT_EQ(at + piece->m_selEnd, std::min(c.selEnd, at + length - 1));
                selected += static_cast<int>(piece->m_selEnd - piece->m_selStart) + 1;
            }
            if (laid.engine.m_doc.m_caretElement == piece)
                caret = at + static_cast<int>(piece->m_caretOffset);
            at += length;
        }
        EXPECT_EQ(at, n);
        EXPECT_EQ(selected, c.selEnd - c.selStart + 1);
        EXPECT_EQ(caret, c.caret);

        // Joined for the next layout, the run has them as before.
        JoinWrappedPieces(run->m_parent);
        EXPECT_EQ(run->m_nextSibling, nullptr);
        EXPECT_TRUE(run->m_selected);
        EXPECT_EQ(run->m_selStart, c.selStart);
        EXPECT_EQ(run->m_selEnd, c.selEnd);
        EXPECT_EQ(laid.engine.m_doc.m_caretElement, run);
        EXPECT_EQ(run->m_caretOffset, c.caret);
        laid.engine.m_doc.m_caretElement = nullptr;
    }
}
