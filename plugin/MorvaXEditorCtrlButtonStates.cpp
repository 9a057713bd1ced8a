// The toolbar's button states and bars: checking, enabling and greying
// buttons, the bars rebuilt for a view and listed in the toolbar set, and
// the style box.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/text/U16.h"
#include "editor/XHTML.h"
#include "platform/qd/Port.h"
#include "plugin/ImageList.h"
#include "source_view/ColoringEditor.h"

namespace {

// Kinds below this are never looked up by kind.
constexpr int kFirstBuiltInKind = 7;
constexpr int kStyleBoxWidth = 160;

bool IsViewButton(int kind) { return kind >= 25 && kind <= 28; }

} // namespace

ButtonInfo* CMorvaXEditorCtrl::FindStateButton(int kind, unsigned id, bool byKind, ToolBarStruct** barOut)
{
    if (byKind && kind < kFirstBuiltInKind)
        return nullptr;
    void* pos = m_toolBars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(m_toolBars.GetNext(pos));
        if (bar->barKind != 0 && bar->barKind != 1)
            continue;
        for (ButtonInfo* b = bar->buttons; b; b = b->next) {
            if (byKind ? b->kind == kind : b->EditorCommandID == id) {
                if (barOut)
                    *barOut = bar;
                return b;
            }
        }
    }
    return nullptr;
}

int CMorvaXEditorCtrl::ToolCheckButton(int kind, unsigned id, bool check, bool byKind)
{
    ToolBarStruct* bar = nullptr;
    ButtonInfo* b = FindStateButton(kind, id, byKind, &bar);
    if (!b)
        return 0;
    if (check)
        b->state |= kButtonChecked;
    else
        b->state &= ~kButtonChecked;
    m_toolbarSet.CheckButton(m_toolbarSet.FindTbsFromBi(b), b, check);
    return 1;
}

int CMorvaXEditorCtrl::ToolEnableButton(int kind, unsigned id, bool enable, bool byKind)
{
    ButtonInfo* b = FindStateButton(kind, id, byKind);
    if (!b)
        return 0;
    if (enable) {
        b->state |= kButtonEnabled;
        b->state &= ~kButtonGrey;
    } else {
        b->state &= ~kButtonEnabled;
        b->state |= kButtonGrey;
    }
    if (m_toolbarSet.FindTbsFromBi(b))
        m_toolbarSet.EnableButton(b, enable);
    return 1;
}

int CMorvaXEditorCtrl::ToolIsButtonEnabled(int kind, unsigned id, bool byKind)
{
    ButtonInfo* b = FindStateButton(kind, id, byKind);
    return b && (b->state & kButtonEnabled) ? 1 : 0;
}

int CMorvaXEditorCtrl::ToolIsButtonChecked(int kind, unsigned id, bool byKind)
{
    ButtonInfo* b = FindStateButton(kind, id, byKind);
    return b && (b->state & kButtonChecked) ? 1 : 0;
}

ButtonInfo* CMorvaXEditorCtrl::FindToolbarButtonFromID(const char* name)
{
    if (!name)
        return nullptr;
    const CSafeBuf wanted(reinterpret_cast<const unsigned char*>(name));
    void* pos = m_toolBars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(m_toolBars.GetNext(pos));
        if (bar->barKind != 0)
            continue;
        for (ButtonInfo* b = bar->buttons; b; b = b->next)
            if (wanted == CSafeBuf(b->textId))
                return b;
    }
    return nullptr;
}

void CMorvaXEditorCtrl::GetToolButtonPos(unsigned kind, CRect* rect)
{
    if (!rect)
        return;
    *rect = CRect();
    ButtonInfo* b = FindStateButton(int(kind), 0, true);
    if (!b || !m_pPluginWindow)
        return;
    const auto* port = static_cast<const NP_Port*>(m_pPluginWindow->window);
    qm::qd::Point screen{0, 0};
    if (port && qm::qd::IsLivePort(port->port))
        screen = port->port->ScreenPosition();
    const int dx = screen.h + m_pPluginWindow->x;
    const int dy = screen.v + m_pPluginWindow->y;
    *rect = CRect(b->left + dx, b->top + dy, b->right + dx, b->bottom + dy);
}

void CMorvaXEditorCtrl::ToolEnable(bool enable)
{
    void* pos = m_toolBars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(m_toolBars.GetNext(pos));
        if (bar->barKind != 0 && bar->barKind != 1)
            continue;
        for (ButtonInfo* b = bar->buttons; b; b = b->next) {
            if (IsViewButton(b->kind) || b->kind == 15 || CSafeBuf(b->textId) == "help")
                continue;
            if (enable)
                b->state &= ~kButtonGrey;
            else
                b->state |= kButtonGrey;
        }
    }
    m_toolbarSet.OnPaint();
}

