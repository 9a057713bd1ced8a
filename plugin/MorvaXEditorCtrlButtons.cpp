// What a toolbar button does: its action by kind, the commands that reach
// buttons by id or by name, the engine's relay to the source view and the
// style buttons that follow the caret.
//
// Built-in buttons post the engine's commands (PostEngineCommand); page
// buttons raise the page's button-clicked event; snippets go into the source
// view; window buttons open their address in the system's handler.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/text/U16.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "platform/ui/OpenURL.h"
#include "source_view/ColoringEditor.h"

#include <string>

namespace {

// The engine command of a built-in kind, and whether the kind acts only in
// the WYSIWYG view.
struct KindCommand
{
    int kind;
    unsigned command;
    bool wysiwygOnly;
};

constexpr KindCommand kCommands[] = {
    {7, 32802, true},
    {8, 32801, true},
    {9, 32829, true},
    {10, 32828, true},
    {11, 32773, true},
    {12, 32838, true},
    {13, 32882, true},
    {14, 32883, true},
    {15, 32884, false},
    {16, 32792, true},
    {17, 32775, true},
    {18, 32793, true},
    {19, 32830, true},
    {20, 32811, false},
    {21, 32812, false},
    {22, 32813, false},
    {23, 32814, false},
    {24, 32888, false},
    {25, 12001, false},
    {26, 12002, false},
    {27, 32865, false},
    {28, 12004, false},
    {29, 32844, false},
    {30, 32855, true},
    {31, 32954, true},
    {34, 32891, false},
    {kButtonKindStyleBox, 32881, true},
};

constexpr int kViewButtons[4] = {27, 25, 26, 28}; // by view: WYSIWYG, source, preview, screen reader
constexpr unsigned kIndentCommand = 32952;

std::string Utf8(const unsigned short* text)
{
    CSafeBuf buffer(text);
    char* bytes = nullptr;
    const int length = buffer.CreateUTF8Str(&bytes);
    std::string out(bytes ? bytes : "", bytes && length > 0 ? static_cast<size_t>(length) : 0);
    delete[] bytes;
    return out;
}

} // namespace

int CMorvaXEditorCtrl::PostEngineCommand(unsigned id)
{
    if (m_pXHTML)
        m_pXHTML->PostMessage(1, id, 0);
    return 1;
}

bool CMorvaXEditorCtrl::RunToolbarCommand(unsigned int id)
{
    return ProcessToolbarCommand(static_cast<long>(id)) != 0;
}

bool CMorvaXEditorCtrl::RunToolbarButtonById(const char* name)
{
    ButtonInfo* button = name ? FindToolbarButtonFromID(name) : nullptr;
    return button && HandleButton(button) != 0;
}

int CMorvaXEditorCtrl::HandleButton(ButtonInfo* button)
{
    if (!button)
        return 0;
    const bool wysiwyg = m_viewMode == 0;
    const bool source = m_viewMode == 1;
    switch (button->kind) {
    case kButtonKindPage: return HandlePageButton(button);
    case kButtonKindStyle:
        // Applying the style is the engine's; its style application is not
        // built yet, so the button is taken without a change.
        return wysiwyg ? 1 : 0;
    case kButtonKindSnippet:
        // Markup goes into the WYSIWYG document through the engine's
        // insertion, which is not built yet; the source view takes it as text.
        if (source && m_coloringEditor && button->text)
            m_coloringEditor->InsertText(button->text, true, false);
        return 1;
    case kButtonKindWindow:
        if (button->text)
            qm::ui::OpenURL(Utf8(button->text));
        return 1;
    case 35:
    case 36:
    case 37:
    case 38:
        if (!source)
            return 0;
        if (m_coloringEditor) {
            if (button->kind == 35)
                m_coloringEditor->OnValidate();
            else if (button->kind == 36)
                m_coloringEditor->OnWhitespace();
            else if (button->kind == 37)
                m_coloringEditor->OnDimTags();
            else
                m_coloringEditor->OnWordWrap();
        }
        return 1;
    case 39:
        if (source && m_coloringEditor)
            m_coloringEditor->OnIndent();
        else if (wysiwyg && m_pXHTML)
            PostEngineCommand(kIndentCommand);
        return 1;
    default: break;
    }
    for (const KindCommand& entry : kCommands) {
        if (entry.kind != button->kind)
            continue;
        if (entry.wysiwygOnly && !wysiwyg)
            return 0;
        return PostEngineCommand(entry.command);
    }
    return 0;
}

