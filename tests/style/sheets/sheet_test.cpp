// Style sheets into rule lists: the rule cases of tests/data/css_sheets,
// declarations kept whole, malformed sheets, loading from locations through
// the cache and the network loader, and copying lists.

#include "document/XDoc.h"
#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "style/sheets/StyleClass.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/net/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>
#include <string>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

// One line a rule: selector group, specificities, declarations.
std::string ListRules(const STYLE_CLASS* rules)
{
    std::string out;
    for (const STYLE_CLASS* r = rules; r; r = r->next) {
        out += ToUtf8(r->selectorText) + " {";
        for (const STYLE_SELECTOR* s = r->selectors; s; s = s->next)
            out += (s == r->selectors ? "" : " ") + std::to_string(s->specificity);
        out += "}";
        for (const STYLE_DECLARATION& d : r->declarations)
            out += " " + ToUtf8(d.name) + ": " + ToUtf8(d.value) + ";";
        if (r->invalid)
            out += " invalid";
        out += "\n";
    }
    return out;
}

int CountRules(const STYLE_CLASS* rules)
{
    int n = 0;
    for (; rules; rules = rules->next)
        ++n;
    return n;
}

} // namespace

TEST(StyleSheets, RuleCases)
{
    qmtest::CaseBlockFile file("css_sheets/rules.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CXDoc doc;
        doc.LoadStyleClass(FromUtf8(c.input), 0, false, 0);
        file.Check(c, ListRules(doc.m_workingRules));
    }
}

TEST(StyleSheets, DeclarationsAreKeptWhole)
{
    std::string body;
    for (int i = 0; i < 40; ++i)
        body += "x-" + std::to_string(i) + "-" + std::string(40, 'n') + ": v" + std::to_string(i) + ";";
    const std::string longValue = "\"" + std::string(500, 'q') + "\"";
    body += "-qm-marker-label: " + longValue;
    const std::string selector = "body div.outer > ul.menu li.item a" + std::string(300, 'z');
    CXDoc doc;
    ASSERT_TRUE(doc.LoadStyleClass(FromUtf8(selector + " {" + body + "}"), 0, false, 0));
    ASSERT_NE(doc.m_workingRules, nullptr);
    const STYLE_CLASS& r = *doc.m_workingRules;
    EXPECT_EQ(ToUtf8(r.selectorText), selector);
    ASSERT_EQ(r.DeclarationCount(), 41);
    EXPECT_EQ(ToUtf8(r.declarations[39].name), "x-39-" + std::string(40, 'n'));
    EXPECT_EQ(ToUtf8(r.declarations[40].value), longValue);
    EXPECT_FALSE(r.invalid);
}

TEST(StyleSheets, MalformedSheetsAreSurvived)
{
    const std::string unclosed = "p { color: red } " + std::string(20000, '{') + "q { color: blue }";
    const std::string nested = "p {" + std::string(20000, '{') + std::string(20000, '}') + "} q { a: b }";
    std::string garbage(64 * 1024, '\0');
    std::mt19937 random(7);
    for (char& c : garbage)
        c = static_cast<char>(1 + random() % 255);
    std::string big;
    for (int i = 0; big.size() < 1024 * 1024; ++i)
        big += ".c" + std::to_string(i) + " > li a:first-child { color: red; margin: 1px }\n";

    struct Case
    {
        const std::string* text;
        int fewest, most; // rules kept
    } cases[] = {{&unclosed, 2, 2}, {&nested, 2, 2}, {&garbage, 0, 1 << 20}, {&big, 15000, 1 << 20}};
    for (const Case& c : cases) {
        CXDoc doc;
        CSafeBuf text;
        text.AssignUTF8(c.text->c_str());
        doc.LoadStyleClass(text, 0, false, 0);
        const int n = CountRules(doc.m_workingRules);
        EXPECT_GE(n, c.fewest);
        EXPECT_LE(n, c.most);
    }
}

