#pragma once
// One instance of the editor's plug-in made through the module's entry
// points in the test browser, for tests that drive its control directly:
// the tag's parameters in, the control and the form value out. The browser's
// accounting must be clean when the test ends.

#include "host/Host.h"
#include "plugin/EntryPoints.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/Plugin.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qmtest {

// Markup that neither cleans nor loads, before or after repair: a paragraph
// inside spans nested deeper than a repair takes.
inline const char* HopelessMarkup()
{
    static const std::string markup = [] {
        std::string spans;
        for (int i = 0; i < 1100; ++i)
            spans += "<span>";
        return spans + "<p>one</p>";
    }();
    return markup.c_str();
}

class ControlInstanceTest : public ::testing::Test
{
protected:
    // homePrefix names the test's home folder; a subclass sets up the
    // page's script functions in PrepareHost, before the module starts.
    explicit ControlInstanceTest(const char* homePrefix) : m_homePrefix(homePrefix) { }
    virtual void PrepareHost() { }

    void SetUp() override
    {
        ASSERT_TRUE(home.Create(TestOutputPath(m_homePrefix)));
        host = std::make_unique<qm::host::Host>();
        PrepareHost();
        ASSERT_EQ(NPERR_NO_ERROR, NP_Initialize(host->GetBrowser().Table()));
        funcs.size = sizeof funcs;
        ASSERT_EQ(NPERR_NO_ERROR, NP_GetEntryPoints(&funcs));
    }

    void TearDown() override
    {
        if (made) {
            EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&npp, nullptr));
        }
        NP_Shutdown();
        host->GetBrowser().Window().onCall = nullptr;
        EXPECT_EQ(std::vector<std::string>(), host->Problems()) << host->Log().Text();
        host.reset();
    }

    // The tag ("id" "ed1" first) with its parameters, started in its window
    // at placeLeft, placeTop, placeWidth x placeHeight.
    CMorvaXEditorCtrl* Start(std::vector<std::pair<std::string, std::string>> params)
    {
        params.insert(params.begin(), {"id", "ed1"});
        std::vector<char*> names, values;
        for (auto& p : params) {
            names.push_back(p.first.data());
            values.push_back(p.second.data());
        }
        char type[] = "application/x-quillmark";
        EXPECT_EQ(NPERR_NO_ERROR,
            funcs.newp(type, &npp, NP_EMBED, static_cast<std::int16_t>(params.size()), names.data(),
                values.data(), nullptr));
        made = true;
        host->Window().Place(placeLeft, placeTop, placeWidth, placeHeight);
        EXPECT_EQ(NPERR_NO_ERROR, funcs.setwindow(&npp, host->Window().Record()));
        return Control();
    }

    CMorvaXEditorCtrl* Control() { return static_cast<CPlugin*>(npp.pdata)->m_pXEditorCtrl; }
    qm::host::ScriptedUiDriver& Ui() { return host->Ui(); }

    // The form value as the browser reads it, without the generator comment.
    std::string FormValue()
    {
        char* value = nullptr;
        EXPECT_EQ(NPERR_NO_ERROR, funcs.getvalue(&npp, NPPVformValue, &value));
        const std::string form = value ? value : "(null)";
        host->GetBrowser().Account().Free(value, "the form value");
        return WithoutComment(form);
    }

    static std::string WithoutComment(const std::string& markup)
    {
        // The generator's comment ends at its first "-->" (a comment of the
        // document may follow it).
        const std::size_t end = markup.find("-->");
        return markup.compare(0, 4, "<!--") == 0 && end != std::string::npos ? markup.substr(end + 3)
                                                                             : markup;
    }

    TempHome home;
    std::unique_ptr<qm::host::Host> host;
    NPPluginFuncs funcs{};
    NPP_t npp{};
    bool made = false;
    int placeLeft = 20, placeTop = 30, placeWidth = 600, placeHeight = 400;

private:
    const char* m_homePrefix;
};

} // namespace qmtest
