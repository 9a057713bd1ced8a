// Splitting a text run where a line ends, joining the pieces again, and the
// narrowest width a run can take.
//
// Break opportunities are found in the text (a TAB counts as one, as its
// expansion is blanks); widths are those of the display text up to the
// matching column, from the layout's one shaping.

#include "elements/TextElement.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "element/factory/ElementFactory.h"
#include "element/services/XHTMLServices.h"
#include "elements/TextRunParts.h"
#include "platform/text/TextLayout.h"
#include "style/layout/LayoutBox.h"

namespace {

constexpr int kEstimatedRestLength = 500;
// A rest at least this long is cut into pieces of a few lines each.
constexpr int kLongRestUnits = 2048;
bool g_cutsForLength = true;

bool IsBreakUnit(unsigned short ch) { return ch == '\t' || IsCanWrapChar(ch); }

bool HasCaret(const CElement* e) { return e->m_owner && e->m_owner->m_doc.m_caretElement == e; }

void GiveCaret(CElement* from, CElement* to, long offset)
{
    to->m_caretOffset = offset;
    if (from->m_owner && from->m_owner->m_doc.m_caretElement == from)
        from->m_owner->m_doc.m_caretElement = to;
}

bool HasSelection(const CElement* e) { return e->m_selected && e->m_selStart <= e->m_selEnd; }

// e is the last child of parent and a run of one blank at most.
bool TrailingBlank(const CElement* e, const CElement* parent)
{
    return e && e == parent->m_lastChild && e->IsTextElement()
        && (e->m_text.IsEmpty() || (e->m_text.Length() == 1 && e->m_text.GetAt(0) == ' '));
}

// The layout holds the units of text from `at` on (the end of them or not).
bool HoldsTextAt(const qm::text::Layout& layout, const CSafeBuf& text, int at)
{
    const std::vector<std::uint16_t>& held = layout.Text();
    const size_t n = held.size();
    return at >= 0 && n <= static_cast<size_t>(text.Length() - at)
        && (n == 0 || std::memcmp(held.data(), static_cast<const unsigned short*>(text) + at, n * 2) == 0);
}

} // namespace

