#include "host/Host.h"

#include "host/UsKeys.h"

#include "platform/common/Utf16.h"
#include "platform/dnd/DragSession.h"
#include "platform/events/EventTarget.h"
#include "platform/events/Services.h"
#include "platform/input/KeyLayout.h"
#include "platform/ui/Window.h"

#include <cstring>
#include <map>
#include <utility>

namespace qm::host {

namespace {

events::Services& Svc() { return events::Services::Get(); }

// Counts a call into the plug-in for as long as it lasts.
class CallGuard
{
public:
    explicit CallGuard(int& calls) : m_calls(calls) { ++m_calls; }
    ~CallGuard() { --m_calls; }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

private:
    int& m_calls;
};

} // namespace

Host::Host(HostOptions options)
    : m_options(std::move(options)), m_previousUi(&Svc().Ui()), m_browser(m_log, m_options.browser)
{
    m_driver.log = &m_log;
    Svc().SetUiDriver(&m_driver);
    Svc().SetClock(&m_clock);
    Svc().SetPasteboards(&m_pasteboards);
    Svc().Input() = events::InputState();
    m_baseDragHandlers = dnd::DragSession::InstalledHandlerCount();
    m_baseAppHandlers = events::EventTarget::Application().HandlerCount();
    m_baseWindows = ui::Window::All().size();
    if (!m_window.Create(m_options.window))
        m_log.Add("fault: the browser window could not be made");
}

Host::~Host()
{
    Unload();
    Svc().SetUiDriver(m_previousUi);
    Svc().SetClock(nullptr);
    Svc().SetPasteboards(nullptr);
    Svc().Input() = events::InputState();
}

bool Host::Load(const std::string& path, std::string& error)
{
    Unload();
    return m_module.Load(path, m_browser.Table(), error);
}

bool Host::New(const std::string& mimeType, const std::vector<TagParam>& params)
{
    if (!m_module.IsLoaded() || m_live || params.size() > 32767)
        return false;
    m_names.clear();
    m_values.clear();
    for (const TagParam& p : params) {
        m_names.push_back(p.name);
        m_values.push_back(p.value);
    }
    m_argn.clear();
    m_argv.clear();
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        m_argn.push_back(&m_names[i][0]);
        m_argv.push_back(m_values[i] ? &(*m_values[i])[0] : nullptr);
    }
    m_argn.push_back(nullptr);
    m_argv.push_back(nullptr);
    m_npp = NPP_t{};
    std::string type = mimeType;
    const NPError status = m_module.Funcs().newp(&type[0], &m_npp, NP_EMBED,
        static_cast<std::int16_t>(params.size()), m_argn.data(), m_argv.data(), nullptr);
    if (status != NPERR_NO_ERROR) {
        m_log.Add("NPP_New failed with " + std::to_string(status));
        return false;
    }
    m_live = true;
    m_leftovers.clear();
    return true;
}

bool Host::Destroy()
{
    if (!m_live)
        return false;
    NPSavedData* saved = nullptr;
    const NPError status = m_module.Funcs().destroy(&m_npp, &saved);
    m_live = false;
    if (saved) {
        // Saved data comes in browser memory; this browser keeps none.
        m_browser.Account().Free(saved->buf, "the saved data's buffer");
        m_browser.Account().Free(saved, "the saved data record");
    }
    CheckLeftovers();
    return status == NPERR_NO_ERROR;
}

void Host::CheckLeftovers()
{
    m_leftovers.clear();
    if (m_clock.TimerCount() != 0)
        m_leftovers.push_back("left: " + std::to_string(m_clock.TimerCount()) + " timer(s)");
    const std::size_t drag = dnd::DragSession::InstalledHandlerCount();
    if (drag > m_baseDragHandlers)
        m_leftovers.push_back("left: " + std::to_string(drag - m_baseDragHandlers) + " drag handler(s)");
    const std::size_t app = events::EventTarget::Application().HandlerCount();
    if (app > m_baseAppHandlers)
        m_leftovers.push_back(
            "left: " + std::to_string(app - m_baseAppHandlers) + " application event handler(s)");
    if (m_window.Window().Target().HandlerCount() != 0)
        m_leftovers.push_back("left: " + std::to_string(m_window.Window().Target().HandlerCount())
            + " window event handler(s)");
    if (ui::Window::All().size() > m_baseWindows)
        m_leftovers.push_back(
            "left: " + std::to_string(ui::Window::All().size() - m_baseWindows) + " window(s)");
    if (!ui::ModalDialog::Modeless().empty())
        m_leftovers.push_back(
            "left: " + std::to_string(ui::ModalDialog::Modeless().size()) + " modeless dialog(s)");
}

