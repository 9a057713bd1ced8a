#include "platform/events/EventLoopTimer.h"
#include "platform/events/EventTarget.h"
#include "platform/events/ModalLoop.h"
#include "platform/events/Services.h"

#include "tests/common/FixedClock.h"
#include "tests/common/ScriptedUiDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace qm::events;
using qmtest::ScriptedUiDriver; // answers each step from its step function

namespace {

const std::vector<EventType> kCommand = {{kEventClassCommand, kEventCommandProcess}};

Event CommandEvent(std::uint32_t id)
{
    Event e(kEventClassCommand, kEventCommandProcess);
    e.SetParam(kParamCommandId, id);
    return e;
}

class Subject : public ModalSubject
{
public:
    std::string ModalKind() const override { return "test"; }
    EventTarget& ModalTarget() override { return target; }
    EventTarget target{&EventTarget::Application()};
};

} // namespace

TEST(EventParams, ReadOnlyWithTheTypeTheyWereSetWith)
{
    Event e(kEventClassMouse, kEventMouseWheelMoved);
    e.SetParam(kParamWheelDelta, std::int64_t(-3));
    e.SetParam(kParamMouseLocation, Point{10, 20});
    std::int64_t delta = 0;
    std::uint32_t wrong = 7;
    Point p;
    EXPECT_TRUE(e.GetParam(kParamWheelDelta, delta));
    EXPECT_EQ(-3, delta);
    EXPECT_FALSE(e.GetParam(kParamWheelDelta, wrong));
    EXPECT_EQ(7u, wrong);
    EXPECT_TRUE(e.GetParam(kParamMouseLocation, p));
    EXPECT_EQ(20, p.h);
    EXPECT_FALSE(e.GetParam(kParamText, delta));
}

TEST(EventTarget, LastInstalledHandlerFirstThenFallThroughThenParent)
{
    EventTarget app;
    EventTarget window(&app);
    std::vector<std::string> calls;
    app.InstallHandler(kCommand, [&](const NextHandler&, Event&) {
        calls.push_back("app");
        return kNoErr;
    });
    window.InstallHandler(kCommand, [&](const NextHandler&, Event&) {
        calls.push_back("first");
        return kEventNotHandledErr;
    });
    window.InstallHandler(kCommand, [&](const NextHandler&, Event&) {
        calls.push_back("second");
        return kEventNotHandledErr;
    });
    window.InstallHandler({{kEventClassWindow, kEventWindowClose}}, [&](const NextHandler&, Event&) {
        calls.push_back("close");
        return kNoErr;
    });
    Event e = CommandEvent(1);
    EXPECT_EQ(kNoErr, window.SendEvent(e));
    EXPECT_EQ((std::vector<std::string>{"second", "first", "app"}), calls);
}

TEST(EventTarget, CallNextHandlerRunsTheRestOnceAndItsAnswerIsFinal)
{
    EventTarget target;
    std::vector<std::string> calls;
    target.InstallHandler(kCommand, [&](const NextHandler&, Event&) {
        calls.push_back("inner");
        return kNoErr;
    });
    target.InstallHandler(kCommand, [&](const NextHandler& next, Event& e) {
        calls.push_back("before");
        const int r = CallNextHandler(next, e);
        calls.push_back("after");
        EXPECT_EQ(kEventNotHandledErr, next.Call(e)); // a second call does nothing
        return r == kNoErr ? kEventNotHandledErr : kNoErr;
    });
    Event e = CommandEvent(1);
    EXPECT_EQ(kEventNotHandledErr, target.SendEvent(e));
    EXPECT_EQ((std::vector<std::string>{"before", "inner", "after"}), calls);
}

TEST(EventTarget, HandlerRemovedDuringDispatchIsNotCalled)
{
    EventTarget target;
    int lowerCalls = 0;
    const HandlerId lower = target.InstallHandler(kCommand, [&](const NextHandler&, Event&) {
        ++lowerCalls;
        return kNoErr;
    });
    target.InstallHandler(kCommand, [&](const NextHandler&, Event&) {
        target.RemoveHandler(lower);
        return kEventNotHandledErr;
    });
    Event e = CommandEvent(1);
    EXPECT_EQ(kEventNotHandledErr, target.SendEvent(e));
    EXPECT_EQ(0, lowerCalls);
    EXPECT_EQ(0u, target.InstallHandler({}, [](const NextHandler&, Event&) { return kNoErr; }));
}

TEST(EventTarget, ThrowingHandlerCountsAsNotHandled)
{
    EventTarget target;
    target.InstallHandler(kCommand, [](const NextHandler&, Event&) -> int { throw 42; });
    Event e = CommandEvent(1);
    EXPECT_EQ(kEventNotHandledErr, target.SendEvent(e));
}

TEST(Services, DefaultsNeverBlockAndResetRestoresThem)
{
    Services& s = Services::Get();
    s.Reset();
    MenuRequest menu;
    menu.entries.push_back(MenuEntry{5, "Cut", true, false, false, {}});
    EXPECT_EQ(0u, s.Ui().PopUpMenu(menu));
    PutFileReply reply;
    EXPECT_FALSE(s.Ui().PutFile(PutFileRequest{}, reply));
    s.Input().modifiers = kModShift;
    ScriptedUiDriver driver;
    {
        ScopedUiDriver scope(driver);
        EXPECT_EQ(&driver, &s.Ui());
    }
    EXPECT_NE(&driver, &s.Ui());
    s.Reset();
    EXPECT_EQ(0u, s.Input().modifiers);
}

