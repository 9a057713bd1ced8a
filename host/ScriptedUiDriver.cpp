#include "host/ScriptedUiDriver.h"

#include "platform/dnd/DragSession.h"
#include "platform/ui/Window.h"

#include <cstdio>

namespace qm::host {

namespace {

// Points in the log are (h, v): across, then down, in global coordinates.
std::string Point(int v, int h) { return "(" + std::to_string(h) + ", " + std::to_string(v) + ")"; }

std::string FourCC(std::uint32_t code)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((code >> shift) & 0xFF);
        s += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return "'" + s + "'";
}

std::string Describe(const ui::ModalDialog& d)
{
    std::string out = "dialog " + d.ModalKind() + " " + Quote(d.caption) + ":";
    for (const std::string& t : d.texts)
        out += " " + Quote(t);
    out += " [";
    for (std::size_t i = 0; i < d.buttons.size(); ++i) {
        out += (i ? ", " : "") + d.buttons[i].label;
        if (static_cast<int>(i) == d.defaultButton)
            out += "*";
    }
    out += "]";
    if (!d.fields.empty()) {
        out += " {";
        for (std::size_t i = 0; i < d.fields.size(); ++i)
            out += (i ? ", " : "") + d.fields[i].name + "=" + Quote(d.fields[i].value);
        out += "}";
    }
    if (d.parent)
        out += " over " + Quote(d.ParentTitle());
    return out;
}

std::string Describe(const std::vector<events::MenuEntry>& entries)
{
    std::string out;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const events::MenuEntry& e = entries[i];
        out += i ? ", " : "";
        if (e.separator)
            out += "-";
        else
            out += e.text + (e.submenu.empty() ? "" : ">") + (e.enabled ? "" : " (disabled)");
    }
    return out;
}

// The enabled entry a path of texts or a command names; null when none.
const events::MenuEntry* FindEntry(const std::vector<events::MenuEntry>& entries, const std::string& path)
{
    const std::size_t slash = path.find('/');
    const std::string head = path.substr(0, slash);
    for (const events::MenuEntry& e : entries) {
        if (e.separator || !e.enabled || e.text != head)
            continue;
        if (slash == std::string::npos)
            return e.submenu.empty() ? &e : nullptr;
        return FindEntry(e.submenu, path.substr(slash + 1));
    }
    return nullptr;
}

const events::MenuEntry* FindCommand(const std::vector<events::MenuEntry>& entries, std::uint32_t command)
{
    for (const events::MenuEntry& e : entries) {
        if (e.separator || !e.enabled)
            continue;
        if (!e.submenu.empty()) {
            if (const events::MenuEntry* found = FindCommand(e.submenu, command))
                return found;
        } else if (e.command == command) {
            return &e;
        }
    }
    return nullptr;
}

std::string WindowName(const void* key)
{
    for (const ui::Window* w : ui::Window::All())
        if (w == key)
            return Quote(w->Title());
    return "a window";
}

} // namespace

void ScriptedUiDriver::Fail(const std::string& text)
{
    failures.push_back(text);
    log->Add("failure: " + text);
}

void ScriptedUiDriver::Record(const ui::ModalDialog& dialog)
{
    ++shown;
    kind = dialog.ModalKind();
    caption = dialog.caption;
    texts = dialog.texts;
    labels.clear();
    for (const auto& b : dialog.buttons)
        labels.push_back(b.label);
    parentTitle = dialog.ParentTitle();
    defaultLabel.clear();
    if (dialog.defaultButton >= 0 && static_cast<std::size_t>(dialog.defaultButton) < dialog.buttons.size())
        defaultLabel = dialog.buttons[static_cast<std::size_t>(dialog.defaultButton)].label;
}

events::ModalAnswer ScriptedUiDriver::Answer(
    ui::ModalDialog* dialog, const DialogAnswer& answer, std::string& said)
{
    switch (answer.kind) {
    case DialogAnswer::kClose: said = "close"; return ModalAnswer::Close();
    case DialogAnswer::kFail: said = "no answer"; return ModalAnswer::NoAnswer();
    default: break;
    }
    if (!dialog) {
        Fail("a press answered a modal that has no buttons");
        said = "close";
        return ModalAnswer::Close();
    }
    for (const ui::DialogField& f : answer.fields) {
        if (!dialog->SetField(f.name, f.value))
            Fail("the dialog has no field " + f.name);
        else
            said += "set " + f.name + "=" + Quote(f.value) + ", ";
    }
    const int index = answer.press.empty() ? dialog->defaultButton : dialog->FindButton(answer.press);
    if (index < 0 || static_cast<std::size_t>(index) >= dialog->buttons.size()) {
        Fail("the dialog has no button "
            + (answer.press.empty() ? std::string("marked default") : Quote(answer.press)));
        said += "close";
        return ModalAnswer::Close();
    }
    said += "press " + Quote(dialog->buttons[static_cast<std::size_t>(index)].label);
    dialog->Press(static_cast<std::size_t>(index));
    return ModalAnswer::Continue();
}

