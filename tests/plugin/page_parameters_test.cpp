// The page's tag parameters through the plug-in's entry points on the test
// host's browser, with two loopback servers as the page's own origin ($A)
// and another one ($B). Cases in tests/data/plugin/page_parameters.txt: the
// input lists the page's address, the tag's parameters and what to show of
// the control; the output is what was shown, with the servers' addresses
// written back as $A and $B.

#include "plugin/EntryPoints.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "plugin/ParamRules.h"
#include "plugin/Plugin.h"

#include "host/Host.h"
#include "net/AdditionalHeaders.h"
#include "platform/sys/Bundle.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/net/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace qm::host;
using qmtest::ToUtf8;

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    if (from.empty())
        return;
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}

// One case's page: the host, the module's entry points and one tag.
struct PageRun
{
    PageRun(const std::string& address, bool windowObject, const std::vector<TagParam>& params)
    {
        HostOptions options;
        options.browser.windowObject = windowObject;
        host = std::make_unique<Host>(options);
        host->GetBrowser().SetAddress(address);
        EXPECT_EQ(NPERR_NO_ERROR, NP_Initialize(host->GetBrowser().Table()));
        funcs.size = sizeof funcs;
        EXPECT_EQ(NPERR_NO_ERROR, NP_GetEntryPoints(&funcs));
        for (const TagParam& p : params) {
            names.push_back(p.name);
            values.push_back(p.value);
        }
        std::vector<char*> argn, argv;
        for (std::size_t i = 0; i < names.size(); ++i) {
            argn.push_back(&names[i][0]);
            argv.push_back(values[i] ? &(*values[i])[0] : nullptr);
        }
        EXPECT_EQ(NPERR_NO_ERROR,
            funcs.newp(const_cast<char*>("application/x-quillmark"), &npp, NP_EMBED,
                static_cast<std::int16_t>(argn.size()), argn.data(), argv.data(), nullptr));
        host->Window().Place(40, 30, 300, 200);
        EXPECT_EQ(NPERR_NO_ERROR, funcs.setwindow(&npp, host->Window().Record()));
    }
    ~PageRun()
    {
        EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&npp, nullptr));
        NP_Shutdown();
        EXPECT_EQ(std::vector<std::string>(), host->Problems()) << host->Log().Text();
    }
    CMorvaXEditorCtrl* Control()
    {
        CPlugin* p = static_cast<CPlugin*>(npp.pdata);
        return p ? p->m_pXEditorCtrl : nullptr;
    }

    std::unique_ptr<Host> host;
    NPPluginFuncs funcs{};
    NPP_t npp{};
    std::vector<std::string> names;
    std::vector<std::optional<std::string>> values;
};

std::string Text(const CSafeBuf& t) { return ToUtf8(t); }
std::string Flag(unsigned char f) { return f ? "on" : "off"; }

