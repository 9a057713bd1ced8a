#pragma once
// CCustToolbar: the custom-drawn toolbar strip at the top of the control. It
// lays the control's bars out in rows, paints the background (flat, or 20
// vertical bands darkening left to right), draws each button in its state,
// follows the pointer (hover, press, help tag after a pause) and hands a
// clicked button to the control's HandleButton.
//
// Coordinates: the toolbar's top-left corner is the plug-in area's (the
// window record's x and y in its port), and every rectangle the widget
// stores (a button's, a bar's) is in the plug-in area's coordinates, y
// growing downwards, so event points hit-test against them as they come.
// Drawing goes to a context on the window's port whose y-up user space has
// its origin at the bottom of the toolbar's rows (ReverseRect flips).
//
// Layout with the button size s (16): the first bar starts at x = 2 (with
// Dir "rtl" at the width, going left), each bar after a 4-pixel step; an
// ordinary button takes a cell of s + 8 with its s-by-s rectangle 4 pixels
// into the cell and 8 below the row top, the style box its width + 8, a gap
// 10; rows are s + 14 high. A toolbar 100 pixels wide or less lays out as
// if 1500 wide. A bar with the new-row flag, and a button that does not fit,
// starts a new row under a separator (a 0xa0a0a0 line over a white one).
//
// The widget does not own the bars (the control does); AddBar only lists
// them for layout, hit testing and drawing.

#include "base/collections/PtrList.h"
#include "base/geometry/Rect.h"
#include "base/text/SafeBuf.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Window.h"
#include "plugin/ButtonInfo.h"

#include <memory>

class CMorvaXEditorCtrl;
namespace qm::cg {
class Context;
}
namespace qm::text {
class Layout;
class Style;
} // namespace qm::text

// Told of every click after the control has handled it.
class CToolbarClickListener
{
public:
    virtual ~CToolbarClickListener() = default;
    virtual void ButtonClicked(ButtonInfo* button) = 0;
};

class CCustToolbar
{
public:
    // Drawing states of a button.
    static constexpr int kStateHover = 1;
    static constexpr int kStatePressed = 2;
    static constexpr int kStateNormal = 3;
    static constexpr int kStateChecked = 4;
    // The pointer rests this long on a button before its help tag shows.
    static constexpr unsigned long kHelpTagDelayMs = 300;

    CCustToolbar();
    ~CCustToolbar();
    CCustToolbar(const CCustToolbar&) = delete;
    CCustToolbar& operator=(const CCustToolbar&) = delete;

    // ---- what the control gives the widget (pointers stay the control's) ----
    unsigned long* m_background = nullptr;  // background colour
    unsigned long* m_frameColour = nullptr; // the style box's normal frame
    CMorvaXEditorCtrl* m_owner = nullptr;   // receives clicks (HandleButton)
    const int* m_buttonSize = nullptr;      // 16 when null
    const CSafeBuf* m_dir = nullptr;        // "rtl" lays buttons right to left
    CToolbarClickListener* m_listener = nullptr;

    // The toolbar's copy of the plug-in window: its port, position and width.
    void SetWindow(const NPWindow& window);
    // Gradient on when text is "linear-gradient" (ASCII case ignored).
    void SetToolbarEffect(const unsigned short* text);
    bool IsGradient() const { return m_gradient; }
    // The font of the style box's text, 13 points.
    void SetFont(unsigned fontId);

    void DeleteAllBars();
    void AddBar(ToolBarStruct* bar);
    const CPtrList& Bars() const { return m_bars; }

    // Lays the bars out (rectangles stored, nothing drawn) and answers the
    // total height minus 1, which is also kept as the height; 0 without bars.
    int CalculateHeight();
    int GetHeight() const { return m_height; }

    // The whole toolbar: background, separators, every button. A context
    // given is drawn into as it stands (its user space y-up with the
    // origin at the port's bottom-left); null makes one on the port.
    void OnDraw(qm::cg::Context* context);
    void OnPaint() { }
    void Init() { }

    // Mirrors the top and bottom edges about height (each becomes height
    // minus itself, then swapped so top <= bottom).
    static void ReverseRect(CRect& rect, int height);