bool ScriptedUiDriver::AnswerModeless(const std::string& kind, const DialogAnswer& answer)
{
    ui::ModalDialog* dialog = nullptr;
    for (ui::ModalDialog* d : ui::ModalDialog::Modeless())
        if (d->ModalKind() == kind)
            dialog = d;
    if (!dialog) {
        Fail("no " + kind + " dialog is shown without a modal loop");
        return false;
    }
    const std::string head = Describe(*dialog);
    if (answer.kind == DialogAnswer::kClose) {
        log->Add(head + " -> close");
        events::Event close(events::kEventClassWindow, events::kEventWindowClose);
        dialog->Target().SendEvent(close);
        return true;
    }
    if (answer.kind != DialogAnswer::kPress) {
        Fail("a dialog shown without a modal loop is answered by a press or a close");
        return false;
    }
    std::string said;
    for (const ui::DialogField& f : answer.fields) {
        if (!dialog->SetField(f.name, f.value)) {
            Fail("the dialog has no field " + f.name);
            return false;
        }
        said += "set " + f.name + "=" + Quote(f.value) + ", ";
    }
    const int index = answer.press.empty() ? dialog->defaultButton : dialog->FindButton(answer.press);
    if (index < 0 || static_cast<std::size_t>(index) >= dialog->buttons.size()) {
        Fail("the dialog has no button "
            + (answer.press.empty() ? std::string("marked default") : Quote(answer.press)));
        return false;
    }
    log->Add(head + " -> " + said + "press " + Quote(dialog->buttons[static_cast<std::size_t>(index)].label));
    // The press may end the dialog and delete it: it is not touched after.
    dialog->Press(static_cast<std::size_t>(index));
    return true;
}

events::ModalAnswer ScriptedUiDriver::ModalStep(ModalLoop& loop)
{
    if (step)
        return step(loop);
    auto* dialog = dynamic_cast<ui::ModalDialog*>(&loop.Subject());
    const bool standing = action != kPress || !press.empty();
    const bool first = loop.Steps() <= 1;
    std::string head = dialog ? Describe(*dialog) : "modal " + loop.Subject().ModalKind();
    if (first && dialog)
        Record(*dialog);

    if (first && !dialogs.empty()) {
        const DialogAnswer answer = dialogs.front();
        dialogs.pop_front();
        std::string said;
        const ModalAnswer a = Answer(dialog, answer, said);
        log->Add(head + " -> " + said);
        return a;
    }
    if (standing) {
        if (!dialog)
            return ModalAnswer::NoAnswer();
        switch (action) {
        case kPress: {
            const int index = dialog->FindButton(press);
            if (index < 0)
                return ModalAnswer::NoAnswer();
            dialog->Press(static_cast<std::size_t>(index));
            return ModalAnswer::Continue();
        }
        case kClose: return ModalAnswer::Close();
        default: return ModalAnswer::NoAnswer();
        }
    }
    if (interactive) {
        if (first)
            log->Add(head + " -> shown in the window");
        return interactive->ModalStep(loop);
    }
    if (!first) {
        log->Add(head + " still open -> close");
        return ModalAnswer::Close();
    }
    if (failWhenUnanswered) {
        Fail("no answer for " + head);
        return ModalAnswer::NoAnswer();
    }
    log->Add(head + " -> close (no scripted answer)");
    return ModalAnswer::Close();
}

std::uint32_t ScriptedUiDriver::PopUpMenu(const events::MenuRequest& menu)
{
    lastMenu = menu;
    const std::string head = "menu at " + Point(menu.v, menu.h) + ": " + Describe(menu.entries);
    if (menus.empty() && interactive) {
        log->Add(head + " -> shown in the window");
        return interactive->PopUpMenu(menu);
    }
    if (menus.empty()) {
        if (failWhenUnanswered)
            Fail("no answer for " + head);
        else
            log->Add(head + " -> dismissed (no scripted answer)");
        return 0;
    }
    const MenuAnswer answer = menus.front();
    menus.pop_front();
    if (answer.command == 0 && answer.choose.empty()) {
        log->Add(head + " -> dismissed");
        return 0;
    }
    const events::MenuEntry* entry
        = answer.command ? FindCommand(menu.entries, answer.command) : FindEntry(menu.entries, answer.choose);
    if (!entry) {
        Fail("the menu has no enabled entry "
            + (answer.command ? std::to_string(answer.command) : Quote(answer.choose)));
        log->Add(head + " -> dismissed");
        return 0;
    }
    log->Add(head + " -> " + Quote(entry->text) + " (" + std::to_string(entry->command) + ")");
    return entry->command;
}