CElement* CTextElement::WrapElement(CSize& room, bool force)
{
    if (m_minWrapWidth > room.cx && !force)
        return this;
    BuildDisplayText();
    const int n = m_text.Length();
    if (n == 0)
        return nullptr;
    const unsigned short* s = std::as_const(m_text);
    auto widthTo = [this](int k) { return DisplayWidth(ToDisplayOffset(k)); };

    int breakAt = -1; // the last unit kept
    if (force) {
        for (int i = 0; i < n && breakAt < 0; ++i) {
            if (IsBreakUnit(s[i]))
                breakAt = i;
        }
    } else {
        int last = n - 1;
        const long long width = BoxWidth();
        if (width >= 2LL * room.cx && room.cx >= 1) {
            // Start near the share of the text that fits, plus a fifth, and
            // step on ten units at a time until the room is passed.
            long long k = static_cast<long long>(n) * room.cx * 12 / (width * 10);
            while (k < n && widthTo(static_cast<int>(k)) <= room.cx)
                k += 10;
            last = k < n ? static_cast<int>(k) - 1 : n - 1;
        }
        for (int i = last; i >= 0; --i) {
            if (IsBreakUnit(s[i]) && widthTo(i + 1) <= room.cx) {
                breakAt = i;
                break;
            }
        }
    }
    if (breakAt < 0)
        return this;
    const int restStart = breakAt + 1;
    // A long rest is cut for length, measured on the whole text's shaping;
    // the rest before the first cut stands in a piece of its own. Otherwise
    // it joins the next piece, unless that was cut for length and the rest
    // fills lines of its own.
    CTextElement* next = dynamic_cast<CTextElement*>(m_nextSibling);
    CTextElement* across = next ? nullptr : PieceInNextInline();
    const CTextElement* following = next ? next : across;
    const bool fillsLines = following && following->m_cutForLength && RestFillsLines(restStart, room.cx);
    const std::vector<int> cuts = CutsForLength(restStart, room.cx);
    // The piece is made before anything changes, so that a run that cannot
    // have one stays as it was.
    CTextElement* piece = restStart < n ? NewPiece() : nullptr;
    if (restStart < n && !piece)
        return this;
    const int cutCount = MakeCuts(cuts);
    next = dynamic_cast<CTextElement*>(m_nextSibling);
    const bool nextIsPiece = m_inlineGroup && next && next->m_inlineGroup == m_inlineGroup;
    const bool restAlone = cutCount > 0 || fillsLines;

    const int oldLength = m_text.Length();
    const CRect oldBox = Lay().m_sizeRect;
    CSafeBuf rest = m_text.Mid(restStart, oldLength - restStart);
    // A layout that held the whole text as it is keeps the part kept, with
    // its shaping, and is known to hold it.
    const bool shown = m_displayText == &m_text && LayoutShowsPlainText();
    {
        // The kept part in a buffer of its own size.
        CSafeBuf kept = m_text.Left(restStart);
        m_text.ReplaceWith(&kept);
    }
    if (shown) {
        TextLayout().KeepPrefix(restStart);
        ++m_displayVersion;
        NoteShownText();
    }
    BuildDisplayText();
    qm::text::TextRect keptBounds;
    TextLayout().GlyphBounds(0, m_displayText->Length(), keptBounds);
    const int kept = keptBounds.right - keptBounds.left;
    Lay().m_sizeRect.right = Lay().m_sizeRect.left + kept;
    Lay().m_sizeRect.bottom = Lay().m_sizeRect.top + (keptBounds.bottom - keptBounds.top);
    room.cx = kept;

    // The rest joins the next run only when that is a piece of this one;
    // another run may stand apart for a reason (a change of direction).
    if (!piece || (nextIsPiece && !restAlone && MoveTextToBrother(rest))) {
        delete piece;
        return nullptr;
    }
    // Into the next piece of the inline elements around: the caller finds
    // it linked already, in a piece of its own group.
    if (across && !restAlone && MoveTextToBrother(rest, across)) {
        delete piece;
        return across;
    }
    piece->m_text = rest;
    piece->TakeSpareLayout(*this);
    DivideSelection(piece, oldLength);
    if (HasCaret(this) && m_caretOffset > breakAt)
        GiveCaret(this, piece, m_caretOffset - breakAt - 1);

    if (!force && cutCount == 0 && rest.Length() > kEstimatedRestLength) {
        // Laid out when the wrapper reaches it; until then the box this run
        // had, less the kept part.
        piece->DrawUncalc();
        piece->Lay().m_sizeRect
            = CRect(0, 0, std::max(0, (oldBox.right - oldBox.left) - kept), (oldBox.bottom - oldBox.top));
        piece->Lay().m_baseline = Lay().m_baseline;
        piece->m_minWrapWidth = m_minWrapWidth;
    } else {
        piece->BuildCDC(nullptr);
        piece->CalcWinReg(nullptr, false, false, nullptr);
    }
    return piece;
}

CTextElement* CTextElement::NewPiece()
{
    CElement* made = CreateElement(static_cast<const unsigned short*>(nullptr), m_rules, m_root, m_owner);
    CTextElement* piece = dynamic_cast<CTextElement*>(made);
    if (!piece) {
        delete made;
        return nullptr;
    }
    piece->CopyFromParent(this, 3);
    piece->m_parent = m_parent;
    InlineIDInfo(1, 0);
    piece->m_inlineGroup = m_inlineGroup;
    return piece;
}

