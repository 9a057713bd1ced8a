// A text run on its own: its display text against its stored text, its box
// and caret, wrapping and joining, clicks, colours and painting. Runs come
// from markup read into a document and are laid out alone (CalcWinReg).

#include "tests/common/CaseFile.h"
#include "tests/elements/support/RunDocument.h"

#include "base/shims/TextShims.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/SourceCode.h"
#include "platform/cg/Context.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using qmtest::FirstRun;
using qmtest::RunDocument;
using qmtest::Units;
using qmtest::WidthInFont;

std::u16string Text(const CSafeBuf& s)
{
    const unsigned short* p = s;
    return std::u16string(p, p + s.Length());
}

CSafeBuf Buf(const std::string& utf8)
{
    CSafeBuf s;
    s = utf8.c_str();
    return s;
}

CTextElement* LaidOut(CTextElement* run)
{
    if (run) {
        run->BuildCDC(nullptr);
        run->CalcWinReg(nullptr, false, false, nullptr);
    }
    return run;
}

std::string Written(CTextElement& run)
{
    CSafeBuf out, a, b, c;
    run.GetSourceCode(out, 0, kSourceContentOnly, a, b, c, nullptr);
    return std::string(out.GetAnsiBuffer());
}

} // namespace

TEST(TextRun, MeasuresItsDisplayTextAndWritesItsOwn)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("text_runs/display.txt", 3)) {
        SCOPED_TRACE("line " + std::to_string(c.line));
        RunDocument doc(c.fields[0]);
        CTextElement* run = LaidOut(FirstRun(doc.Body()));
        ASSERT_NE(run, nullptr);
        EXPECT_EQ(Text(run->DisplayText()), Units(c.fields[1]));
        EXPECT_EQ(run->Lay().m_sizeRect.right, WidthInFont(*run, Units(c.fields[1])));
        EXPECT_EQ(Written(*run), c.fields[2]);
    }
}

namespace {

// Changes run's text the way `change` names (see text_runs/changed.txt).
void ChangeText(CTextElement& run, const std::string& change, const std::string& argument)
{
    const size_t colon = argument.find(':');
    const int at = colon == std::string::npos ? 0 : std::stoi(argument.substr(0, colon));
    const unsigned short unit
        = colon == std::string::npos ? 0 : static_cast<unsigned short>(argument[colon + 1]);
    if (change == "set") {
        run.m_text.SetAt(at, unit);
    } else if (change == "index") {
        run.m_text[at] = unit;
    } else if (change == "pointer") {
        unsigned short* units = run.m_text;
        units[at] = unit;
    } else if (change == "assign") {
        run.m_text = argument.c_str();
    } else if (change == "replace-with") {
        CSafeBuf other = Buf(argument);
        run.m_text.ReplaceWith(&other);
    } else if (change == "append") {
        run.m_text += argument.c_str();
    } else if (change == "upper") {
        run.m_text.MakeUpper();
    } else if (change == "remove") {
        run.m_text.Remove(static_cast<unsigned short>(argument[0]));
    } else {
        ADD_FAILURE() << "unknown change " << change;
    }
}

} // namespace

TEST(TextRun, TextChangedInPlaceIsMeasuredAgain)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("text_runs/changed.txt", 4)) {
        SCOPED_TRACE("line " + std::to_string(c.line) + ": " + c.fields[1]);
        RunDocument doc(c.fields[0]);
        CTextElement* run = LaidOut(FirstRun(doc.Body()));
        ASSERT_NE(run, nullptr);
        LaidOut(run); // a second layout of the same text: the run knows it holds it
        ChangeText(*run, c.fields[1], c.fields[2]);
        LaidOut(run);
        EXPECT_EQ(Text(run->DisplayText()), Units(c.fields[3]));
        EXPECT_EQ(run->Lay().m_sizeRect.right, WidthInFont(*run, Units(c.fields[3])));
    }
}

TEST(TextRun, EmptyRunIsOneLineHighWithACaret)
{
    RunDocument doc("<p>x</p>");
    CTextElement* run = LaidOut(FirstRun(doc.Body()));
    ASSERT_NE(run, nullptr);
    run->m_text.Empty();
    LaidOut(run);
    const int line = MacGetLineHeight(&run->TextStyle());
    EXPECT_GT(line, 10);
    EXPECT_EQ(run->LineHeight(), line);
    EXPECT_EQ(run->Lay().m_sizeRect, CRect(0, 0, 0, line));
    EXPECT_EQ(run->Lay().m_baseline.y, line);
    EXPECT_EQ(run->GetKeyLen(), line + 4);
    CPoint caret;
    run->GetKeyPos(caret, -1);
    EXPECT_EQ(caret, CPoint(0, line + 2));
}

