// The control's about dialog, answered by the host's scripted UI driver:
// closed with OK the control takes the dialog's Debug switch, otherwise it
// keeps its own.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/files/UserFolders.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Answer = qm::host::DialogAnswer;

class ControlAboutTest : public qmtest::ScriptedUiTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("about-home-")));
        control = new CMorvaXEditorCtrl();
    }
    void TearDown() override
    {
        delete control;
        SetUserTempFolder(nullptr);
        SetUserCacheFolder(nullptr);
    }
    qmtest::TempHome home;
    CMorvaXEditorCtrl* control = nullptr;
};

TEST_F(ControlAboutTest, OKTakesTheDialogsDebugAndCancelKeepsTheControls)
{
    struct Case
    {
        unsigned char before;
        Answer answer;
        unsigned char after;
        std::string shown; // the Debug field as the dialog opened
    };
    const Case cases[] = {
        {0, {Answer::kPress, "OK", {{"Debug", "yes"}}}, 1, "no"},
        {1, {Answer::kPress, "OK", {{"Debug", "no"}}}, 0, "yes"},
        {1, {Answer::kPress, "OK", {}}, 1, "yes"},
        {0, {Answer::kPress, "Cancel", {{"Debug", "yes"}}}, 0, "no"},
        {1, {Answer::kPress, "Cancel", {{"Debug", "no"}}}, 1, "yes"},
        {0, {Answer::kClose, "", {{"Debug", "yes"}}}, 0, "no"},
        {1, {Answer::kFail, "", {}}, 1, "yes"},
    };
    for (const Case& c : cases) {
        control->Debug = c.before;
        driver.dialogs.push_back(c.answer);
        driver.log->Clear();
        control->AboutBox();
        EXPECT_TRUE(driver.log->Contains("{Debug=" + qm::host::Quote(c.shown) + "}")) << driver.log->Text();
        EXPECT_EQ(c.after, control->Debug) << c.answer.press;
        EXPECT_EQ("about", driver.kind);
        EXPECT_EQ("About Quillmark", driver.caption);
        EXPECT_EQ(std::vector<std::string>({"OK", "Cancel"}), driver.labels);
    }
    EXPECT_TRUE(driver.dialogs.empty());
}

} // namespace
