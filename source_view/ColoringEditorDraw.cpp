// Layout, geometry and drawing of the markup source view: rows in a
// fixed-pitch font, the line-number gutter, colours by markup part, the
// selection, the caret and the drop caret, and the view's scroll bar.

#include "source_view/ColoringEditor.h"

#include "base/shims/CGShims.h"
#include "element/services/ControlServices.h"
#include "platform/np/Window.h"
#include "platform/qd/Port.h"
#include "platform/text/FontCatalogue.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "platform/ui/ScrollBar.h"

#include <cmath>

namespace {

constexpr int kTextMargin = 4; // between the gutter and the text
constexpr int kTopMargin = 2;

struct Rgb
{
    unsigned char r, g, b;
};

constexpr Rgb kBackground{255, 255, 255};
constexpr Rgb kGutter{240, 240, 240};
constexpr Rgb kLineNumber{128, 128, 128};
constexpr Rgb kSelection{181, 213, 255};
constexpr Rgb kWhitespaceMark{170, 170, 170};
constexpr Rgb kCaret{0, 0, 0};
constexpr Rgb kDropCaret{90, 90, 90};
constexpr Rgb kBarTrack{232, 232, 232};
constexpr Rgb kBarThumb{160, 160, 160};
constexpr Rgb kBarArrow{208, 208, 208};

void Fill(qm::cg::Context& cg, Rgb c, double x, double y, double w, double h)
{
    cg.SetRGBFillColor(c.r / 255.0, c.g / 255.0, c.b / 255.0, 1);
    cg.FillRect(qm::cg::Rect{x, y, w, h});
}

} // namespace

void CColoringEditor::MeasureFont()
{
    CSafeBuf name(m_fontName);
    long id = qm::text::FontCatalogue::Get().FontIdForName(name.GetAnsiBuffer());
    m_style->SetFontId(id < 0 ? 1 : id);
    m_style->SetSize(m_fontSize);
    qm::text::Layout layout;
    layout.SetStyle(m_style.get());
    const unsigned short sample[] = {'0', '0', '0', '0', '0', '0', '0', '0', '0', '0'};
    layout.SetText(sample, 10);
    m_charWidth = layout.PrefixWidth(10) / 10;
    if (m_charWidth <= 0)
        m_charWidth = m_fontSize * 0.6;
    m_ascent = static_cast<int>(std::ceil(layout.Ascent()));
    m_lineHeight = std::max(1, m_ascent + static_cast<int>(std::ceil(layout.Descent())) + 1);
}

int CColoringEditor::GutterWidth() const
{
    if (!m_lineNumbers)
        return 0;
    int digits = 1;
    for (int n = m_text.LineCount(); n >= 10; n /= 10)
        ++digits;
    return static_cast<int>(std::ceil(std::max(digits, 3) * m_charWidth)) + 8;
}

CRect CColoringEditor::TextRect() const
{
    const int width = m_viewRect.right - m_viewRect.left;
    const int height = m_viewRect.bottom - m_viewRect.top;
    return CRect(GutterWidth() + kTextMargin, 0, std::max(0, width - kScrollBarWidth), std::max(0, height));
}

CRect CColoringEditor::ScrollBarRect() const
{
    const int width = m_viewRect.right - m_viewRect.left;
    const int height = m_viewRect.bottom - m_viewRect.top;
    return CRect(std::max(0, width - kScrollBarWidth), 0, std::max(0, width), std::max(0, height));
}

int CColoringEditor::VisibleRows() const
{
    const CRect r = TextRect();
    return std::max(1, (r.bottom - r.top - kTopMargin) / m_lineHeight);
}

int CColoringEditor::VisibleColumns() const
{
    const CRect r = TextRect();
    return std::max(1, static_cast<int>((r.right - r.left) / m_charWidth));
}

void CColoringEditor::UpdateWrap()
{
    m_text.SetWrapColumns(m_wordWrap ? std::max(1, VisibleColumns() - 1) : 0);
}

