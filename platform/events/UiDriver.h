#pragma once
// The host's UI driver: whatever in a real desktop would wait for the user
// (a modal window, a pop-up menu, the put-file dialog, a drag) asks the
// driver instead. The host installs one in Services; the base class is the
// default, and none of its answers blocks: a modal is closed, a menu is
// dismissed, put-file is cancelled, a drag is cancelled. It is also told
// what the user would merely see (help tags, modeless dialogs, a URL handed
// to the system), so that a host can log it.

#include <cstdint>
#include <string>
#include <vector>

namespace qm::dnd {
class DragSession;
}

namespace qm::events {

class ModalLoop;

// What the driver tells a modal loop to do next.
struct ModalAnswer
{
    enum Kind
    {
        kNoAnswer, // nobody answers: the loop fails instead of waiting
        kContinue, // the driver acted (pressed, typed, quit ...): ask again
        kClose,    // close the modal window
        kCommand   // send a command (four-character code) to the modal window
    };
    Kind kind = kNoAnswer;
    std::uint32_t command = 0;

    static ModalAnswer NoAnswer() { return ModalAnswer{kNoAnswer, 0}; }
    static ModalAnswer Continue() { return ModalAnswer{kContinue, 0}; }
    static ModalAnswer Close() { return ModalAnswer{kClose, 0}; }
    static ModalAnswer Command(std::uint32_t code) { return ModalAnswer{kCommand, code}; }
};

// One entry of a pop-up menu as the driver sees it.
struct MenuEntry
{
    std::uint32_t command = 0; // what choosing it answers (0: none)
    std::string text;          // UTF-8
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    std::vector<MenuEntry> submenu;
};

struct MenuRequest
{
    std::vector<MenuEntry> entries;
    int v = 0; // where it pops up, global coordinates
    int h = 0;
};

struct PutFileRequest
{
    std::string proposedName; // UTF-8
    std::string clientName;   // UTF-8, the title of the window it belongs to
    std::string fileType;     // four characters, e.g. "****"
    bool windowModal = false;
};

struct PutFileReply
{
    std::string folder;   // UTF-8 path of the chosen folder
    std::string fileName; // UTF-8 name the user typed
};

// A help tag: a text shown beside a hot rectangle (global coordinates,
// right and bottom edges outside it).
struct HelpTag
{
    std::string text; // UTF-8
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    bool leftSide = false; // shown to the left of the rectangle rather than below it
};

class ModalSubject;

// The drag result the default driver answers: the user cancelled.
constexpr int kUserCanceledErr = -128;

class UiDriver
{
public:
    virtual ~UiDriver() = default;

    // Asked at each step of a modal loop.
    virtual ModalAnswer ModalStep(ModalLoop& loop);
    // The chosen entry's command, 0 when the menu is dismissed.
    virtual std::uint32_t PopUpMenu(const MenuRequest& menu);
    // True with the reply filled when the user saves; false when cancelled.
    virtual bool PutFile(const PutFileRequest& request, PutFileReply& reply);
    // Runs a drag to its end (the driver may deliver it to windows through
    // the drag session); answers 0 when dropped, kUserCanceledErr when cancelled.
    virtual int TrackDrag(dnd::DragSession& drag);

    // Notices that need no answer: a help tag shown (null: hidden), a
    // dialog shown or hidden without a modal loop (shown again when it changed
    // while shown).
    virtual void HelpTagChanged(const HelpTag* tag);
    virtual void ModelessChanged(ModalSubject& dialog, bool shown);
    // Asked to open a URL in the system's default handler; answers whether
    // it was handed on. The default hands nothing on and answers true.
    virtual bool OpenURL(const std::string& url);
};

} // namespace qm::events
