#pragma once
// Application-modal loops. A window that runs modally hands itself to a
// ModalLoop as its subject; Run then asks the host's UI driver, step by step,
// what happens next, and ends when someone quits the loop (usually a handler
// of the window, on a command), when the window is closed, or - instead of
// hanging - when the driver has no answer or keeps answering without ever
// ending the loop.
//
// Loops nest: a modal opened from inside another runs its own loop, and the
// outer one goes on when it ends.

#include "platform/events/EventTarget.h"

#include <cstddef>
#include <string>

namespace qm::events {

// What a modal loop runs for. The UI driver sees it and may look deeper
// (e.g. at the buttons of a dialog) by the type it knows.
class ModalSubject
{
public:
    virtual ~ModalSubject() = default;
    // A short name of the kind of window, e.g. "message" or "put-file".
    virtual std::string ModalKind() const = 0;
    // The target that gets the window's command and close events.
    virtual EventTarget& ModalTarget() = 0;
};

enum class ModalStatus
{
    kQuit,      // quit by a handler or the driver; Result() holds the code
    kClosed,    // the window was closed without a quit
    kNoAnswer,  // the driver had no answer: failure
    kStepLimit, // the driver never ended the loop: failure
    kNotRun     // Run was called on a loop that already ran
};

class ModalLoop
{
public:
    // The number of driver steps after which a loop gives up.
    static constexpr std::size_t kMaxSteps = 10000;

    explicit ModalLoop(ModalSubject& subject) : m_subject(subject) { }
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // Runs the loop to its end; see ModalStatus.
    ModalStatus Run();

    // Ends the loop after the current step with the given result code.
    void Quit(int result);

    bool IsRunning() const { return m_running; }
    bool HasQuit() const { return m_quit; }
    int Result() const { return m_result; }
    std::size_t Steps() const { return m_steps; }
    ModalSubject& Subject() const { return m_subject; }

    // The innermost running loop, null when none runs.
    static ModalLoop* Current();
    // Quits the innermost running loop whose subject has this target; false
    // when there is none.
    static bool QuitFor(const EventTarget& target, int result);

    // Succeeded means the loop ended by a quit or a close.
    static bool Succeeded(ModalStatus status)
    {
        return status == ModalStatus::kQuit || status == ModalStatus::kClosed;
    }

private:
    ModalSubject& m_subject;
    ModalLoop* m_outer = nullptr;
    bool m_running = false;
    bool m_ran = false;
    bool m_quit = false;
    int m_result = 0;
    std::size_t m_steps = 0;
};

} // namespace qm::events
