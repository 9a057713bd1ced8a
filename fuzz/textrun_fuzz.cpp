// Text runs of arbitrary UTF-16 (lone surrogate halves, combining marks,
// direction controls, TABs, right-to-left letters) through measuring,
// wrapping, line layout and painting. Checks: the layout built from cached
// words measures as the whole text shaped at once; offsets map between the
// text and its display text both ways; wrapping and joining lose no text,
// and keep the selection; a paragraph laid out at any width still holds its
// text, in order, and lays out again as before, and a long one breaks as a
// layout without cached words breaks it; clicks give offsets inside the
// text.

#include "fuzz/FuzzText.h"

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "platform/cg/Context.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "platform/text/WordCache.h"
#include "style/layout/BoxDump.h"
#include "style/layout/LayoutPass.h"

#include <string>
#include <vector>

namespace {

// Units that make text hard to measure and to order.
const unsigned short kTextSpecial[] = {'\t', ' ', '-', ',', '.', '!', '?', ')', 0x00A0, 0x0301, 0x0327,
    0x0483, 0x05D0, 0x05B0, 0x0627, 0x064B, 0x0661, 0x200B, 0x200C, 0x200D, 0x200E, 0x200F, 0x202A, 0x202B,
    0x202C, 0x202D, 0x202E, 0x2066, 0x2067, 0x2068, 0x2069, 0x2014, 0x2026, 0x3000, 0x4E2D, 0xD800, 0xDBFF,
    0xDC00, 0xDFFF, 0xD83D, 0xDE00, 0xFEFF, 0xFFFD, 0x2710, 150, 248};

CSafeBuf ConsumeRunText(FuzzedDataProvider& fdp)
{
    CSafeBuf text;
    const size_t length = fdp.ConsumeIntegralInRange<size_t>(0, 120);
    for (size_t i = 0; i < length && fdp.remaining_bytes() > 0; ++i) {
        const unsigned char b = fdp.ConsumeIntegral<unsigned char>();
        unsigned short ch = b;
        if (b >= 0x80)
            ch = kTextSpecial[b % (sizeof(kTextSpecial) / sizeof(kTextSpecial[0]))];
        else if (b < ' ' && b != '\t')
            ch = static_cast<unsigned short>('a' + b % 26);
        text += ch;
    }
    return text;
}

std::u16string Units(const CSafeBuf& s)
{
    const unsigned short* p = s;
    return std::u16string(p, p + s.Length());
}

// The text of every run below e, in document order.
void Collect(const CElement* e, std::u16string& out)
{
    if (e->m_kind == kKindText)
        out += Units(e->m_text);
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling)
        Collect(c, out);
}

std::string Dump(const CElement* body)
{
    CSafeBuf out;
    GetBoxDump(body, out);
    return std::string(out.GetAnsiBuffer());
}

void CheckWordsMeasureAsWhole(CTextElement& run)
{
    const CSafeBuf& shown = run.DisplayText();
    qm::text::Layout whole;
    whole.SetStyle(&run.TextStyle());
    whole.SetRightToLeft(run.TextLayout().RightToLeft());
    qm::text::WordCache::Get().SetEnabled(false);
    whole.SetText(
        reinterpret_cast<const std::uint16_t*>(static_cast<const unsigned short*>(shown)), shown.Length());
    const double total = whole.PrefixWidth(shown.Length());
    qm::text::WordCache::Get().SetEnabled(true);
    for (int i = 0; i <= shown.Length(); ++i)
        QM_FUZZ_CHECK(whole.PrefixWidth(i) == run.TextLayout().PrefixWidth(i));
    QM_FUZZ_CHECK(total == run.TextLayout().PrefixWidth(shown.Length()));
}

void CheckOffsets(CTextElement& run)
{
    const int n = run.m_text.Length();
    int last = -1;
    for (int i = 0; i <= n; ++i) {
        const int d = run.ToDisplayOffset(i);
        QM_FUZZ_CHECK(d > last || (d == last && n == 0));
        QM_FUZZ_CHECK(run.ToTextOffset(d) == i);
        last = d;
    }
    QM_FUZZ_CHECK(run.ToDisplayOffset(n) == run.DisplayText().Length());
}

// Wraps the run into pieces at room, then joins them again.
void CheckWrapAndJoin(CTextElement& run, FuzzedDataProvider& fdp)
{
    const std::u16string before = Units(run.m_text);
    const int n = run.m_text.Length();
    if (n > 0) {
        run.m_selected = 1;
        run.m_selStart = fdp.ConsumeIntegralInRange<int>(0, n - 1);
        run.m_selEnd = fdp.ConsumeIntegralInRange<int>(static_cast<int>(run.m_selStart), n - 1);
    }
    const long selStart = run.m_selStart, selEnd = run.m_selEnd;
    const bool selected = run.m_selected;
    const int room = fdp.ConsumeIntegralInRange<int>(0, 400);
    const bool force = fdp.ConsumeBool();
    std::vector<CTextElement*> pieces{&run};
    for (int guard = 0; guard < 400; ++guard) {
        CSize size(room, 0);
        CElement* answer = pieces.back()->WrapElement(size, force);
        CTextElement* piece = dynamic_cast<CTextElement*>(answer);
        if (!piece || piece == pieces.back())
            break;
        QM_FUZZ_CHECK(!piece->m_text.IsEmpty());
        piece->BuildCDC(nullptr);
        piece->CalcWinReg(nullptr, false, false, nullptr);
        pieces.push_back(piece);
    }
    std::u16string joined;
    for (CTextElement* p : pieces) {
        joined += Units(p->m_text);
        if (p->m_selected)
            QM_FUZZ_CHECK(
                p->m_selStart >= 0 && p->m_selStart <= p->m_selEnd && p->m_selEnd < p->m_text.Length());
    }
    QM_FUZZ_CHECK(joined == before);
    for (size_t i = 1; i < pieces.size(); ++i) {
        QM_FUZZ_CHECK(run.CombineWrap(pieces[i]));
        delete pieces[i];
    }
    QM_FUZZ_CHECK(Units(run.m_text) == before);
    if (selected && n > 0) {
        QM_FUZZ_CHECK(run.m_selected);
        QM_FUZZ_CHECK(run.m_selStart == selStart && run.m_selEnd == selEnd);
    }
    run.m_selected = 0;
}

