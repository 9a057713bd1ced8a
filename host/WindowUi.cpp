#include "host/WindowUi.h"

#include "host/DesktopDrag.h"

#include "platform/events/Event.h"
#include "platform/ui/ModalDialog.h"

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

namespace qm::host {

namespace {

// Dialogs run in a window group of their own: their grab then leaves the
// browser window free to be closed while they are open.
GtkWindowGroup* DialogGroup()
{
    static GtkWindowGroup* group = gtk_window_group_new();
    return group;
}

struct MenuState
{
    GMainLoop* loop = nullptr;
    std::uint32_t chosen = 0;
};

void AddEntries(GtkWidget* menu, const std::vector<events::MenuEntry>& entries, MenuState& state)
{
    for (const events::MenuEntry& e : entries) {
        GtkWidget* item = nullptr;
        if (e.separator) {
            item = gtk_separator_menu_item_new();
        } else if (e.checked) {
            item = gtk_check_menu_item_new_with_label(e.text.c_str());
            gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), TRUE);
        } else {
            item = gtk_menu_item_new_with_label(e.text.c_str());
        }
        gtk_widget_set_sensitive(item, e.enabled);
        if (!e.submenu.empty()) {
            GtkWidget* sub = gtk_menu_new();
            AddEntries(sub, e.submenu, state);
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), sub);
        } else if (!e.separator && e.command != 0) {
            g_object_set_data(G_OBJECT(item), "qm-command", GUINT_TO_POINTER(e.command));
            g_signal_connect(item, "activate", G_CALLBACK(+[](GtkMenuItem* it, gpointer data) {
                static_cast<MenuState*>(data)->chosen
                    = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(it), "qm-command"));
            }),
                &state);
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    }
}

} // namespace

// A dialog's widgets: its texts, a labelled entry for each field (Return
// in an entry presses the default button) and its buttons, the response of
// each button being its index.
void* WindowUi::BuildDialog(const ui::ModalDialog& dialog, std::vector<void*>& entries)
{
    GtkWidget* d = gtk_dialog_new();
    gtk_window_group_add_window(DialogGroup(), GTK_WINDOW(d));
    gtk_window_set_title(GTK_WINDOW(d), dialog.caption.c_str());
    gtk_window_set_transient_for(GTK_WINDOW(d), GTK_WINDOW(m_parent));
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(d));
    gtk_container_set_border_width(GTK_CONTAINER(content), 12);
    gtk_box_set_spacing(GTK_BOX(content), 8);
    for (const std::string& text : dialog.texts) {
        GtkWidget* label = gtk_label_new(text.c_str());
        gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
        gtk_label_set_xalign(GTK_LABEL(label), 0);
        gtk_box_pack_start(GTK_BOX(content), label, FALSE, FALSE, 0);
    }
    // A property sheet's fields, one labelled entry each.
    entries.clear();
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 4);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 8);
    for (std::size_t i = 0; i < dialog.fields.size(); ++i) {
        GtkWidget* name = gtk_label_new(dialog.fields[i].name.c_str());
        gtk_label_set_xalign(GTK_LABEL(name), 1);
        GtkWidget* entry = gtk_entry_new();
        gtk_entry_set_text(GTK_ENTRY(entry), dialog.fields[i].value.c_str());
        gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
        gtk_grid_attach(GTK_GRID(grid), name, 0, static_cast<int>(i), 1, 1);
        gtk_grid_attach(GTK_GRID(grid), entry, 1, static_cast<int>(i), 1, 1);
        entries.push_back(entry);
    }
    gtk_box_pack_start(GTK_BOX(content), grid, FALSE, FALSE, 0);
    for (std::size_t i = 0; i < dialog.buttons.size(); ++i)
        gtk_dialog_add_button(GTK_DIALOG(d), dialog.buttons[i].label.c_str(), static_cast<int>(i));
    if (dialog.defaultButton >= 0)
        gtk_dialog_set_default_response(GTK_DIALOG(d), dialog.defaultButton);
    gtk_widget_show_all(d);
    return d;
}

void WindowUi::ReadFields(ui::ModalDialog& dialog, const std::vector<void*>& entries)
{
    for (std::size_t i = 0; i < entries.size() && i < dialog.fields.size(); ++i)
        dialog.fields[i].value = gtk_entry_get_text(GTK_ENTRY(entries[i]));
}