void Host::Unload()
{
    if (m_live)
        Destroy();
    m_module.Unload();
}

bool Host::CallSetWindow(NPWindow* record)
{
    if (!m_live)
        return false;
    CallGuard guard(m_calls);
    const NPError status = m_module.Funcs().setwindow(&m_npp, record);
    RepaintIfAsked();
    return status == NPERR_NO_ERROR;
}

bool Host::SetNullWindow()
{
    NPWindow record = *m_window.Record();
    record.window = nullptr;
    record.clipRect = NPRect{0, 0, 0, 0};
    return CallSetWindow(&record);
}

bool Host::SetWindow(int x, int y, int width, int height)
{
    if (!m_window.HasPort())
        return false;
    m_window.Place(x, y, width, height);
    return CallSetWindow(m_window.Record());
}

bool Host::SetClip(int top, int left, int bottom, int right)
{
    if (!m_window.HasPort())
        return false;
    m_window.SetClip(top, left, bottom, right);
    return CallSetWindow(m_window.Record());
}

std::int16_t Host::SendEvent(std::uint16_t what, std::uint32_t message, int h, int v, std::uint16_t modifiers)
{
    if (!m_live)
        return 0;
    int gh = 0, gv = 0;
    m_window.ToScreen(h, v, gh, gv);
    EventRecord e{};
    e.what = what;
    e.message = message;
    e.when = static_cast<std::uint32_t>(m_clock.Ticks());
    e.where = qd::Point{static_cast<std::int16_t>(gv), static_cast<std::int16_t>(gh)};
    e.modifiers = modifiers;
    CallGuard guard(m_calls);
    events::InputState& input = Svc().Input();
    input.mouseH = gh;
    input.mouseV = gv;
    input.modifiers = modifiers;
    const std::int16_t handled = m_module.Funcs().event(&m_npp, &e);
    RepaintIfAsked();
    return handled;
}

void Host::RepaintIfAsked()
{
    if (m_repainting || !m_live || !m_browser.TakeInvalidation())
        return;
    m_repainting = true;
    SendEvent(updateEvt, 0, 0, 0, 0);
    m_browser.TakeInvalidation(); // what the update itself asked for is done
    m_repainting = false;
}

std::int16_t Host::MouseDown(int h, int v, std::uint16_t modifiers)
{
    Svc().Input().buttons |= events::kButtonPrimary;
    return SendEvent(mouseDown, 0, h, v, modifiers);
}

std::int16_t Host::MouseUp(int h, int v, std::uint16_t modifiers)
{
    Svc().Input().buttons &= ~events::kButtonPrimary;
    return SendEvent(mouseUp, 0, h, v, modifiers);
}

std::int16_t Host::Click(int h, int v, std::uint16_t modifiers)
{
    const std::int16_t handled = MouseDown(h, v, modifiers);
    MouseUp(h, v, modifiers);
    return handled;
}

std::int16_t Host::Drag(int fromH, int fromV, int toH, int toV, int steps, std::uint16_t modifiers)
{
    const std::int16_t handled = MouseDown(fromH, fromV, modifiers);
    steps = steps < 1 ? 1 : steps;
    for (int i = 1; i <= steps; ++i)
        SendEvent(
            nullEvent, 0, fromH + (toH - fromH) * i / steps, fromV + (toV - fromV) * i / steps, modifiers);
    MouseUp(toH, toV, modifiers);
    return handled;
}

std::int16_t Host::Null(int h, int v) { return SendEvent(nullEvent, 0, h, v, 0); }

std::int16_t Host::Key(std::uint8_t keyCode, std::uint16_t modifiers)
{
    const std::uint32_t message = UsKeyMessage(keyCode, modifiers);
    const std::int16_t handled = SendEvent(keyDown, message, 0, 0, modifiers);
    // Every press, Command shortcuts and the keys that type nothing visible
    // included, is followed by the text-input event of its character: a
    // plug-in that takes typed text only from those still gets the arrows,
    // Backspace, Return and the shortcuts. The modifiers of the key-down
    // stay the current ones meanwhile.
    if (const char16_t character = UsKeyCharacter(keyCode, modifiers))
        TextInput(std::u16string(1, character));
    SendEvent(keyUp, message, 0, 0, modifiers);
    return handled;
}