// A long paragraph of the texts over and over is cut into pieces for length
// as it wraps; its lines must be those of a layout that shapes every piece
// whole at once, which never cuts.
void CheckLongParagraph(CMarkupDocument& doc, CTextElement& run, const CSafeBuf& text, int width)
{
    if (text.IsEmpty())
        return;
    CSafeBuf paragraph;
    while (paragraph.Length() < 2200) {
        paragraph += text;
        paragraph += static_cast<unsigned short>(' ');
    }
    run.m_text = paragraph;
    const std::u16string before = Units(paragraph);
    qm::text::WordCache::Get().SetEnabled(false);
    const bool laid = LayoutDocument(doc.Body(), width);
    const std::string whole = Dump(doc.Body());
    qm::text::WordCache::Get().SetEnabled(true);
    if (!laid)
        return;
    QM_FUZZ_CHECK(LayoutDocument(doc.Body(), width));
    QM_FUZZ_CHECK(Dump(doc.Body()) == whole);
    std::u16string after;
    Collect(doc.Body(), after);
    QM_FUZZ_CHECK(after.compare(0, before.size(), before) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    FuzzedDataProvider fdp(data, size);
    static const char* const kStyles[] = {"", "text-transform: uppercase", "text-transform: capitalize",
        "font-size: 31px", "font-family: Courier New", "font-weight: bold; font-style: italic"};
    const std::string style = kStyles[fdp.ConsumeIntegralInRange<size_t>(0, 5)];
    const bool rtl = fdp.ConsumeBool();
    const std::string markup = std::string("<div><p") + (rtl ? " dir=\"rtl\"" : "") + " style=\"" + style
        + "\">x<b>y</b>z</p></div>";
    CSafeBuf first = ConsumeRunText(fdp);
    CSafeBuf second = ConsumeRunText(fdp);
    const int width = fdp.ConsumeIntegralInRange<int>(0, 600);

    CXHTML engine;
    CMarkupDocument doc(&engine);
    CSafeBuf error;
    if (!doc.Read(markup.data(), markup.size(), error) || !doc.Body())
        return 0;
    CElement* p = doc.Body()->m_firstChild ? doc.Body()->m_firstChild->m_firstChild : nullptr;
    CTextElement* run = p ? dynamic_cast<CTextElement*>(p->m_firstChild) : nullptr;
    CTextElement* inner = p && p->m_firstChild
        ? dynamic_cast<CTextElement*>(
            p->m_firstChild->m_nextSibling ? p->m_firstChild->m_nextSibling->m_firstChild : nullptr)
        : nullptr;
    if (!run || !inner)
        return 0;
    run->m_text = first;
    inner->m_text = second;

    // One run on its own: measuring, offsets, wrapping, clicks, painting.
    run->BuildCDC(nullptr);
    run->CalcWinReg(nullptr, false, false, nullptr);
    CheckWordsMeasureAsWhole(*run);
    CheckOffsets(*run);
    CPoint caret;
    int length = 0, offset = -1;
    if (run->GetCloseCursor(CPoint(fdp.ConsumeIntegralInRange<int>(-5, 500), 3), caret, length, offset, 0))
        QM_FUZZ_CHECK(offset >= 0 && offset <= run->m_text.Length());
    CSize least(0, 0);
    run->GetMinSize(least, false);
    QM_FUZZ_CHECK(least.cx >= 0 && least.cx <= run->Lay().m_sizeRect.right + 1);
    CheckWrapAndJoin(*run, fdp);
    if (auto ctx = qm::cg::Context::CreateBitmap(nullptr, 160, 48, 640)) {
        const int n = run->m_text.Length();
        if (n > 0 && fdp.ConsumeBool()) {
            run->m_selected = 1;
            run->m_selStart = fdp.ConsumeIntegralInRange<int>(-3, n + 3);
            run->m_selEnd = fdp.ConsumeIntegralInRange<int>(-3, n + 3);
        }
        QM_FUZZ_CHECK(run->SelfPaint(ctx.get(), CPoint(fdp.ConsumeIntegralInRange<int>(-50, 100), 4)));
        run->m_selected = 0;
    }

    // The paragraph in lines: nothing lost, the same boxes when laid out again.
    const std::u16string text = Units(first) + Units(second) + u"z";
    if (!LayoutDocument(doc.Body(), width))
        return 0;
    std::u16string laid;
    Collect(doc.Body(), laid);
    QM_FUZZ_CHECK(laid == text);
    const std::string boxes = Dump(doc.Body());
    LayoutDocument(doc.Body(), width / 2 + 1);
    LayoutDocument(doc.Body(), width);
    laid.clear();
    Collect(doc.Body(), laid);
    QM_FUZZ_CHECK(laid == text);
    QM_FUZZ_CHECK(Dump(doc.Body()) == boxes);

    // Slow (the whole text shaped for every line): one input in eight.
    if (fdp.ConsumeIntegralInRange<int>(0, 7) == 7)
        CheckLongParagraph(doc, *run, first, 300 + width % 301);
    return 0;
}
