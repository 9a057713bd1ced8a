// The engine's timer on the host's virtual clock: when the caret blinks (the
// view, the caret switched on, the control shown), automatic-scroll requests,
// and that nothing is left installed or fires after UnInit or destruction.

#include "tests/editor/support/EngineWithControl.h"

#include "platform/dnd/DragSession.h"
#include "platform/events/EventTarget.h"
#include "platform/np/Window.h"
#include "platform/qd/Port.h"
#include "platform/ui/Window.h"

#include <vector>

namespace {

using qmtest::EngineWithControl;

// The times (ms) at which the caret phase changed while the clock was
// advanced in 50-ms steps up to end.
std::vector<qm::clock::Millis> PhaseChanges(qm::clock::Clock& clock, const CXDoc& doc, qm::clock::Millis end)
{
    std::vector<qm::clock::Millis> changes;
    unsigned char phase = doc.m_caretPhase;
    clock.Advance(0);
    if (doc.m_caretPhase != phase)
        changes.push_back(clock.Now());
    phase = doc.m_caretPhase;
    while (clock.Now() < end) {
        clock.Advance(50);
        if (doc.m_caretPhase != phase)
            changes.push_back(clock.Now());
        phase = doc.m_caretPhase;
    }
    return changes;
}

using Times = std::vector<qm::clock::Millis>;

TEST_F(EngineWithControl, CaretBlinksEveryHalfSecondInTheWysiwygViewOnly)
{
    struct
    {
        int viewMode;
        bool focus; // ForceHaveFocus before the clock runs
        Times changes;
    } cases[] = {
        {0, true, {400, 900, 1400}}, {1, true, {}}, // source view
        {2, true, {}},                              // preview
        {0, false, {}},                             // the caret is not on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("view " + std::to_string(c.viewMode) + (c.focus ? " with focus" : " without focus"));
        engine = std::make_unique<CXHTML>();
        engine->m_control = control.get();
        control->m_viewMode = c.viewMode;
        engine->Init();
        if (c.focus) {
            engine->ForceHaveFocus();
            EXPECT_EQ(engine->m_doc.m_caretEnabled, 1);
            EXPECT_EQ(engine->m_doc.m_caretPhase, 0) << "switched on erased: the first blink draws it";
        }
        const qm::clock::Millis start = Clock().Now();
        Times changes = PhaseChanges(Clock(), engine->m_doc, start + 1450);
        for (auto& t : changes)
            t -= start;
        EXPECT_EQ(changes, c.changes);
        // The count of ticks runs in every view: 15 ticks (0 ... 1.4 s).
        EXPECT_EQ(engine->m_blinkCount, 0);
        Advance(100);
        EXPECT_EQ(engine->m_blinkCount, 1);
        engine->UnInit();
    }
}

TEST_F(EngineWithControl, WithASelectionForceHaveFocusLeavesTheCaretOff)
{
    engine->m_doc.m_selectionPresent = 1;
    engine->ForceHaveFocus();
    EXPECT_EQ(engine->m_doc.m_caretEnabled, 0);
    EXPECT_EQ(engine->m_doc.m_caretPhase, 1);
}

TEST_F(EngineWithControl, AHiddenControlNeitherBlinksNorScrollsAndAScrollRequestWaits)
{
    engine->Init();
    engine->ForceHaveFocus();
    control->shown = false;
    engine->m_scrollDirection = 1;
    EXPECT_EQ(PhaseChanges(Clock(), engine->m_doc, 2000), Times{});
    EXPECT_EQ(engine->m_blinkCount, 0) << "no tick is counted while hidden";
    EXPECT_EQ(engine->m_scrollDirection, 1u) << "the request waits";

    // Shown again: the next tick takes the request, once.
    control->shown = true;
    Advance(100);
    EXPECT_EQ(engine->m_scrollDirection, 0u);
    EXPECT_EQ(engine->m_blinkCount, 1);
    for (unsigned int direction : {2u, 3u, 4u, 9u}) {
        engine->m_scrollDirection = direction;
        Advance(100);
        EXPECT_EQ(engine->m_scrollDirection, 0u) << direction;
    }
}

TEST_F(EngineWithControl, WithoutAControlTheTimerDoesNothing)
{
    engine->m_control = nullptr;
    engine->Init();
    engine->ForceHaveFocus();
    engine->m_scrollDirection = 2;
    EXPECT_EQ(PhaseChanges(Clock(), engine->m_doc, 1000), Times{});
    EXPECT_EQ(engine->m_scrollDirection, 2u);
    EXPECT_FALSE(engine->IsWindowVisible());
}

TEST_F(EngineWithControl, InitInstallsOnceAndUnInitLeavesNothingThatFires)
{
    const size_t appHandlers = qm::events::EventTarget::Application().HandlerCount();
    const size_t timers = Clock().TimerCount();
    engine->Init();
    engine->Init(); // a second start replaces the first
    EXPECT_EQ(Clock().TimerCount(), timers + 1);
    EXPECT_EQ(qm::events::EventTarget::Application().HandlerCount(), appHandlers + 1);
    EXPECT_NE(engine->m_timer, 0u);
    EXPECT_NE(engine->m_textInputHandler, 0u);

    // Text input is passed on to the next handler.
    qm::events::Event text(qm::events::kEventClassTextInput, qm::events::kEventTextInputUnicode);
    EXPECT_EQ(qm::events::EventTarget::Application().SendEvent(text), qm::events::kEventNotHandledErr);

    engine->ForceHaveFocus();
    engine->UnInit();
    EXPECT_EQ(Clock().TimerCount(), timers);
    EXPECT_EQ(qm::events::EventTarget::Application().HandlerCount(), appHandlers);
    EXPECT_EQ(engine->m_timer, 0u);
    EXPECT_EQ(engine->m_textInputHandler, 0u);
    EXPECT_EQ(PhaseChanges(Clock(), engine->m_doc, 2000), Times{});
    EXPECT_EQ(engine->m_blinkCount, 0);
    engine->UnInit(); // nothing left to remove
}

TEST_F(EngineWithControl, DestroyingAStartedEngineRemovesItsTimerAndHandlers)
{
    const size_t appHandlers = qm::events::EventTarget::Application().HandlerCount();
    const size_t timers = Clock().TimerCount();
    engine->Init();
    engine.reset(); // without UnInit
    EXPECT_EQ(Clock().TimerCount(), timers);
    EXPECT_EQ(qm::events::EventTarget::Application().HandlerCount(), appHandlers);
    Advance(1000); // would reach the freed engine (the sanitizer build reports it)
}

TEST_F(EngineWithControl, WithAWindowTheTickRunsOnThePluginPortAndDragHandlersComeAndGo)
{
    qm::ui::Window page("page");
    ASSERT_TRUE(page.SetSize(400, 300));
    NP_Port port{page.Port(), 0, 0};
    NPWindow window{&port, 10, 20, 200, 100, NPRect{20, 10, 120, 210}, NPWindowTypeDrawable};
    engine->m_window = &window;

    const size_t drags = qm::dnd::DragSession::InstalledHandlerCount();
    engine->Init();
    EXPECT_EQ(qm::dnd::DragSession::InstalledHandlerCount(), drags + 2);
    qm::dnd::DragSession drag;
    EXPECT_EQ(drag.TrackIn(&page, qm::dnd::kDragTrackingInWindow), 0);
    EXPECT_EQ(drag.DropOn(&page), 1) << "a drag that carries nothing is refused";

    // Each tick makes the plug-in's port current and then gives back the
    // port that was current before, even through the caret's drawing.
    qm::qd::Port* other = qm::qd::Port::Create(10, 10);
    ASSERT_NE(other, nullptr);
    qm::qd::SetPort(other);
    engine->ForceHaveFocus();
    EXPECT_EQ(PhaseChanges(Clock(), engine->m_doc, 1000), (Times{400, 900}));
    EXPECT_EQ(qm::qd::GetPort(), other);
    engine->DisplayCursor();
    control->shown = false;
    engine->DisplayCursor();

    engine->UnInit();
    EXPECT_EQ(qm::dnd::DragSession::InstalledHandlerCount(), drags);
    engine->m_window = nullptr;
    qm::qd::SetPort(nullptr);
    delete other;
}

} // namespace
