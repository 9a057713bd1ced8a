// The toolbar widget's bars, layout and pointer handling (drawing is in
// CustToolbarDraw.cpp).

#include "plugin/CustToolbar.h"

#include "base/shims/CGShims.h"
#include "base/shims/TimeShims.h"
#include "base/text/U16.h"
#include "net/AdditionalHeaders.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "platform/qd/Port.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "platform/ui/HelpTag.h"
#include "plugin/ImageList.h"
#include "plugin/MorvaXEditorCtrl.h"

#include <algorithm>
#include <new>
#include <string>

namespace {

// Narrower toolbars lay out as if this wide.
constexpr int kNarrowWidth = 100;
constexpr int kNarrowLayoutWidth = 1500;

qm::qd::Port* PortOf(const NPWindow& window)
{
    const auto* port = static_cast<const NP_Port*>(window.window);
    return port && qm::qd::IsLivePort(port->port) ? port->port : nullptr;
}

bool Contains(const ButtonInfo* b, int h, int v)
{
    return h >= b->left && h < b->right && v >= b->top && v < b->bottom;
}

bool Enabled(const ButtonInfo* b) { return (b->state & kButtonEnabled) && !(b->state & kButtonGrey); }

} // namespace

CCustToolbar::CCustToolbar()
    : m_textStyle(std::make_unique<qm::text::Style>()), m_textLayout(std::make_unique<qm::text::Layout>())
{
    m_textStyle->SetBold(false);
    m_textStyle->SetItalic(false);
    m_textStyle->SetUnderline(false);
    m_textStyle->SetSize(13);
    m_textLayout->SetStyle(m_textStyle.get());
}

CCustToolbar::~CCustToolbar()
{
    HideHelpTag();
    m_textLayout.reset();
    m_textStyle.reset();
}

void CCustToolbar::SetWindow(const NPWindow& window)
{
    m_window = window;
    m_left = window.x;
    m_top = window.y;
    m_width = int(window.width);
}

void CCustToolbar::SetToolbarEffect(const unsigned short* text)
{
    m_gradient = CSafeBuf(text).CompareNoCase("linear-gradient") == 0;
}

void CCustToolbar::SetFont(unsigned fontId)
{
    m_fontId = fontId;
    m_textStyle->SetFontId(long(fontId));
    m_textStyle->SetSize(13);
}

bool CCustToolbar::RightToLeft() const { return m_dir && m_dir->CompareNoCase("rtl") == 0; }

void CCustToolbar::DeleteAllBars()
{
    RestoreHover();
    m_bars.RemoveAll();
}

void CCustToolbar::AddBar(ToolBarStruct* bar)
{
    if (bar)
        m_bars.AddTail(bar);
}

int CCustToolbar::CalculateHeight()
{
    m_height = std::max(0, DoPaint(true, nullptr) - 1);
    return m_height;
}

void CCustToolbar::ReverseRect(CRect& rect, int height)
{
    const int top = height - rect.bottom;
    const int bottom = height - rect.top;
    rect.top = top;
    rect.bottom = bottom;
}

int CCustToolbar::DoPaint(bool measureOnly, qm::cg::Context* context)
{
    const int s = ButtonSize();
    const bool rtl = RightToLeft();
    const int sign = rtl ? -1 : 1;
    const int start = rtl ? m_width : 2;
    const int usable = m_width <= kNarrowWidth ? kNarrowLayoutWidth : m_width;
    const int rowHeight = s + 14;
    const bool draw = !measureOnly && context;

    int x = start;
    int y = 0;
    bool rowUsed = false; // something stands on the current row
    bool anyBar = false;
    auto newRow = [&] {
        y += rowHeight;
        x = start;
        rowUsed = false;
        if (draw)
            DrawSeparator(y);
    };

    void* pos = m_bars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(m_bars.GetNext(pos));
        anyBar = true;
        if (bar->newRow && rowUsed)
            newRow();
        x += 4 * sign;
        bar->left = bar->top = bar->right = bar->bottom = 0;
        bool first = true;
        for (ButtonInfo* b = bar->buttons; b; b = b->next) {
            const bool gap = b->kind == kButtonKindGap;
            const bool box = b->boxStyle == 5;
            const int width = gap ? 1 : box ? b->width : s;
            const int advance = gap ? 10 : width + 8;
            const int height = gap ? s : box ? s + 1 : s;
            auto place = [&] {
                const int inner = x + 4 * sign;
                b->left = rtl ? inner - width : inner;
                b->right = b->left + width;
                b->top = y + 8;
                b->bottom = b->top + height;
            };
            place();
            const bool fits = rtl ? b->left >= 0 : b->right + 8 <= usable;
            if (!gap && !fits && rowUsed) {
                newRow();
                place();
            }
            x += advance * sign;
            rowUsed = true;
            if (first) {
                bar->left = b->left;
                bar->top = b->top;
                bar->right = b->right;
                bar->bottom = b->bottom;
                first = false;
            } else {
                bar->left = std::min(bar->left, b->left);
                bar->top = std::min(bar->top, b->top);
                bar->right = std::max(bar->right, b->right);
                bar->bottom = std::max(bar->bottom, b->bottom);
            }
            if (draw)
                DrawButton(bar, b);
        }
    }
    const int total = anyBar ? y + rowHeight : 0;
    m_bottom = total;
    return total;
}