events::ModalAnswer WindowUi::ModalStep(events::ModalLoop& loop)
{
    auto* dialog = dynamic_cast<ui::ModalDialog*>(&loop.Subject());
    if (m_closing || !dialog || dialog->buttons.empty())
        return events::ModalAnswer::Close();
    if (beforeShowing)
        beforeShowing();

    std::vector<void*> entries;
    auto* d = static_cast<GtkWidget*>(BuildDialog(*dialog, entries));
    gtk_window_set_modal(GTK_WINDOW(d), TRUE);
    m_openDialog = d;
    const int response = gtk_dialog_run(GTK_DIALOG(d));
    m_openDialog = nullptr;
    ReadFields(*dialog, entries);
    gtk_widget_destroy(d);

    if (m_closing || response < 0 || static_cast<std::size_t>(response) >= dialog->buttons.size()) {
        m_log.Add(
            std::string("window: the dialog was closed") + (m_closing ? " with the browser window" : ""));
        return events::ModalAnswer::Close();
    }
    m_log.Add("window: pressed " + Quote(dialog->buttons[static_cast<std::size_t>(response)].label));
    dialog->Press(static_cast<std::size_t>(response));
    return events::ModalAnswer::Continue();
}

// A dialog shown without a modal loop stays on the desktop beside the
// browser window, which goes on taking keys and clicks; its buttons and its
// close act when the person uses them.
struct WindowUi::ShownModeless
{
    WindowUi* ui = nullptr;
    ui::ModalDialog* dialog = nullptr;
    GtkWidget* widget = nullptr;
    std::vector<void*> entries;
};

void WindowUi::ModelessChanged(events::ModalSubject& subject, bool shown)
{
    auto* dialog = dynamic_cast<ui::ModalDialog*>(&subject);
    if (!dialog)
        return;
    // A dialog shown again (its buttons or fields may have changed) gets
    // new widgets where the old ones stood.
    gint x = 0, y = 0;
    bool placed = false;
    for (auto it = m_modeless.begin(); it != m_modeless.end(); ++it) {
        if ((*it)->dialog != dialog)
            continue;
        if (shown) {
            gtk_window_get_position(GTK_WINDOW((*it)->widget), &x, &y);
            placed = true;
        }
        gtk_widget_destroy((*it)->widget);
        m_modeless.erase(it);
        break;
    }
    if (!shown || m_closing)
        return;
    if (beforeShowing)
        beforeShowing();
    auto window = std::make_unique<ShownModeless>();
    window->ui = this;
    window->dialog = dialog;
    window->widget = static_cast<GtkWidget*>(BuildDialog(*dialog, window->entries));
    if (placed)
        gtk_window_move(GTK_WINDOW(window->widget), x, y);
    g_signal_connect(window->widget, "response", G_CALLBACK(+[](GtkDialog*, gint response, gpointer p) {
        auto* w = static_cast<ShownModeless*>(p);
        w->ui->AnswerModeless(*w, response);
    }),
        window.get());
    m_modeless.push_back(std::move(window));
    m_log.Add("window: showing " + Quote(dialog->caption));
}

void WindowUi::AnswerModeless(ShownModeless& window, int response)
{
    ui::ModalDialog* dialog = window.dialog;
    ReadFields(*dialog, window.entries);
    // The press or close may hide the dialog, which destroys window: neither
    // is touched after it.
    if (response >= 0 && static_cast<std::size_t>(response) < dialog->buttons.size()) {
        m_log.Add("window: pressed " + Quote(dialog->buttons[static_cast<std::size_t>(response)].label));
        dialog->Press(static_cast<std::size_t>(response));
    } else {
        m_log.Add("window: closed " + Quote(dialog->caption));
        events::Event close(events::kEventClassWindow, events::kEventWindowClose);
        dialog->Target().SendEvent(close);
    }
    if (afterAnswer)
        afterAnswer();
}

WindowUi::WindowUi(void* parent, void* tipWidget, EventLog& log)
    : m_parent(parent), m_tipWidget(tipWidget), m_log(log)
{ }

WindowUi::~WindowUi()
{
    for (const auto& window : m_modeless)
        gtk_widget_destroy(window->widget);
}