bool Host::TextInput(const std::u16string& text, std::uint32_t kind)
{
    if (!m_live)
        return false;
    CallGuard guard(m_calls);
    events::Event e(events::kEventClassTextInput, kind);
    e.SetParam(events::kParamText, text);
    // A pre-edit is all unconfirmed: its fixed part, in bytes, is empty.
    if (kind == kTextInputPreEdit)
        e.SetParam(events::FourCC("tsfx"), std::int64_t(0));
    const bool handled = events::EventTarget::Application().SendEvent(e) == events::kNoErr;
    RepaintIfAsked();
    return handled;
}

bool Host::Type(const std::string& utf8)
{
    bool all = true;
    const std::u16string text = utf8::ToUtf16(utf8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::u16string unit(1, text[i]);
        if (utf8::IsHighSurrogate(text[i]) && i + 1 < text.size())
            unit += text[++i];
        std::uint8_t code = 0;
        std::uint16_t modifiers = 0;
        const bool hasKey = unit.size() == 1 && UsKeyFor(unit[0], code, modifiers);
        if (hasKey) {
            SendEvent(keyDown, UsKeyMessage(code, modifiers), 0, 0, modifiers);
            if (unit[0] == '\n')
                unit[0] = u'\r';
        }
        all = TextInput(unit) && all;
        if (hasKey)
            SendEvent(keyUp, UsKeyMessage(code, modifiers), 0, 0, modifiers);
    }
    return all;
}

bool Host::Wheel(int h, int v, int delta, int axis)
{
    if (!m_live)
        return false;
    int gh = 0, gv = 0;
    m_window.ToScreen(h, v, gh, gv);
    CallGuard guard(m_calls);
    events::Event e(events::kEventClassMouse, events::kEventMouseWheelMoved);
    e.SetParam(events::kParamMouseLocation, events::Point{gv, gh});
    e.SetParam(events::kParamWindowMouseLocation,
        events::Point{gv - m_window.Window().ScreenV(), gh - m_window.Window().ScreenH()});
    e.SetParam(events::kParamWheelAxis, static_cast<std::int64_t>(axis));
    e.SetParam(events::kParamWheelDelta, static_cast<std::int64_t>(delta));
    e.SetParam(events::kParamKeyModifiers, Svc().Input().modifiers);
    const bool handled = m_window.Window().Target().SendEvent(e) == events::kNoErr;
    RepaintIfAsked();
    return handled;
}

int Host::DragTracking(dnd::DragSession& drag, short message, int h, int v)
{
    if (!m_live)
        return dnd::kDragNotAcceptedErr;
    int gh = 0, gv = 0;
    m_window.ToScreen(h, v, gh, gv);
    drag.SetMouse(events::Point{gv, gh});
    CallGuard guard(m_calls);
    const int answer = drag.TrackIn(&m_window.Window(), message);
    RepaintIfAsked();
    return answer;
}

int Host::DragDrop(dnd::DragSession& drag, int h, int v)
{
    if (!m_live)
        return dnd::kDragNotAcceptedErr;
    int gh = 0, gv = 0;
    m_window.ToScreen(h, v, gh, gv);
    drag.SetMouse(events::Point{gv, gh});
    CallGuard guard(m_calls);
    const int answer = drag.DropOn(&m_window.Window());
    RepaintIfAsked();
    return answer;
}

std::int16_t Host::Focus(bool gained)
{
    return SendEvent(gained ? NPEventType_GetFocusEvent : NPEventType_LoseFocusEvent, 0, 0, 0, 0);
}

std::int16_t Host::Activate(bool active) { return SendEvent(activateEvt, 0, 0, 0, active ? 1 : 0); }

std::int16_t Host::Update() { return SendEvent(updateEvt, 0, 0, 0, 0); }

void Host::Advance(clock::Millis ms)
{
    CallGuard guard(m_calls);
    m_clock.Advance(ms);
    RepaintIfAsked();
}

