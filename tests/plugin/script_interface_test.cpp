// Page script on the editor's scriptable object, through the test host and
// the editor's module: names matched without regard to case, values
// converted both ways, properties written and read back, methods run, and
// every string handed over through the browser's memory (the host's
// accounting reports a leak, a foreign block or a double free).
//
// tests/data/plugin/script_properties.txt holds the cases: each a fresh
// instance with the tag's parameters, then steps, each answered by a line.
//   param NAME [VALUE]       a tag parameter (before the window arrives)
//   set NAME VALUE           a property write
//   get NAME                 a property read
//   call NAME [VALUE...]     a method call
//   has NAME                 has-property and has-method
//   window WIDTH HEIGHT      the browser gives the plug-in a new window size
//   update                   the browser's update event
// VALUE: "text" (\" \\ \n escapes), true, false, an integer, a number with
// a point (a double), void or null.

#include "host/Host.h"
#include "host/Identifiers.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/FixedClock.h"
#include "tests/common/PngPixels.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace qm::host;

namespace {

const char* const kMime = "application/x-quillmark";

// Splits a step's words; a quoted word keeps its blanks.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            word += '"';
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    const char next = line[++i];
                    word += next == 'n' ? '\n' : next;
                } else {
                    word += line[i];
                }
            }
            ++i;
        } else {
            while (i < line.size() && line[i] != ' ')
                word += line[i++];
        }
        words.push_back(word);
    }
    return words;
}

// A "param NAME [VALUE]" line's tag parameter.
TagParam ParamOf(const std::vector<std::string>& w)
{
    return {w[1], w.size() > 2 ? std::optional<std::string>(w[2].substr(w[2][0] == '"')) : std::nullopt};
}

// Where two pictures of the window differ: "the same", or the first and
// last rows that differ.
std::string Difference(const qmtest::PngPixels& a, const qmtest::PngPixels& b)
{
    if (a.width != b.width || a.height != b.height)
        return "another size";
    int first = -1, last = -1;
    const std::size_t row = std::size_t(a.width) * 4;
    for (int y = 0; y < a.height; ++y) {
        for (std::size_t i = y * row; i < (y + 1) * row; i += 4) {
            if (a.rgba[i] != b.rgba[i] || a.rgba[i + 1] != b.rgba[i + 1] || a.rgba[i + 2] != b.rgba[i + 2]) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return first < 0 ? "the same"
                     : "rows " + std::to_string(first) + " to " + std::to_string(last) + " differ";
}

ScriptValue ValueOf(const std::string& word)
{
    if (!word.empty() && word[0] == '"')
        return ScriptValue::String(word.substr(1));
    if (word == "true" || word == "false")
        return ScriptValue::Bool(word == "true");
    if (word == "void")
        return ScriptValue::Void();
    if (word == "null")
        return ScriptValue::Null();
    if (word.find('.') != std::string::npos)
        return ScriptValue::Double(std::stod(word));
    return ScriptValue::Int(std::stoi(word));
}

class ScriptInterfaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("script-home-")));
        host = std::make_unique<Host>();
        std::string error;
        ASSERT_TRUE(host->Load(QM_PLUGIN_MODULE, error)) << error;
    }

    void TearDown() override
    {
        host->Destroy();
        host->Unload();
        EXPECT_EQ(std::vector<std::string>(), host->Problems()) << host->Log().Text();
    }

    bool Start(const std::vector<TagParam>& params, int width = 500, int height = 300)
    {
        windowWidth = width;
        windowHeight = height;
        return host->New(kMime, params) && host->SetWindow(0, 0, width, height);
    }

    // One step of a case, answered by its line.
    std::string Step(const std::vector<std::string>& w)
    {
        ScriptValue out;
        if (w[0] == "get") {
            const bool ok = host->Get(w[1], out);
            return "get " + w[1] + " -> " + (ok ? out.Describe() : "failed");
        }
        if (w[0] == "set") {
            const ScriptValue v = ValueOf(w[2]);
            const bool ok = host->Set(w[1], v);
            return "set " + w[1] + " = " + v.Describe() + " -> " + (ok ? "ok" : "refused");
        }
        if (w[0] == "call") {
            std::vector<ScriptValue> args;
            std::string shown;
            for (std::size_t i = 2; i < w.size(); ++i) {
                args.push_back(ValueOf(w[i]));
                shown += (i > 2 ? ", " : "") + args.back().Describe();
            }
            const bool ok = host->Invoke(w[1], args, out);
            return "call " + w[1] + "(" + shown + ") -> " + (ok ? out.Describe() : "false");
        }
        if (w[0] == "has") {
            NPObject* object = host->ScriptableObject();
            const NPIdentifier id = Identifiers::Get().ForString(w[1].c_str());
            const bool property = Browser::HasProperty(host->Instance(), object, id);
            const bool method = Browser::HasMethod(host->Instance(), object, id);
            host->ReleaseObject(object);
            return "has " + w[1] + " -> property " + (property ? "yes" : "no") + ", method "
                + (method ? "yes" : "no");
        }
        if (w[0] == "window") {
            windowWidth = std::stoi(w[1]);
            windowHeight = std::stoi(w[2]);
            const bool ok = host->SetWindow(0, 0, windowWidth, windowHeight);
            return "window " + w[1] + "x" + w[2] + " -> " + (ok ? "ok" : "refused");
        }
        if (w[0] == "update") {
            host->Update();
            return "update";
        }
        ADD_FAILURE() << "unknown step " << w[0];
        return "?";
    }

    // The window's pixels as shown now.
    std::vector<unsigned char> Picture(const std::string& name) { return Pixels(name, true).rgba; }

    // The window's pixels, after an update or as the last drawing left them.
    qmtest::PngPixels Pixels(const std::string& name, bool update)
    {
        if (update)
            host->Update();
        const std::string path = qmtest::TestOutputPath("script-" + name + "-") + ".png";
        qmtest::PngPixels png;
        EXPECT_TRUE(host->WritePNG(path) && qmtest::ReadPng(path, png)) << name;
        return png;
    }

    qmtest::TempHome home;
    std::unique_ptr<Host> host;
    // The window's size as the last start or "window" step left it.
    int windowWidth = 500;
    int windowHeight = 300;
};

} // namespace