qm::cg::Context* CCustToolbar::BeginDrawing()
{
    qm::qd::Port* port = PortOf(m_window);
    if (!port || m_height <= 0)
        return nullptr;
    qm::cg::Context* context = CreateCGContext(port);
    if (!context)
        return nullptr;
    // User space: the plug-in area's left edge at x = 0 and the bottom of
    // the toolbar's rows (m_height) at y = 0.
    context->TranslateCTM(m_left, port->Height() - (m_top + m_height));
    // The toolbar inside the frame (at most the height minus 2 rows, below
    // the frame's top line), within the browser's clip.
    const NPRect& clip = m_window.clipRect;
    CRect area(1, 1, m_width - 1, m_height - 1);
    area.left = std::max<int>(area.left, int(clip.left) - m_left);
    area.right = std::min<int>(area.right, int(clip.right) - m_left);
    area.top = std::max<int>(area.top, int(clip.top) - m_top);
    area.bottom = std::min<int>(area.bottom, int(clip.bottom) - m_top);
    if (area.right < area.left)
        area.right = area.left;
    if (area.bottom < area.top)
        area.bottom = area.top;
    ReverseRect(area, m_height);
    context->ClipToRect(qm::cg::Rect{
        double(area.left), double(area.top), double(area.right - area.left), double(area.bottom - area.top)});
    return context;
}

void CCustToolbar::EndDrawing(qm::cg::Context* context)
{
    if (!context)
        return;
    qm::cg::Context* owned = context;
    EndCGContext(PortOf(m_window), &owned);
}

void CCustToolbar::OnDraw(qm::cg::Context*)
{
    if (m_bars.GetCount() == 0)
        return;
    CalculateHeight();
    m_context = BeginDrawing();
    if (!m_context)
        return;
    DrawBackground(CRect(0, 0, m_width, m_height));
    DoPaint(false, m_context);
    EndDrawing(m_context);
    m_context = nullptr;
}

void CCustToolbar::DrawState(ToolBarStruct* bar, ButtonInfo* button, int state)
{
    if (!button || !bar)
        return;
    const bool nested = m_context != nullptr;
    if (!nested)
        m_context = BeginDrawing();
    if (!m_context)
        return;
    if (button->boxStyle == 5) {
        DrawStyleBox(bar, button);
        if (state == kStateHover || state == kStatePressed)
            DrawBox(button, state);
    } else {
        DrawBox1(bar, button, state);
    }
    if (!nested) {
        EndDrawing(m_context);
        m_context = nullptr;
    }
}

ToolBarStruct* CCustToolbar::FindTbsFromBi(const ButtonInfo* button) const
{
    void* pos = m_bars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(m_bars.GetNext(pos));
        for (ButtonInfo* b = bar->buttons; b; b = b->next)
            if (b == button)
                return bar;
    }
    return nullptr;
}

bool CCustToolbar::IsListed(const ButtonInfo* button) const
{
    return button && FindTbsFromBi(button) != nullptr;
}

void CCustToolbar::CheckButton(ToolBarStruct* bar, ButtonInfo* button, bool check)
{
    if (!bar)
        bar = FindTbsFromBi(button);
    DrawState(bar, button, check ? kStateChecked : kStateNormal);
}

void CCustToolbar::EnableButton(ButtonInfo* button, bool enable)
{
    if (!button)
        return;
    const unsigned look = enable ? kButtonEnabled : kButtonGrey;
    if (button->drawnLook == look)
        return;
    button->drawnLook = look;
    DrawState(FindTbsFromBi(button), button, kStateNormal);
}

void CCustToolbar::RedrawButton(ButtonInfo* button, ToolBarStruct* bar)
{
    if (!bar)
        bar = FindTbsFromBi(button);
    DrawState(bar, button, kStateNormal);
}

// ---- pointer ----