std::uint32_t WindowUi::PopUpMenu(const events::MenuRequest& request)
{
    if (m_closing || request.entries.empty())
        return 0;
    if (beforeShowing)
        beforeShowing();
    MenuState state;
    state.loop = g_main_loop_new(nullptr, FALSE);
    GtkWidget* menu = gtk_menu_new();
    AddEntries(menu, request.entries, state);
    gtk_menu_attach_to_widget(GTK_MENU(menu), GTK_WIDGET(m_tipWidget), nullptr);
    // Attached, the menu joins the browser window's group; its grab must
    // not keep the browser window from being closed.
    gtk_window_group_add_window(DialogGroup(), GTK_WINDOW(gtk_widget_get_toplevel(menu)));
    g_signal_connect(menu, "deactivate",
        G_CALLBACK(+[](GtkMenuShell*, gpointer loop) { g_main_loop_quit(static_cast<GMainLoop*>(loop)); }),
        state.loop);
    gtk_widget_show_all(menu);
    gtk_menu_popup_at_pointer(GTK_MENU(menu), nullptr);
    m_menu = menu;
    m_menuLoop = state.loop;
    // A menu that could not take the pointer (no pointer on the display)
    // is not shown and never deactivates.
    if (gtk_widget_get_visible(menu))
        g_main_loop_run(state.loop);
    m_menu = nullptr;
    m_menuLoop = nullptr;
    // The chosen item's "activate" comes after "deactivate": let it arrive.
    while (gtk_events_pending() && !m_closing && state.chosen == 0)
        gtk_main_iteration_do(FALSE);
    gtk_widget_destroy(menu);
    g_main_loop_unref(state.loop);
    if (m_closing) {
        m_log.Add("window: the menu was dismissed with the browser window");
        return 0;
    }
    m_log.Add(state.chosen ? "window: chose " + std::to_string(state.chosen) : "window: menu dismissed");
    return state.chosen;
}

bool WindowUi::PutFile(const events::PutFileRequest& request, events::PutFileReply& reply)
{
    if (m_closing)
        return false;
    if (beforeShowing)
        beforeShowing();
    GtkWidget* d = gtk_file_chooser_dialog_new(
        request.clientName.empty() ? "Save" : request.clientName.c_str(), GTK_WINDOW(m_parent),
        GTK_FILE_CHOOSER_ACTION_SAVE, "_Cancel", GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_window_group_add_window(DialogGroup(), GTK_WINDOW(d));
    gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(d), TRUE);
    gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(d), request.proposedName.c_str());
    m_openDialog = d;
    const int response = gtk_dialog_run(GTK_DIALOG(d));
    m_openDialog = nullptr;
    bool saved = false;
    if (!m_closing && response == GTK_RESPONSE_ACCEPT) {
        if (gchar* path = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(d))) {
            const std::string full = path;
            g_free(path);
            const std::size_t slash = full.rfind('/');
            if (slash != std::string::npos && slash + 1 < full.size()) {
                reply.folder = slash == 0 ? "/" : full.substr(0, slash);
                reply.fileName = full.substr(slash + 1);
                saved = true;
            }
        }
    }
    gtk_widget_destroy(d);
    m_log.Add(saved ? "window: save " + Quote(reply.folder) + " " + Quote(reply.fileName)
                    : "window: put-file cancelled");
    return saved;
}

namespace {

enum DragTarget : guint
{
    kDragText,
    kDragUris
};

} // namespace

