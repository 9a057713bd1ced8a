#include "host/WindowFrontEnd.h"

#include "host/DesktopDrag.h"
#include "host/GdkKeys.h"
#include "host/Host.h"
#include "host/SurfaceChanges.h"
#include "host/UsKeys.h"
#include "host/WindowUi.h"

#include "platform/common/Utf16.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "platform/input/KeyLayout.h"
#include "platform/np/EventRecord.h"
#include "platform/qd/Port.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

namespace qm::host {

namespace {

constexpr const char* kTextFlavor = "public.utf16-plain-text";
constexpr const char* kHtmlFlavor = "public.html";
constexpr guint kTickMs = 16;
constexpr gint64 kDrawWaitMicros = 3 * G_USEC_PER_SEC;
constexpr gint64 kQuietMicros = 100 * 1000;
constexpr int kStatusMargin = 6;
constexpr int kStatusHeight = 22;

enum ClipTarget : guint
{
    kTargetText,
    kTargetHtml,
    kTargetUris
};

bool IsInput(PageStep::Kind k)
{
    switch (k) {
    case PageStep::kClick:
    case PageStep::kMouseDown:
    case PageStep::kMouseUp:
    case PageStep::kNull:
    case PageStep::kDrag:
    case PageStep::kKey:
    case PageStep::kType:
    case PageStep::kTextInput:
    case PageStep::kWheel:
    case PageStep::kFocus:
    case PageStep::kBlur: return true;
    default: return false;
    }
}

bool Set(const char* name)
{
    const char* v = std::getenv(name);
    return v && *v;
}

} // namespace

struct WindowFrontEnd::Impl
{
    WindowOptions options;
    Host* host = nullptr;
    GtkWidget* window = nullptr;
    GtkWidget* area = nullptr;
    GtkWidget* status = nullptr;
    GtkIMContext* im = nullptr;
    std::unique_ptr<WindowUi> ui;
    SurfaceChanges changes;
    bool closed = false;
    bool playing = false; // the page's steps are playing
    int synthetic = 0;    // inside an event made from a step
    int lastHandled = 0;
    bool drawPending = false;
    GMainLoop* loop = nullptr;
    guint clockId = 0;
    guint statusId = 0;
    gint64 lastMicros = 0;
    gint64 carryMicros = 0;
    std::string lastCall;
    std::string statusText = "no qm... event yet";
    // The pointer, in the window's coordinates, and the button held.
    int pointerX = 0;
    int pointerY = 0;
    bool pressed = false;
    std::uint16_t pressedModifiers = 0;
    double scrollCarry[2] = {0, 0};
    std::set<guint16> keysDown; // hardware codes: a second press is a repeat
    // The clipboard.
    GtkClipboard* clipboard = nullptr;
    gulong ownerChange = 0;
    bool importPending = true;
    bool importing = false;
    // Input that came while the clipboard was being read (its wait runs
    // the event loop): handed over once the event being handled is done.
    std::vector<GdkEvent*> deferred;
    bool pluginFocused = false; // the plug-in was last told it has the focus
    std::uint64_t seenChanges = 0;
    std::string clipText;
    std::string clipHtml;
    // Drags over the window: the plug-in's own (it runs inside a call into
    // the plug-in, which the window's drop side calls back) or another
    // program's, known once its data came.
    std::unique_ptr<dnd::DragSession> incoming;
    GdkDragContext* incomingContext = nullptr;
    GdkDragContext* asked = nullptr; // another program's drag whose data was asked for
    bool dropping = false;           // the data was asked for to drop it
    bool overWindow = false;         // the drag handlers were told it entered
    int dragX = 0;
    int dragY = 0;
    guint leaveId = 0;
    guint signalIds[2] = {0, 0};

    bool Accepts() const
    {
        if (closed || !host || !host->HasInstance() || host->InCall() || importing)
            return false;
        return !playing || synthetic > 0;
    }

    // A person's input is logged as the step that would replay it; input
    // made from a step is logged by the runner.
    void Say(const std::string& text)
    {
        if (synthetic == 0)
            host->Log().Add("> " + text);
    }
    void Answered(int handled)
    {
        lastHandled = handled;
        if (synthetic == 0)
            host->Log().Add(handled ? "< handled" : "< not handled");
    }
    static std::string ModifierWords(std::uint16_t m)
    {
        std::string out;
        if (m & events::kModCommand)
            out += " command";
        if (m & events::kModShift)
            out += " shift";
        if (m & events::kModOption)
            out += " option";
        if (m & events::kModControl)
            out += " control";
        return out;
    }
    static std::string At(int h, int v) { return "(" + std::to_string(h) + ", " + std::to_string(v) + ")"; }

    NPWindow* Record() { return host->Window().Record(); }
    void ToArea(double x, double y, int& h, int& v)
    {
        h = static_cast<int>(std::floor(x)) - Record()->x;
        v = static_cast<int>(std::floor(y)) - Record()->y;
    }
    bool InArea(int h, int v)
    {
        return h >= 0 && v >= 0 && h < static_cast<int>(Record()->width)
            && v < static_cast<int>(Record()->height);
    }

    cairo_surface_t* Surface()
    {
        qd::Port* port = host ? host->Window().Window().Port() : nullptr;
        return port ? port->Surface() : nullptr;
    }

    // After every call into the plug-in: the clipboard goes out, what
    // changed is repainted, the status line is brought up to date.
    void AfterCall()
    {
        ExportClipboard();
        Refresh();
        ScheduleStatus();
        if (!importing && !deferred.empty()) {
            std::vector<GdkEvent*> later;
            later.swap(deferred);
            for (GdkEvent* e : later) {
                if (!closed)
                    gtk_main_do_event(e);
                gdk_event_free(e);
            }
        }
    }

