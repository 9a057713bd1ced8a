// The editor's shared module as a browser loads it: through the test host
// in this process, and through qmhost running the pages of
// tests/plugin/pages (expected logs in tests/data/plugin/qmhost.txt) with a
// test HOME. Its exports, its name, its per-user folders, the scriptable
// object kept by a page past the instance, and clean accounts.

#include "host/Host.h"

#include "platform/events/InputState.h"
#include "platform/input/KeyLayout.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/PngPixels.h"
#include "tests/common/RunCommand.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

using namespace qm::host;

namespace {

const char* const kMime = "application/x-quillmark";

using qmtest::RunCommand;

mode_t ModeOf(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : static_cast<mode_t>(-1);
}

class PluginModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("module-home-")));
        support = home.Path() + "/Library/Application Support/Quillmark";
        host = std::make_unique<Host>();
        host->GetBrowser().Window().functions = {"qmContentChanged"};
        std::string error;
        ASSERT_TRUE(host->Load(QM_PLUGIN_MODULE, error)) << error;
    }

    void TearDown() override
    {
        host->Destroy();
        host->Unload();
        EXPECT_EQ(std::vector<std::string>(), host->Problems()) << host->Log().Text();
    }

    qmtest::TempHome home;
    std::string support;
    std::unique_ptr<Host> host;
};

} // namespace

TEST(PluginModule, ExportsOnlyTheEntryPoints)
{
    int status = 0;
    std::istringstream out(RunCommand(std::string("nm -D --defined-only ") + QM_PLUGIN_MODULE, status));
    ASSERT_EQ(0, status);
    std::set<std::string> exported;
    std::string address, kind, name;
    while (out >> address >> kind >> name)
        exported.insert(name);
    EXPECT_EQ((std::set<std::string>{"NP_GetEntryPoints", "NP_Initialize", "NP_MainEntry", "NP_Shutdown"}),
        exported);
}

TEST_F(PluginModuleTest, AnInstanceMakesTheFoldersAndLeavesTabAndAHiddenEditorsEventsAlone)
{
    ASSERT_TRUE(host->New(kMime, {{"id", std::string("ed1")}, {"Debug", std::nullopt}}));
    std::string name, description;
    EXPECT_TRUE(host->PluginString(NPPVpluginNameString, name));
    EXPECT_TRUE(host->PluginString(NPPVpluginDescriptionString, description));
    EXPECT_EQ("Quillmark", name);
    EXPECT_EQ("Quillmark XHTML Editor", description);

    EXPECT_TRUE(host->SetNullWindow());
    EXPECT_FALSE(qmtest::Exists(support)); // nothing is built without a window
    const mode_t mask = ::umask(022);
    EXPECT_TRUE(host->SetWindow(40, 30, 300, 200));
    ::umask(mask);
    for (const char* folder : {"", "/Cache", "/Temp"})
        EXPECT_EQ(0700u, ModeOf(support + folder)) << folder;

    EXPECT_EQ(0, host->Key(qm::input::kVK_Tab));
    EXPECT_EQ(0, host->Key(qm::input::kVK_Tab, qm::events::kModShift));
    EXPECT_TRUE(host->SetClip(0, 0, 0, 0));
    EXPECT_EQ(0, host->Click(100, 60));
    EXPECT_EQ(0, host->Key(qm::input::kVK_ANSI_A));
    EXPECT_EQ(0, host->Null(10, 10));
    EXPECT_EQ(0, host->Focus(true));
    EXPECT_EQ(0, host->Update());

    std::string value = "unread";
    EXPECT_TRUE(host->FormValue(value));
    EXPECT_EQ("", value);

    // A second instance empties the temporary folder again.
    ASSERT_TRUE(host->Destroy());
    ASSERT_TRUE(qmtest::WriteFile(support + "/Temp/left.html", "x"));
    ASSERT_TRUE(host->New(kMime, {}));
    EXPECT_TRUE(qmtest::Exists(support + "/Temp/left.html"));
    EXPECT_TRUE(host->SetWindow(40, 30, 300, 200));
    EXPECT_FALSE(qmtest::Exists(support + "/Temp/left.html"));
    EXPECT_EQ(0700u, ModeOf(support + "/Temp"));
}

