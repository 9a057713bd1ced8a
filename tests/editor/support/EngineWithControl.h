#pragma once
// An editing engine with a control whose display state a test sets: shown
// or hidden, the view mode and the Dir setting; it counts the tag-list
// events the engine asks it to raise. The control's per-user folders go to a
// scratch HOME, and the clock is the test's own, so timers fire only when
// the test advances it.

#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "tests/common/FixedClock.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <memory>

namespace qmtest {

class ViewControl : public CMorvaXEditorCtrl
{
public:
    bool CanXEditorDisplay() const override { return shown; }
    void DoFireStyleChange() override { ++styleChanges; }

    bool shown = true;
    int styleChanges = 0;
};

class EngineWithControl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(TestOutputPath("engine-home-")));
        control = std::make_unique<ViewControl>();
        engine = std::make_unique<CXHTML>();
        engine->m_control = control.get();
        engine->m_controlOptions = &control->Options;
    }
    void TearDown() override
    {
        // The engine goes before the clock its timer was installed on.
        engine.reset();
        control.reset();
    }

    qm::clock::Clock& Clock() { return clock.Clock(); }
    void Advance(qm::clock::Millis ms) { clock.Advance(ms); }

    TempHome home;
    ScopedClock clock;
    std::unique_ptr<ViewControl> control;
    std::unique_ptr<CXHTML> engine;
};

} // namespace qmtest