    bool Defer(const void* event)
    {
        if (!importing || closed)
            return false;
        deferred.push_back(gdk_event_copy(static_cast<const GdkEvent*>(event)));
        return true;
    }

    // A person's press or key reaches a plug-in that has the focus: the
    // window's drawing area had it from the start, so a plug-in not told
    // yet (or told it lost it) is told now, as a browser tells a plug-in
    // that a click focuses.
    void EnsureFocus()
    {
        if (synthetic > 0 || pluginFocused || !gtk_widget_has_focus(area))
            return;
        pluginFocused = true;
        Say("focus");
        Answered(host->Focus(true));
    }

    void Refresh()
    {
        cairo_surface_t* s = Surface();
        if (!s || !area)
            return;
        cairo_surface_flush(s);
        for (const PixelRect& r :
            changes.Take(cairo_image_surface_get_data(s), cairo_image_surface_get_width(s),
                cairo_image_surface_get_height(s), cairo_image_surface_get_stride(s))) {
            gtk_widget_queue_draw_area(area, r.x, r.y, r.width, r.height);
            drawPending = true;
        }
    }

    // Runs the event loop until the desktop has nothing more to say about
    // the new window (mapped, exposed, focused) for a moment.
    void Settle()
    {
        const gint64 until = g_get_monotonic_time() + kDrawWaitMicros;
        gint64 quietSince = g_get_monotonic_time();
        while (g_get_monotonic_time() < until && g_get_monotonic_time() - quietSince < kQuietMicros) {
            gdk_display_sync(gtk_widget_get_display(window));
            if (g_main_context_iteration(nullptr, FALSE))
                quietSince = g_get_monotonic_time();
            else
                g_usleep(1000);
        }
    }

    // Runs the event loop until the window has drawn what was queued.
    void FlushDrawing()
    {
        const gint64 until = g_get_monotonic_time() + kDrawWaitMicros;
        while (drawPending && g_get_monotonic_time() < until) {
            if (!g_main_context_iteration(nullptr, FALSE))
                g_usleep(1000);
        }
        gdk_display_sync(gtk_widget_get_display(window));
    }

    void ScheduleStatus()
    {
        if (statusId || closed)
            return;
        statusId = g_idle_add_full(
            G_PRIORITY_LOW,
            +[](gpointer p) -> gboolean {
                auto* m = static_cast<Impl*>(p);
                m->statusId = 0;
                m->UpdateStatus();
                return G_SOURCE_REMOVE;
            },
            this, nullptr);
    }

    void UpdateStatus()
    {
        // The form value comes from the plug-in: never from inside a call
        // (a dialog's loop), and not while steps play, so that a window run
        // logs what a headless run logs.
        if (closed || playing || !host || !host->HasInstance() || host->InCall())
            return;
        std::string value;
        const bool has = host->FormValue(value);
        const std::string event = lastCall.empty() ? "no qm... event yet" : "last event: " + lastCall;
        const std::string form = has ? std::to_string(utf8::ToUtf16(value).size()) + " characters" : "none";
        statusText = event + "   form value: " + form;
        gtk_widget_queue_draw(status);
    }

    // ---- The clipboard.
    void ExportClipboard()
    {
        dnd::Pasteboard& board = events::Services::Get().Pasteboards().Clipboard();
        if (board.ChangeCount() == seenChanges || !clipboard)
            return;
        seenChanges = board.ChangeCount();
        clipText.clear();
        clipHtml.clear();
        const dnd::PasteboardItem* item = board.ItemAt(1);
        if (!item)
            return;
        if (const dnd::Flavor* f = board.FindFlavor(item->id, kTextFlavor)) {
            std::u16string units(f->data.size() / sizeof(char16_t), u'\0');
            if (!units.empty())
                std::memcpy(&units[0], f->data.data(), units.size() * sizeof(char16_t));
            clipText = utf8::FromUtf16(units);
        }
        if (const dnd::Flavor* f = board.FindFlavor(item->id, kHtmlFlavor))
            clipHtml.assign(reinterpret_cast<const char*>(f->data.data()), f->data.size());
        GtkTargetList* list = gtk_target_list_new(nullptr, 0);
        gtk_target_list_add_text_targets(list, kTargetText);
        if (!clipHtml.empty())
            gtk_target_list_add(list, gdk_atom_intern_static_string("text/html"), 0, kTargetHtml);
        int count = 0;
        GtkTargetEntry* targets = gtk_target_table_new_from_list(list, &count);
        gtk_clipboard_set_with_owner(
            clipboard, targets, static_cast<guint>(count),
            +[](GtkClipboard*, GtkSelectionData* data, guint info, gpointer owner) {
                auto* m = static_cast<Impl*>(g_object_get_data(G_OBJECT(owner), "qm-window"));
                if (!m)
                    return;
                if (info == kTargetHtml)
                    gtk_selection_data_set(data, gdk_atom_intern_static_string("text/html"), 8,
                        reinterpret_cast<const guchar*>(m->clipHtml.data()),
                        static_cast<gint>(m->clipHtml.size()));
                else
                    gtk_selection_data_set_text(
                        data, m->clipText.c_str(), static_cast<gint>(m->clipText.size()));
            },
            nullptr, G_OBJECT(window));
        gtk_target_table_free(targets, count);
        gtk_target_list_unref(list);
    }