void CColoringEditor::ClampScroll()
{
    m_topRow = std::clamp(m_topRow, 0, std::max(0, m_text.RowCount() - VisibleRows()));
    m_leftColumn = m_wordWrap ? 0 : std::max(0, m_leftColumn);
}

void CColoringEditor::ScrollToCaret()
{
    UpdateWrap();
    const int row = m_text.RowOf(m_caret);
    if (row < m_topRow)
        m_topRow = row;
    else if (row >= m_topRow + VisibleRows())
        m_topRow = row - VisibleRows() + 1;
    if (!m_wordWrap) {
        const int col = m_text.ColumnOf(m_caret);
        if (col < m_leftColumn)
            m_leftColumn = std::max(0, col - 8);
        else if (col >= m_leftColumn + VisibleColumns())
            m_leftColumn = col - VisibleColumns() + 8;
    }
    ClampScroll();
}

int CColoringEditor::PosFromPoint(CPoint point) const
{
    const CRect r = TextRect();
    const int dy = point.y - kTopMargin;
    const int row = m_topRow + (dy < 0 ? -1 : dy / m_lineHeight);
    if (row < 0)
        return 0;
    if (row >= m_text.RowCount())
        return m_text.Length();
    const int column = m_leftColumn + static_cast<int>(std::floor((point.x - r.left) / m_charWidth + 0.5));
    return m_text.PosAtColumn(row, std::max(0, column));
}

CPoint CColoringEditor::PointFromPos(int pos) const
{
    const CRect r = TextRect();
    const int row = m_text.RowOf(pos);
    const int x = r.left + static_cast<int>(std::lround((m_text.ColumnOf(pos) - m_leftColumn) * m_charWidth));
    return CPoint(x, kTopMargin + (row - m_topRow) * m_lineHeight);
}

SourcePart CColoringEditor::PartColour(SourcePart part, unsigned char rgb[3]) const
{
    Rgb c{0, 0, 0};
    switch (part) {
    case SourcePart::kText: c = {0, 0, 0}; break;
    case SourcePart::kBracket:
    case SourcePart::kTagName: c = {0, 0, 176}; break;
    case SourcePart::kUnknownTag: c = {192, 0, 0}; break;
    case SourcePart::kAttribute: c = {150, 0, 150}; break;
    case SourcePart::kValue: c = {0, 112, 160}; break;
    case SourcePart::kComment: c = {0, 128, 0}; break;
    case SourcePart::kSpecial: c = {128, 128, 128}; break;
    case SourcePart::kEntity: c = {176, 96, 0}; break;
    }
    if (m_dimTags && part != SourcePart::kText && part != SourcePart::kEntity)
        c = {190, 190, 190};
    rgb[0] = c.r;
    rgb[1] = c.g;
    rgb[2] = c.b;
    return part;
}

void CColoringEditor::Redraw()
{
    if (!m_window || !m_window->window)
        return;
    // The view shares its area with the other views: while another one
    // shows, a new text or size is drawn at the switch to this view.
    if (m_control && m_control->GetViewMode() != 1)
        return;
    const NPRect& clip = m_window->clipRect;
    if (clip.right <= clip.left || clip.bottom <= clip.top)
        return; // hidden
    qm::qd::Port* port = static_cast<NP_Port*>(m_window->window)->port;
    CGContextRef context = CreateCGContext(port);
    if (!context)
        return;
    // Only the part of the view the page shows.
    const int height = port->Height();
    context->ClipToRect(qm::cg::Rect{double(clip.left), double(height - clip.bottom),
        double(clip.right - clip.left), double(clip.bottom - clip.top)});
    Draw(*context, height);
    EndCGContext(port, &context);
}