TEST_F(ScriptInterfaceTest, PropertiesAndMethodsAnswerAsTheCasesSay)
{
    qmtest::CaseBlockFile file("plugin/script_properties.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::istringstream lines(c.input);
        std::string line, answers;
        std::vector<TagParam> params;
        bool started = false;
        while (std::getline(lines, line)) {
            const std::vector<std::string> w = Words(line);
            if (w.empty())
                continue;
            if (w[0] == "param") {
                params.push_back(ParamOf(w));
                continue;
            }
            if (!started) {
                ASSERT_TRUE(Start(params)) << c.name;
                started = true;
            }
            answers += Step(w) + "\n";
        }
        file.Check(c, answers);
        host->Destroy();
        EXPECT_EQ(std::vector<std::string>(), host->Problems()) << c.name << "\n" << host->Log().Text();
    }
}

// What page script changes is drawn where a fresh editor given the same
// settings as tag parameters draws it: at once, as the write leaves the
// window, and again after an update. Each case of
// tests/data/plugin/script_repaint.txt: "param" lines, the steps, and "like"
// lines, the parameters that give the fresh editor the same settings; it
// starts in the window size the steps left. The local time is fixed: the
// source view's first line names the second its markup was made, and the
// two editors of a case must not show two different seconds there.
TEST_F(ScriptInterfaceTest, WhatScriptChangesIsDrawnWhereAFreshEditorDrawsIt)
{
    qmtest::FixedLocalTime time(qmtest::LocalTime(2026, 12, 8, 1, 2, 3));
    qmtest::CaseBlockFile file("plugin/script_repaint.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::istringstream lines(c.input);
        std::vector<TagParam> params, like;
        std::vector<std::vector<std::string>> steps;
        for (std::string line; std::getline(lines, line);) {
            const std::vector<std::string> w = Words(line);
            if (w.empty())
                continue;
            if (w[0] == "param" || w[0] == "like")
                (w[0] == "param" ? params : like).push_back(ParamOf(w));
            else
                steps.push_back(w);
        }
        ASSERT_TRUE(Start(params)) << c.name;
        host->Update();
        std::string answers;
        for (const std::vector<std::string>& w : steps)
            answers += Step(w) + "\n";
        const qmtest::PngPixels atOnce = Pixels("at-once", false);
        const qmtest::PngPixels updated = Pixels("updated", true);
        host->Destroy();
        // The fresh editor: the case's parameters, those named again by
        // "like" lines replaced.
        std::vector<TagParam> fresh;
        for (const TagParam& p : params) {
            bool replaced = false;
            for (const TagParam& l : like)
                replaced = replaced || l.name == p.name;
            if (!replaced)
                fresh.push_back(p);
        }
        fresh.insert(fresh.end(), like.begin(), like.end());
        // The fresh editor starts in the window the steps left.
        ASSERT_TRUE(Start(fresh, windowWidth, windowHeight)) << c.name;
        const qmtest::PngPixels reference = Pixels("fresh", true);
        host->Destroy();
        answers += "drawn at once: " + Difference(atOnce, reference) + "\n";
        answers += "after an update: " + Difference(updated, reference) + "\n";
        file.Check(c, answers);
        EXPECT_EQ(std::vector<std::string>(), host->Problems()) << c.name << "\n" << host->Log().Text();
    }
}

