// The toolbar widget's drawing: background (flat or banded), separators,
// buttons in their states and the style box. Rectangles are top-down in the
// plug-in area's coordinates and flipped against the toolbar's height
// (ReverseRect) into the context's y-up user space that BeginDrawing set.
//
// Button looks (s the button size, the button's rectangle grown by 3 is its
// face and grown by 4 its frame): hover shades the face with anti-diagonal
// lines brighter than the background towards the top-left corner and darker
// towards the bottom-right (raised), pressed shades it darker (sunken) and
// draws the picture 1 pixel right and down, checked fills the face white;
// each of the three frames the face in two colours taken from the
// background (top and left edges, bottom and right edges). Normal repaints
// the background under the frame and draws the picture.

#include "plugin/CustToolbar.h"

#include "platform/cg/Context.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "plugin/ImageList.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned long kWhite = 0xffffff;
constexpr unsigned long kDark = 0x404040;   // sunken edges and the disabled box
constexpr unsigned long kSquare = 0x606060; // a button of a bar without pictures
constexpr unsigned long kGapDark = 0x606060;
constexpr unsigned long kGapLight = 0xe0e0e0;
constexpr unsigned long kSeparatorDark = 0xa0a0a0;
constexpr unsigned long kGreyText = 0x909090;
// The style box's own frame in the disabled look.
constexpr int kBoxDisabled = 5;

int Red(unsigned long c) { return int(c & 0xff); }
int Green(unsigned long c) { return int((c >> 8) & 0xff); }
int Blue(unsigned long c) { return int((c >> 16) & 0xff); }
int Clamp(int v) { return std::max(0, std::min(255, v)); }
unsigned long Rgb(int r, int g, int b)
{
    return static_cast<unsigned long>(Clamp(r)) | (static_cast<unsigned long>(Clamp(g)) << 8)
        | (static_cast<unsigned long>(Clamp(b)) << 16);
}
// Each component plus delta (kept within 0 to 255).
unsigned long Shift(unsigned long c, int delta)
{
    return Rgb(Red(c) + delta, Green(c) + delta, Blue(c) + delta);
}
unsigned long Scale(unsigned long c, double f)
{
    return Rgb(int(Red(c) * f), int(Green(c) * f), int(Blue(c) * f));
}

bool Enabled(const ButtonInfo* b) { return (b->state & kButtonEnabled) && !(b->state & kButtonGrey); }

CRect Grown(const ButtonInfo* b, int by)
{
    return CRect(b->left - by, b->top - by, b->right + by, b->bottom + by);
}

} // namespace

