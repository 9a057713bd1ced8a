#pragma once
// A UI driver that answers modal dialogs and the put-file dialog as the test
// tells it, and records what each dialog showed. Install it for a scope with
// qm::events::ScopedUiDriver, or derive the fixture from ScriptedUiTest.
//
// A modal step is answered by `step` when the test gives one. Otherwise a
// dialog (qm::ui::ModalDialog) gets `action`: press the button labelled
// `press` (no such button: no answer; an empty label: close the window),
// close the window, or give no answer at all. Anything else that runs
// modally gets no answer.

#include "platform/events/ModalLoop.h"
#include "platform/events/Services.h"
#include "platform/events/UiDriver.h"
#include "platform/ui/ModalDialog.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace qmtest {

class ScriptedUiDriver : public qm::events::UiDriver
{
public:
    using ModalAnswer = qm::events::ModalAnswer;
    using ModalLoop = qm::events::ModalLoop;

    enum Action
    {
        kPress,
        kClose,
        kNoAnswer
    };

    // How to answer.
    std::function<ModalAnswer(ModalLoop&)> step;
    Action action = kPress;
    std::string press;

    // What the dialogs showed: how many were shown, and the last one's kind,
    // caption, texts and button labels (taken at its first step).
    int shown = 0;
    std::string kind;
    std::string caption;
    std::vector<std::string> texts;
    std::vector<std::string> labels;
    std::string parentTitle;  // the title of the window it belongs to, empty when none
    std::string defaultLabel; // the label of the button Return presses, empty when none

    // The put-file dialog: the last request, and the answer to give (true
    // with the reply: saved; false: cancelled).
    qm::events::PutFileRequest putRequest;
    bool putAnswer = false;
    qm::events::PutFileReply putReply;

    ModalAnswer ModalStep(ModalLoop& loop) override
    {
        if (step)
            return step(loop);
        auto* dialog = dynamic_cast<qm::ui::ModalDialog*>(&loop.Subject());
        if (dialog == nullptr)
            return ModalAnswer::NoAnswer();
        if (loop.Steps() <= 1)
            Record(*dialog);
        switch (action) {
        case kPress: {
            if (press.empty())
                return ModalAnswer::Close();
            const int index = dialog->FindButton(press);
            if (index < 0)
                return ModalAnswer::NoAnswer();
            dialog->Press(static_cast<std::size_t>(index));
            return ModalAnswer::Continue();
        }
        case kClose: return ModalAnswer::Close();
        default: return ModalAnswer::NoAnswer();
        }
    }

    bool PutFile(const qm::events::PutFileRequest& request, qm::events::PutFileReply& reply) override
    {
        putRequest = request;
        reply = putReply;
        return putAnswer;
    }

private:
    void Record(const qm::ui::ModalDialog& dialog)
    {
        ++shown;
        kind = dialog.ModalKind();
        caption = dialog.caption;
        texts = dialog.texts;
        labels.clear();
        for (const auto& b : dialog.buttons)
            labels.push_back(b.label);
        parentTitle = dialog.ParentTitle();
        defaultLabel.clear();
        if (dialog.defaultButton >= 0
            && static_cast<std::size_t>(dialog.defaultButton) < dialog.buttons.size())
            defaultLabel = dialog.buttons[static_cast<std::size_t>(dialog.defaultButton)].label;
    }
};

// A fixture whose tests run with a scripted driver installed.
class ScriptedUiTest : public ::testing::Test
{
protected:
    ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

} // namespace qmtest