// The host's fixed local time is the one the module reads: the value's
// generator comment names it.
TEST_F(ScriptInterfaceTest, TheValueIsStampedWithTheLocalTimeTheHostFixed)
{
    qmtest::FixedLocalTime time(qmtest::LocalTime(2026, 12, 8, 1, 2, 3));
    ASSERT_TRUE(Start({{"Value", std::string("<p>x</p>")}}));
    ScriptValue out;
    ASSERT_TRUE(host->Get("Value", out));
    EXPECT_NE(std::string::npos, out.text.find(" on 2026-12-08T01:02:03 -->")) << out.text;
}

// An identifier made from a number names no method and no property, and
// the calls that reach the control answer as for an unknown name.
TEST_F(ScriptInterfaceTest, AnIntegerIdentifierNamesNothing)
{
    ASSERT_TRUE(Start({{"Value", std::string("<p>x</p>")}}));
    NPObject* object = host->ScriptableObject();
    ASSERT_NE(nullptr, object);
    const NPIdentifier id = Identifiers::Get().ForInt(0);
    EXPECT_FALSE(Browser::HasProperty(host->Instance(), object, id));
    EXPECT_FALSE(Browser::HasMethod(host->Instance(), object, id));
    NPVariant result;
    result.type = NPVariantType_Int32;
    result.value.intValue = 7;
    EXPECT_FALSE(object->_class->invoke(object, id, nullptr, 0, &result));
    EXPECT_TRUE(object->_class->getProperty(object, id, &result));
    EXPECT_EQ(NPVariantType_Int32, result.type) << "the result is left as it was";
    NPVariant value;
    value.type = NPVariantType_Bool;
    value.value.boolValue = true;
    EXPECT_TRUE(object->_class->setProperty(object, id, &value));
    EXPECT_FALSE(object->_class->invokeDefault(object, nullptr, 0, &result));
    EXPECT_FALSE(object->_class->removeProperty(object, id));
    host->ReleaseObject(object);
}

// "clearcache" reaches the control's ClearCache: the temporary folder's
// files go.
TEST_F(ScriptInterfaceTest, ClearCacheInAnyCaseEmptiesTheTemporaryFolder)
{
    ASSERT_TRUE(Start({}));
    const std::string temp = home.Path() + "/Library/Application Support/Quillmark/Temp";
    ASSERT_TRUE(qmtest::WriteFile(temp + "/left.html", "x"));
    ScriptValue out;
    EXPECT_TRUE(host->Invoke("clearcache", {}, out));
    EXPECT_EQ(NPVariantType_Void, out.type);
    EXPECT_FALSE(qmtest::Exists(temp + "/left.html"));
}