TEST(ModalLoop, DefaultDriverClosesTheWindow)
{
    Services::Get().Reset();
    Subject subject;
    ModalLoop loop(subject);
    EXPECT_EQ(ModalStatus::kClosed, loop.Run());
    EXPECT_EQ(1u, loop.Steps());
    EXPECT_EQ(ModalStatus::kNotRun, loop.Run());
}

TEST(ModalLoop, FailsInsteadOfHangingWhenNobodyAnswers)
{
    ScriptedUiDriver silent;
    silent.step = [](ModalLoop&) { return ModalAnswer::NoAnswer(); };
    ScopedUiDriver scope(silent);
    Subject subject;
    ModalLoop loop(subject);
    EXPECT_EQ(ModalStatus::kNoAnswer, loop.Run());
    EXPECT_FALSE(ModalLoop::Succeeded(ModalStatus::kNoAnswer));
    EXPECT_EQ(nullptr, ModalLoop::Current());

    ScriptedUiDriver busy;
    busy.step = [](ModalLoop&) { return ModalAnswer::Continue(); };
    ScopedUiDriver scope2(busy);
    ModalLoop endless(subject);
    EXPECT_EQ(ModalStatus::kStepLimit, endless.Run());
    EXPECT_EQ(ModalLoop::kMaxSteps, endless.Steps());
}

TEST(ModalLoop, CommandHandledByTheWindowQuitsWithItsResult)
{
    Subject subject;
    subject.target.InstallHandler(kCommand, [&](const NextHandler&, Event& e) {
        std::uint32_t id = 0;
        e.GetParam(kParamCommandId, id);
        if (id != 7)
            return kEventNotHandledErr;
        EXPECT_TRUE(ModalLoop::QuitFor(subject.target, 70));
        return kNoErr;
    });
    ScriptedUiDriver driver;
    int step = 0;
    driver.step = [&](ModalLoop&) { return ++step == 1 ? ModalAnswer::Command(3) : ModalAnswer::Command(7); };
    ScopedUiDriver scope(driver);
    ModalLoop loop(subject);
    EXPECT_EQ(ModalStatus::kQuit, loop.Run());
    EXPECT_EQ(70, loop.Result());
    EXPECT_EQ(2, step);
}

TEST(ModalLoop, NestedLoopsEndInnermostFirst)
{
    Subject outer, inner;
    std::vector<std::string> seen;
    ScriptedUiDriver driver;
    driver.step = [&](ModalLoop& loop) {
        seen.push_back(loop.Subject().ModalKind() + (&loop.Subject() == &outer ? ":outer" : ":inner"));
        if (&loop.Subject() == &outer && seen.size() == 1) {
            ModalLoop nested(inner);
            EXPECT_EQ(ModalStatus::kQuit, nested.Run());
            EXPECT_EQ(&loop, ModalLoop::Current());
            loop.Quit(1);
            return ModalAnswer::Continue();
        }
        loop.Quit(2);
        return ModalAnswer::Continue();
    };
    ScopedUiDriver scope(driver);
    ModalLoop loop(outer);
    EXPECT_EQ(ModalStatus::kQuit, loop.Run());
    EXPECT_EQ(1, loop.Result());
    EXPECT_EQ((std::vector<std::string>{"test:outer", "test:inner"}), seen);
    EXPECT_FALSE(ModalLoop::QuitFor(outer.target, 0));
}

namespace {

void RecordFiring(EventLoopTimerRef, void* data)
{
    auto* times = static_cast<std::vector<qm::clock::Millis>*>(data);
    times->push_back(Services::Get().Clock().Now());
}

} // namespace

TEST(EventLoopTimer, TenthOfASecondTimerFiresAtZeroThenEveryHundredMilliseconds)
{
    qmtest::ScopedClock clock;
    std::vector<qm::clock::Millis> times;
    EventLoopTimerRef timer = 0;
    ASSERT_EQ(kNoErr, InstallTimer(0, 0.1, RecordFiring, &times, &timer));
    EXPECT_TRUE(times.empty()); // never inside the install
    Services::Get().Clock().Advance(250);
    EXPECT_EQ((std::vector<qm::clock::Millis>{0, 100, 200}), times);

    // Re-armed 30 ms ahead, then every 100 ms again.
    ASSERT_EQ(kNoErr, SetNextFireTime(timer, 0.03));
    Services::Get().Clock().Advance(200);
    EXPECT_EQ((std::vector<qm::clock::Millis>{0, 100, 200, 280, 380}), times);
    EXPECT_EQ(kNoErr, RemoveTimer(timer));
    EXPECT_EQ(kParamErr, RemoveTimer(timer));
    EXPECT_EQ(kParamErr, SetNextFireTime(timer, 0.1));
    Services::Get().Clock().Advance(1000);
    EXPECT_EQ(5u, times.size());
}

TEST(EventLoopTimer, BadTimesAndProceduresAreRefused)
{
    qmtest::ScopedClock clock;
    EventLoopTimerRef timer = 0;
    EXPECT_EQ(kParamErr, InstallTimer(0, 0.1, nullptr, nullptr, &timer));
    EXPECT_EQ(kParamErr, InstallTimer(-1, 0.1, RecordFiring, nullptr, &timer));
    EXPECT_EQ(kParamErr, InstallTimer(0, std::nan(""), RecordFiring, nullptr, &timer));
    EXPECT_EQ(kParamErr, InstallTimer(1e300, 0, RecordFiring, nullptr, &timer));
    EXPECT_EQ(0u, Services::Get().Clock().TimerCount());
}