double CTextElement::WidestLine(int room)
{
    // Only a run the line wrapper of its block places itself, with a room
    // no wider than the block's, and a display text that is its text with
    // the letters' case changed at most (so that offsets agree and a part
    // of it measures as the same part of the whole, see ByWords).
    const CElement* top = OnlyContentChain();
    const CElement* block = top->m_parent;
    if (!block || !LaysOutAsBlock(block) || !block->IsLinkedChild(top) || m_tabColumns)
        return -1;
    const int avail = static_cast<int>(block->Lay().m_availRect.right - block->Lay().m_availRect.left);
    if (room > avail)
        return -1;
    // A text shaped whole is cut only where the layout shows the text as it
    // is, so that its offsets are the text's.
    if (!m_runText->layout.ByWords() && !LayoutShowsPlainText())
        return -1;
    // A font size on both sides makes up for the last blank, which measures
    // a little differently where a piece ends.
    return avail + 2.0 * std::abs(m_minWrapWidth) + 2;
}

const CElement* CTextElement::OnlyContentChain() const
{
    // Not through quotations: their marks take room from the pieces that
    // show them, which pieces cut for length would change.
    // A blank after the chain's element counts as none: reading moves the
    // blank at the end of an inner element's text out of it
    // (<b><i>text </i></b> reads as <b><i>text</i> </b>), and it stays with
    // the last piece, after every piece cut for length.
    const CElement* top = this;
    for (const CElement* p = m_parent; p && p->m_inline && !LaysOutAsBlock(p) && p->m_kind != kKindQ
         && p->m_firstChild == top && (p->m_lastChild == top || TrailingBlank(top->m_nextSibling, p));
         p = p->m_parent)
        top = p;
    return top;
}

CTextElement* CTextElement::PieceInNextInline() const
{
    const CElement* e = this;
    int depth = 0;
    while (!e->m_nextSibling && e->m_parent && e->m_parent->m_inline && e->m_parent->m_inlineGroup
        && !LaysOutAsBlock(e->m_parent)) {
        e = e->m_parent;
        ++depth;
    }
    CElement* n = depth > 0 ? e->m_nextSibling : nullptr;
    if (!n || n->m_inlineGroup != e->m_inlineGroup || n->m_kind != e->m_kind)
        return nullptr;
    for (int d = 0; d < depth && n; ++d)
        n = n->m_firstChild;
    CTextElement* run = dynamic_cast<CTextElement*>(n);
    return run && run->m_cutForLength && run->m_inlineGroup == m_inlineGroup ? run : nullptr;
}

bool CTextElement::RestFillsLines(int restStart, int room)
{
    const double widest = WidestLine(room);
    if (widest < 0)
        return false;
    qm::text::Layout& layout = m_runText->layout;
    const int n = m_text.Length();
    return layout.PrefixWidth(n) - layout.PrefixWidth(restStart) >= widest && CutPointFrom(restStart) < n;
}

void CTextElement::EnableCutsForLength(bool on) { g_cutsForLength = on; }

int CTextElement::CutPointFrom(int unit)
{
    qm::text::Layout& layout = m_runText->layout;
    if (layout.ByWords())
        return layout.WordStartFrom(unit);
    // A text shaped whole: the first unit after a break opportunity.
    const int n = m_text.Length();
    const unsigned short* s = std::as_const(m_text);
    for (int at = std::max(unit, 1); at < n; ++at) {
        if (IsBreakUnit(s[at - 1]))
            return at;
    }
    return n;
}

std::vector<int> CTextElement::CutsForLength(int restStart, int room)
{
    std::vector<int> cuts;
    const int n = m_text.Length();
    if (n - restStart < kLongRestUnits || !g_cutsForLength)
        return cuts;
    const double widest = WidestLine(room);
    if (widest < 0)
        return cuts;
    qm::text::Layout& layout = m_runText->layout;
    const double part = 2 * widest;
    const double end = layout.PrefixWidth(n);
    if (end - layout.PrefixWidth(restStart) < 2 * part)
        return cuts;
    const unsigned short* s = std::as_const(m_text);
    int from = restStart;
    int word = CutPointFrom(restStart); // a word of the part's own
    while (word < n) {
        // The first unit at least a part's width from the part's start.
        const double target = layout.PrefixWidth(from) + part;
        int lo = from, hi = n;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (layout.PrefixWidth(mid) < target)
                lo = mid + 1;
            else
                hi = mid;
        }
        int at = CutPointFrom(std::max(lo, word + 1));
        while (at < n && !IsBreakUnit(s[at - 1]))
            at = CutPointFrom(at + 1);
        if (at >= n || end - layout.PrefixWidth(at) < part)
            break;
        cuts.push_back(at);
        from = word = at;
    }
    return cuts;
}