// What a case may show of a control, by name.
const std::map<std::string, std::function<std::string(CMorvaXEditorCtrl&)>>& Shows()
{
    static const std::map<std::string, std::function<std::string(CMorvaXEditorCtrl&)>> shows = {
        {"IndentOutput", [](CMorvaXEditorCtrl& c) { return Text(c.IndentOutput); }},
        {"EscapeUnicode", [](CMorvaXEditorCtrl& c) { return Text(c.EscapeUnicode); }},
        {"ShowToolbar", [](CMorvaXEditorCtrl& c) { return Flag(c.ShowToolbar); }},
        {"ShowStyles", [](CMorvaXEditorCtrl& c) { return Flag(c.ShowStyles); }},
        {"EnablePasteMarkup", [](CMorvaXEditorCtrl& c) { return Flag(c.EnablePasteMarkup); }},
        {"EnableTimestamp", [](CMorvaXEditorCtrl& c) { return Flag(c.EnableTimestamp); }},
        {"EnableCache", [](CMorvaXEditorCtrl& c) { return Flag(c.EnableCache); }},
        {"Debug", [](CMorvaXEditorCtrl& c) { return Flag(c.Debug); }},
        {"Value", [](CMorvaXEditorCtrl& c) { return Text(c.Value); }},
        {"Lang", [](CMorvaXEditorCtrl& c) { return Text(c.Lang); }},
        {"Accept-Language", [](CMorvaXEditorCtrl& c) { return ToUtf8(c.Headers().Language); }},
        {"Base", [](CMorvaXEditorCtrl& c) { return Text(c.Base); }},
        {"Dir", [](CMorvaXEditorCtrl& c) { return Text(c.Dir); }},
        {"Mode", [](CMorvaXEditorCtrl& c) { return Text(c.Mode); }},
        {"SpellCheckerLang", [](CMorvaXEditorCtrl& c) { return Text(c.SpellCheckerLang); }},
        {"ScriptNewWindow", [](CMorvaXEditorCtrl& c) { return Text(c.ScriptNewWindow); }},
        {"Options", [](CMorvaXEditorCtrl& c) { return std::to_string(c.Options); }},
        {"HeartbeatInterval", [](CMorvaXEditorCtrl& c) { return std::to_string(c.HeartbeatInterval); }},
        {"ProxySetting", [](CMorvaXEditorCtrl& c) { return std::to_string(c.ProxySetting); }},
        {"ProxyPort", [](CMorvaXEditorCtrl& c) { return std::to_string(c.ProxyPort); }},
        {"UseProxy", [](CMorvaXEditorCtrl& c) { return std::string(c.UseProxy() ? "yes" : "no"); }},
        {"ImageLibraryURL", [](CMorvaXEditorCtrl& c) { return Text(c.ImageLibraryURL); }},
        {"Styles", [](CMorvaXEditorCtrl& c) { return Text(c.Styles); }},
        {"CustomBlockElements",
            [](CMorvaXEditorCtrl& c) {
                return Text(c.CustomBlockElements) + " | " + Text(c.CustomBlockElementsSearch);
            }},
        {"Colours",
            [](CMorvaXEditorCtrl& c) {
                return std::to_string(c.m_backgroundColor) + " " + std::to_string(c.m_borderColor);
            }},
        {"PreviewXSLT", [](CMorvaXEditorCtrl& c) { return Text(c.m_previewXSLTText); }},
        {"ScreenReaderXSLT",
            [](CMorvaXEditorCtrl& c) {
                return Text(c.m_screenReaderXSLTText) + (c.m_screenReaderXSLTFailed ? " (failed)" : "");
            }},
        {"Cookie", [](CMorvaXEditorCtrl& c) { return Text(c.Cookie); }},
        {"X-TagList", [](CMorvaXEditorCtrl& c) { return ToUtf8(c.Headers().TagList); }},
        {"read CSS",
            [](CMorvaXEditorCtrl& c) {
                CSafeBuf out;
                c.GetCSS(out);
                return Text(out);
            }},
        {"read Localization",
            [](CMorvaXEditorCtrl& c) {
                CSafeBuf out;
                c.GetLocalization(out);
                return Text(out);
            }},
        {"read Styles",
            [](CMorvaXEditorCtrl& c) {
                CSafeBuf out;
                c.GetCustomization(out);
                return Text(out);
            }},
        {"read Buttons",
            [](CMorvaXEditorCtrl& c) {
                CSafeBuf out;
                c.GetButtons(out);
                return Text(out);
            }},
    };
    return shows;
}

class PageParametersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("params-home-")));
        ASSERT_TRUE(a.Ok() && b.Ok());
        a.Answer("/page.html", 200, "<html/>");
        a.Answer("/style.css", 200, "p { color: red }");
        a.Answer("/texts.xml", 200, "<localization><text><no-image>gone</no-image></text></localization>");
        a.Answer("/preview.xsl", 200, "<xsl:stylesheet version=\"1.0\"/>");
        a.Redirect("/away.css", b.Url("/style.css"));
        a.Redirect("/home.css", a.Url("/style.css"));
        b.Answer("/style.css", 200, "p { color: blue }");
    }

    qmtest::TempHome home;
    qmtest::LoopbackServer a, b;
};

} // namespace