TEST_F(PluginModuleTest, AScriptableObjectKeptPastTheInstanceAnswersFalse)
{
    ASSERT_TRUE(host->New(kMime, {{"id", std::string("ed1")}}));
    ASSERT_TRUE(host->SetWindow(40, 30, 300, 200));
    NPObject* first = host->ScriptableObject();
    ASSERT_NE(nullptr, first);
    const std::uint32_t count = first->referenceCount;
    NPObject* second = host->ScriptableObject();
    EXPECT_EQ(first, second);
    EXPECT_EQ(count + 1, first->referenceCount);
    host->ReleaseObject(second);

    ASSERT_TRUE(host->Destroy());
    Browser& b = host->GetBrowser();
    ScriptValue v;
    EXPECT_FALSE(b.GetProperty(host->Instance(), first, "Value", v));
    EXPECT_FALSE(b.Invoke(host->Instance(), first, "toString", {}, v));
    host->ReleaseObject(first);
    EXPECT_EQ(3u, b.Account().ObjectCount()); // the page's own three are left
}

TEST(PluginModule, QmhostRunsThePagesCleanly)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("qmhost-home-")));
    const std::string support = home.Path() + "/Library/Application Support/Quillmark";
    qmtest::CaseBlockFile file("plugin/qmhost.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        int status = 0;
        const std::string log
            = RunCommand(std::string(QM_QMHOST) + " " + QM_PLUGIN_PAGES + "/" + c.input, status);
        EXPECT_EQ(0, status) << c.name << "\n" << log;
        file.Check(c, log);
        EXPECT_EQ(0700u, ModeOf(support + "/Temp")) << c.name;
    }
}

// A drag from one paragraph into the next, through the module's entry
// points: the form value is untouched, and the window's picture shows the
// selection's highlight over the text the drag crossed and nowhere else
// (the PNG is left in the test output for a person to look at).
TEST_F(PluginModuleTest, ADragAcrossTwoParagraphsShowsTheSelection)
{
    const std::string markup = "<p>first paragraph</p><p>second paragraph</p>";
    ASSERT_TRUE(host->New(kMime, {{"id", std::string("ed1")}, {"Value", markup}}));
    ASSERT_TRUE(host->SetWindow(0, 0, 400, 300));
    host->Focus(true);
    // From the "p" of "paragraph" on the first line to the middle of
    // "paragraph" on the second (the document starts below the toolbars).
    host->Drag(44, 80, 80, 107);
    host->Update();
    const std::string path = qmtest::TestOutputPath("drag-select-") + ".png";
    ASSERT_TRUE(host->WritePNG(path));
    qmtest::PngPixels png;
    ASSERT_TRUE(qmtest::ReadPng(path, png));
    auto pixel = [&](int x, int y) {
        const unsigned char* p
            = png.rgba.data() + (std::size_t(y) * std::size_t(png.width) + std::size_t(x)) * 4;
        return (p[0] << 16) | (p[1] << 8) | p[2];
    };
    const int highlight = (181 << 16) | (213 << 8) | 255;
    EXPECT_EQ(highlight, pixel(60, 73)) << "in \"paragraph\" of the first line";
    EXPECT_EQ(highlight, pixel(15, 100)) << "in \"second\"";
    EXPECT_EQ(0xFFFFFF, pixel(20, 73)) << "\"first\" is not selected";
    EXPECT_EQ(0xFFFFFF, pixel(100, 100)) << "the end of the second line is not selected";
    std::string value;
    ASSERT_TRUE(host->FormValue(value));
    EXPECT_NE(std::string::npos, value.find(markup)) << value;
}
