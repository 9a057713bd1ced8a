#include "host/PageRunner.h"

#include "host/Host.h"

#include "platform/common/Utf16.h"
#include "platform/events/InputState.h"

#include <functional>

namespace qm::host {

namespace {

constexpr int kMaxCallDepth = 8;

std::string Point(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

std::string ModifierNames(std::uint16_t m)
{
    std::string out;
    const struct
    {
        std::uint16_t bit;
        const char* name;
    } names[]
        = {{events::kModCommand, "command"}, {events::kModShift, "shift"}, {events::kModOption, "option"},
            {events::kModControl, "control"}, {events::kModCapsLock, "caps-lock"}};
    for (const auto& n : names)
        if (m & n.bit)
            out += std::string(" ") + n.name;
    return out;
}

class Runner
{
public:
    Runner(const Page& page, Host& host, PageFrontEnd* frontEnd)
        : m_page(page), m_host(host), m_frontEnd(frontEnd)
    { }

    void Run(const std::vector<PageStep>& steps)
    {
        for (const PageStep& s : steps) {
            if (Closed())
                return;
            Step(s);
            if (m_frontEnd)
                m_frontEnd->StepDone();
        }
    }

    bool Closed() const { return m_closed || (m_frontEnd && m_frontEnd->Closed()); }

    void CallFunction(const std::string& name)
    {
        if (m_frontEnd)
            m_frontEnd->Called(name);
        for (const PageFunction& f : m_page.functions) {
            if (f.name != name || f.body.empty())
                continue;
            if (m_depth >= kMaxCallDepth) {
                m_host.Log().Add("page: " + name + " not run: calls nested too deep");
                return;
            }
            ++m_depth;
            Run(f.body);
            --m_depth;
            return;
        }
    }

private:
    void Say(const std::string& text) { m_host.Log().Add("> " + text); }

    void Step(const PageStep& s)
    {
        Host& h = m_host;
        switch (s.kind) {
        case PageStep::kNullWindow:
            Say("null window");
            h.SetNullWindow();
            break;
        case PageStep::kWindow:
            Say("window " + Point(m_page.x, m_page.y) + " " + std::to_string(m_page.width) + "x"
                + std::to_string(m_page.height));
            h.SetWindow(m_page.x, m_page.y, m_page.width, m_page.height);
            break;
        case PageStep::kClip:
            Say("clip top " + std::to_string(s.y) + " left " + std::to_string(s.x) + " bottom "
                + std::to_string(s.y2) + " right " + std::to_string(s.x2));
            h.SetClip(s.y, s.x, s.y2, s.x2);
            break;
        case PageStep::kClick:
            Say("click " + Point(s.x, s.y) + ModifierNames(s.modifiers));
            Handled(Input(s, [&] { return h.Click(s.x, s.y, s.modifiers); }));
            break;
        case PageStep::kMouseDown:
            Say("mouse down " + Point(s.x, s.y) + ModifierNames(s.modifiers));
            Handled(Input(s, [&] { return h.MouseDown(s.x, s.y, s.modifiers); }));
            break;
        case PageStep::kMouseUp:
            Say("mouse up " + Point(s.x, s.y) + ModifierNames(s.modifiers));
            Handled(Input(s, [&] { return h.MouseUp(s.x, s.y, s.modifiers); }));
            break;
        case PageStep::kNull:
            Say("null " + Point(s.x, s.y));
            Handled(Input(s, [&] { return h.Null(s.x, s.y); }));
            break;
        case PageStep::kDrag:
            Say("drag " + Point(s.x, s.y) + " to " + Point(s.x2, s.y2) + ModifierNames(s.modifiers));
            Handled(Input(s, [&] { return h.Drag(s.x, s.y, s.x2, s.y2, s.count, s.modifiers); }));
            break;
        case PageStep::kKey:
            Say("key " + std::to_string(s.code) + ModifierNames(s.modifiers));
            Handled(Input(s, [&] { return h.Key(s.code, s.modifiers); }));
            break;
        case PageStep::kType:
            Say("type " + Quote(s.text));
            Input(s, [&] { return int(h.Type(s.text)); });
            break;
        case PageStep::kTextInput:
            Say("text input " + Quote(s.text));
            Input(s, [&] { return int(h.TextInput(utf8::ToUtf16(s.text))); });
            break;
        case PageStep::kPreEdit:
            Say("pre-edit " + Quote(s.text));
            Input(s, [&] { return int(h.TextInput(utf8::ToUtf16(s.text), Host::kTextInputPreEdit)); });
            break;
        case PageStep::kWheel:
            Say("wheel " + Point(s.x, s.y) + " " + std::to_string(s.count)
                + (s.axis ? " horizontal" : " vertical"));
            Handled(Input(s, [&] { return int(h.Wheel(s.x, s.y, s.count, s.axis)); }));
            break;
        case PageStep::kFocus:
            Say("focus");
            Handled(Input(s, [&] { return h.Focus(true); }));
            break;
        case PageStep::kBlur:
            Say("blur");
            Handled(Input(s, [&] { return h.Focus(false); }));
            break;
        case PageStep::kActivate:
            Say("activate");
            Handled(h.Activate(true));
            break;
        case PageStep::kDeactivate:
            Say("deactivate");
            Handled(h.Activate(false));
            break;
        case PageStep::kUpdate:
            Say("update");
            Handled(h.Update());
            break;
        case PageStep::kAdvance:
            Say("advance " + std::to_string(s.ms) + " ms");
            h.Advance(s.ms);
            break;
        case PageStep::kGet: {
            ScriptValue v;
            h.Get(s.name, v);
            break;
        }
        case PageStep::kSet: h.Set(s.name, s.values.front()); break;
        case PageStep::kCall: {
            ScriptValue v;
            h.Invoke(s.name, s.values, v);
            break;
        }
        case PageStep::kFormValue: {
            std::string value;
            const bool ok = h.FormValue(value);
            h.Log().Add(std::string("form value: ") + (ok ? Quote(value) : "none"));
            break;
        }
        case PageStep::kClipboard:
            Say("clipboard " + Quote(s.text));
            h.SetClipboardText(s.text);
            break;
        case PageStep::kReadClipboard: h.Log().Add("clipboard: " + Quote(h.ClipboardText())); break;
        case PageStep::kDialogAnswer: h.Ui().dialogs.push_back(s.dialog); break;
        case PageStep::kModelessAnswer: h.Ui().AnswerModeless(s.name, s.dialog); break;
        case PageStep::kMenuAnswer: h.Ui().menus.push_back(s.menu); break;
        case PageStep::kPutFileAnswer: h.Ui().putFiles.push_back(s.putFile); break;
        case PageStep::kCloseWindow:
            Say("close window");
            if (m_frontEnd)
                m_frontEnd->RequestClose();
            else
                m_closed = true;
            break;
        case PageStep::kDragAnswer: {
            DragAnswer a = s.drag;
            a.window = &h.Window().Window();
            if (a.atPoint)
                h.Window().ToScreen(s.x, s.y, a.h, a.v);
            h.Ui().drags.push_back(a);
            break;
        }
        }
    }

    // Runs an input step through the front end's window when there is one,
    // else directly; answers the handled flag.
    int Input(const PageStep& s, const std::function<int()>& direct)
    {
        if (m_frontEnd) {
            const int handled = m_frontEnd->Play(s);
            if (handled >= 0)
                return handled;
        }
        return direct();
    }

    // What the plug-in answered to the step's event.
    void Handled(bool handled) { m_host.Log().Add(handled ? "< handled" : "< not handled"); }

    const Page& m_page;
    Host& m_host;
    PageFrontEnd* m_frontEnd;
    bool m_closed = false;
    int m_depth = 0;
};

} // namespace

PageRun RunPage(
    const Page& page, const std::string& modulePath, const std::string& pngPath, PageFrontEnd* frontEnd)
{
    PageRun run;
    HostOptions options;
    options.browser.hasMethod = page.hasMethod;
    options.browser.windowObject = page.windowObject;
    options.window = page.window;
    Host host(options);
    host.Ui().failWhenUnanswered = page.failWhenUnanswered;
    Browser& browser = host.GetBrowser();
    browser.SetAddress(page.address);
    browser.SetCookie(page.cookie);
    Runner runner(page, host, frontEnd);
    for (const PageFunction& f : page.functions)
        browser.Window().functions.insert(f.name);
    browser.Window().onCall
        = [&runner](const std::string& name, const std::vector<ScriptValue>&) { runner.CallFunction(name); };

    std::string error;
    if (!host.Load(modulePath, error)) {
        run.problems.push_back(error);
        host.Log().Add("problem: " + error);
        run.log = host.Log().Text();
        return run;
    }
    std::string name, description;
    host.New(page.mimeType, page.params);
    if (!host.HasInstance()) {
        run.problems.push_back("the plug-in made no instance");
        host.Log().Add("problem: the plug-in made no instance");
        host.Unload();
        run.log = host.Log().Text();
        return run;
    }
    run.loaded = true;
    if (host.PluginString(NPPVpluginNameString, name)
        && host.PluginString(NPPVpluginDescriptionString, description))
        host.Log().Add("plug-in " + Quote(name) + ": " + Quote(description));
    if (frontEnd)
        frontEnd->Open(host, page);
    runner.Run(page.steps);
    if (frontEnd) {
        frontEnd->Wait();
        host.Log().Add("window closed");
    }

    run.hasFormValue = host.FormValue(run.formValue);
    host.Log().Add(std::string("final form value: ") + (run.hasFormValue ? Quote(run.formValue) : "none"));
    if (!pngPath.empty() && !(frontEnd ? frontEnd->WritePNG(pngPath) : host.WritePNG(pngPath)))
        run.problems.push_back("the picture could not be written to " + pngPath);
    if (frontEnd)
        frontEnd->Close();
    host.Destroy();
    host.Unload();
    browser.Window().onCall = nullptr;
    for (const std::string& p : host.Problems())
        run.problems.push_back(p);
    for (const std::string& p : run.problems)
        host.Log().Add("problem: " + p);
    if (run.problems.empty())
        host.Log().Add("accounting: clean");
    run.log = host.Log().Text();
    return run;
}

} // namespace qm::host