TEST(TextRun, BoxIsTheTypographicBoundsWithTheBaselineFourAboveTheBottom)
{
    RunDocument doc("<p style=\"font-size: 20px\">Hello</p>");
    CTextElement* run = LaidOut(FirstRun(doc.Body()));
    ASSERT_NE(run, nullptr);
    qm::text::TextRect r;
    run->TextLayout().GlyphBounds(0, 5, r);
    EXPECT_EQ(run->Lay().m_sizeRect, CRect(0, 0, WidthInFont(*run, u"Hello"), r.bottom - r.top));
    EXPECT_EQ(run->Lay().m_baseline.y, r.bottom - r.top - 4);
    EXPECT_EQ(run->MinWrapWidth(), 20);
}

TEST(TextRun, CaretAndClicksCountATabAsOneCharacter)
{
    RunDocument doc("<pre>a\tb</pre>");
    CTextElement* run = LaidOut(FirstRun(doc.Body()));
    ASSERT_NE(run, nullptr);
    CPoint caret;
    run->GetKeyPos(caret, 2);
    EXPECT_EQ(caret.x, WidthInFont(*run, u"a       "));
    // A click just before "b" puts the caret after the TAB, not past the end.
    CPoint at;
    int length = 0, offset = -1;
    ASSERT_TRUE(run->GetCloseCursor(CPoint(WidthInFont(*run, u"a       ") - 1, 2), at, length, offset, 0));
    EXPECT_EQ(offset, 2);
}

TEST(TextRun, ClickInTheRightHalfOfACharacterPutsTheCaretAfterIt)
{
    RunDocument doc("<p style=\"font-size: 40px\">mmm</p>");
    CTextElement* run = LaidOut(FirstRun(doc.Body()));
    ASSERT_NE(run, nullptr);
    const int one = WidthInFont(*run, u"m"), two = WidthInFont(*run, u"mm");
    struct
    {
        int x;
        int offset;
    } cases[] = {{0, 0}, {one + 2, 1}, {two - 3, 2}, {one + (two - one) / 2 - 2, 1}, {two + 1, 2}};
    for (const auto& c : cases) {
        CPoint caret;
        int length = 0, offset = -1;
        ASSERT_TRUE(run->GetCloseCursor(CPoint(c.x, 5), caret, length, offset, 0)) << c.x;
        EXPECT_EQ(offset, c.offset) << "x " << c.x;
        EXPECT_EQ(length, run->Lay().m_sizeRect.bottom);
    }
    CPoint caret;
    int length = 0, offset = -1;
    EXPECT_FALSE(run->GetCloseCursor(CPoint(5, run->Lay().m_sizeRect.bottom + 3), caret, length, offset, 0));
}

TEST(TextRun, WrapsAfterBreakOpportunitiesThatFit)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("text_runs/wrap.txt", 4)) {
        SCOPED_TRACE("line " + std::to_string(c.line) + ": " + c.fields[0]);
        RunDocument doc("<p>" + c.fields[0] + "</p>");
        CTextElement* run = LaidOut(FirstRun(doc.Body()));
        ASSERT_NE(run, nullptr);
        CSize room(WidthInFont(*run, Units(c.fields[1])), 0);
        CElement* answer = run->WrapElement(room, false);
        EXPECT_EQ(Text(run->m_text), Units(c.fields[2]));
        if (c.fields[3] == "(whole)") {
            EXPECT_EQ(answer, run);
            continue;
        }
        CTextElement* piece = dynamic_cast<CTextElement*>(answer);
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(Text(piece->m_text), Units(c.fields[3]));
        EXPECT_EQ(run->Lay().m_sizeRect.right, WidthInFont(*run, Units(c.fields[2])));
        EXPECT_EQ(room.cx, run->Lay().m_sizeRect.right);
        EXPECT_EQ(piece->Lay().m_sizeRect.right, WidthInFont(*run, Units(c.fields[3])));
        delete piece;
    }
}

