#pragma once
// The scripted UI driver of the test host (host/ScriptedUiDriver.h), which
// answers modal dialogs, menus, the put-file dialog and drags as the test
// tells it and records what each showed. Install it for a scope with
// qm::events::ScopedUiDriver, or derive the fixture from ScriptedUiTest.

#include "host/ScriptedUiDriver.h"

#include "platform/events/Services.h"

#include <gtest/gtest.h>

namespace qmtest {

using ScriptedUiDriver = qm::host::ScriptedUiDriver;

// A fixture whose tests run with a scripted driver installed.
class ScriptedUiTest : public ::testing::Test
{
protected:
    ScriptedUiDriver driver;
    qm::events::ScopedUiDriver scope{driver};
};

} // namespace qmtest