int CMorvaXEditorCtrl::HandlePageButton(ButtonInfo* button)
{
    const char* state = "off";
    if (button->toggle) {
        const bool check = (button->state & kButtonChecked) == 0;
        if (check)
            state = "on";
        ToolCheckButton(0, button->EditorCommandID, check, false);
        // A definition entry (from CallToolbarButton) is on no bar: it keeps
        // its own state.
        if (check)
            button->state |= kButtonChecked;
        else
            button->state &= ~kButtonChecked;
    }
    FireBrowserButtonClick(button->textId, CSafeBuf(state));
    return 1;
}

unsigned char CMorvaXEditorCtrl::ProcessToolbarCommand(long id)
{
    if (id == 0)
        return 0;
    ButtonInfo* found = nullptr;
    void* pos = m_toolBars.GetHeadPosition();
    while (pos && !found) {
        auto* bar = static_cast<ToolBarStruct*>(m_toolBars.GetNext(pos));
        if (bar->barKind != 0)
            continue;
        for (ButtonInfo* b = bar->buttons; b && !found; b = b->next)
            if (long(b->EditorCommandID) == id)
                found = b;
    }
    if (!found)
        return 0;
    const int kind = found->kind;
    if (kind >= 25 && kind <= 28)
        ToolCheckButton(kind, 0, !ToolIsButtonChecked(kind, 0, true), true);
    return HandleButton(found) ? 1 : 0;
}

void CMorvaXEditorCtrl::CallToolbarButton(const unsigned short* name)
{
    if (m_viewMode != 0 || !name)
        return;
    CSafeBuf wanted(name);
    if (wanted.CompareNoCase("numbering") == 0)
        wanted = "ordered-list";
    else if (wanted.CompareNoCase("bullets") == 0)
        wanted = "unordered-list";
    for (ButtonInfo* b = m_buttonInfo; b; b = b->next) {
        if (wanted.CompareNoCase(b->textId) == 0) {
            HandleButton(b);
            return;
        }
    }
}

void CMorvaXEditorCtrl::PostMessage(unsigned msg, unsigned id, unsigned)
{
    if (msg != 1 || !m_coloringEditor)
        return;
    switch (id) {
    case 32833: m_coloringEditor->OnPaste(); break;
    case 32832: m_coloringEditor->OnCopy(); break;
    case 32834: m_coloringEditor->OnCut(); break;
    case 32851: m_coloringEditor->OnUndo(); break;
    case 32889: m_coloringEditor->OnRedo(); break;
    default: break;
    }
}

void CMorvaXEditorCtrl::SwitchMainButton(int kind)
{
    if (!m_pXHTML)
        return;
    for (int view : {27, 25, 26, 28})
        ToolCheckButton(view, 0, false, true);
    if (kind == -1)
        kind = m_viewMode >= 0 && m_viewMode < 4 ? kViewButtons[m_viewMode] : 0;
    if (kind >= 25 && kind <= 28)
        ToolCheckButton(kind, 0, true, true);
}

// ---- style buttons ----

namespace {

template <class F>
void ForEachStyleButton(const CPtrList& bars, F&& fn)
{
    void* pos = bars.GetHeadPosition();
    while (pos) {
        auto* bar = static_cast<ToolBarStruct*>(bars.GetNext(pos));
        if (bar->barKind != 0)
            continue;
        for (ButtonInfo* b = bar->buttons; b; b = b->next)
            if (b->kind == kButtonKindStyle && b->styleTarget)
                if (!fn(bar, b))
                    return;
    }
}

bool StyleFits(const STYLE_TARGET& target, const CElement& element)
{
    const unsigned short* tag = element.GetTagName();
    if (!tag || CSafeBuf(target.element) != CSafeBuf(tag))
        return false;
    for (const ATTRIBUTE_ITEM* a = target.attributes; a; a = a->next) {
        CSafeBuf value;
        if (!element.GetAttrString(a->name, value))
            return false;
        if (CSafeBuf(a->value) != "guid" && value != CSafeBuf(a->value))
            return false;
    }
    return true;
}

} // namespace

void CMorvaXEditorCtrl::StyleUnckeckStyleButtons()
{
    ForEachStyleButton(m_toolBars, [this](ToolBarStruct* bar, ButtonInfo* b) {
        b->state &= ~kButtonChecked;
        m_toolbarSet.CheckButton(bar, b, false);
        return true;
    });
}

bool CMorvaXEditorCtrl::FindBestButtonStyle(const CElement* element)
{
    if (!element)
        return false;
    bool fitted = false;
    ForEachStyleButton(m_toolBars, [&](ToolBarStruct* bar, ButtonInfo* b) {
        if (!StyleFits(*b->styleTarget, *element))
            return true;
        b->state |= kButtonChecked;
        m_toolbarSet.CheckButton(bar, b, true);
        fitted = true;
        return false;
    });
    return fitted;
}