bool ScriptedUiDriver::PutFile(const events::PutFileRequest& request, events::PutFileReply& reply)
{
    putRequest = request;
    std::string head = "put-file " + Quote(request.proposedName);
    if (!request.clientName.empty())
        head += " for " + Quote(request.clientName);
    if (request.windowModal)
        head += " (window-modal)";
    PutFileAnswer answer;
    if (!putFiles.empty()) {
        answer = putFiles.front();
        putFiles.pop_front();
    } else if (interactive) {
        log->Add(head + " -> shown in the window");
        return interactive->PutFile(request, reply);
    } else if (putAnswer) {
        answer.save = true;
        answer.folder = putReply.folder;
        answer.fileName = putReply.fileName;
    } else if (failWhenUnanswered) {
        Fail("no answer for " + head);
        return false;
    } else {
        log->Add(head + " -> cancel (no scripted answer)");
        return false;
    }
    if (!answer.save) {
        log->Add(head + " -> cancel");
        return false;
    }
    reply.folder = answer.folder;
    reply.fileName = answer.fileName;
    log->Add(head + " -> save " + Quote(answer.folder) + " " + Quote(answer.fileName));
    return true;
}

int ScriptedUiDriver::TrackDrag(dnd::DragSession& drag)
{
    std::string head = "drag of " + std::to_string(drag.CountItems()) + " item(s)";
    dnd::DragItemRef first = 0;
    if (drag.GetItemReference(1, first)) {
        for (std::uint32_t type :
            {events::FourCC("utxt"), events::FourCC("furl"), events::FourCC("QMRK"), events::FourCC("QMD1")})
            if (drag.HasFlavor(first, type))
                head += " " + FourCC(type);
    }
    if (drags.empty()) {
        if (interactive) {
            log->Add(head + " -> to the window");
            return interactive->TrackDrag(drag);
        }
        if (failWhenUnanswered)
            Fail("no answer for " + head);
        else
            log->Add(head + " -> cancel (no scripted answer)");
        return events::kUserCanceledErr;
    }
    const DragAnswer answer = drags.front();
    drags.pop_front();
    if (!answer.drop) {
        log->Add(head + " -> cancel");
        return events::kUserCanceledErr;
    }
    const void* key = answer.window;
    if (!key) {
        for (const ui::Window* w : ui::Window::All())
            if (w->Title() == answer.windowTitle)
                key = w;
    }
    if (!key) {
        Fail("no window " + Quote(answer.windowTitle) + " to drop on");
        log->Add(head + " -> cancel");
        return events::kUserCanceledErr;
    }
    if (answer.atPoint)
        drag.SetMouse(events::Point{answer.v, answer.h});
    drag.TrackIn(key, dnd::kDragTrackingEnterHandler);
    drag.TrackIn(key, dnd::kDragTrackingEnterWindow);
    drag.TrackIn(key, dnd::kDragTrackingInWindow);
    const int result = drag.DropOn(key);
    drag.TrackIn(key, dnd::kDragTrackingLeaveWindow);
    drag.TrackIn(key, dnd::kDragTrackingLeaveHandler);
    const events::Point at = drag.Mouse();
    log->Add(head + " -> drop in " + WindowName(key) + " at " + Point(at.v, at.h) + ": "
        + (result == dnd::kDragAccepted ? std::string("accepted")
                                        : "refused (" + std::to_string(result) + ")"));
    return result;
}

void ScriptedUiDriver::HelpTagChanged(const events::HelpTag* tag)
{
    if (interactive)
        interactive->HelpTagChanged(tag);
    if (!tag) {
        log->Add("help tag hidden");
        return;
    }
    log->Add("help tag " + Quote(tag->text) + " at (" + std::to_string(tag->left) + ", "
        + std::to_string(tag->top) + ", " + std::to_string(tag->right) + ", " + std::to_string(tag->bottom)
        + ")" + (tag->leftSide ? " on the left" : ""));
}

void ScriptedUiDriver::ModelessChanged(events::ModalSubject& dialog, bool isShown)
{
    auto* d = dynamic_cast<ui::ModalDialog*>(&dialog);
    const std::string head = d ? Describe(*d) : "modal " + dialog.ModalKind();
    log->Add(head + (isShown ? " shown without a modal loop" : " hidden"));
    if (interactive)
        interactive->ModelessChanged(dialog, isShown);
}

bool ScriptedUiDriver::OpenURL(const std::string& url)
{
    log->Add("open URL " + Quote(url));
    return true;
}

} // namespace qm::host