    // Takes what another program put on the desktop's clipboard, before an
    // input event that may paste it. Not while steps play: a run gives the
    // same result whatever the desktop holds.
    void ImportClipboard()
    {
        if (!importPending || playing || !clipboard)
            return;
        importPending = false;
        if (gtk_clipboard_get_owner(clipboard) == G_OBJECT(window))
            return;
        importing = true;
        gchar* text = gtk_clipboard_wait_for_text(clipboard);
        GtkSelectionData* html
            = gtk_clipboard_wait_for_contents(clipboard, gdk_atom_intern_static_string("text/html"));
        importing = false;
        dnd::Pasteboard& board = events::Services::Get().Pasteboards().Clipboard();
        if (text || html) {
            board.Clear();
            host->Log().Add(
                "clipboard from the desktop: " + Quote(text ? text : "") + (html ? " with HTML" : ""));
            if (text) {
                const std::u16string units = utf8::ToUtf16(text);
                board.PutItemFlavor(1, kTextFlavor, units.data(), units.size() * sizeof(char16_t));
            }
            if (html && gtk_selection_data_get_length(html) > 0)
                board.PutItemFlavor(1, kHtmlFlavor, gtk_selection_data_get_data(html),
                    static_cast<std::size_t>(gtk_selection_data_get_length(html)));
        }
        g_free(text);
        if (html)
            gtk_selection_data_free(html);
        seenChanges = board.ChangeCount();
    }

    // ---- Drags over the window.
    dnd::DragSession* Own() { return ui ? ui->Dragging() : nullptr; }

    int Track(dnd::DragSession& drag, short message, int h, int v)
    {
        if (&drag != Own())
            return host->DragTracking(drag, message, h, v);
        int gh = 0, gv = 0;
        host->Window().ToScreen(h, v, gh, gv);
        drag.SetMouse(events::Point{gv, gh});
        return drag.TrackIn(&host->Window().Window(), message);
    }

    // The drag enters or moves: whether the plug-in takes it there.
    bool Over(dnd::DragSession& drag, int x, int y)
    {
        int h = 0, v = 0;
        ToArea(x, y, h, v);
        if (!overWindow) {
            overWindow = true;
            Track(drag, dnd::kDragTrackingEnterHandler, h, v);
            Track(drag, dnd::kDragTrackingEnterWindow, h, v);
        }
        const int answer = Track(drag, dnd::kDragTrackingInWindow, h, v);
        AfterCall();
        return answer == 0;
    }

    void Leave(dnd::DragSession& drag, int x, int y)
    {
        if (!overWindow)
            return;
        overWindow = false;
        int h = 0, v = 0;
        ToArea(x, y, h, v);
        Track(drag, dnd::kDragTrackingLeaveWindow, h, v);
        Track(drag, dnd::kDragTrackingLeaveHandler, h, v);
        AfterCall();
    }

    // The drop, as the platform's drag manager makes it: the window's
    // receive handlers, then the tracking handlers see the drag leave.
    int Drop(dnd::DragSession& drag, int x, int y)
    {
        if (!overWindow)
            Over(drag, x, y);
        int h = 0, v = 0;
        ToArea(x, y, h, v);
        int result = 0;
        if (&drag == Own()) {
            int gh = 0, gv = 0;
            host->Window().ToScreen(h, v, gh, gv);
            drag.SetMouse(events::Point{gv, gh});
            result = drag.DropOn(&host->Window().Window());
        } else {
            result = host->DragDrop(drag, h, v);
        }
        Leave(drag, x, y);
        return result;
    }

    void EndIncoming()
    {
        if (incoming && overWindow && Accepts())
            Leave(*incoming, dragX, dragY);
        if (!Own())
            overWindow = false;
        incoming.reset();
        if (incomingContext)
            g_object_unref(incomingContext);
        incomingContext = nullptr;
        asked = nullptr;
        dropping = false;
    }

    void CancelLeave()
    {
        if (leaveId)
            g_source_remove(leaveId);
        leaveId = 0;
    }

    static gboolean OnDragMotion(GtkWidget* w, GdkDragContext* ctx, gint x, gint y, guint time, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        m->CancelLeave();
        m->dragX = x;
        m->dragY = y;
        if (dnd::DragSession* own = m->Own()) {
            gdk_drag_status(ctx,
                m->Over(*own, x, y) ? gdk_drag_context_get_suggested_action(ctx) : GdkDragAction(0), time);
            return TRUE;
        }
        if (m->incoming && m->incomingContext != ctx)
            m->EndIncoming();
        if (!m->Accepts()) {
            gdk_drag_status(ctx, GdkDragAction(0), time);
            return TRUE;
        }
        if (m->incoming) {
            gdk_drag_status(ctx,
                m->Over(*m->incoming, x, y) ? gdk_drag_context_get_suggested_action(ctx) : GdkDragAction(0),
                time);
            return TRUE;
        }
        // Another program's drag, seen first: its data says what it carries.
        const GdkAtom target = gtk_drag_dest_find_target(w, ctx, nullptr);
        if (target == GDK_NONE) {
            gdk_drag_status(ctx, GdkDragAction(0), time);
            return TRUE;
        }
        if (m->asked != ctx) {
            m->asked = ctx;
            gtk_drag_get_data(w, ctx, target, time);
        }
        return TRUE;
    }