void CColoringEditor::Draw(qm::cg::Context& cg, int portHeight)
{
    const int ox = (m_window ? m_window->x : 0) + m_viewRect.left;
    const int oy = (m_window ? m_window->y : 0) + m_viewRect.top;
    const int width = m_viewRect.right - m_viewRect.left;
    const int height = m_viewRect.bottom - m_viewRect.top;
    if (width <= 0 || height <= 0)
        return;
    // View coordinates (y down from the view's top) to the context's y-up space.
    auto X = [ox](double x) { return ox + x; };
    auto Y = [oy, portHeight](double y, double h) { return portHeight - (oy + y) - h; };

    cg.SaveGState();
    cg.ClipToRect(qm::cg::Rect{double(ox), Y(0, height), double(width), double(height)});
    Fill(cg, kBackground, X(0), Y(0, height), width, height);

    UpdateWrap();
    const CRect text = TextRect();
    const int gutter = GutterWidth();
    if (gutter > 0)
        Fill(cg, kGutter, X(0), Y(0, height), gutter, height);

    qm::text::Layout layout;
    layout.SetStyle(m_style.get());
    layout.SetContext(&cg);
    auto drawText = [&](const unsigned short* units, int n, double x, double rowTop, Rgb c) {
        m_style->SetColor(c.r, c.g, c.b);
        layout.SetText(units, n);
        layout.Draw(0, n, X(x), Y(rowTop + kTopMargin + m_ascent, 0));
    };

    const int firstRow = m_topRow;
    const int lastRow = std::min(m_text.RowCount(), m_topRow + VisibleRows() + 1);
    std::vector<SourceRun> runs;
    if (firstRow < lastRow) {
        ColourSource(
            m_text.Data(), m_text.Length(), m_text.RowStart(firstRow), m_text.RowEnd(lastRow - 1),
            [this](const unsigned short* name, int n) { return IsValidHTMLTag(name, n); }, runs);
    }
    std::size_t runIndex = 0;
    const int selStart = SelectionStart();
    const int selEnd = SelectionEnd();
    const unsigned short* t = m_text.Data();
    const double cw = m_charWidth;
    const int lastVisibleColumn = m_leftColumn + VisibleColumns() + 1;

    cg.SaveGState();
    cg.ClipToRect(
        qm::cg::Rect{X(text.left - 1), Y(0, height), double(text.right - text.left + 1), double(height)});
    for (int row = firstRow; row < lastRow; ++row) {
        const double rowTop = (row - m_topRow) * m_lineHeight;
        const int start = m_text.RowStart(row);
        const int end = m_text.RowEnd(row);
        const bool endsLine = end < m_text.Length() && m_text.IsBreak(end);
        auto xOf = [&](int col) { return text.left + (col - m_leftColumn) * cw; };

        // The selection behind the row (one column more for a selected break).
        if (selStart < selEnd && selStart <= end && selEnd >= start) {
            const int a = std::max(selStart, start);
            const int b = std::min(selEnd, end);
            const int ca = m_text.ColumnFrom(start, a);
            int cb = m_text.ColumnFrom(start, b);
            if (selEnd > end && endsLine)
                ++cb;
            if (cb > ca)
                Fill(cg, kSelection, X(xOf(ca)), Y(rowTop + kTopMargin, m_lineHeight), (cb - ca) * cw,
                    m_lineHeight);
        }

        // The row's units by colour, one segment per run piece between tabs.
        int col = 0;
        int i = start;
        while (i < end) {
            while (runIndex < runs.size() && runs[runIndex].start + runs[runIndex].length <= i)
                ++runIndex;
            SourcePart part = SourcePart::kText;
            int runEnd = end;
            if (runIndex < runs.size() && runs[runIndex].start <= i) {
                part = runs[runIndex].part;
                runEnd = std::min(end, runs[runIndex].start + runs[runIndex].length);
            }
            if (t[i] == '\t') {
                const int w = CSourceText::kTabColumns - col % CSourceText::kTabColumns;
                if (m_showWhitespace && col >= m_leftColumn && col < lastVisibleColumn) {
                    const unsigned short mark = 0x00BB;
                    drawText(&mark, 1, xOf(col), rowTop, kWhitespaceMark);
                }
                col += w;
                ++i;
                continue;
            }
            int j = i;
            int cols = 0;
            while (j < runEnd && t[j] != '\t') {
                if (!(t[j] >= 0xDC00 && t[j] <= 0xDFFF))
                    ++cols;
                ++j;
            }
            if (col + cols > m_leftColumn && col < lastVisibleColumn) {
                // Only the units in the visible columns (a line may be very long).
                int a = i;
                int ca = col;
                while (a < j && ca < m_leftColumn) {
                    if (!(t[a] >= 0xDC00 && t[a] <= 0xDFFF))
                        ++ca;
                    ++a;
                }
                while (a < j && a > i && t[a] >= 0xDC00 && t[a] <= 0xDFFF)
                    ++a;
                int b = a;
                for (int cb = ca; b < j && cb < lastVisibleColumn; ++b) {
                    if (!(t[b] >= 0xDC00 && t[b] <= 0xDFFF))
                        ++cb;
                }
                while (b < j && t[b] >= 0xDC00 && t[b] <= 0xDFFF)
                    ++b;
                unsigned char rgb[3];
                PartColour(part, rgb);
                drawText(t + a, b - a, xOf(ca), rowTop, Rgb{rgb[0], rgb[1], rgb[2]});
                if (m_showWhitespace) {
                    const unsigned short dot = 0x00B7;
                    int c = ca;
                    for (int k = a; k < b; ++k, ++c) {
                        if (t[k] == ' ')
                            drawText(&dot, 1, xOf(c), rowTop, kWhitespaceMark);
                    }
                }
            }
            col += cols;
            i = j;
        }
        if (m_showWhitespace && endsLine) {
            const unsigned short pilcrow = 0x00B6;
            drawText(&pilcrow, 1, xOf(col), rowTop, kWhitespaceMark);
        }
    }

    // The caret, or the drop caret while a drag is over the view.
    auto caretAt = [&](int pos, Rgb c) {
        const CPoint p = PointFromPos(pos);
        if (p.y + m_lineHeight <= 0 || p.y >= height || p.x < text.left - 1)
            return;
        Fill(cg, c, X(p.x), Y(p.y, m_lineHeight), 1, m_lineHeight);
    };
    if (m_dropCaret >= 0)
        caretAt(m_dropCaret, kDropCaret);
    if (m_focused && !m_caretHidden)
        caretAt(m_caret, kCaret);
    cg.RestoreGState();

    // Line numbers, on the first row of each logical line.
    if (gutter > 0) {
        for (int row = firstRow; row < lastRow; ++row) {
            if (!m_text.RowStartsLine(row))
                continue;
            CSafeBuf number;
            number.AppendInt(m_text.LineOf(m_text.RowStart(row)) + 1);
            const double x = gutter - 4 - number.Length() * cw;
            drawText(number, number.Length(), x, (row - m_topRow) * m_lineHeight, kLineNumber);
        }
    }

    // The scroll bar: arrows at both ends, the track and the thumb.
    const CRect bar = ScrollBarRect();
    Fill(cg, kBarTrack, X(bar.left), Y(bar.top, bar.bottom - bar.top), bar.right - bar.left,
        bar.bottom - bar.top);
    qm::ui::ScrollBar geometry;
    geometry.SetBounds(bar.left, bar.top, bar.right, bar.bottom);
    geometry.SetMaximum(std::max(0, m_text.RowCount() - VisibleRows()));
    geometry.SetValue(m_topRow);
    geometry.SetViewSize(VisibleRows());
    const int arrow = std::min(kScrollBarWidth, (bar.bottom - bar.top) / 2);
    Fill(cg, kBarArrow, X(bar.left + 1), Y(bar.top, arrow), bar.right - bar.left - 2, arrow - 1);
    Fill(cg, kBarArrow, X(bar.left + 1), Y(bar.bottom - arrow + 1, arrow - 1), bar.right - bar.left - 2,
        arrow - 1);
    int thumbStart = 0;
    int thumbEnd = 0;
    if (geometry.ThumbExtent(thumbStart, thumbEnd))
        Fill(cg, kBarThumb, X(bar.left + 3), Y(thumbStart, thumbEnd - thumbStart), bar.right - bar.left - 6,
            thumbEnd - thumbStart);
    cg.RestoreGState();
}
