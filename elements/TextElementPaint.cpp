// Turning a click into a caret offset, and drawing a text run with its
// selection.

#include "elements/TextElement.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "platform/cg/Context.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"

int CTextElement::GetCloseCursor(CPoint pt, CPoint& caretPoint, int& caretLength, int& offset, int)
{
    if (!PointToElement(pt))
        return 0;
    BuildDisplayText();
    caretLength = BoxHeight();
    caretPoint = CPoint(0, BoxHeight());
    offset = 0;
    if (pt.x >= 1) {
        const int n = m_text.Length();
        int before = 0; // width of the first i - 1 units
        for (int i = 1; i <= n; ++i) {
            const int width = DisplayWidth(ToDisplayOffset(i));
            if (width <= pt.x) {
                offset = i;
                caretPoint.x = width;
            } else {
                // Past the point: after this unit only from its right half on.
                if (pt.x + (width - before) / 2 >= width) {
                    offset = i;
                    caretPoint.x = width;
                }
                break;
            }
            before = width;
        }
    }
    ElementToScreen(caretPoint);
    return 1;
}

int CTextElement::LButtonDown(
    unsigned int, CPoint pt, bool& handled, CPoint& caretPoint, int& caretLength, bool&)
{
    int offset = 0;
    if (!GetCloseCursor(pt, caretPoint, caretLength, offset, 0))
        return 0;
    m_caretOffset = offset;
    handled = true;
    return 1;
}

bool CTextElement::SelfPaint(void* dc, CPoint origin)
{
    qm::cg::Context* context = static_cast<qm::cg::Context*>(dc);
    if (!context && m_root)
        context = m_root->m_dc.get();
    BuildDisplayText();
    const int n = m_displayText->Length();
    if (n == 0 || !context)
        return true;

    const unsigned long colour = GetRunColor();
    TextStyle().SetColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    qm::text::Layout& layout = TextLayout();
    layout.SetContext(context);
    const double x = origin.x;
    const double y = context->Height() - origin.y - BoxHeight() + 4;
    layout.Draw(0, n, x, y);

    if (HasOwnSelection()) {
        // Selection offsets are the text's: into the display text's columns,
        // the end to the last column of a TAB it ends on.
        const int last = m_text.Length() - 1;
        const long selStart = std::clamp<long>(m_selStart, 0, last);
        const long selEnd = std::clamp<long>(m_selEnd, 0, last);
        int start = ToDisplayOffset(static_cast<int>(selStart));
        int end = ToDisplayOffset(static_cast<int>(selEnd) + 1) - 1;
        if (end >= n)
            end = n - 1;
        layout.Highlight(start, end - start + 1, x, y);
        qm::text::TextRect bounds;
        layout.GlyphBounds(start, end - start + 1, bounds);
        m_selStartPoint.x = std::max(bounds.left, 0);
        m_selEndPoint.x = std::max(bounds.right, 0);
    }
    layout.SetContext(nullptr);
    Lay().m_baseline.y = BoxHeight() - 4;
    return true;
}

bool CTextElement::PaintedRows(int& top, int& bottom)
{
    const int n = TextLayout().Length();
    if (n == 0)
        return false;
    const qm::text::Style& style = TextStyle();
    const int decorations = (style.Underline() ? 1 : 0) | (style.Strikethrough() ? 2 : 0);
    if (m_drawnVersion != m_displayVersion || m_drawnDecorations != decorations) {
        qm::text::TextRect drawn;
        if (!TextLayout().DrawnBounds(0, n, drawn))
            return false;
        m_drawnTop = drawn.top;
        m_drawnBottom = drawn.bottom;
        m_drawnVersion = m_displayVersion;
        m_drawnDecorations = decorations;
    }
    // SelfPaint's baseline.
    const int baseline = BoxHeight() - 4;
    top = baseline + m_drawnTop;
    bottom = baseline + m_drawnBottom;
    return true;
}

std::size_t CTextElement::PaintedLook()
{
    if (m_digestVersion != m_displayVersion) {
        const std::vector<std::uint16_t>& text = TextLayout().Text();
        m_textDigest = std::hash<std::u16string_view>()(
            std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
        m_digestVersion = m_displayVersion;
    }
    const qm::text::Style& style = TextStyle();
    std::size_t look = m_textDigest;
    auto mix = [&look](std::size_t v) { look ^= v + 0x9e3779b9 + (look << 6) + (look >> 2); };
    mix(style.ShapeGeneration());
    mix(std::size_t(style.Red()) | std::size_t(style.Green()) << 8 | std::size_t(style.Blue()) << 16);
    mix((style.Underline() ? 1 : 0) | (style.Strikethrough() ? 2 : 0) | (TextLayout().RightToLeft() ? 4 : 0)
        | (HasOwnSelection() ? 8 : 0));
    if (HasOwnSelection()) {
        mix(std::size_t(m_selStart));
        mix(std::size_t(m_selEnd));
    }
    return look;
}
