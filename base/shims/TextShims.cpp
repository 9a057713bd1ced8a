#include "base/shims/TextShims.h"

#include <cstdint>
#include <map>
#include <tuple>

#include "base/shims/CGShims.h"

void MacSetFontInfo(ATSUStyle style, int size, unsigned long fontID)
{
    if (!style)
        return;
    style->SetBold(false);
    style->SetItalic(false);
    style->SetUnderline(false);
    style->SetStrikethrough(false);
    style->SetSize(size < 0 ? -double(size) : double(size));
    style->SetColor(0, 0, 0);
    style->SetFontId(long(fontID));
}

void MacSetTextAndContext(ATSUTextLayout layout, ATSUStyle style, CSafeBuf& text, void* context)
{
    if (!layout)
        return;
    layout->SetText(
        reinterpret_cast<const std::uint16_t*>(static_cast<const unsigned short*>(text)), text.Length());
    layout->SetStyle(style);
    layout->SetContext(static_cast<CGContextRef>(context));
}

int MacGetLineHeight(ATSUStyle style)
{
    if (!style)
        return 0;
    typedef std::tuple<long, double, bool, bool> FontKey;
    static std::map<FontKey, int> heights;
    // Runs in a row mostly share their font: the last answer is kept.
    static FontKey lastKey;
    static int lastHeight = -1;
    const FontKey key(style->FontId(), style->Size(), style->Bold(), style->Italic());
    if (lastHeight >= 0 && key == lastKey)
        return lastHeight;
    auto found = heights.find(key);
    if (found != heights.end()) {
        lastKey = key;
        lastHeight = found->second;
        return lastHeight;
    }
    qm::text::Layout probe;
    const std::uint16_t yg[2] = {'Y', 'g'};
    probe.SetText(yg, 2);
    probe.SetStyle(style);
    qm::text::TextRect ink;
    probe.ImageBounds(0, 2, ink);
    if (heights.size() >= 4096)
        heights.clear(); // a bound, never reached by real documents
    lastKey = key;
    lastHeight = ink.bottom - ink.top;
    return heights[key] = lastHeight;
}

void MacDrawMultiLineText(ATSUTextLayout layout, ATSUStyle style, CSafeBuf& text, int x, int y, int width)
{
    if (!layout || !style || text.Length() <= 0)
        return;
    const int lineHeight = MacGetLineHeight(style);

    layout->SetText(
        reinterpret_cast<const std::uint16_t*>(static_cast<const unsigned short*>(text)), text.Length());
    layout->SetStyle(style);
    int baseline = y - lineHeight;
    int start = 0;
    const int length = layout->Length();
    while (start < length) {
        int count = layout->BreakLine(start, width);
        if (count <= 0)
            break;
        // Draw places a range where it stands on the whole line; shift the line
        // so this piece starts at x.
        layout->Draw(start, count, x - layout->PrefixWidth(start), baseline);
        start += count;
        baseline -= lineHeight;
    }
}

void MacGetSize(ATSUTextLayout, int, int, int* width, int* height, CGContextRef)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
}