int CTextElement::MakeCuts(const std::vector<int>& cuts)
{
    // From the back, so that each piece copies its own text only.
    int made = 0;
    for (auto at = cuts.rbegin(); at != cuts.rend(); ++at) {
        const int length = m_text.Length();
        CTextElement* cut = NewPiece();
        if (!cut)
            break;
        cut->m_text = m_text.Mid(*at, length - *at);
        cut->m_cutForLength = true;
        m_text.AdjSize(*at);
        DivideSelection(cut, length);
        if (HasCaret(this) && m_caretOffset >= *at)
            GiveCaret(this, cut, m_caretOffset - *at);
        if (!m_parent->InsertInto(cut, this, true)) {
            CombineWrap(cut); // nothing is lost: the text comes back
            delete cut;
            break;
        }
        cut->BuildCDC(nullptr);
        cut->CalcWinReg(nullptr, false, false, nullptr);
        ++made;
    }
    return made;
}

CTextElement* CTextElement::SplitText(int offset, bool inPlace)
{
    const int n = m_text.Length();
    if (!m_parent || offset < 1 || offset >= n)
        return nullptr;
    CTextElement* run = dynamic_cast<CTextElement*>(
        CreateElement(static_cast<const unsigned short*>(nullptr), m_rules, m_root, m_owner));
    if (!run)
        return nullptr;
    run->CopyFromParent(this, 3);
    run->m_style = m_style;
    run->m_text = m_text.Mid(offset, n - offset);
    if (inPlace)
        m_text.AdjSize(offset);
    else
        m_text = m_text.Left(offset);
    m_parent->InsertInto(run, this, true);
    DivideSelection(run, n);
    if (HasCaret(this) && m_caretOffset > offset)
        GiveCaret(this, run, m_caretOffset - offset);
    return run;
}

bool CTextElement::MoveTextToBrother(const CSafeBuf& text, CTextElement* to)
{
    CTextElement* next = to ? to : dynamic_cast<CTextElement*>(m_nextSibling);
    if (!next)
        return false;
    const int add = text.Length();
    const int length = m_text.Length();
    if (add > 0) {
        CSafeBuf joined(text);
        joined += next->m_text;
        next->m_text = joined;
    }
    next->m_cutForLength = false;
    const bool nextSelected = HasSelection(next);
    if (nextSelected) {
        next->m_selStart += add;
        next->m_selEnd += add;
    }
    if (HasSelection(this) && m_selEnd >= length) {
        const long start = std::max<long>(m_selStart - length, 0);
        if (!nextSelected) {
            next->m_selected = 1;
            next->m_selEnd = std::min<long>(m_selEnd - length, add - 1);
        }
        next->m_selStart = start;
        if (m_selStart >= length)
            m_selected = 0;
        else
            m_selEnd = length - 1;
    }
    if (HasCaret(this) && m_caretOffset > length)
        GiveCaret(this, next, m_caretOffset - length);
    else if (HasCaret(next))
        next->m_caretOffset += add;
    next->CalcWinReg(nullptr, true, false, nullptr);
    return true;
}

bool CTextElement::CombineWrap(CElement* other)
{
    CTextElement* piece = dynamic_cast<CTextElement*>(other);
    if (!piece || piece == this)
        return false;
    const long oldLength = m_text.Length();
    // The shapings join where the layouts hold the texts as they are.
    const bool shown = m_runText && piece->m_runText && m_displayText == &m_text
        && piece->m_displayText == &piece->m_text && LayoutShowsPlainText() && piece->LayoutShowsPlainText();
    m_text += piece->m_text;
    if (shown && m_runText->layout.Append(piece->m_runText->layout)) {
        ++m_displayVersion;
        NoteShownText(); // both held their text without a TAB, so the joined layout holds the joined text
    }
    if (HasSelection(piece)) {
        if (!HasSelection(this)) {
            m_selected = 1;
            m_selStart = oldLength + piece->m_selStart;
        }
        m_selEnd = oldLength + piece->m_selEnd;
    }
    if (HasCaret(piece))
        GiveCaret(piece, this, oldLength + piece->m_caretOffset);
    return true;
}

