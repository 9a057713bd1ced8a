// A text run's font, colour and display text, its own box and the caret's
// geometry.

#include "elements/TextElement.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "base/shims/TextShims.h"
#include "element/EffectiveValues.h"
#include "element/services/XHTMLServices.h"
#include "platform/text/FontCatalogue.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "style/records/TextTransformUse.h"

namespace {

constexpr unsigned long kLinkColour = RGB(0, 0, 255);

// The font of the run as the style resolved it.
struct RunFont
{
    long id;
    int size;
    bool bold;
    bool italic;
    bool underline;
    bool strike;
};

long LookUpFontId(const unsigned short* family, long fallback);

// The catalogue's font number for the first name of a family list that it
// knows (generic names included); fallback when it knows none. The family
// is an interned style text: equal families have one address, for as long
// as the process lives.
long FontIdForFamily(const unsigned short* family, long fallback)
{
    // Runs in a row mostly share their family: the last answer is kept.
    static const unsigned short* lastFamily = nullptr;
    static long lastFallback = -1, lastId = 0;
    if (family == lastFamily && fallback == lastFallback)
        return lastId;
    const long id = LookUpFontId(family, fallback);
    lastFamily = family;
    lastFallback = fallback;
    lastId = id;
    return id;
}

long LookUpFontId(const unsigned short* family, long fallback)
{
    const qm::text::FontCatalogue& fonts = qm::text::FontCatalogue::Get();
    std::string name;
    for (const unsigned short* p = family;; ++p) {
        if (*p && *p != ',') {
            if (*p < 0x80 && *p != '"' && *p != '\'')
                name += static_cast<char>(*p);
            continue;
        }
        const size_t first = name.find_first_not_of(' ');
        const size_t last = name.find_last_not_of(' ');
        const std::string trimmed = first == std::string::npos ? "" : name.substr(first, last - first + 1);
        long id = fonts.FontIdForName(trimmed);
        if (id < 0 && (trimmed == "serif" || trimmed == "Serif"))
            id = qm::text::kDefaultFontId;
        if (id < 0 && (trimmed == "monospace" || trimmed == "Monospace"))
            id = qm::text::kMonospaceFontId;
        if (id < 0 && (trimmed == "sans-serif" || trimmed == "Sans-serif"))
            id = fonts.FontIdForName("Arial");
        if (id >= 0)
            return id;
        if (!*p)
            return fallback;
        name.clear();
    }
}

// Inside a link whose run and ancestors up to the anchor say nothing about
// decoration, the text is underlined.
bool LinkUnderlined(const CElement* run)
{
    for (const CElement* e = run; e; e = e->m_parent) {
        if (e->Style().noDecoration)
            return false;
        if (e->m_kind == kKindA)
            break;
    }
    return true;
}

// The font the layout pass resolved (LoadCDCSetting); before any pass, the
// computed style's.
RunFont ResolvedFont(const CTextElement& run)
{
    const ELEMENT_STYLE& s = run.Style();
    RunFont f;
    if (run.Lay().m_pxFontSize > 0) {
        const TEXT_FONT_SETTING& t = run.Lay().m_textFont;
        f.id = FontIdForFamily(t.family.Get(), s.fontNumber);
        f.size = std::abs(t.size);
        f.bold = t.bold;
        f.italic = t.italic;
        f.underline = t.underline;
    } else {
        f.id = FontIdForFamily(s.fontFamily.Get(), s.fontNumber);
        f.size = GetActualFontSize(&run);
        f.bold = (s.fontWeight ? s.fontWeight : 100) >= 301;
        f.italic = s.italic != 0;
        f.underline = s.underline != 0;
    }
    f.underline = f.underline || (run.m_linkState == 1 && LinkUnderlined(&run));
    f.strike = s.lineThrough != 0;
    return f;
}

} // namespace

bool CTextElement::LoadCDCSetting(void* dc)
{
    CElement::LoadCDCSetting(dc);
    return true;
}

bool CTextElement::DrawUncalc()
{
    CElement::DrawUncalc();
    SetTextFont();
    return true;
}

int CTextElement::TextTransformCode() const
{
    // Without a text-transform in any style, none stands above the run.
    if (!TextTransformRead())
        return 0;
    for (const CElement* e = this; e; e = e->m_parent) {
        if (e->Style().textTransform.set)
            return e->Style().textTransform.value;
    }
    return 0;
}

int CTextElement::ShouldTransform() const
{
    int mask = 0;
    const int code = TextTransformCode();
    if (code >= 1 && code <= 3)
        mask |= 1;
    if (m_text.Find(static_cast<unsigned short>('\t')) >= 0)
        mask |= 2;
    return mask;
}

