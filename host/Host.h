#pragma once
// The test browser: loads a plug-in module, shows one plug-in tag of a page
// in its window and drives it the way a browser does - window changes,
// events, time, script - while it keeps the accounts of a careful browser
// and a log of what happened. Tests use it directly; qmhost runs pages
// through it (host/PageRunner.h).
//
// For its lifetime the host installs its own UI driver (the scripted one),
// a virtual clock and its own pasteboards in the process's services; the
// plug-in shares them through the private platform variable
// (platform/np/SharedPlatform.h). Only one host exists at a time.
//
// Points given to the event calls are in the plug-in's area, (h, v) from its
// top-left corner; the host turns them into screen points as a browser's
// event records carry them.

#include "host/Browser.h"
#include "host/BrowserWindow.h"
#include "host/EventLog.h"
#include "host/PluginModule.h"
#include "host/ScriptValue.h"
#include "host/ScriptedUiDriver.h"

#include "platform/clock/Clock.h"
#include "platform/dnd/DragSession.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/np/EventRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qm::events {
class UiDriver;
}

namespace qm::host {

struct TagParam
{
    std::string name;
    std::optional<std::string> value; // none: a parameter without a value
};

struct HostOptions
{
    BrowserOptions browser;
    WindowGeometry window;
};

class Host
{
public:
    explicit Host(HostOptions options = HostOptions());
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    EventLog& Log() { return m_log; }
    ScriptedUiDriver& Ui() { return m_driver; }
    Browser& GetBrowser() { return m_browser; }
    BrowserWindow& Window() { return m_window; }
    clock::Clock& Clock() { return m_clock; }
    NPP Instance() { return &m_npp; }

    // ---- The module and the instance.
    bool Load(const std::string& path, std::string& error);
    // NPP_New with the tag's parameters; false when there is no module, an
    // instance exists already, or the plug-in refuses.
    bool New(const std::string& mimeType, const std::vector<TagParam>& params);
    bool HasInstance() const { return m_live; }
    // NPP_Destroy; then what the plug-in left behind (timers, handlers,
    // windows, memory, objects) is checked and added to the problems.
    bool Destroy();
    // Destroys the instance if there is one, then NP_Shutdown.
    void Unload();

    // ---- The window.
    // A window record without a window (the page has none for the tag yet).
    bool SetNullWindow();
    // Places the plug-in's area and hands the window over.
    bool SetWindow(int x, int y, int width, int height);
    // A new clip rectangle for the same area (port coordinates).
    bool SetClip(int top, int left, int bottom, int right);

    // ---- Events. Each answers the plug-in's handled flag; after each, the
    // host repaints (sends an update) when the plug-in asked for it.
    std::int16_t MouseDown(int h, int v, std::uint16_t modifiers = 0);
    std::int16_t MouseUp(int h, int v, std::uint16_t modifiers = 0);
    std::int16_t Click(int h, int v, std::uint16_t modifiers = 0);
    // Press at the first point, null events along the way with the button
    // held, release at the last point.
    std::int16_t Drag(int fromH, int fromV, int toH, int toV, int steps = 4, std::uint16_t modifiers = 0);
    std::int16_t Null(int h, int v);
    // A key press by virtual key code, as a browser delivers it: key-down
    // (the character the US layout gives for the modifiers in the low byte
    // of the message), the text-input event with that character (when the
    // key gives one), key-up. Answers the key-down's flag.
    std::int16_t Key(std::uint8_t keyCode, std::uint16_t modifiers = 0);
    // Typing: for each character, the key-down of the US key that gives it
    // (if any), the text-input event with the character, the key-up. Answers
    // whether every text-input event was handled.
    bool Type(const std::string& utf8);
    // A text-input event alone: an input method's committed text (kind
    // kTextInputCommit) or its pre-edit text (kind kTextInputPreEdit, none
    // of it fixed: the plug-in shows it selected, and the next update or
    // the commit replaces it).
    static constexpr std::uint32_t kTextInputPreEdit = 1;
    static constexpr std::uint32_t kTextInputCommit = 2;
    bool TextInput(const std::u16string& text, std::uint32_t kind = kTextInputCommit);
    // A mouse wheel turn over a point (axis 0 vertical, 1 horizontal).
    bool Wheel(int h, int v, int delta, int axis = 0);
    // A drag from outside the browser (another program's) over the
    // plug-in's area, at (h, v): the tracking message to the browser
    // window's drag handlers, and the drop onto it (0 accepted). The
    // drag's pointer is set to the point.
    int DragTracking(dnd::DragSession& drag, short message, int h, int v);
    int DragDrop(dnd::DragSession& drag, int h, int v);
    std::int16_t Focus(bool gained);
    std::int16_t Activate(bool active);
    std::int16_t Update();
    std::int16_t SendEvent(std::uint16_t what, std::uint32_t message, int h, int v, std::uint16_t modifiers);
    // Whether a call into the plug-in is under way (an event, a window
    // change, a script call); a window must not start another from inside it.
    bool InCall() const { return m_calls > 0; }

    // ---- Time.
    void Advance(clock::Millis ms);

    // ---- Script, through the plug-in's scriptable object.
    // NPP_GetValue for the scriptable object: retained for the caller, who
    // gives it back with ReleaseObject. Null when the plug-in has none.
    NPObject* ScriptableObject();
    void ReleaseObject(NPObject* object);
    bool Get(const std::string& name, ScriptValue& out);
    bool Set(const std::string& name, const ScriptValue& value);
    bool Invoke(const std::string& name, const std::vector<ScriptValue>& args, ScriptValue& out);
    // The form value (NPP_GetValue 16), freed through the browser after it
    // is read; false when the plug-in gave none or a block the browser did
    // not allocate.
    bool FormValue(std::string& out);
    // NPP_GetValue for the name and the description.
    bool PluginString(NPPVariable variable, std::string& out);

    // ---- The clipboard (UTF-8 text in the general pasteboard).
    void SetClipboardText(const std::string& text);
    std::string ClipboardText();

    // ---- Results.
    bool WritePNG(const std::string& path) const { return m_window.WritePNG(path); }
    // Faults of the plug-in, leaks, what it left behind and the driver's
    // failures, one line each; empty when all is clean.
    std::vector<std::string> Problems() const;

private:
    void RepaintIfAsked();
    bool CallSetWindow(NPWindow* record);
    void CheckLeftovers();

    HostOptions m_options;
    EventLog m_log;
    ScriptedUiDriver m_driver;
    clock::Clock m_clock;
    dnd::PasteboardStore m_pasteboards;
    events::UiDriver* m_previousUi;
    Browser m_browser;
    BrowserWindow m_window;
    PluginModule m_module;
    NPP_t m_npp{};
    bool m_live = false;
    std::vector<std::string> m_names;
    std::vector<std::optional<std::string>> m_values;
    std::vector<char*> m_argn;
    std::vector<char*> m_argv;
    std::vector<std::string> m_leftovers;
    std::size_t m_baseDragHandlers = 0;
    std::size_t m_baseAppHandlers = 0;
    std::size_t m_baseWindows = 0;
    bool m_repainting = false;
    int m_calls = 0;
};

} // namespace qm::host