int WindowUi::TrackDrag(dnd::DragSession& drag)
{
    const std::string head = "window: drag of " + std::to_string(drag.CountItems()) + " item(s)";
    const DesktopDragData data = DragDataOf(drag);
    GtkWidget* w = GTK_WIDGET(m_tipWidget);
    if (m_closing || data.Empty() || m_drag || !w) {
        m_log.Add(head + (data.Empty() ? " with nothing the desktop takes" : "") + " cancelled");
        return events::kUserCanceledErr;
    }
    if (beforeShowing)
        beforeShowing();
    GtkTargetList* list = gtk_target_list_new(nullptr, 0);
    if (!data.uris.empty())
        gtk_target_list_add_uri_targets(list, kDragUris);
    if (!data.text.empty())
        gtk_target_list_add_text_targets(list, kDragText);
    // The drag goes on from the press or move that started it.
    GdkEvent* current = gtk_get_current_event();
    GdkDragContext* context = gtk_drag_begin_with_coordinates(
        w, list, static_cast<GdkDragAction>(GDK_ACTION_COPY | GDK_ACTION_MOVE), 1, current, -1, -1);
    if (current)
        gdk_event_free(current);
    gtk_target_list_unref(list);
    if (!context) {
        m_log.Add(head + " cancelled: the desktop did not start it");
        return events::kUserCanceledErr;
    }

    struct Source
    {
        const DesktopDragData* data;
        WindowUi* ui;
    } source{&data, this};
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    m_drag = &drag;
    m_dragContext = context;
    m_dragLoop = loop;
    m_dragFailed = false;
    m_droppedHere = false;
    const gulong get = g_signal_connect(w, "drag-data-get",
        G_CALLBACK(
            +[](GtkWidget*, GdkDragContext*, GtkSelectionData* selection, guint info, guint, gpointer p) {
                const DesktopDragData& d = *static_cast<Source*>(p)->data;
                if (info == kDragUris) {
                    std::vector<gchar*> uris;
                    for (const std::string& uri : d.uris)
                        uris.push_back(const_cast<gchar*>(uri.c_str()));
                    uris.push_back(nullptr);
                    gtk_selection_data_set_uris(selection, uris.data());
                } else {
                    gtk_selection_data_set_text(selection, d.text.c_str(), static_cast<gint>(d.text.size()));
                }
            }),
        &source);
    const gulong failed = g_signal_connect(w, "drag-failed",
        G_CALLBACK(+[](GtkWidget*, GdkDragContext*, GtkDragResult, gpointer p) -> gboolean {
            static_cast<Source*>(p)->ui->m_dragFailed = true;
            return FALSE;
        }),
        &source);
    const gulong end
        = g_signal_connect(w, "drag-end", G_CALLBACK(+[](GtkWidget*, GdkDragContext*, gpointer p) {
              auto* ui = static_cast<Source*>(p)->ui;
              if (ui->m_dragLoop)
                  g_main_loop_quit(static_cast<GMainLoop*>(ui->m_dragLoop));
              ui->m_dragContext = nullptr;
          }),
            &source);
    if (m_dragContext && !m_closing)
        g_main_loop_run(loop);
    if (m_dragContext)
        gtk_drag_cancel(static_cast<GdkDragContext*>(m_dragContext));
    g_signal_handler_disconnect(w, get);
    g_signal_handler_disconnect(w, failed);
    g_signal_handler_disconnect(w, end);
    g_main_loop_unref(loop);
    m_drag = nullptr;
    m_dragContext = nullptr;
    m_dragLoop = nullptr;
    if (dragEnded)
        dragEnded();

    int result = 0;
    if (m_closing) {
        m_log.Add(head + " cancelled with the browser window");
        result = events::kUserCanceledErr;
    } else if (m_droppedHere) {
        m_log.Add(head + " dropped on the browser window: "
            + (m_dropResult == dnd::kDragAccepted ? std::string("accepted")
                                                  : "refused (" + std::to_string(m_dropResult) + ")"));
        result = m_dropResult;
    } else if (m_dragFailed) {
        m_log.Add(head + " cancelled");
        result = events::kUserCanceledErr;
    } else {
        m_log.Add(head + " dropped on another program");
    }
    return result;
}

void WindowUi::HelpTagChanged(const events::HelpTag* tag)
{
    GtkWidget* w = GTK_WIDGET(m_tipWidget);
    if (!w || m_closing)
        return;
    gtk_widget_set_tooltip_text(w, tag ? tag->text.c_str() : nullptr);
    gtk_widget_trigger_tooltip_query(w);
}

void WindowUi::Close()
{
    m_closing = true;
    if (m_openDialog)
        gtk_dialog_response(GTK_DIALOG(m_openDialog), GTK_RESPONSE_DELETE_EVENT);
    if (m_menu)
        gtk_menu_shell_cancel(GTK_MENU_SHELL(m_menu));
    if (m_menuLoop)
        g_main_loop_quit(static_cast<GMainLoop*>(m_menuLoop));
    if (m_dragContext)
        gtk_drag_cancel(static_cast<GdkDragContext*>(m_dragContext));
    if (m_dragLoop)
        g_main_loop_quit(static_cast<GMainLoop*>(m_dragLoop));
}

} // namespace qm::host
