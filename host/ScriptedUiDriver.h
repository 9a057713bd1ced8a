#pragma once
// The UI driver of the test host, shared by the tests and qmhost: it answers
// whatever would wait for the user (modal dialogs, pop-up menus, the put-file
// dialog, drags) from answers scripted in advance, and logs each request with
// the answer it got. Nothing waits: a request without a scripted answer
// takes the non-blocking default (a dialog is closed, a menu dismissed,
// put-file and drags cancelled), logged as such - or, when the script asks
// for it (failWhenUnanswered), fails instead and is recorded as a failure.
// Help tags, modeless dialogs and URLs handed to the system are logged.
//
// Scripted answers wait in queues, one per kind, and are taken in order.
// A modal dialog takes the next dialog answer at its first step: pressing a
// button (after setting named fields, e.g. the attributes of a property
// dialog), closing, or failing. A dialog that is still open after that is
// closed. Dialogs also see, when no answer is queued, the standing answer
// below (action and press), which older tests set directly; by default it
// closes the window.
//
// What each dialog showed is recorded (shown, kind, caption, texts, labels,
// parent title, default button), and so is the last put-file request and
// menu.

#include "host/EventLog.h"

#include "platform/events/ModalLoop.h"
#include "platform/events/UiDriver.h"
#include "platform/ui/ModalDialog.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace qm::host {

struct DialogAnswer
{
    enum Kind
    {
        kPress, // press the button with that label (empty: the default button)
        kClose, // close the window
        kFail   // give no answer: the dialog's loop fails
    };
    Kind kind = kPress;
    std::string press;
    std::vector<ui::DialogField> fields; // set before pressing
};

struct MenuAnswer
{
    // The entry to choose: its text, or a path of texts through submenus
    // joined by "/" ("Table/Insert Row Above"); or, when command is not 0,
    // the entry with that command. Neither: dismiss the menu.
    std::string choose;
    std::uint32_t command = 0;
};

struct PutFileAnswer
{
    bool save = false; // false: cancel
    std::string folder;
    std::string fileName;
};

struct DragAnswer
{
    bool drop = false;            // false: cancel the drag
    const void* window = nullptr; // the window to drop on (its drag key); null: by title
    std::string windowTitle;
    bool atPoint = false; // drop at (v, h), global coordinates; else where the drag is
    int v = 0;
    int h = 0;
};

class ScriptedUiDriver : public events::UiDriver
{
public:
    using ModalAnswer = events::ModalAnswer;
    using ModalLoop = events::ModalLoop;

    // ---- How to answer.
    std::deque<DialogAnswer> dialogs;
    std::deque<MenuAnswer> menus;
    std::deque<PutFileAnswer> putFiles;
    std::deque<DragAnswer> drags;
    bool failWhenUnanswered = false;
    // The person in front of a window (host/WindowUi.h): when set, a
    // dialog, menu or put-file request without a scripted answer goes to
    // it instead of taking the default (so does a drag), and help tags are
    // shown by it too.
    events::UiDriver* interactive = nullptr;

    // A test's own answer to every modal step, tried first when set.
    std::function<ModalAnswer(ModalLoop&)> step;
    // The standing dialog answer: press the button labelled press (no such
    // button: no answer; an empty label: close), close, or no answer.
    enum Action
    {
        kPress,
        kClose,
        kNoAnswer
    };
    Action action = kPress;
    std::string press;
    // The standing put-file answer (when no put-file answer is queued).
    bool putAnswer = false;
    events::PutFileReply putReply;

    // ---- What was shown.
    int shown = 0;
    std::string kind;
    std::string caption;
    std::vector<std::string> texts;
    std::vector<std::string> labels;
    std::string parentTitle;  // the title of the window it belongs to, empty when none
    std::string defaultLabel; // the label of the button Return presses, empty when none
    events::PutFileRequest putRequest;
    events::MenuRequest lastMenu;

    // The log the driver writes (a host points it at its own); failures are
    // requests left unanswered in fail mode and answers that did not fit.
    EventLog* log = &m_ownLog;
    std::vector<std::string> failures;

    // Answers at once the dialog of that kind shown last without a modal
    // loop: sets the answer's fields and presses its button, or closes its
    // window. False, with a failure recorded, when none is shown or the
    // answer does not fit it.
    bool AnswerModeless(const std::string& kind, const DialogAnswer& answer);

    ModalAnswer ModalStep(ModalLoop& loop) override;
    std::uint32_t PopUpMenu(const events::MenuRequest& menu) override;
    bool PutFile(const events::PutFileRequest& request, events::PutFileReply& reply) override;
    int TrackDrag(dnd::DragSession& drag) override;
    void HelpTagChanged(const events::HelpTag* tag) override;
    void ModelessChanged(events::ModalSubject& dialog, bool shown) override;
    bool OpenURL(const std::string& url) override;

private:
    void Record(const ui::ModalDialog& dialog);
    void Fail(const std::string& text);
    ModalAnswer Answer(ui::ModalDialog* dialog, const DialogAnswer& answer, std::string& said);

    EventLog m_ownLog;
};

} // namespace qm::host
