#pragma once
// The person in front of the window, as the host's UI driver asks for them
// (host/ScriptedUiDriver.h hands it what no script answers): message boxes
// and property sheets become desktop dialogs, pop-up menus desktop menus,
// put-file a file chooser, help tags the drawing area's tooltip. A drag the
// plug-in starts becomes the desktop's drag from the drawing area, with its
// text and file locations (host/DesktopDrag.h); dropped on another program
// it answers "dropped", dropped on the browser window it reaches the
// plug-in's own drag handlers through the window's drop side (DroppedHere).
//
// Each of these runs its own event loop. When the browser window is closed
// meanwhile (Close), the open dialog or menu ends at once with its default
// (a dialog closed, a menu dismissed, put-file cancelled), and whatever the
// plug-in asks for after that takes the default without being shown, so the
// plug-in's call returns and the instance can be destroyed.
//
// Dialogs shown without a modal loop (find and replace, the table-size
// picker) stay open beside the browser window until the plug-in hides them;
// their buttons and close act whenever the person uses them.
//
// The desktop's widgets are opaque here: the window passes its own.

#include "host/EventLog.h"

#include "platform/events/UiDriver.h"

#include <functional>
#include <memory>
#include <vector>

namespace qm::ui {
class ModalDialog;
}

namespace qm::host {

class WindowUi : public events::UiDriver
{
public:
    // parent: the browser window (a GtkWindow); tipWidget: the widget
    // that shows help tags (a GtkWidget).
    WindowUi(void* parent, void* tipWidget, EventLog& log);
    ~WindowUi() override;
    WindowUi(const WindowUi&) = delete;
    WindowUi& operator=(const WindowUi&) = delete;

    // Called before a dialog, menu or file chooser is shown: the browser
    // window brings its picture up to date, as the plug-in drew it so far.
    std::function<void()> beforeShowing;
    // Called when a drag the desktop ran has ended: its button release
    // went to the desktop's drag, not to the browser window.
    std::function<void()> dragEnded;
    // Called after a button or close of a dialog shown without a modal loop
    // has reached the plug-in, outside any call of the browser window's.
    std::function<void()> afterAnswer;

    events::ModalAnswer ModalStep(events::ModalLoop& loop) override;
    std::uint32_t PopUpMenu(const events::MenuRequest& menu) override;
    bool PutFile(const events::PutFileRequest& request, events::PutFileReply& reply) override;
    void HelpTagChanged(const events::HelpTag* tag) override;
    void ModelessChanged(events::ModalSubject& dialog, bool shown) override;
    int TrackDrag(dnd::DragSession& drag) override;

    // The plug-in's drag under way (null when none), and what the
    // plug-in answered to its drop on the browser window.
    dnd::DragSession* Dragging() const { return m_drag; }
    void DroppedHere(int result)
    {
        m_droppedHere = true;
        m_dropResult = result;
    }

    // The browser window is being closed.
    void Close();
    bool Closing() const { return m_closing; }

private:
    struct ShownModeless;
    // Answers the dialog's GtkDialog.
    void* BuildDialog(const ui::ModalDialog& dialog, std::vector<void*>& entries);
    static void ReadFields(ui::ModalDialog& dialog, const std::vector<void*>& entries);
    void AnswerModeless(ShownModeless& window, int response);

    void* m_parent;
    void* m_tipWidget;
    EventLog& m_log;
    bool m_closing = false;
    void* m_openDialog = nullptr; // the GtkDialog being run
    void* m_menuLoop = nullptr;   // the GMainLoop of the menu being shown
    void* m_menu = nullptr;       // the GtkMenu being shown
    dnd::DragSession* m_drag = nullptr;
    void* m_dragContext = nullptr; // the GdkDragContext of the drag being shown
    void* m_dragLoop = nullptr;    // the GMainLoop that waits for its end
    bool m_dragFailed = false;
    bool m_droppedHere = false;
    int m_dropResult = 0;
    std::vector<std::unique_ptr<ShownModeless>> m_modeless;
};

} // namespace qm::host