    static void OnDragData(GtkWidget*, GdkDragContext* ctx, gint, gint, GtkSelectionData* selection,
        guint info, guint time, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        const bool drop = m->dropping;
        m->dropping = false;
        if (m->Own())
            return;
        DesktopDragData data;
        if (info == kTargetUris) {
            if (gchar** uris = gtk_selection_data_get_uris(selection)) {
                for (gchar** u = uris; *u; ++u)
                    data.uris.emplace_back(*u);
                g_strfreev(uris);
            }
        } else if (guchar* text = gtk_selection_data_get_text(selection)) {
            data.text = reinterpret_cast<const char*>(text);
            g_free(text);
        }
        if (!m->Accepts() || data.Empty()) {
            if (drop)
                gtk_drag_finish(ctx, FALSE, FALSE, time);
            else
                gdk_drag_status(ctx, GdkDragAction(0), time);
            return;
        }
        if (!m->incoming || m->incomingContext != ctx) {
            m->EndIncoming();
            m->incoming.reset(new dnd::DragSession);
            PutDragData(data, *m->incoming);
            m->incomingContext = GDK_DRAG_CONTEXT(g_object_ref(ctx));
            m->asked = ctx;
        }
        if (!drop) {
            gdk_drag_status(ctx,
                m->Over(*m->incoming, m->dragX, m->dragY) ? gdk_drag_context_get_suggested_action(ctx)
                                                          : GdkDragAction(0),
                time);
            return;
        }
        int h = 0, v = 0;
        m->ToArea(m->dragX, m->dragY, h, v);
        const int result = m->Drop(*m->incoming, m->dragX, m->dragY);
        m->host->Log().Add("window: drop from another program of " + std::to_string(m->incoming->CountItems())
            + " item(s) at " + At(h, v) + ": "
            + (result == dnd::kDragAccepted ? std::string("accepted")
                                            : "refused (" + std::to_string(result) + ")"));
        gtk_drag_finish(ctx, result == dnd::kDragAccepted, FALSE, time);
        m->EndIncoming();
        m->AfterCall();
    }

    static gboolean OnDragDrop(GtkWidget* w, GdkDragContext* ctx, gint x, gint y, guint time, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        m->CancelLeave();
        m->dragX = x;
        m->dragY = y;
        if (dnd::DragSession* own = m->Own()) {
            const int result = m->Drop(*own, x, y);
            m->ui->DroppedHere(result);
            gtk_drag_finish(ctx, result == dnd::kDragAccepted, FALSE, time);
            m->AfterCall();
            return TRUE;
        }
        const GdkAtom target = gtk_drag_dest_find_target(w, ctx, nullptr);
        if (!m->Accepts() || target == GDK_NONE) {
            gtk_drag_finish(ctx, FALSE, FALSE, time);
            m->EndIncoming();
            return TRUE;
        }
        m->dropping = true;
        gtk_drag_get_data(w, ctx, target, time);
        return TRUE;
    }

    // The desktop says a drag left just before it drops: the leave is
    // carried out only when no drop follows.
    static void OnDragLeave(GtkWidget*, GdkDragContext*, guint, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        m->CancelLeave();
        m->leaveId = g_idle_add(
            +[](gpointer q) -> gboolean {
                auto* n = static_cast<Impl*>(q);
                n->leaveId = 0;
                if (dnd::DragSession* own = n->Own())
                    n->Leave(*own, n->dragX, n->dragY);
                else
                    n->EndIncoming();
                return G_SOURCE_REMOVE;
            },
            m);
    }

    // ---- Events made from the page's steps.
    GdkDevice* Pointer()
    {
        return gdk_seat_get_pointer(gdk_display_get_default_seat(gtk_widget_get_display(window)));
    }
    GdkDevice* Keyboard()
    {
        return gdk_seat_get_keyboard(gdk_display_get_default_seat(gtk_widget_get_display(window)));
    }

    void Dispatch(GdkEvent* e, GdkDevice* device)
    {
        if (device)
            gdk_event_set_device(e, device);
        ++synthetic;
        gtk_main_do_event(e);
        --synthetic;
        gdk_event_free(e);
    }