void CTextElement::ApplyTextTransform(CSafeBuf& text) const
{
    switch (TextTransformCode()) {
    case 1: text.MakeCapitalize(); break;
    case 2: text.MakeUpper(); break;
    case 3: text.MakeLower(); break;
    default: break;
    }
}

unsigned long CTextElement::GetRunColor() const
{
    if (m_linkState == 1) {
        long colour = static_cast<long>(kLinkColour);
        for (const CElement* e = m_parent; e; e = e->m_parent) {
            if (e->Style().colorSet)
                colour = ValidateColor(e, e->Style().color);
            if (e->m_kind == kKindA)
                break;
        }
        return colour < 0 ? kLinkColour : static_cast<unsigned long>(colour);
    }
    // A run takes its colour from the nearest element that sets one.
    for (const CElement* e = this; e; e = e->m_parent) {
        if (e->Style().colorSet) {
            const long colour = ValidateColor(e, e->Style().color);
            return colour < 0 ? RGB(0, 0, 0) : static_cast<unsigned long>(colour);
        }
    }
    return RGB(0, 0, 0);
}

void CTextElement::BuildDisplayText()
{
    const int code = TextTransformCode();
    if ((code < 1 || code > 3) && LayoutShowsPlainText()) {
        // The common case: the text itself, unchanged since the last time.
        m_displayText = &m_text;
        m_tabColumns.reset();
        return;
    }
    const int mask = ShouldTransform();
    m_tabColumns.reset();
    if (m_transformed && m_transformed->GetCapacity() > 2 * m_text.Length() + 64) {
        // A run that became a short piece of a long one holds room for its
        // own text only.
        CSafeBuf small;
        m_transformed->ReplaceWith(&small);
    }
    if (!mask) {
        m_displayText = &m_text;
    } else {
        if (!m_transformed)
            m_transformed = std::make_unique<CSafeBuf>();
        CSafeBuf& transformed = *m_transformed;
        transformed = m_text;
        if (mask & 1)
            ApplyTextTransform(transformed);
        if (mask & 2) {
            // Where each unit of the text starts in the expanded text.
            const unsigned short* s = std::as_const(m_text);
            const int n = m_text.Length();
            m_tabColumns = std::make_unique<std::vector<int>>(static_cast<size_t>(n) + 1);
            std::vector<int>& columns = *m_tabColumns;
            long long column = 0;
            for (int i = 0; i < n; ++i) {
                columns[static_cast<size_t>(i)] = static_cast<int>(column);
                column = s[i] == '\t' ? (column / kTextTabWidth + 1) * kTextTabWidth : column + 1;
                if (column > 0x3FFFFFFF)
                    column = 0x3FFFFFFF; // beyond any string; keeps the map monotonic
            }
            columns[static_cast<size_t>(n)] = static_cast<int>(column);
            transformed.ExpandTAB(kTextTabWidth, ' ');
            if (transformed.Length() != columns.back())
                m_tabColumns.reset(); // not expanded (too long): offsets stay as they are
        }
        m_displayText = &transformed;
    }
    // The layout keeps its shaping while it holds the same text, and the
    // shaping of the words it keeps when the text became a prefix of it.
    const std::vector<std::uint16_t>& shown = TextLayout().Text();
    const int n = m_displayText->Length();
    const unsigned short* d = *m_displayText;
    int common = 0;
    const int most = std::min(n, static_cast<int>(shown.size()));
    while (common < most && shown[static_cast<size_t>(common)] == d[common])
        ++common;
    if (common != n || n != static_cast<int>(shown.size())) {
        if (common == n)
            TextLayout().KeepPrefix(n);
        else
            TextLayout().SetText(reinterpret_cast<const std::uint16_t*>(d), n);
        ++m_displayVersion;
    }
    if (m_displayText == &m_text)
        NoteShownText(); // the text itself, without a TAB, is what the layout holds now
}

bool CTextElement::LayoutShowsPlainText()
{
    const qm::text::Layout& layout = TextLayout();
    const CSafeBuf& text = m_text; // read only: a writable access counts as a change
    if (layout.TextStamp() == m_shownLayoutStamp && text.Changes() == m_shownTextChanges)
        return true;
    const std::vector<std::uint16_t>& shown = layout.Text();
    const unsigned short* s = text;
    const size_t n = static_cast<size_t>(text.Length());
    if (shown.size() != n || (n != 0 && std::memcmp(shown.data(), s, n * sizeof *s) != 0)
        || std::find(s, s + n, '\t') != s + n)
        return false;
    NoteShownText();
    return true;
}

void CTextElement::NoteShownText()
{
    m_shownLayoutStamp = TextLayout().TextStamp();
    m_shownTextChanges = static_cast<const CSafeBuf&>(m_text).Changes();
}

