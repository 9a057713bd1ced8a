#pragma once
// An editing engine with a control whose display state a test sets: shown
// or hidden, the view mode and the Dir setting; it counts the tag-list
// events the engine asks it to raise and records the toolbar commands, page
// menu events and buttons its commands run. The control's per-user folders go to a
// scratch HOME, and the clock is the test's own, so timers fire only when
// the test advances it.

#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "tests/common/FixedClock.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qmtest {

class ViewControl : public CMorvaXEditorCtrl
{
public:
    bool CanXEditorDisplay() const override { return shown; }
    void DoFireStyleChange() override { ++styleChanges; }
    // The toolbar, the page's menu entries and its event, as the commands
    // reach them: recorded.
    bool RunToolbarCommand(unsigned int id) override
    {
        toolbarCommands.push_back(id);
        return true;
    }
    bool RunToolbarButtonById(const char* name) override
    {
        buttonsRunById.push_back(name);
        return true;
    }
    const CONTEXT_MENU_ENTRY* PageMenuEntries() const override { return menuEntries; }
    void GoFireContextMenuClicked(const unsigned short* text) override { menuClicks.emplace_back(text); }

    bool shown = true;
    int styleChanges = 0;
    std::vector<unsigned int> toolbarCommands;
    std::vector<std::string> buttonsRunById;
    const CONTEXT_MENU_ENTRY* menuEntries = nullptr;
    std::vector<CSafeBuf> menuClicks;
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
    // The document written as the form value is and loaded again in its
    // place; false when it does not load.
    bool WriteAndReadAgain()
    {
        CSafeBuf written;
        engine->GetSourceCode(written, 6);
        return engine->LoadDocument(written);
    }

    TempHome home;
    ScopedClock clock;
    std::unique_ptr<ViewControl> control;
    std::unique_ptr<CXHTML> engine;
};

} // namespace qmtest