    void SendButton(GdkEventType type, int h, int v, guint button, guint state)
    {
        GdkEvent* e = gdk_event_new(type);
        e->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(area)));
        e->button.send_event = TRUE;
        e->button.time = GDK_CURRENT_TIME;
        e->button.x = e->button.x_root = Record()->x + h;
        e->button.y = e->button.y_root = Record()->y + v;
        e->button.state = state;
        e->button.button = button;
        Dispatch(e, Pointer());
    }

    void SendMotion(int h, int v, guint state)
    {
        GdkEvent* e = gdk_event_new(GDK_MOTION_NOTIFY);
        e->motion.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(area)));
        e->motion.send_event = TRUE;
        e->motion.time = GDK_CURRENT_TIME;
        e->motion.x = e->motion.x_root = Record()->x + h;
        e->motion.y = e->motion.y_root = Record()->y + v;
        e->motion.state = state;
        Dispatch(e, Pointer());
    }

    void SendScroll(int h, int v, int delta, int axis)
    {
        GdkEvent* e = gdk_event_new(GDK_SCROLL);
        e->scroll.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(area)));
        e->scroll.send_event = TRUE;
        e->scroll.time = GDK_CURRENT_TIME;
        e->scroll.x = e->scroll.x_root = Record()->x + h;
        e->scroll.y = e->scroll.y_root = Record()->y + v;
        e->scroll.direction = GDK_SCROLL_SMOOTH;
        (axis ? e->scroll.delta_x : e->scroll.delta_y) = -delta;
        Dispatch(e, Pointer());
    }

    void SendKey(GdkEventType type, guint keyval, guint state)
    {
        GdkEvent* e = gdk_event_new(type);
        e->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
        e->key.send_event = TRUE;
        e->key.time = GDK_CURRENT_TIME;
        e->key.keyval = keyval;
        e->key.state = state;
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keyval(
                gdk_keymap_get_for_display(gtk_widget_get_display(window)), keyval, &keys, &count)
            && count > 0)
            e->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
        g_free(keys);
        Dispatch(e, Keyboard());
    }

    void SendFocus(bool in)
    {
        GdkEvent* e = gdk_event_new(GDK_FOCUS_CHANGE);
        e->focus_change.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(area)));
        e->focus_change.send_event = TRUE;
        e->focus_change.in = in;
        gdk_event_set_device(e, Keyboard());
        ++synthetic;
        gtk_widget_send_focus_change(area, e);
        --synthetic;
        gdk_event_free(e);
    }

    void Commit(const std::string& text)
    {
        ++synthetic;
        g_signal_emit_by_name(im, "commit", text.c_str());
        --synthetic;
    }

    int Play(const PageStep& s)
    {
        lastHandled = 0;
        const guint state = GdkStateFor(s.modifiers);
        switch (s.kind) {
        case PageStep::kClick: {
            SendButton(GDK_BUTTON_PRESS, s.x, s.y, 1, state);
            const int handled = lastHandled;
            SendButton(GDK_BUTTON_RELEASE, s.x, s.y, 1, state | GDK_BUTTON1_MASK);
            return handled;
        }
        case PageStep::kMouseDown: SendButton(GDK_BUTTON_PRESS, s.x, s.y, 1, state); return lastHandled;
        case PageStep::kMouseUp:
            SendButton(GDK_BUTTON_RELEASE, s.x, s.y, 1, state | GDK_BUTTON1_MASK);
            return lastHandled;
        case PageStep::kNull: SendMotion(s.x, s.y, 0); return lastHandled;
        case PageStep::kDrag: {
            SendButton(GDK_BUTTON_PRESS, s.x, s.y, 1, state);
            const int handled = lastHandled;
            const int steps = s.count < 1 ? 1 : s.count;
            for (int i = 1; i <= steps; ++i)
                SendMotion(
                    s.x + (s.x2 - s.x) * i / steps, s.y + (s.y2 - s.y) * i / steps, state | GDK_BUTTON1_MASK);
            SendButton(GDK_BUTTON_RELEASE, s.x2, s.y2, 1, state | GDK_BUTTON1_MASK);
            return handled;
        }
        case PageStep::kKey: {
            const guint keyval = GdkKeyvalFor(s.code);
            MappedKey back;
            if (keyval == 0 || !MapGdkKey(keyval, state, back) || back.code != s.code
                || back.modifiers != s.modifiers)
                return -1; // a key no desktop key gives: straight to the plug-in
            // The desktop's key event names the symbol of the level that
            // Shift and Caps Lock select ("A" for Shift+A): the input method
            // commits that one.
            guint level = keyval;
            const char16_t shown
                = UsKeyCharacter(s.code, s.modifiers & (events::kModShift | events::kModCapsLock));
            if (shown >= 0x20 && shown < 0x7F)
                level = gdk_unicode_to_keyval(shown);
            SendKey(GDK_KEY_PRESS, level, state);
            const int handled = lastHandled;
            SendKey(GDK_KEY_RELEASE, level, state);
            return handled;
        }
        case PageStep::kType: {
            const std::u16string text = utf8::ToUtf16(s.text);
            for (std::size_t i = 0; i < text.size(); ++i) {
                std::u16string unit(1, text[i]);
                if (utf8::IsHighSurrogate(text[i]) && i + 1 < text.size())
                    unit += text[++i];
                std::uint8_t code = 0;
                std::uint16_t modifiers = 0;
                const guint keyval
                    = unit.size() == 1 ? gdk_unicode_to_keyval(unit[0] == u'\n' ? u'\r' : unit[0]) : 0;
                if (unit.size() == 1 && UsKeyFor(unit[0], code, modifiers)) {
                    const guint keyState = GdkStateFor(modifiers);
                    const guint sym = unit[0] == u'\n' || unit[0] == u'\r' ? GDK_KEY_Return
                        : unit[0] == u'\t'                                 ? GDK_KEY_Tab
                                                                           : keyval;
                    SendKey(GDK_KEY_PRESS, sym, keyState);
                    SendKey(GDK_KEY_RELEASE, sym, keyState);
                } else {
                    Commit(utf8::FromUtf16(unit));
                }
            }
            return lastHandled;
        }
        case PageStep::kTextInput: Commit(s.text); return lastHandled;
        case PageStep::kWheel: SendScroll(s.x, s.y, s.count, s.axis); return lastHandled;
        case PageStep::kFocus: SendFocus(true); return lastHandled;
        case PageStep::kBlur: SendFocus(false); return lastHandled;
        default: return -1;
        }
    }

    // ---- The window's events.
    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        m->drawPending = false;
        cairo_surface_t* s = m->Surface();
        if (!s)
            return TRUE;
        cairo_surface_flush(s);
        cairo_set_source_surface(cr, s, 0, 0);
        cairo_paint(cr);
        return TRUE;
    }

    // The status line is drawn rather than a label: a label's new text
    // would lay the window out again and repaint all of it.
    static gboolean OnDrawStatus(GtkWidget* w, cairo_t* cr, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        GtkStyleContext* style = gtk_widget_get_style_context(w);
        const int width = gtk_widget_get_allocated_width(w);
        const int height = gtk_widget_get_allocated_height(w);
        gtk_render_background(style, cr, 0, 0, width, height);
        PangoLayout* layout = gtk_widget_create_pango_layout(w, m->statusText.c_str());
        pango_layout_set_width(layout, (width - 2 * kStatusMargin) * PANGO_SCALE);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        int textHeight = 0;
        pango_layout_get_pixel_size(layout, nullptr, &textHeight);
        gtk_render_layout(style, cr, kStatusMargin, (height - textHeight) / 2.0, layout);
        g_object_unref(layout);
        return TRUE;
    }

    static gboolean OnButton(GtkWidget*, GdkEventButton* e, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        if (m->Defer(e))
            return TRUE;
        m->pointerX = static_cast<int>(e->x);
        m->pointerY = static_cast<int>(e->y);
        // Double and triple clicks reach the plug-in as the presses they are
        // made of; it tells them apart by time and place.
        if ((e->type != GDK_BUTTON_PRESS && e->type != GDK_BUTTON_RELEASE) || !m->Accepts())
            return TRUE;
        if (e->button != 1 && e->button != 3)
            return TRUE;
        int h = 0, v = 0;
        m->ToArea(e->x, e->y, h, v);
        if (e->type == GDK_BUTTON_PRESS) {
            if (!m->InArea(h, v) || m->pressed)
                return TRUE;
            gtk_widget_grab_focus(m->area);
            m->ImportClipboard();
            m->EnsureFocus();
            // The secondary button is a Control-click, the plug-in's context click.
            m->pressedModifiers = MapGdkModifiers(e->state) | (e->button == 3 ? events::kModControl : 0);
            m->pressed = true;
            m->Say("mouse down " + At(h, v) + (e->button == 3 ? " control" : ""));
            m->Answered(m->host->MouseDown(h, v, m->pressedModifiers));
        } else {
            if (!m->pressed)
                return TRUE;
            m->pressed = false;
            m->Say("mouse up " + At(h, v));
            m->Answered(m->host->MouseUp(h, v, m->pressedModifiers));
        }
        m->AfterCall();
        return TRUE;
    }

    static gboolean OnMotion(GtkWidget*, GdkEventMotion* e, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        if (m->Defer(e))
            return TRUE;
        m->pointerX = static_cast<int>(e->x);
        m->pointerY = static_cast<int>(e->y);
        if (!m->Accepts())
            return TRUE;
        int h = 0, v = 0;
        m->ToArea(e->x, e->y, h, v);
        m->lastHandled = m->host->SendEvent(nullEvent, 0, h, v, MapGdkModifiers(e->state));
        m->AfterCall();
        return TRUE;
    }

    static gboolean OnScroll(GtkWidget*, GdkEventScroll* e, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        if (m->Defer(e))
            return TRUE;
        if (!m->Accepts())
            return TRUE;
        int delta = 0, axis = 0;
        switch (e->direction) {
        case GDK_SCROLL_UP: delta = 1; break;
        case GDK_SCROLL_DOWN: delta = -1; break;
        case GDK_SCROLL_LEFT: delta = 1, axis = 1; break;
        case GDK_SCROLL_RIGHT: delta = -1, axis = 1; break;
        case GDK_SCROLL_SMOOTH: {
            axis = e->delta_y == 0 && e->delta_x != 0 ? 1 : 0;
            double& carry = m->scrollCarry[axis];
            carry -= axis ? e->delta_x : e->delta_y;
            delta = static_cast<int>(carry);
            carry -= delta;
            break;
        }
        }
        if (delta == 0)
            return TRUE;
        int h = 0, v = 0;
        m->ToArea(e->x, e->y, h, v);
        m->Say("wheel " + At(h, v) + " " + std::to_string(delta) + (axis ? " horizontal" : " vertical"));
        m->Answered(m->host->Wheel(h, v, delta, axis));
        m->AfterCall();
        return TRUE;
    }

    static gboolean OnKey(GtkWidget*, GdkEventKey* e, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        if (m->Defer(e))
            return TRUE;
        if (!m->Accepts())
            return TRUE;
        const bool press = e->type == GDK_KEY_PRESS;
        // The key the physical key gives without modifiers.
        guint base = 0;
        if (!e->hardware_keycode
            || !gdk_keymap_translate_keyboard_state(
                gdk_keymap_get_for_display(gdk_window_get_display(e->window)), e->hardware_keycode,
                static_cast<GdkModifierType>(0), 0, &base, nullptr, nullptr, nullptr))
            base = e->keyval;
        MappedKey key;
        const bool known = MapGdkKey(base, e->state, key);
        if (press) {
            m->ImportClipboard();
            m->EnsureFocus();
        }
        if (known && !m->closed && m->host->HasInstance()) {
            const bool repeat = press && m->keysDown.count(e->hardware_keycode) != 0;
            if (press)
                m->Say(std::string(repeat ? "key repeat " : "key ") + std::to_string(key.code)
                    + ModifierWords(key.modifiers));
            const int handled = m->host->SendEvent(
                press ? (repeat ? autoKey : keyDown) : keyUp, key.message, 0, 0, key.modifiers);
            if (press)
                m->Answered(handled);
        }
        if (press)
            m->keysDown.insert(e->hardware_keycode);
        else
            m->keysDown.erase(e->hardware_keycode);
        // Typed text follows the key-down as a browser hands it on. Keys
        // without Command, Control or Option go through the input method,
        // which commits their text (or composes it: dead keys, pre-edit).
        // A key it does not take - Return, Backspace, the arrows, a
        // shortcut - comes as the character the US layout gives for it, so
        // that a plug-in that reads typed text only from text input gets
        // every key.
        const bool shortcut
            = (key.modifiers & (events::kModCommand | events::kModControl | events::kModOption)) != 0;
        const bool filtered = !shortcut && !m->closed && gtk_im_context_filter_keypress(m->im, e);
        if (press && known && !filtered && !m->closed && m->host->HasInstance())
            if (const char16_t character = UsKeyCharacter(key.code, key.modifiers))
                m->host->TextInput(std::u16string(1, character));
        m->AfterCall();
        return TRUE;
    }

    static gboolean OnFocus(GtkWidget*, GdkEventFocus* e, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        if (!m->im)
            return FALSE;
        if (e->in)
            gtk_im_context_focus_in(m->im);
        else
            gtk_im_context_focus_out(m->im);
        if (!m->Accepts())
            return FALSE;
        m->pluginFocused = e->in != 0;
        m->Say(e->in ? "focus" : "blur");
        m->Answered(m->host->Focus(e->in != 0));
        m->AfterCall();
        return FALSE;
    }

    static void OnCommit(GtkIMContext*, gchar* text, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        if (!m->Accepts() || !text)
            return;
        m->Say("text input " + Quote(text));
        m->lastHandled = m->host->TextInput(utf8::ToUtf16(text), Host::kTextInputCommit);
        m->AfterCall();
    }

    static void OnPreEdit(GtkIMContext* im, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        if (!m->Accepts())
            return;
        gchar* text = nullptr;
        gtk_im_context_get_preedit_string(im, &text, nullptr, nullptr);
        m->Say("pre-edit " + Quote(text ? text : ""));
        m->lastHandled = m->host->TextInput(utf8::ToUtf16(text ? text : ""), Host::kTextInputPreEdit);
        g_free(text);
        m->AfterCall();
    }

    // The browser window becomes the desktop's active window or stops
    // being it: the plug-in gets the activate event a browser sends.
    static void OnActive(GObject*, GParamSpec*, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        if (!m->Accepts())
            return;
        const bool active = gtk_window_is_active(GTK_WINDOW(m->window)) != FALSE;
        m->Say(active ? "activate" : "deactivate");
        m->Answered(m->host->Activate(active));
        m->AfterCall();
    }

    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        m->closed = true;
        // What is open ends with its default; the plug-in's call then
        // returns and the run ends. The window stays until the instance is
        // destroyed.
        m->ui->Close();
        if (m->loop)
            g_main_loop_quit(m->loop);
        return TRUE;
    }

    // The virtual clock follows real time; null events go out as a browser
    // sends them, with the pointer where it is.
    static gboolean OnTick(gpointer p)
    {
        auto* m = static_cast<Impl*>(p);
        const gint64 now = g_get_monotonic_time();
        if (!m->Accepts())
            return G_SOURCE_CONTINUE; // time spent inside a call is caught up later
        m->carryMicros += now - m->lastMicros;
        m->lastMicros = now;
        const gint64 ms = m->carryMicros / 1000;
        m->carryMicros -= ms * 1000;
        if (ms > 0)
            m->host->Advance(static_cast<clock::Millis>(ms));
        int h = 0, v = 0;
        m->ToArea(m->pointerX, m->pointerY, h, v);
        if (!m->closed && m->host->HasInstance())
            m->host->SendEvent(
                nullEvent, 0, h, v, static_cast<std::uint16_t>(events::Services::Get().Input().modifiers));
        m->AfterCall();
        return G_SOURCE_CONTINUE;
    }
};