TEST(StyleSheets, CopiesAreDeepAndReplaceOrPrecede)
{
    CXDoc doc;
    doc.LoadStyleClass(FromUtf8("p.a > b { color: red } q { x: y }"), 0, false, 0);
    doc.LoadStyleClass(FromUtf8("em { color: blue }"), 0, false, 1);
    ASSERT_TRUE(doc.CopyStyles(doc.m_workingRules, doc.m_savedRules, false));
    const std::string page = ListRules(doc.m_workingRules);
    doc.FreeStyleClass(1);
    EXPECT_EQ(doc.m_workingRules, nullptr);
    EXPECT_EQ(ListRules(doc.m_savedRules), page) << "the copy outlives its source";

    doc.LoadStyleClass(FromUtf8("h1 { a: b }"), 0, false, 0);
    ASSERT_TRUE(doc.CopyStyles(doc.m_savedRules, doc.m_workingRules, true));
    EXPECT_EQ(ListRules(doc.m_workingRules), page + "h1 {1} a: b;\n");
    ASSERT_TRUE(doc.CopyStyles(doc.m_editorRules, doc.m_workingRules, false));
    EXPECT_EQ(ListRules(doc.m_workingRules), "em {1} color: blue;\n");
}

namespace {

class SheetLocationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("sheets-home-")));
        control = new CMorvaXEditorCtrl();
        control->EnableCache = 1;
        engine.m_control = control;
        ASSERT_TRUE(server.Ok());
    }
    void TearDown() override
    {
        engine.m_control = nullptr;
        delete control;
    }

    // Loads a location into the working list and lists what it added.
    std::string Load(const std::string& location, bool rebase = false)
    {
        engine.m_doc.FreeStyleClass(1);
        engine.m_doc.LoadStyleClass(FromUtf8(location), 2, rebase, 0);
        return ListRules(engine.m_doc.m_workingRules);
    }

    std::string CacheFileOf(const std::string& url)
    {
        CSafeBuf location = FromUtf8(url), cacheFile;
        control->GetCacheFile(location, cacheFile);
        return ToUtf8(cacheFile);
    }

    qmtest::TempHome home;
    qmtest::LoopbackServer server;
    CMorvaXEditorCtrl* control = nullptr;
    CXHTML engine;
};

} // namespace

TEST_F(SheetLocationTest, FetchedOnceThenReadFromTheCache)
{
    server.Answer("/css/site.css", 200, "p { background: url(img/a.png) }\nh1 { color: red }");
    const std::string url = server.Url("/css/site.css");
    const std::string base = server.Url("/css/");
    EXPECT_EQ(Load(url, true), "p {1} background: url(\"" + base + "img/a.png\");\nh1 {1} color: red;\n");
    EXPECT_TRUE(qmtest::Exists(CacheFileOf(url)));
    server.Answer("/css/site.css", 200, "em { color: blue }");
    EXPECT_EQ(Load(url), "p {1} background: url(img/a.png);\nh1 {1} color: red;\n");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(SheetLocationTest, FailedFetchesAndWebPagesAddNothingAndLeaveNoCacheFile)
{
    server.Answer("/missing.css", 404, "p { color: red }");
    server.Answer("/page.css", 200, "<!DOCTYPE html>\n<html><body>h1 { color: red }</body></html>");
    for (const char* path : {"/missing.css", "/page.css"}) {
        const std::string url = server.Url(path);
        EXPECT_EQ(Load(url), "") << path;
        EXPECT_FALSE(qmtest::Exists(CacheFileOf(url))) << path;
    }
}

TEST_F(SheetLocationTest, LocalSheetsAreReadOnlyWhenNamed)
{
    const std::string folder = home.Path() + "/sheets";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_TRUE(qmtest::WriteFile(folder + "/a.css", "\xEF\xBB\xBFp { -qm-marker-label: \"\xC3\xBC\" }"));
    ASSERT_TRUE(qmtest::WriteFile(folder + "/b.css", "p { -qm-marker-label: \"\xC3\xBC\" }"));
    EXPECT_EQ(Load(folder + "/a.css"), "p {1} -qm-marker-label: \"\xC3\xBC\";\n");
    EXPECT_EQ(Load("file://" + folder + "/b.css"), "p {1} -qm-marker-label: \"\xC3\xBC\";\n");
    EXPECT_EQ(Load(folder + "/none.css"), "");
    // Text with a brace is a sheet, never a file name.
    EXPECT_EQ(Load("p{}" + folder + "/a.css"), "p {1}\n");
}