int CCustToolbar::HandleEvent(EventRecord* event)
{
    if (!event)
        return 0;
    const int h = event->where.h;
    const int v = event->where.v;
    switch (event->what) {
    case nullEvent: {
        if (h <= 0 || v <= 0)
            return 1;
        if (h == m_lastH && v == m_lastV) {
            ButtonInfo* under = m_hoverButton ? m_hoverButton : m_disabledHover;
            if (!m_tagShown && under && GetTickCount() - m_lastMoveTime >= kHelpTagDelayMs) {
                m_tagText = under->tooltip;
                ShowHelpTag(h, v);
            }
        } else {
            OnMouseMove(h, v);
        }
        return 1;
    }
    case updateEvt: OnDraw(nullptr); return 1;
    case keyDown:
    case autoKey:
    case activateEvt:
    case NPEventType_GetFocusEvent:
    case NPEventType_LoseFocusEvent: return 1;
    case mouseDown:
        HideHelpTag();
        if (IsListed(m_hoverButton) && m_hoverButton->kind != kButtonKindGap)
            DrawState(m_hoverBar, m_hoverButton, kStatePressed);
        return 0;
    case mouseUp: {
        ButtonInfo* button = IsListed(m_hoverButton) ? m_hoverButton : nullptr;
        if (!button)
            return 0;
        // A page button changes its own state when the control handles it
        // (it reports the state after the click); any other toggle is
        // flipped here.
        if (button->toggle && button->kind != kButtonKindPage)
            button->state ^= kButtonChecked;
        DrawState(m_hoverBar, button, kStateHover);
        if (m_owner)
            m_owner->HandleButton(button);
        // Handling may have rebuilt the bars.
        if (m_listener && IsListed(button))
            m_listener->ButtonClicked(button);
        return 0;
    }
    case NPEventType_AdjustCursorEvent:
        if (h != m_lastH || v != m_lastV)
            OnMouseMove(h, v);
        return 0;
    default: return 0;
    }
}

void CCustToolbar::OnMouseMove(int h, int v)
{
    m_lastH = h;
    m_lastV = v;
    m_lastMoveTime = GetTickCount();
    m_tagShown = false;
    ToolBarStruct* foundBar = nullptr;
    ButtonInfo* found = nullptr;
    void* pos = m_bars.GetHeadPosition();
    while (pos && !found) {
        auto* bar = static_cast<ToolBarStruct*>(m_bars.GetNext(pos));
        for (ButtonInfo* b = bar->buttons; b; b = b->next) {
            if (b->kind != kButtonKindGap && Contains(b, h, v)) {
                found = b;
                foundBar = bar;
                break;
            }
        }
    }
    if (found && (found == m_hoverButton || found == m_disabledHover))
        return;
    RestoreHover();
    if (!found)
        return;
    if (!Enabled(found)) {
        m_disabledHover = found;
        return;
    }
    m_hoverBar = foundBar;
    m_hoverButton = found;
    const bool held = (qm::events::Services::Get().Input().buttons & qm::events::kButtonPrimary) != 0;
    DrawState(foundBar, found, held ? kStatePressed : kStateHover);
}

void CCustToolbar::RestoreHover()
{
    HideHelpTag();
    if (IsListed(m_hoverButton))
        DrawState(m_hoverBar, m_hoverButton, kStateNormal);
    m_hoverBar = nullptr;
    m_hoverButton = nullptr;
    m_disabledHover = nullptr;
}

void CCustToolbar::ShowHelpTag(int h, int v)
{
    m_tagShown = true;
    m_tagVisible = true;
    qm::qd::Port* port = PortOf(m_window);
    qm::qd::Point screen = port ? port->ScreenPosition() : qm::qd::Point{0, 0};
    const int gh = screen.h + m_left + h;
    const int gv = screen.v + m_top + v + 20;
    qm::events::HelpTag tag;
    char* bytes = nullptr;
    const int length = m_tagText.CreateUTF8Str(&bytes);
    tag.text.assign(bytes ? bytes : "", bytes && length > 0 ? static_cast<size_t>(length) : 0);
    delete[] bytes;
    tag.left = gh;
    tag.top = gv;
    tag.right = gh + 1;
    tag.bottom = gv + 1;
    qm::ui::ShowHelpTag(tag);
}

void CCustToolbar::HideHelpTag()
{
    if (!m_tagVisible)
        return;
    m_tagVisible = false;
    m_tagText.Empty();
    if (qm::ui::CurrentHelpTag())
        qm::ui::HideHelpTag();
}

// ---- bars made and freed ----

ToolBarStruct* CCustToolbar::CreateToolbar(int size)
{
    ToolBarStruct* bar = new (std::nothrow) ToolBarStruct();
    if (!bar)
        return nullptr;
    bar->images = new (std::nothrow) CImageList();
    if (!bar->images) {
        delete bar;
        return nullptr;
    }
    bar->images->Create(size, size);
    bar->images->SetBkColor(0xffffffffUL);
    return bar;
}

ButtonInfo* CCustToolbar::AddButton(ToolBarStruct* bar, unsigned id, const unsigned short* textId,
    const unsigned short* tooltip, const unsigned short* label, int kind, int image)
{
    if (!bar || !textId || !tooltip)
        return nullptr;
    ButtonInfo* info = NewButtonInfo();
    if (!info)
        return nullptr;
    info->EditorCommandID = id;
    SetHeaderField(info->textId, textId);
    SetHeaderField(info->tooltip, tooltip);
    if (label)
        SetHeaderField(info->label, label);
    info->kind = kind;
    info->imageIndex = image;
    if (bar->lastButton)
        bar->lastButton->next = info;
    else
        bar->buttons = info;
    bar->lastButton = info;
    return info;
}

void CCustToolbar::ReleaseToolbarList(CPtrList* list)
{
    if (!list)
        return;
    list->ForEachItem([](void* bar) { FreeToolBar(static_cast<ToolBarStruct*>(bar)); });
    list->RemoveAll();
}