const CSafeBuf& CTextElement::DisplayText()
{
    BuildDisplayText();
    return *m_displayText;
}

int CTextElement::ToDisplayOffset(int textOffset) const
{
    if (!m_tabColumns)
        return textOffset;
    if (textOffset <= 0)
        return 0;
    const std::vector<int>& columns = *m_tabColumns;
    const int n = static_cast<int>(columns.size()) - 1;
    return columns[static_cast<size_t>(textOffset < n ? textOffset : n)];
}

int CTextElement::ToTextOffset(int displayOffset) const
{
    if (!m_tabColumns)
        return displayOffset;
    // The last unit that starts at or before the column.
    const std::vector<int>& columns = *m_tabColumns;
    int lo = 0, hi = static_cast<int>(columns.size()) - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (columns[static_cast<size_t>(mid)] <= displayOffset)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

int CTextElement::DisplayWidth(int n) { return TextLayout().RangeWidth(0, n); }

int CTextElement::TypographicHeight()
{
    qm::text::TextRect r;
    TextLayout().GlyphBounds(0, 0, r);
    return r.bottom - r.top;
}

void CTextElement::SetTextFont()
{
    qm::text::TextRect whole;
    SetTextFont(whole);
}

void CTextElement::SetTextFont(qm::text::TextRect& whole)
{
    const RunFont font = ResolvedFont(*this);
    qm::text::Style& style = TextStyle();
    const unsigned generation = style.ShapeGeneration();
    style.SetBold(font.bold);
    style.SetItalic(font.italic);
    style.SetUnderline(font.underline);
    style.SetStrikethrough(font.strike);
    style.SetSize(std::abs(font.size));
    const unsigned long colour = GetRunColor();
    style.SetColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    style.SetFontId(font.id);
    if (style.ShapeGeneration() != generation)
        ++m_displayVersion;
    Lay().m_textFontStale = 0;

    // A run of a right-to-left block is laid out on a right-to-left line, so
    // its blanks at the ends stand where the reading goes on.
    if (TextLayout().RightToLeft() != (Style().rtl != 0)) {
        TextLayout().SetRightToLeft(Style().rtl != 0);
        ++m_displayVersion;
    }
    m_lineHeight = MacGetLineHeight(&style);
    BuildDisplayText();
    whole = qm::text::TextRect{0, 0, 0, 0};
    if (!m_displayText->IsEmpty()) {
        TextLayout().GlyphBounds(0, m_displayText->Length(), whole);
        const int height = whole.bottom - whole.top - 4;
        if (height > m_lineHeight)
            m_lineHeight = height;
    }
    m_minWrapWidth = std::abs(font.size);
}

bool CTextElement::CalcWinReg(void* dc, bool, bool, CalcInfo*)
{
    if (!m_text.IsEmpty())
        CalcForAll(dc, false, false);
    qm::text::TextRect r;
    SetTextFont(r);
    const int n = m_displayText->Length();
    if (n > 0) {
        const int height = r.bottom - r.top;
        Lay().m_sizeRect = CRect(0, 0, r.right - r.left, height);
        Lay().m_baseline = CPoint(0, height - 4);
    } else {
        Lay().m_sizeRect = CRect(0, 0, 0, m_lineHeight);
        Lay().m_baseline = CPoint(0, m_lineHeight);
    }
    return true;
}

int CTextElement::GetKeyPos(CPoint& pt, int offset)
{
    BuildDisplayText();
    int at = offset == -1 ? static_cast<int>(m_caretOffset) : offset;
    if (at < 0)
        at = 0;
    if (at > m_text.Length())
        at = m_text.Length();
    const int height = TypographicHeight() - 2;
    pt = CPoint(DisplayWidth(ToDisplayOffset(at)), m_lineHeight + 2 > height ? m_lineHeight + 2 : height);
    ElementToScreen(pt);
    return 1;
}

int CTextElement::GetKeyLen() { return m_lineHeight + 4; }

bool CTextElement::DrawBorder(void* dc, CPoint origin, CRect* clip)
{
    if (m_linkState != 2)
        return CElement::DrawBorder(dc, origin, clip);
    const CSharedStyle saved = m_style;
    ELEMENT_STYLE& s = EditStyle();
    const bool own = s.borderSet != 0;
    s.borderSet = 1;
    for (BORDER_SIDE& side : s.border) {
        side.width = 2;
        side.unit = kUnitPixels;
        side.color = static_cast<std::int32_t>(RGB(0, 0, 255));
        side.colorSet = 1;
        side.set = 1;
        if (!own)
            side.style = kLineSolid;
    }
    CElement::DrawBorder(dc, origin, nullptr);
    m_style = saved;
    return true;
}