bool WindowFrontEnd::OpenDisplay(std::string& why)
{
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY")) {
        why = "--window needs a desktop, but neither DISPLAY nor WAYLAND_DISPLAY is set";
        return false;
    }
    if (!gtk_init_check(nullptr, nullptr)) {
        const char* name = Set("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : std::getenv("DISPLAY");
        why = std::string("--window could not open the display ") + (name ? name : "");
        return false;
    }
    return true;
}

WindowFrontEnd::WindowFrontEnd(WindowOptions options) : m(new Impl) { m->options = options; }

WindowFrontEnd::~WindowFrontEnd()
{
    if (m->window)
        Close();
}

void WindowFrontEnd::Open(Host& host, const Page& page)
{
    m->host = &host;
    m->playing = true;
    m->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    g_object_set_data(G_OBJECT(m->window), "qm-window", m.get());
    gtk_window_set_title(GTK_WINDOW(m->window), page.window.title.c_str());
    gtk_window_set_resizable(GTK_WINDOW(m->window), FALSE);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    m->area = gtk_drawing_area_new();
    gtk_widget_set_size_request(m->area, page.window.width, page.window.height);
    gtk_widget_set_can_focus(m->area, TRUE);
    gtk_widget_add_events(m->area,
        GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK
            | GDK_SMOOTH_SCROLL_MASK | GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK);
    m->status = gtk_drawing_area_new();
    gtk_widget_set_size_request(m->status, page.window.width, kStatusHeight);
    gtk_box_pack_start(GTK_BOX(box), m->area, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), m->status, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(m->window), box);

    Impl* p = m.get();
    g_signal_connect(m->area, "draw", G_CALLBACK(Impl::OnDraw), p);
    g_signal_connect(m->status, "draw", G_CALLBACK(Impl::OnDrawStatus), p);
    g_signal_connect(m->area, "button-press-event", G_CALLBACK(Impl::OnButton), p);
    g_signal_connect(m->area, "button-release-event", G_CALLBACK(Impl::OnButton), p);
    g_signal_connect(m->area, "motion-notify-event", G_CALLBACK(Impl::OnMotion), p);
    g_signal_connect(m->area, "scroll-event", G_CALLBACK(Impl::OnScroll), p);
    g_signal_connect(m->area, "key-press-event", G_CALLBACK(Impl::OnKey), p);
    g_signal_connect(m->area, "key-release-event", G_CALLBACK(Impl::OnKey), p);
    g_signal_connect(m->area, "focus-in-event", G_CALLBACK(Impl::OnFocus), p);
    g_signal_connect(m->area, "focus-out-event", G_CALLBACK(Impl::OnFocus), p);
    g_signal_connect(m->window, "delete-event", G_CALLBACK(Impl::OnDelete), p);
    g_signal_connect(m->window, "notify::is-active", G_CALLBACK(Impl::OnActive), p);
    gtk_drag_dest_set(
        m->area, GtkDestDefaults(0), nullptr, 0, GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE));
    GtkTargetList* dropTargets = gtk_target_list_new(nullptr, 0);
    gtk_target_list_add_uri_targets(dropTargets, kTargetUris);
    gtk_target_list_add_text_targets(dropTargets, kTargetText);
    gtk_drag_dest_set_target_list(m->area, dropTargets);
    gtk_target_list_unref(dropTargets);
    g_signal_connect(m->area, "drag-motion", G_CALLBACK(Impl::OnDragMotion), p);
    g_signal_connect(m->area, "drag-leave", G_CALLBACK(Impl::OnDragLeave), p);
    g_signal_connect(m->area, "drag-drop", G_CALLBACK(Impl::OnDragDrop), p);
    g_signal_connect(m->area, "drag-data-received", G_CALLBACK(Impl::OnDragData), p);
    // Asked to end (a terminal's Control+C, a session ending): the window
    // closes as when the person closes it.
    int n = 0;
    for (int sig : {SIGINT, SIGTERM})
        m->signalIds[n++] = g_unix_signal_add(
            sig,
            +[](gpointer q) -> gboolean {
                auto* i = static_cast<Impl*>(q);
                if (i->window && !i->closed)
                    gtk_window_close(GTK_WINDOW(i->window));
                return G_SOURCE_CONTINUE;
            },
            p);

    m->im = gtk_im_multicontext_new();
    g_signal_connect(m->im, "commit", G_CALLBACK(Impl::OnCommit), p);
    g_signal_connect(m->im, "preedit-changed", G_CALLBACK(Impl::OnPreEdit), p);

    m->ui.reset(new WindowUi(m->window, m->area, host.Log()));
    m->ui->beforeShowing = [p] { p->Refresh(); };
    m->ui->afterAnswer = [p] {
        if (!p->closed)
            p->AfterCall();
    };
    m->ui->dragEnded = [p] {
        p->pressed = false;
        events::Services::Get().Input().buttons &= ~events::kButtonPrimary;
    };
    host.Ui().interactive = m->ui.get();
    m->clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
    m->ownerChange = g_signal_connect(m->clipboard, "owner-change",
        G_CALLBACK(
            +[](GtkClipboard*, GdkEvent*, gpointer q) { static_cast<Impl*>(q)->importPending = true; }),
        p);
    m->seenChanges = events::Services::Get().Pasteboards().Clipboard().ChangeCount();

    gtk_widget_show_all(m->window);
    gtk_window_present(GTK_WINDOW(m->window));
    gtk_im_context_set_client_window(m->im, gtk_widget_get_window(m->area));
    gtk_widget_grab_focus(m->area);
    m->Refresh();
    m->FlushDrawing();
    m->Settle();
}

