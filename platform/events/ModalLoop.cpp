#include "platform/events/ModalLoop.h"

#include "platform/events/Services.h"

namespace qm::events {

namespace {

ModalLoop*& Innermost() { return Services::Get().InnermostModal(); }

} // namespace

ModalLoop* ModalLoop::Current() { return Innermost(); }

bool ModalLoop::QuitFor(const EventTarget& target, int result)
{
    for (ModalLoop* loop = Innermost(); loop; loop = loop->m_outer) {
        if (&loop->m_subject.ModalTarget() == &target) {
            loop->Quit(result);
            return true;
        }
    }
    return false;
}

void ModalLoop::Quit(int result)
{
    if (m_quit)
        return;
    m_quit = true;
    m_result = result;
}

ModalStatus ModalLoop::Run()
{
    if (m_ran)
        return ModalStatus::kNotRun;
    m_ran = true;
    m_running = true;
    m_outer = Innermost();
    Innermost() = this;

    ModalStatus status = ModalStatus::kStepLimit;
    while (!m_quit) {
        if (m_steps >= kMaxSteps) {
            status = ModalStatus::kStepLimit;
            break;
        }
        ++m_steps;
        ModalAnswer answer;
        try {
            answer = Services::Get().Ui().ModalStep(*this);
        } catch (...) {
            answer = ModalAnswer::NoAnswer();
        }
        if (m_quit)
            break;
        if (answer.kind == ModalAnswer::kNoAnswer) {
            status = ModalStatus::kNoAnswer;
            break;
        }
        if (answer.kind == ModalAnswer::kCommand) {
            Event command(kEventClassCommand, kEventCommandProcess);
            command.SetParam(kParamCommandId, answer.command);
            m_subject.ModalTarget().SendEvent(command);
        } else if (answer.kind == ModalAnswer::kClose) {
            Event close(kEventClassWindow, kEventWindowClose);
            m_subject.ModalTarget().SendEvent(close);
            if (!m_quit) {
                status = ModalStatus::kClosed;
                break;
            }
        }
    }
    if (m_quit)
        status = ModalStatus::kQuit;

    Innermost() = m_outer;
    m_outer = nullptr;
    m_running = false;
    return status;
}

} // namespace qm::events