// Before the first window there is no control: every call that would reach
// it answers false, and nothing is handed over.
TEST_F(ScriptInterfaceTest, BeforeTheFirstWindowEveryCallAnswersFalse)
{
    ASSERT_TRUE(host->New(kMime, {{"Value", std::string("<p>x</p>")}}));
    ScriptValue out;
    EXPECT_FALSE(host->Get("Value", out));
    EXPECT_FALSE(host->Set("ShowToolbar", ScriptValue::Bool(false)));
    EXPECT_FALSE(host->Invoke("toString", {}, out));
    NPObject* object = host->ScriptableObject();
    ASSERT_NE(nullptr, object);
    const NPIdentifier id = Identifiers::Get().ForString("Value");
    EXPECT_FALSE(Browser::HasProperty(host->Instance(), object, id));
    EXPECT_FALSE(Browser::HasMethod(host->Instance(), object, Identifiers::Get().ForString("toString")));
    host->ReleaseObject(object);
    // The window makes the control, which then answers.
    ASSERT_TRUE(host->SetWindow(0, 0, 500, 300));
    EXPECT_TRUE(host->Get("Value", out));
    EXPECT_EQ(NPVariantType_String, out.type);
}

// A toolbar string written while its view shows rebuilds the bars at once;
// one of another view only shows at the next switch to that view.
TEST_F(ScriptInterfaceTest, AToolbarStringShowsInItsOwnViewOnly)
{
    ASSERT_TRUE(Start({{"Value", std::string("<p>x</p>")}}));
    // The default bars rebuilt, with their states refreshed.
    EXPECT_TRUE(host->Set("ToolbarWysiwyg", ScriptValue::String("")));
    const std::vector<unsigned char> start = Picture("start");
    ASSERT_FALSE(start.empty());
    EXPECT_TRUE(host->Set("ToolbarSource", ScriptValue::String("bold")));
    EXPECT_TRUE(Picture("source-string") == start) << "the WYSIWYG bars stay";
    EXPECT_TRUE(host->Set("ToolbarWysiwyg", ScriptValue::String("bold")));
    EXPECT_FALSE(Picture("wysiwyg-string") == start) << "the WYSIWYG bars are rebuilt";
    EXPECT_TRUE(host->Set("ToolbarWysiwyg", ScriptValue::String("")));
    EXPECT_TRUE(Picture("default-string") == start) << "an empty string gives the default bars";
    // The source string written in WYSIWYG shows after the switch: the
    // source view with it differs from the source view with the default.
    EXPECT_TRUE(host->Set("ToolbarSource", ScriptValue::String("bold")));
    EXPECT_TRUE(host->Set("Mode", ScriptValue::String("source")));
    const std::vector<unsigned char> sourceBold = Picture("source-bold");
    EXPECT_TRUE(host->Set("ToolbarSource", ScriptValue::String("")));
    EXPECT_FALSE(Picture("source-default") == sourceBold) << "the source bars came from the string";
}

// A new window size lays the document out again; nothing of it is drawn
// over the toolbar, then or at the next update. (The document's background
// is a green no part of the control uses.)
TEST_F(ScriptInterfaceTest, ANewWindowSizeDrawsTheDocumentOnlyInItsArea)
{
    std::string doc = "<html><head><style>body{background:#0f0}</style></head><body>";
    for (int i = 0; i < 6; ++i)
        doc += "<h1>Heading " + std::to_string(i) + "</h1>";
    ASSERT_TRUE(host->New(kMime, {{"Value", doc + "</body></html>"}}) && host->SetWindow(20, 10, 500, 400));
    host->Update();
    // The green pixels above the editing area (it starts 60 pixels into
    // the plug-in's area, below the two rows of the toolbar) and in it.
    auto green = [](const qmtest::PngPixels& png, bool above) {
        int count = 0;
        for (int y = above ? 0 : 70; y < (above ? 70 : png.height); ++y)
            for (int x = 0; x < png.width; ++x) {
                const unsigned char* p = &png.rgba[(std::size_t(y) * png.width + x) * 4];
                count += p[0] == 0 && p[1] == 255 && p[2] == 0;
            }
        return count;
    };
    ASSERT_TRUE(host->SetWindow(20, 10, 400, 150));
    EXPECT_EQ(0, green(Pixels("smaller", false), true));
    const qmtest::PngPixels updated = Pixels("smaller-updated", true);
    EXPECT_EQ(0, green(updated, true));
    EXPECT_GT(green(updated, false), 0);
}