int WindowFrontEnd::Play(const PageStep& step)
{
    if (!m->window || m->closed || !IsInput(step.kind) || m->host->InCall())
        return -1;
    const int handled = m->Play(step);
    return handled < 0 ? -1 : (handled != 0 ? 1 : 0);
}

void WindowFrontEnd::StepDone()
{
    // A person's events come one at a time, each shown before the next.
    if (!m->window || m->closed || m->host->InCall())
        return;
    m->Refresh();
    m->FlushDrawing();
}

void WindowFrontEnd::Called(const std::string& name)
{
    m->lastCall = name;
    m->ScheduleStatus();
}

void WindowFrontEnd::RequestClose()
{
    // Delivered by the window's event loop, as a person's close is.
    if (m->window && !m->closed)
        gtk_window_close(GTK_WINDOW(m->window));
}

bool WindowFrontEnd::Closed() const { return m->closed; }

void WindowFrontEnd::Wait()
{
    m->playing = false;
    if (!m->window || m->closed)
        return;
    if (m->options.closeAfterSteps)
        RequestClose();
    m->UpdateStatus();
    m->lastMicros = g_get_monotonic_time();
    m->clockId = g_timeout_add(kTickMs, Impl::OnTick, m.get());
    m->loop = g_main_loop_new(nullptr, FALSE);
    if (!m->closed)
        g_main_loop_run(m->loop);
    g_main_loop_unref(m->loop);
    m->loop = nullptr;
    g_source_remove(m->clockId);
    m->clockId = 0;
}