void CMorvaXEditorCtrl::CheckButtons(int view)
{
    if (view != 0 && view != 1)
        return;
    void* pos = m_toolBars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(m_toolBars.GetNext(pos));
        if (bar->barKind != 0)
            continue;
        for (ButtonInfo* b = bar->buttons; b; b = b->next) {
            const int kind = b->kind;
            const bool sourceTool = kind >= 35 && kind <= 38;
            if (view == 0) {
                if (sourceTool)
                    ToolEnableButton(kind, 0, false, true);
            } else if (kind == 39) {
                ToolEnableButton(kind, 0, true, true);
            } else if (kind >= kFirstBuiltInKind && kind != 15 && !(kind >= 20 && kind <= 28)
                && !sourceTool) {
                ToolEnableButton(kind, 0, false, true);
            }
        }
    }
}

void CMorvaXEditorCtrl::RefreshToolBar()
{
    // The engine sets its own buttons' states; the view's restrictions
    // follow here.
    if (m_pXHTML)
        m_pXHTML->RefreshToolBar();
    if (m_viewMode == 0)
        return;
    ToolEnable(false);
    if (m_viewMode == 1)
        for (int kind : {22, 21, 20})
            ToolEnableButton(kind, 0, true, true);
}

void CMorvaXEditorCtrl::PrepareToolBar()
{
    ReleaseToolBar();
    LoadToolBarFromString();
    if (m_viewMode == 0 && !GetStyleBox())
        if (ToolBarStruct* box = CreateStyleBox())
            m_toolBars.AddHead(box);
    ArrangeBars();
    AdjustBarPosition();
    SwitchMainButton(-1);
}

void CMorvaXEditorCtrl::ArrangeBars()
{
    m_toolbarSet.DeleteAllBars();
    void* pos = m_toolBars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(m_toolBars.GetNext(pos));
        if ((bar->barKind == 0 && ShowToolbar) || (bar->barKind == 1 && ShowStyles))
            m_toolbarSet.AddBar(bar);
    }
}

void CMorvaXEditorCtrl::UpdateToolBar(int view)
{
    if ((view == 0 || view == 1) && m_pXHTML && m_created) {
        const int savedView = m_viewMode;
        const int oldHeight = m_toolbarHeight;
        m_viewMode = view;
        PrepareToolBar();
        // The parts below the toolbar move to its new bottom edge: the
        // editing area, the source view's frame and the scroll bars. The
        // caller draws the whole control afterwards.
        if (m_toolbarHeight != oldHeight && m_pPluginWindow)
            SetWindow(m_pPluginWindow);
        // The engine's own refresh of its buttons comes with its command
        // table.
        if (view == 1) {
            if (m_coloringEditor)
                for (int kind : {CColoringEditor::kButtonWhitespace, CColoringEditor::kButtonDimTags,
                         CColoringEditor::kButtonWordWrap})
                    ToolCheckButton(kind, 0, m_coloringEditor->IsToolChecked(kind), true);
            for (int kind : {22, 21, 20})
                ToolEnableButton(kind, 0, true, true);
        }
        m_viewMode = savedView;
    }
    CheckButtons(view);
}

// ---- the style box ----

ToolBarStruct* CMorvaXEditorCtrl::CreateStyleBox()
{
    ToolBarStruct* bar = CCustToolbar::CreateToolbar(m_iconSize);
    if (!bar)
        return nullptr;
    bar->barKind = 1;
    CSafeBuf tooltip;
    m_langString.GetItem(tooltip, "context-menu/styles", "Styles");
    static const unsigned short kEmpty[1] = {0};
    ButtonInfo* box = CCustToolbar::AddButton(
        bar, static_cast<unsigned>(m_nextStyleCommand++), kEmpty, tooltip, kEmpty, kButtonKindStyleBox, 0);
    if (!box) {
        FreeToolBar(bar);
        return nullptr;
    }
    box->boxStyle = 5;
    box->width = kStyleBoxWidth;
    int size = 0;
    if (unsigned char* bytes = GetIconFromArray(CSafeBuf("styles-selector"), size, true)) {
        bar->images->AddImageByBuf(bytes, size);
        delete[] bytes;
    }
    return bar;
}

ToolBarStruct* CMorvaXEditorCtrl::GetStyleBox(bool)
{
    void* pos = m_toolBars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(m_toolBars.GetNext(pos));
        if (bar->barKind == 1)
            return bar;
    }
    return nullptr;
}

void CMorvaXEditorCtrl::GetStyleBoxRect(CRect& rect)
{
    ToolBarStruct* bar = GetStyleBox();
    if (bar && bar->buttons)
        rect = CRect(bar->buttons->left, bar->buttons->top, bar->buttons->right, bar->buttons->bottom);
}

void CMorvaXEditorCtrl::SetStyleButtonText(const unsigned short* text)
{
    ToolBarStruct* bar = GetStyleBox();
    if (!bar || !bar->buttons)
        return;
    static const unsigned short kEmpty[1] = {0};
    SetHeaderField(bar->buttons->label, text ? text : kEmpty);
    m_toolbarSet.RedrawButton(bar->buttons, bar);
}