TEST(TextRun, NarrowRoomOrNoBreakKeepsTheRunWholeUnlessForced)
{
    RunDocument doc("<p style=\"font-size: 30px\">a b</p>");
    CTextElement* run = LaidOut(FirstRun(doc.Body()));
    ASSERT_NE(run, nullptr);
    CSize room(29, 0); // below the font size
    EXPECT_EQ(run->WrapElement(room, false), run);
    EXPECT_EQ(Text(run->m_text), u"a b");
    CElement* piece = run->WrapElement(room, true);
    ASSERT_NE(piece, nullptr);
    EXPECT_EQ(Text(run->m_text), u"a ");
    EXPECT_EQ(Text(piece->m_text), u"b");
    delete piece;
    CSize none(1, 0);
    EXPECT_EQ(run->WrapElement(none, true), nullptr); // the break is the last unit: nothing to move
    run->m_text = Buf("unbreakable");
    LaidOut(run);
    EXPECT_EQ(run->WrapElement(none, true), run);
}

TEST(TextRun, RestGoesIntoTheNextPieceButNeverIntoAnotherRun)
{
    for (bool samePiece : {true, false}) {
        RunDocument doc("<p>abc def<b>x</b></p>");
        CTextElement* run = LaidOut(FirstRun(doc.Body()));
        ASSERT_NE(run, nullptr);
        CElement* p = run->m_parent;
        CElement* next = CreateElement("", p->m_rules, p->m_root, &doc.engine);
        next->m_text = Buf("ghi");
        ASSERT_TRUE(p->InsertChild(next, run->GetID(), true));
        if (samePiece)
            next->m_inlineGroup = run->InlineIDInfo(1, 0);
        CSize room(WidthInFont(*run, u"abc "), 0);
        CElement* piece = run->WrapElement(room, false);
        EXPECT_EQ(Text(run->m_text), u"abc ");
        if (samePiece) {
            EXPECT_EQ(piece, nullptr);
            EXPECT_EQ(Text(next->m_text), u"defghi");
        } else {
            ASSERT_NE(piece, nullptr);
            EXPECT_EQ(Text(piece->m_text), u"def");
            EXPECT_EQ(Text(next->m_text), u"ghi");
            delete piece;
        }
    }
}

TEST(TextRun, WrappingThenJoiningKeepsTextSelectionAndCaret)
{
    struct
    {
        int selStart, selEnd, caret;
    } cases[] = {{2, 9, 9}, {0, 3, 0}, {5, 6, 11}, {9, 10, 4}, {3, 4, 4}};
    for (const auto& c : cases) {
        RunDocument doc("<p>abc def ghi</p>");
        CTextElement* run = LaidOut(FirstRun(doc.Body()));
        ASSERT_NE(run, nullptr);
        run->m_selected = 1;
        run->m_selStart = c.selStart;
        run->m_selEnd = c.selEnd;
        run->m_caretOffset = c.caret;
        doc.engine.m_doc.m_caretElement = run;

        CSize room(WidthInFont(*run, u"abc de"), 0);
        CTextElement* piece = dynamic_cast<CTextElement*>(run->WrapElement(room, false));
        ASSERT_NE(piece, nullptr);
        const bool inPiece = c.caret > 3;
        EXPECT_EQ(doc.engine.m_doc.m_caretElement, inPiece ? piece : run) << c.caret;
        // Each piece holds its own part of the selection, within its text.
        for (CTextElement* e : {run, piece}) {
            if (e->m_selected) {
                EXPECT_LE(0, e->m_selStart);
                EXPECT_LE(e->m_selStart, e->m_selEnd);
                EXPECT_LT(e->m_selEnd, e->m_text.Length());
            }
        }
        ASSERT_TRUE(run->CombineWrap(piece));
        delete piece;
        EXPECT_EQ(Text(run->m_text), u"abc def ghi");
        EXPECT_TRUE(run->m_selected);
        EXPECT_EQ(run->m_selStart, c.selStart);
        EXPECT_EQ(run->m_selEnd, c.selEnd);
        EXPECT_EQ(doc.engine.m_doc.m_caretElement, run);
        EXPECT_EQ(run->m_caretOffset, c.caret);
        doc.engine.m_doc.m_caretElement = nullptr;
    }
}

