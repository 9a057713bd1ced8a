// The engine's view commands. The four view buttons of the toolbar are
// toggles: the toolbar flips the clicked button's check before the command
// arrives, so each command first reads its own button. Checked, it puts the
// four buttons in the state of its view and asks the control to switch;
// unchecked (a second click), it goes back: the source, preview and
// screen-reader buttons return to the WYSIWYG view, and the WYSIWYG button
// clicked while on goes to the source view.

#include "editor/XHTML.h"

#include "element/services/ControlServices.h"
#include "ui/Window.h"

namespace {

constexpr int kButtonSource = 25;
constexpr int kButtonPreview = 26;
constexpr int kButtonWysiwyg = 27;
constexpr int kButtonScreenReader = 28;

constexpr unsigned int kFirstPageMenuEntry = 38000;

// The state of the four view buttons with only `on` checked.
void CheckOnly(CControlServices& control, int on)
{
    for (int kind : {kButtonWysiwyg, kButtonSource, kButtonPreview, kButtonScreenReader})
        control.ToolCheckButton(kind, 0, kind == on, true);
}

} // namespace

void CXHTML::OnSource()
{
    if (!m_control)
        return;
    CControlServices& control = *m_control;
    if (control.ToolIsButtonChecked(kButtonSource, 0, true)) {
        CheckOnly(control, kButtonSource);
        control.OnSource();
    } else {
        control.ToolCheckButton(kButtonSource, 0, false, true);
        control.ToolCheckButton(kButtonWysiwyg, 0, true, true);
        control.OnXHtml();
    }
}

void CXHTML::OnWysiwyg()
{
    if (!m_control)
        return;
    CControlServices& control = *m_control;
    if (control.ToolIsButtonChecked(kButtonWysiwyg, 0, true)) {
        CheckOnly(control, kButtonWysiwyg);
        control.OnXHtml();
    } else {
        control.ToolCheckButton(kButtonSource, 0, true, true);
        control.ToolCheckButton(kButtonWysiwyg, 0, false, true);
        control.OnSource();
    }
}

void CXHTML::OnPreview()
{
    if (!m_control)
        return;
    CControlServices& control = *m_control;
    if (control.ToolIsButtonChecked(kButtonPreview, 0, true)) {
        CheckOnly(control, kButtonPreview);
        control.OnPreview();
    } else {
        control.ToolCheckButton(kButtonSource, 0, false, true);
        control.ToolCheckButton(kButtonWysiwyg, 0, true, true);
        control.OnXHtml();
    }
}

void CXHTML::OnBlind()
{
    if (!m_control)
        return;
    CControlServices& control = *m_control;
    if (control.ToolIsButtonChecked(kButtonScreenReader, 0, true)) {
        CheckOnly(control, kButtonScreenReader);
        control.OnBlind();
    } else {
        control.ToolCheckButton(kButtonSource, 0, false, true);
        control.ToolCheckButton(kButtonWysiwyg, 0, true, true);
        control.OnXHtml();
    }
}

void CXHTML::SwitchingView()
{
    delete m_findDialog;
    m_findDialog = nullptr;
}

void CXHTML::ProcessCustomMenu(long id)
{
    if (!m_control || id < long(kFirstPageMenuEntry))
        return;
    for (const CONTEXT_MENU_ENTRY* e = m_control->PageMenuEntries(); e; e = e->next) {
        if (long(e->id) == id) {
            m_control->GoFireContextMenuClicked(e->name);
            return;
        }
    }
}