bool WindowFrontEnd::WritePNG(const std::string& path)
{
    if (!m->window)
        return false;
    m->Refresh();
    m->FlushDrawing();
    GdkWindow* w = gtk_widget_get_window(m->area);
    GdkPixbuf* pixbuf
        = gdk_pixbuf_get_from_window(w, 0, 0, gdk_window_get_width(w), gdk_window_get_height(w));
    if (!pixbuf)
        return false;
    const bool ok = gdk_pixbuf_save(pixbuf, path.c_str(), "png", nullptr, nullptr);
    g_object_unref(pixbuf);
    return ok;
}

void WindowFrontEnd::Close()
{
    if (!m->window)
        return;
    m->closed = true;
    if (m->host)
        m->host->Ui().interactive = nullptr;
    if (m->statusId)
        g_source_remove(m->statusId);
    m->statusId = 0;
    m->CancelLeave();
    m->EndIncoming();
    for (GdkEvent* e : m->deferred)
        gdk_event_free(e);
    m->deferred.clear();
    for (guint& id : m->signalIds) {
        if (id)
            g_source_remove(id);
        id = 0;
    }
    if (m->clipboard && m->ownerChange)
        g_signal_handler_disconnect(m->clipboard, m->ownerChange);
    m->ownerChange = 0;
    if (m->clipboard && gtk_clipboard_get_owner(m->clipboard) == G_OBJECT(m->window))
        gtk_clipboard_clear(m->clipboard);
    gtk_im_context_set_client_window(m->im, nullptr);
    g_object_unref(m->im);
    m->im = nullptr;
    gtk_widget_destroy(m->window);
    m->window = nullptr;
    m->area = nullptr;
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
    m->ui.reset();
}

} // namespace qm::host