TEST(TextRun, LongRunsEstimateTheirFirstLineWithoutOverflow)
{
    // Length x room x 12 is far beyond 32 bits here.
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "word ";
    RunDocument doc("<p>" + text + "</p>");
    CTextElement* run = LaidOut(FirstRun(doc.Body()));
    ASSERT_NE(run, nullptr);
    const int room = 60000;
    const int length = run->m_text.Length();
    CSize size(room, 0);
    CTextElement* piece = dynamic_cast<CTextElement*>(run->WrapElement(size, false));
    ASSERT_NE(piece, nullptr);
    EXPECT_LE(run->Lay().m_sizeRect.right, room);
    EXPECT_GT(run->Lay().m_sizeRect.right + WidthInFont(*run, u"word "), room);
    EXPECT_EQ(run->m_text.Length() + piece->m_text.Length(), length);
    delete piece;
}

TEST(TextRun, MinimumWidthIsTheWidestUnbreakablePiece)
{
    RunDocument doc("<p>ab wxyz-q r</p>");
    CTextElement* run = LaidOut(FirstRun(doc.Body()));
    ASSERT_NE(run, nullptr);
    CSize size(0, 0);
    run->GetMinSize(size, false);
    EXPECT_EQ(size.cx, WidthInFont(*run, u"wxyz-"));
    CSize wide(500, 0);
    run->GetMinSize(wide, false);
    EXPECT_EQ(wide.cx, 500);
    CSize first;
    run->GetTextFirstPartSize(first);
    EXPECT_EQ(first.cx, WidthInFont(*run, u"ab "));
}

TEST(TextRun, ColourOfRunsAndLinks)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("text_runs/colour.txt", 2)) {
        SCOPED_TRACE("line " + std::to_string(c.line) + ": " + c.fields[0]);
        RunDocument doc(c.fields[0]);
        CTextElement* run = FirstRun(doc.Body());
        ASSERT_NE(run, nullptr);
        int r = -1, g = -1, b = -1;
        ASSERT_EQ(std::sscanf(c.fields[1].c_str(), "%d %d %d", &r, &g, &b), 3);
        EXPECT_EQ(run->GetRunColor(), RGB(r, g, b));
    }
}

namespace {

// A run painted at (10, 10) into a bitmap of its own.
struct Painted
{
    explicit Painted(const std::string& markup) : doc(markup)
    {
        run = LaidOut(FirstRun(doc.Body()));
        ctx = qm::cg::Context::CreateBitmap(nullptr, 400, 120, 1600);
        if (run && ctx)
            run->SelfPaint(ctx.get(), CPoint(10, 10));
    }
    // The pixel at document point (x, y).
    qm::cg::Pixel At(int x, int y) const { return ctx->ReadPixel(x, y); }
    RunDocument doc;
    CTextElement* run = nullptr;
    std::unique_ptr<qm::cg::Context> ctx;
};

} // namespace

TEST(TextRun, TextColoursAreExact)
{
    // A full block's inside is covered completely: its pixels show the colour.
    Painted p("<p style=\"font-size: 40px; color: #ffff00\">\xE2\x96\x88</p>");
    ASSERT_NE(p.run, nullptr);
    const int baseline = 10 + p.run->Lay().m_baseline.y;
    const qm::cg::Pixel inside = p.At(10 + p.run->Lay().m_sizeRect.right / 2, baseline - 10);
    EXPECT_EQ(inside.red, 255);
    EXPECT_EQ(inside.green, 255);
    EXPECT_EQ(inside.blue, 0);
    EXPECT_EQ(inside.alpha, 255);
}

TEST(TextRun, SelectionIsHighlightedOverExactlyItsCharacters)
{
    // The TAB alone selected: the highlight spans its expansion.
    RunDocument doc("<pre>a\tb</pre>");
    CTextElement* run = LaidOut(FirstRun(doc.Body()));
    ASSERT_NE(run, nullptr);
    run->m_selected = 1;
    run->m_selStart = 1;
    run->m_selEnd = 1;
    auto ctx = qm::cg::Context::CreateBitmap(nullptr, 300, 60, 1200);
    ASSERT_TRUE(ctx);
    run->SelfPaint(ctx.get(), CPoint(0, 0));
    const int left = WidthInFont(*run, u"a"), right = WidthInFont(*run, u"a       ");
    EXPECT_NEAR(run->m_selStartPoint.x, left, 1);
    EXPECT_NEAR(run->m_selEndPoint.x, right, 1);
    const qm::cg::Pixel mid = ctx->ReadPixel((left + right) / 2, 3);
    EXPECT_EQ(RGB(mid.red, mid.green, mid.blue), kTextHighlightColour);
    const qm::cg::Pixel outside = ctx->ReadPixel(right + 3, 3);
    EXPECT_EQ(outside.alpha, 0);
}