void CCustToolbar::FillRect(const CRect& rect, unsigned long colour)
{
    if (!m_context || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    CRect r(rect);
    ReverseRect(r, m_height);
    m_context->SetRGBFillColor(Red(colour) / 255.0, Green(colour) / 255.0, Blue(colour) / 255.0, 1.0);
    m_context->FillRect(
        qm::cg::Rect{double(r.left), double(r.top), double(r.right - r.left), double(r.bottom - r.top)});
}

void CCustToolbar::DrawLine(int x0, int y0, int x1, int y1, unsigned long colour)
{
    if (!m_context)
        return;
    // Through the pixel centres; square caps cover both end pixels.
    m_context->SaveGState();
    m_context->SetRGBStrokeColor(Red(colour) / 255.0, Green(colour) / 255.0, Blue(colour) / 255.0, 1.0);
    m_context->SetLineWidth(1.0);
    m_context->SetLineCap(qm::cg::LineCap::Square);
    m_context->BeginPath();
    m_context->MoveToPoint(x0 + 0.5, m_height - y0 - 0.5);
    m_context->AddLineToPoint(x1 + 0.5, m_height - y1 - 0.5);
    m_context->StrokePath();
    m_context->RestoreGState();
}

void CCustToolbar::DrawBackground(const CRect& area)
{
    const unsigned long background = Background();
    if (!m_gradient) {
        FillRect(area, background);
        return;
    }
    // 20 bands across the width, band i darker by i in each component.
    const double step = (m_width - 2) / 20.0;
    for (int i = 0; i < 20; ++i) {
        int left = std::max(1, int(std::floor(i * step)));
        int right = i == 19 ? m_width - 1 : int(std::floor((i + 1) * step));
        left = std::max(left, int(area.left));
        right = std::min(right, int(area.right));
        if (right > left)
            FillRect(CRect(left, area.top, right, area.bottom), Shift(background, -i));
    }
}

void CCustToolbar::DrawSeparator(int y)
{
    FillRect(CRect(0, y, m_width, y + 1), kSeparatorDark);
    FillRect(CRect(0, y + 1, m_width, y + 2), kWhite);
}

void CCustToolbar::DrawPicture(ToolBarStruct* bar, ButtonInfo* button, const CRect& rect, bool grey)
{
    if (!bar->images || bar->images->GetImageCount() == 0) {
        FillRect(rect, kSquare);
        return;
    }
    bar->images->DrawImage(m_context, rect, button->imageIndex, Background(), grey, m_height);
}

void CCustToolbar::DrawButton(ToolBarStruct* bar, ButtonInfo* b)
{
    if (b->kind == kButtonKindGap) {
        FillRect(CRect(b->left, b->top, b->left + 1, b->bottom), kGapDark);
        FillRect(CRect(b->left + 1, b->top, b->left + 2, b->bottom), kGapLight);
        return;
    }
    if (b->boxStyle == 5) {
        DrawStyleBox(bar, b);
        return;
    }
    const bool enabled = Enabled(b);
    b->drawnLook = enabled ? kButtonEnabled : kButtonGrey;
    if (enabled && (b->state & kButtonChecked))
        DrawBox1(bar, b, kStateChecked);
    else
        DrawPicture(bar, b, CRect(b->left, b->top, b->right, b->bottom), !enabled);
}

void CCustToolbar::DrawBox1(ToolBarStruct* bar, ButtonInfo* b, int state)
{
    if (!m_context || b->right <= b->left || b->bottom <= b->top || m_height == 0)
        return;
    if (b->state & kButtonGrey)
        state = kStateNormal;
    else if (b->state & kButtonChecked)
        state = kStateChecked;
    const unsigned long background = Background();
    const CRect face = Grown(b, 3);
    const CRect frame = Grown(b, 4);

    if (state == kStateHover || state == kStatePressed) {
        const int w = face.right - face.left;
        const int h = face.bottom - face.top;
        m_context->SaveGState();
        m_context->ClipToRect(qm::cg::Rect{double(face.left), double(m_height - face.bottom),
            double(face.right - face.left), double(face.bottom - face.top)});
        for (int d = 0; d <= w + h - 2; ++d) {
            unsigned long colour;
            if (d < w) { // from the top-left corner
                colour = state == kStateHover ? Shift(background, 3 * w - 3 * d)
                                              : Shift(background, -4 * w + 2 * d);
            } else { // the partner lines, on towards the bottom-right corner
                const int i = d - w;
                colour = state == kStateHover ? Shift(background, -3 * i) : Shift(background, -2 * w + 2 * i);
            }
            const int k0 = std::max(0, d - (h - 1));
            const int k1 = std::min(w - 1, d);
            DrawLine(face.left + k0, face.top + d - k0, face.left + k1, face.top + d - k1, colour);
        }
        m_context->RestoreGState();
    } else if (state == kStateChecked) {
        FillRect(face, kWhite);
    } else {
        DrawBackground(frame);
    }

    if (state != kStateNormal) {
        unsigned long topLeft, bottomRight;
        if (state == kStateHover) {
            topLeft = Scale(background, 0.8);
            bottomRight = Scale(background, 0.4);
        } else if (state == kStatePressed) {
            topLeft = Scale(background, 0.4);
            bottomRight = Scale(background, 0.6);
        } else {
            topLeft = bottomRight = Scale(background, 0.8);
        }
        FillRect(CRect(frame.left, frame.top, frame.right, frame.top + 1), topLeft);
        FillRect(CRect(frame.left, frame.top, frame.left + 1, frame.bottom), topLeft);
        FillRect(CRect(frame.left, frame.bottom - 1, frame.right, frame.bottom), bottomRight);
        FillRect(CRect(frame.right - 1, frame.top + 1, frame.right, frame.bottom), bottomRight);
    }

    CRect picture(b->left, b->top, b->right, b->bottom);
    if (state == kStatePressed) {
        picture.left += 1;
        picture.right += 1;
        picture.top += 1;
        picture.bottom += 1;
    }
    const bool enabled = Enabled(b);
    b->drawnLook = enabled ? kButtonEnabled : kButtonGrey;
    DrawPicture(bar, b, picture, !enabled);
}

void CCustToolbar::DrawBox(ButtonInfo* b, int state)
{
    const unsigned long second = m_frameColour ? *m_frameColour : 0;
    unsigned long topLeft = kWhite, bottomRight = kDark;
    switch (state) {
    case kStateHover: break;
    case kStatePressed:
    case kStateChecked: topLeft = kDark, bottomRight = kWhite; break;
    case kBoxDisabled: topLeft = bottomRight = kDark; break;
    default: topLeft = bottomRight = second; break;
    }
    const CRect frame = Grown(b, 3);
    FillRect(CRect(frame.left, frame.top, frame.right, frame.top + 1), topLeft);
    FillRect(CRect(frame.left, frame.top, frame.left + 1, frame.bottom), topLeft);
    FillRect(CRect(frame.left, frame.bottom - 1, frame.right, frame.bottom), bottomRight);
    FillRect(CRect(frame.right - 1, frame.top + 1, frame.right, frame.bottom), bottomRight);
    if (state == kStateChecked)
        return;
    for (int by = 1; by <= 2; ++by) {
        const CRect inner = Grown(b, by);
        const unsigned long background = Background();
        FillRect(CRect(inner.left, inner.top, inner.right, inner.top + 1), background);
        FillRect(CRect(inner.left, inner.top, inner.left + 1, inner.bottom), background);
        FillRect(CRect(inner.left, inner.bottom - 1, inner.right, inner.bottom), background);
        FillRect(CRect(inner.right - 1, inner.top, inner.right, inner.bottom), background);
    }
}

void CCustToolbar::DrawStyleBox(ToolBarStruct* bar, ButtonInfo* b)
{
    if (!m_context || b->right <= b->left)
        return;
    const int s = ButtonSize();
    const bool rtl = RightToLeft();
    const bool enabled = Enabled(b);
    b->drawnLook = enabled ? kButtonEnabled : kButtonGrey;
    const CRect box(b->left, b->top, b->right, b->bottom);
    FillRect(box, kWhite);

    // The label, cut to what fits beside the drop-down picture.
    int length = 0;
    while (length < 50 && b->label[length])
        ++length;
    if (length > 0 && m_textLayout) {
        const unsigned long colour = enabled ? 0 : kGreyText;
        m_textStyle->SetColor(Red(colour), Green(colour), Blue(colour));
        m_textLayout->SetContext(m_context);
        m_textLayout->SetText(b->label, length);
        const int room = b->width - s - 4;
        qm::text::TextRect bounds{0, 0, 0, 0};
        int fit = length;
        while (fit > 0 && (!m_textLayout->GlyphBounds(0, fit, bounds) || bounds.right - bounds.left > room))
            --fit;
        if (fit > 0) {
            m_textLayout->GlyphBounds(0, fit, bounds);
            const int textWidth = bounds.right - bounds.left;
            const int x = rtl ? box.right - 2 - textWidth : box.left + 2;
            const int baseline = box.top + s - 4;
            m_context->SaveGState();
            m_context->ClipToRect(qm::cg::Rect{double(box.left), double(m_height - box.bottom),
                double(box.right - box.left), double(box.bottom - box.top)});
            m_textLayout->Draw(0, fit, x, m_height - baseline);
            m_context->RestoreGState();
        }
        m_textLayout->SetContext(nullptr);
    }

    DrawBox(b, enabled ? kStateNormal : kBoxDisabled);
    const int top = box.top + (box.bottom - box.top - s) / 2;
    const CRect picture
        = rtl ? CRect(box.left, top, box.left + s, top + s) : CRect(box.right - s, top, box.right, top + s);
    if (bar->images && bar->images->GetImageCount() > 0)
        bar->images->DrawImage(m_context, picture, 0, Background(), !enabled, m_height);
    if (enabled && (b->state & kButtonChecked))
        DrawBox(b, kStateChecked);
}