TEST_F(PageParametersTest, TableOfParameterCases)
{
    const std::string baseA = a.Url(""), baseB = b.Url("");
    qmtest::CaseBlockFile file("plugin/page_parameters.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::string input = c.input;
        ReplaceAll(input, "$A", baseA);
        ReplaceAll(input, "$B", baseB);
        ReplaceAll(input, "$VERSION", qm::sys::OwnBundleVersion());
        std::string address = baseA + "/page.html";
        bool windowObject = true;
        std::vector<TagParam> params;
        std::vector<std::string> shows;
        std::istringstream lines(input);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("param ", 0) == 0) {
                const std::string rest = line.substr(6);
                const std::size_t eq = rest.find('=');
                if (eq == std::string::npos)
                    params.push_back({rest, std::nullopt});
                else
                    params.push_back({rest.substr(0, eq), rest.substr(eq + 1)});
            } else if (line.rfind("address ", 0) == 0) {
                address = line.substr(8);
            } else if (line == "no-window-object") {
                windowObject = false;
            } else if (line.rfind("show ", 0) == 0) {
                shows.push_back(line.substr(5));
            } else {
                ADD_FAILURE() << c.name << ": cannot read " << line;
            }
        }
        a.ClearRequests();
        b.ClearRequests();
        std::string out;
        {
            PageRun run(address, windowObject, params);
            CMorvaXEditorCtrl* control = run.Control();
            ASSERT_NE(nullptr, control) << c.name;
            for (const std::string& show : shows) {
                if (show == "reminders") {
                    out += "reminders: " + std::to_string(run.host->Ui().shown) + "\n";
                } else if (show == "requests") {
                    out += "requests:";
                    for (const qmtest::RecordedRequest& r : a.Requests())
                        out += " " + r.method + " " + r.target;
                    out += "\n";
                } else if (show.rfind("sent ", 0) == 0) {
                    // A header of the first request: its length when long.
                    const std::string name = show.substr(5);
                    const auto requests = a.Requests();
                    const std::string* value = requests.empty() ? nullptr : requests[0].Header(name);
                    std::string shown = value ? *value : "(none)";
                    if (shown.size() > 40)
                        shown = std::to_string(shown.size()) + " characters";
                    out += "sent " + name + ": " + shown + "\n";
                } else if (Shows().count(show)) {
                    out += show + ": " + Shows().at(show)(*control) + "\n";
                } else {
                    ADD_FAILURE() << c.name << ": nothing to show as " << show;
                }
            }
        }
        ReplaceAll(out, baseA, "$A");
        ReplaceAll(out, baseB, "$B");
        file.Check(c, out);
    }
}

TEST(ParamRulesTest, SwitchRulesSetClearOrKeep)
{
    // Each value against each rule, from off and from on: the two results.
    struct Case
    {
        const char* value;
        const char* results; // rules 1 to 5: "<from off><from on>"
    } cases[] = {
        {"", "01 00 01 11 01"},
        {"  ", "01 00 01 11 01"},
        {" Yes ", "11 11 11 11 11"},
        {"TRUE", "11 11 11 11 11"},
        {"no", "00 00 00 00 01"},
        {"False", "00 00 00 00 01"},
        {"none", "00 00 01 00 01"},
        {"maybe", "00 00 01 11 01"},
        {"  no", "00 00 00 00 01"},
    };
    for (const Case& c : cases) {
        std::string got;
        for (int rule = 1; rule <= 5; ++rule) {
            if (rule > 1)
                got += " ";
            for (unsigned char start : {0, 1}) {
                unsigned char s = start;
                ApplySwitchRule(rule, qmtest::FromUtf8(c.value), s);
                got += s ? "1" : "0";
            }
        }
        EXPECT_EQ(c.results, got) << '"' << c.value << '"';
    }
}

TEST(ParamRulesTest, DottedVersionsWeighFourParts)
{
    EXPECT_GT(CMorvaXEditorCtrl::VersionWeight(qmtest::FromUtf8("3.10")),
        CMorvaXEditorCtrl::VersionWeight(qmtest::FromUtf8("3.9")));
    EXPECT_EQ(3010203, CMorvaXEditorCtrl::VersionWeight(qmtest::FromUtf8("3.1.2.3.9")));
    EXPECT_EQ(0, CMorvaXEditorCtrl::VersionWeight(qmtest::FromUtf8("")));
    EXPECT_EQ(2000000, CMorvaXEditorCtrl::VersionWeight(qmtest::FromUtf8("2.x")));
}