void CTextElement::DivideSelection(CElement* piece, int oldLength)
{
    const long length = m_text.Length();
    if (!piece || !HasSelection(this) || m_selEnd < length || m_selEnd > oldLength)
        return;
    long end = m_selEnd == oldLength ? m_selEnd - 1 : m_selEnd;
    piece->m_selected = 1;
    piece->m_selStart = std::max<long>(m_selStart - length, 0);
    piece->m_selEnd = end - length;
    if (m_selStart < length)
        m_selEnd = length - 1;
    else
        m_selected = 0;
}

bool CTextElement::GetMinSize(CSize& size, bool)
{
    BuildDisplayText();
    if (m_minWidthVersion != m_displayVersion) {
        const unsigned short* s = std::as_const(m_text);
        const int n = m_text.Length();
        int widest = 0;
        int start = 0;
        for (int i = 0; i < n; ++i) {
            if (IsBreakUnit(s[i]) || i == n - 1) {
                const int from = ToDisplayOffset(start);
                const int to = ToDisplayOffset(i + 1);
                widest = std::max(widest, DisplayWidth(to) - DisplayWidth(from));
                start = i + 1;
            }
        }
        m_minWidth = widest;
        m_minWidthVersion = m_displayVersion;
    }
    if (size.cx < m_minWidth)
        size.cx = m_minWidth;
    return true;
}

void CTextElement::GetTextFirstPartSize(CSize& size)
{
    size = CSize(0, 0);
    BuildDisplayText();
    const unsigned short* s = std::as_const(m_text);
    const int n = m_text.Length();
    for (int i = 0; i < n - 1; ++i) {
        if (IsBreakUnit(s[i])) {
            size = CSize(DisplayWidth(ToDisplayOffset(i + 1)), TypographicHeight());
            return;
        }
    }
}

void CTextElement::KeepSpareLayouts(CTextElement* piece)
{
    if (!piece || piece == this)
        return;
    if (!m_spares)
        m_spares = std::make_unique<std::vector<SpareLayout>>();
    if (piece->m_runText) {
        m_spares->push_back(std::move(piece->m_runText));
        piece->m_displayText = &piece->m_text;
    }
    if (piece->m_spares) {
        for (SpareLayout& kept : *piece->m_spares)
            m_spares->push_back(std::move(kept));
        piece->m_spares.reset();
    }
}

void CTextElement::DropSpareLayouts() { m_spares.reset(); }

void CTextElement::TakeSpareLayout(CTextElement& from)
{
    if (!from.m_spares || from.m_spares->empty() || m_runText)
        return;
    std::vector<SpareLayout>& kept = *from.m_spares;
    m_runText = std::move(kept.front());
    kept.erase(kept.begin());
    // The piece holds the rest of the text, which stood in this piece and
    // the ones after it: their shapings are joined on while they continue
    // its text (the next wrap keeps a prefix of them).
    qm::text::Layout& layout = m_runText->layout;
    int held = layout.Length();
    if (HoldsTextAt(layout, m_text, 0)) {
        for (const SpareLayout& next : kept) {
            if (held >= m_text.Length() || !next || !HoldsTextAt(next->layout, m_text, held)
                || !layout.Append(next->layout))
                break;
            held = layout.Length();
        }
        // Compared unit for unit: a layout that holds the whole text holds it
        // as it is.
        const CSafeBuf& text = m_text;
        const unsigned short* s = text;
        if (held == text.Length() && std::find(s, s + held, '\t') == s + held)
            NoteShownText();
    }
    if (!kept.empty())
        m_spares = std::move(from.m_spares);
    from.m_spares.reset();
}