    // One browser event, its point in the plug-in area's coordinates. Null
    // and update events answer 1 (an update repaints); key, activate and
    // focus events 1 without acting; mouse down, mouse up and adjust-cursor
    // events act and answer 0; others 0.
    int HandleEvent(EventRecord* event);

    // Redraws a button as checked or normal (bar null: looked up).
    void CheckButton(ToolBarStruct* bar, ButtonInfo* button, bool check);
    // Redraws the button's picture normal or grey when that look changes.
    void EnableButton(ButtonInfo* button, bool enable);
    void RedrawButton(ButtonInfo* button, ToolBarStruct* bar);

    // The bar whose chain holds the button; null when none listed does.
    ToolBarStruct* FindTbsFromBi(const ButtonInfo* button) const;
    // The enabled button under the pointer, which a click goes to; null
    // when none (a disabled button under the pointer is never it).
    ButtonInfo* HoverButton() const { return m_hoverButton; }

    // Bars made and freed as the control makes and frees its own.
    static ToolBarStruct* CreateToolbar(int size);
    static ButtonInfo* AddButton(ToolBarStruct* bar, unsigned id, const unsigned short* textId,
        const unsigned short* tooltip, const unsigned short* label, int kind, int image);
    static void DeleteButtonInfo(ButtonInfo* info) { FreeButtonInfo(info); }
    static void ReleaseToolbarList(CPtrList* list);

private:
    int ButtonSize() const { return m_buttonSize && *m_buttonSize > 0 ? *m_buttonSize : 16; }
    bool RightToLeft() const;
    unsigned long Background() const { return m_background ? *m_background : 0xffffff; }
    // Lays out; with a context also paints every bar.
    int DoPaint(bool measureOnly, qm::cg::Context* context);
    // A context on the port clipped to the toolbar (null without a port),
    // and its end.
    qm::cg::Context* BeginDrawing();
    void EndDrawing(qm::cg::Context* context);

    // Drawing (CustToolbarDraw.cpp); rectangles top-down.
    void FillRect(const CRect& rect, unsigned long colour);
    void DrawLine(int x0, int y0, int x1, int y1, unsigned long colour);
    void DrawBackground(const CRect& area);
    void DrawSeparator(int y);
    void DrawButton(ToolBarStruct* bar, ButtonInfo* button);
    void DrawBox1(ToolBarStruct* bar, ButtonInfo* button, int state);
    void DrawBox(ButtonInfo* button, int state);
    void DrawStyleBox(ToolBarStruct* bar, ButtonInfo* button);
    void DrawPicture(ToolBarStruct* bar, ButtonInfo* button, const CRect& rect, bool grey);
    // Draws one button in its own short-lived context.
    void DrawState(ToolBarStruct* bar, ButtonInfo* button, int state);

    // Pointer handling.
    void OnMouseMove(int h, int v);
    void RestoreHover();
    void ShowHelpTag(int h, int v);
    void HideHelpTag();
    bool IsListed(const ButtonInfo* button) const;

    qm::cg::Context* m_context = nullptr; // while drawing
    NPWindow m_window{};
    int m_left = 0; // the plug-in area in the port
    int m_top = 0;
    int m_width = 0;
    int m_bottom = 0; // of the last layout
    int m_height = 25;
    bool m_gradient = false;
    CPtrList m_bars; // ToolBarStruct*, the control's
    int m_lastH = -1;
    int m_lastV = -1;
    unsigned long m_lastMoveTime = 0;
    bool m_tagShown = false;   // for the pointer's resting place
    bool m_tagVisible = false; // the widget's help tag is showing
    ToolBarStruct* m_hoverBar = nullptr;
    ButtonInfo* m_hoverButton = nullptr;   // enabled: the one a click goes to
    ButtonInfo* m_disabledHover = nullptr; // disabled: only its help tag shows
    CSafeBuf m_tagText;
    unsigned m_fontId = 0;
    std::unique_ptr<qm::text::Style> m_textStyle;
    std::unique_ptr<qm::text::Layout> m_textLayout;
};