NPObject* Host::ScriptableObject()
{
    if (!m_live)
        return nullptr;
    NPObject* object = nullptr;
    if (m_module.Funcs().getvalue(&m_npp, NPPVpluginScriptableNPObject, &object) != NPERR_NO_ERROR || !object)
        return nullptr;
    if (!m_browser.Account().IsLive(object)) {
        m_browser.Account().Fault("the scriptable object was not made through createobject");
        return nullptr;
    }
    return object;
}

void Host::ReleaseObject(NPObject* object) { m_browser.Account().Release(object); }

bool Host::Get(const std::string& name, ScriptValue& out)
{
    NPObject* object = ScriptableObject();
    if (!object) {
        m_log.Add("get " + name + " -> no scriptable object");
        return false;
    }
    CallGuard guard(m_calls);
    const bool ok = m_browser.GetProperty(&m_npp, object, name, out);
    ReleaseObject(object);
    RepaintIfAsked();
    return ok;
}

bool Host::Set(const std::string& name, const ScriptValue& value)
{
    NPObject* object = ScriptableObject();
    if (!object) {
        m_log.Add("set " + name + " -> no scriptable object");
        return false;
    }
    CallGuard guard(m_calls);
    const bool ok = m_browser.SetProperty(&m_npp, object, name, value);
    ReleaseObject(object);
    RepaintIfAsked();
    return ok;
}

bool Host::Invoke(const std::string& name, const std::vector<ScriptValue>& args, ScriptValue& out)
{
    NPObject* object = ScriptableObject();
    if (!object) {
        m_log.Add("call " + name + " -> no scriptable object");
        return false;
    }
    CallGuard guard(m_calls);
    const bool ok = m_browser.Invoke(&m_npp, object, name, args, out);
    ReleaseObject(object);
    RepaintIfAsked();
    return ok;
}

bool Host::FormValue(std::string& out)
{
    out.clear();
    if (!m_live)
        return false;
    CallGuard guard(m_calls);
    char* value = nullptr;
    if (m_module.Funcs().getvalue(&m_npp, NPPVformValue, &value) != NPERR_NO_ERROR || !value)
        return false;
    Accounting& account = m_browser.Account();
    if (!account.IsBlock(value)) {
        account.Fault("the form value did not come from memalloc");
        return false;
    }
    const std::size_t size = account.BlockSize(value);
    const void* end = std::memchr(value, 0, size);
    if (!end)
        account.Fault("the form value has no terminating zero in its block");
    out.assign(value, end ? static_cast<const char*>(end) - value : size);
    account.Free(value, "the form value");
    return true;
}

bool Host::PluginString(NPPVariable variable, std::string& out)
{
    out.clear();
    const char* value = nullptr;
    if (!m_live || m_module.Funcs().getvalue(&m_npp, variable, &value) != NPERR_NO_ERROR || !value)
        return false;
    out = value;
    return true;
}

void Host::SetClipboardText(const std::string& text)
{
    dnd::Pasteboard& board = m_pasteboards.Clipboard();
    board.Clear();
    const std::u16string units = utf8::ToUtf16(text);
    board.PutItemFlavor(1, "public.utf16-plain-text", units.data(), units.size() * sizeof(char16_t));
}

std::string Host::ClipboardText()
{
    dnd::Pasteboard& board = m_pasteboards.Clipboard();
    for (std::size_t i = 1; i <= board.ItemCount(); ++i) {
        const dnd::PasteboardItem* item = board.ItemAt(i);
        const dnd::Flavor* f = item ? board.FindFlavor(item->id, "public.utf16-plain-text") : nullptr;
        if (!f)
            continue;
        std::u16string units(f->data.size() / sizeof(char16_t), u'\0');
        std::memcpy(&units[0], f->data.data(), units.size() * sizeof(char16_t));
        return utf8::FromUtf16(units);
    }
    return std::string();
}

std::vector<std::string> Host::Problems() const
{
    std::vector<std::string> out;
    for (const std::string& f : m_browser.GetAccount().Faults())
        out.push_back("fault: " + f);
    for (const std::string& l : m_browser.GetAccount().Leaks())
        out.push_back(l);
    out.insert(out.end(), m_leftovers.begin(), m_leftovers.end());
    for (const std::string& f : m_driver.failures)
        out.push_back("failure: " + f);
    return out;
}

} // namespace qm::host
