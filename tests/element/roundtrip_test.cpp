// Round trips through the whole reading and writing path: a real document
// of 150 KB and a pretty-printed page through qm-roundtrip (no text lost,
// every word kept apart from its neighbours, the output a fixed point),
// qm-roundtrip's answers to input it cannot read, and trees nested as deep
// as the parser allows, read, repaired, written and destroyed on a small
// stack.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/MarkupEntities.h"
#include "element/markup/SourceCode.h"
#include "tests/common/SmallStack.h"

#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <pthread.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kTool = "tools/qm-roundtrip"; // tests run in the build folder
const std::string kOut = QM_TEST_OUTPUT_DIR;

struct ToolRun
{
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ToolRun RunTool(const std::string& args, const std::string& name)
{
    const std::string out = kOut + "/" + name + ".out", err = kOut + "/" + name + ".err";
    ToolRun run;
    int raw = std::system((kTool + " " + args + " >" + out + " 2>" + err).c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
}

// The markup parsed as the reader parses it (named references read the way
// the reader reads them); null when it does not parse.
xmlDoc* Parse(const std::string& markup)
{
    CSafeBuf text;
    text.AssignUTF8(markup.c_str());
    PrepareMarkupEntities(text);
    char* utf8 = nullptr;
    int n = text.CreateUTF8Str(&utf8);
    xmlDoc* doc = xmlReadMemory(utf8, n, "text.xml", "UTF-8", XML_PARSE_NONET | XML_PARSE_NOERROR);
    delete[] utf8;
    return doc;
}

bool IsInlineTag(const xmlChar* name)
{
    static const char* const kInline[]
        = {"a", "abbr", "acronym", "b", "bdo", "big", "cite", "code", "dfn", "em", "font", "i", "kbd", "q",
            "s", "samp", "small", "span", "strike", "strong", "sub", "sup", "tt", "u", "var"};
    for (const char* tag : kInline) {
        if (xmlStrcmp(name, BAD_CAST tag) == 0)
            return true;
    }
    return false;
}

// The text of n's subtree as a browser separates it: every element but the
// inline ones ends a word.
void AppendShownText(const xmlNode* n, std::string& out)
{
    for (const xmlNode* c = n->children; c; c = c->next) {
        if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
            out += reinterpret_cast<const char*>(c->content);
        } else if (c->type == XML_ELEMENT_NODE) {
            const bool apart = !IsInlineTag(c->name);
            if (apart)
                out += ' ';
            AppendShownText(c, out);
            if (apart)
                out += ' ';
        }
    }
}

// The words of the body, in order.
std::vector<std::string> BodyWords(const std::string& markup)
{
    std::vector<std::string> words;
    xmlDoc* doc = Parse(markup);
    if (!doc)
        return words;
    std::string text;
    for (xmlNode* c = xmlDocGetRootElement(doc)->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && xmlStrcmp(c->name, BAD_CAST "body") == 0)
            AppendShownText(c, text);
    }
    xmlFreeDoc(doc);
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The first place where two word sequences part, for a failure message.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    auto at = [i](const std::vector<std::string>& w) {
        return i < w.size() ? w[i] + (i + 1 < w.size() ? " " + w[i + 1] : "") : "(end)";
    };
    return "word " + std::to_string(i) + ": \"" + at(a) + "\" became \"" + at(b) + "\"";
}

// The body's text content.
std::string BodyText(const std::string& markup)
{
    xmlDoc* doc = Parse(markup);
    std::string out;
    if (!doc)
        return out;
    for (xmlNode* c = xmlDocGetRootElement(doc)->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && xmlStrcmp(c->name, BAD_CAST "body") == 0) {
            xmlChar* content = xmlNodeGetContent(c);
            out = reinterpret_cast<const char*>(content);
            xmlFree(content);
        }
    }
    xmlFreeDoc(doc);
    return out;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string NonBlank(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (!IsSpace(c))
            out += c;
    }
    return out;
}

std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes, static_cast<size_t>(n));
    delete[] bytes;
    return out;
}

} // namespace

TEST(RoundTrip, RealDocumentKeepsItsTextAndIsAFixedPoint)
{
    const std::string source = std::string(QM_TEST_DATA_DIR) + "/markup/genesis.xhtml";
    const std::string original = ReadAll(source);
    ASSERT_GE(original.size(), 100u * 1024);
    // Every character of text content goes in and comes out; white space may
    // change where blocks meet.
    const std::string characters = NonBlank(BodyText(original));
    ASSERT_GT(characters.size(), 90000u);
    const std::vector<std::string> words = BodyWords(original);

    for (const std::string mode : {"", "--compact "}) {
        ToolRun first = RunTool(mode + source, "genesis1");
        ASSERT_EQ(first.status, 0) << first.err;
        EXPECT_TRUE(NonBlank(BodyText(first.out)) == characters) << mode << "text content changed";
        const std::vector<std::string> after = BodyWords(first.out);
        EXPECT_TRUE(after == words) << mode << FirstDifference(words, after);
        WriteAll(kOut + "/genesis1.xhtml", first.out);
        ToolRun second = RunTool(mode + kOut + "/genesis1.xhtml", "genesis2");
        ASSERT_EQ(second.status, 0) << second.err;
        EXPECT_TRUE(second.out == first.out) << mode << "the output read again gives another output";
    }
}

// A page pretty-printed by a tool, inline elements at the ends of its lines:
// every word stays a word of its own.
TEST(RoundTrip, PrettyPrintedPageKeepsEveryWordApart)
{
    const std::string source = std::string(QM_TEST_DATA_DIR) + "/markup/pretty.xhtml";
    const std::vector<std::string> words = BodyWords(ReadAll(source));
    ASSERT_GT(words.size(), 80u);
    for (const std::string mode : {"", "--compact "}) {
        ToolRun first = RunTool(mode + source, "pretty1");
        ASSERT_EQ(first.status, 0) << first.err;
        const std::vector<std::string> after = BodyWords(first.out);
        EXPECT_TRUE(after == words) << mode << FirstDifference(words, after);
        WriteAll(kOut + "/pretty1.xhtml", first.out);
        ToolRun second = RunTool(mode + kOut + "/pretty1.xhtml", "pretty2");
        ASSERT_EQ(second.status, 0) << second.err;
        EXPECT_TRUE(second.out == first.out) << mode << "the output read again gives another output";
    }
}

TEST(RoundTrip, InputThatDoesNotReadAnswersWithAReasonAndStatusOne)
{
    struct Bad
    {
        const char* name;
        std::string bytes;
        const char* reason; // a piece of the message
    };
    const Bad cases[] = {
        {"unclosed", "<p><b>bold</p>", "mismatch"},
        {"ampersand", "<p>fish & chips</p>", "EntityRef"},
        {"latin1", "<p>caf\xE9</p>", "UTF-8"},
        {"empty", "", "empty"},
        {"blank", " \n\t", "Start tag expected"},
        {"zero", std::string("<p>a\0b</p>", 10), "0x0"},
    };
    for (const Bad& bad : cases) {
        const std::string path = kOut + "/bad-" + bad.name + ".xhtml";
        WriteAll(path, bad.bytes);
        ToolRun run = RunTool(path, bad.name);
        EXPECT_EQ(run.status, 1) << bad.name;
        EXPECT_TRUE(run.out.empty()) << bad.name;
        EXPECT_NE(run.err.find(bad.reason), std::string::npos) << bad.name << ": " << run.err;
    }
    ToolRun folder = RunTool(kOut, "folder");
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("folder"), std::string::npos) << folder.err;
    ToolRun missing = RunTool(kOut + "/no-such-file", "missing");
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.err.empty());
}

// Each pattern nested as deep as the parser takes it (its "huge" option is
// never used, so about 256 levels): the tree is read, repaired, written in
// both forms, read again to the same markup and destroyed on a 1 MB stack.
TEST(RoundTrip, TreesAsDeepAsTheParserAllows)
{
    struct Pattern
    {
        const char* name;
        std::string open, inner, close;
    };
    const Pattern patterns[] = {
        {"div", "<div>", "x", "</div>"},
        {"inline with a break", "<b>", "a<br/>b", "</b>"},
        {"items without lists", "<li>", "x", "</li>"},
        {"tables", "<table><tr><td>", "x", "</td></tr></table>"},
        {"quotes", "<blockquote>t", "x", "</blockquote>"},
    };
    CXHTML engine;
    for (const Pattern& p : patterns) {
        int depth = 0;
        std::string markup;
        CSafeBuf error;
        // The deepest nesting that still parses.
        for (int n = 400; n > 0 && depth == 0; --n) {
            int opened = 0;
            std::string candidate;
            for (; opened < n; ++opened)
                candidate += p.open;
            candidate += p.inner;
            for (int i = 0; i < opened; ++i)
                candidate += p.close;
            CMarkupDocument probe(nullptr);
            if (probe.Read(candidate.data(), candidate.size(), error)) {
                depth = n;
                markup = candidate;
            }
        }
        int elementsPerLevel = 0;
        for (char ch : p.open)
            elementsPerLevel += ch == '<';
        ASSERT_GE(depth * elementsPerLevel + 1, 250) << p.name; // the body's content as deep as it goes
        std::string compact, indented, again;
        bool done = false;
        ASSERT_TRUE(qmtest::RunOnSmallStack(
            [&] {
                CMarkupDocument doc(&engine);
                CSafeBuf out;
                if (!doc.Read(markup.data(), markup.size(), error))
                    return;
                doc.Write(out, 0);
                compact = Utf8(out);
                doc.Write(out, kSourceIndent);
                indented = Utf8(out);
                CMarkupDocument reread(&engine);
                if (!reread.Read(compact.data(), compact.size(), error))
                    return;
                reread.Write(out, 0);
                again = Utf8(out);
                done = true;
            },
            1024 * 1024));
        EXPECT_TRUE(done) << p.name;
        EXPECT_EQ(again, compact) << p.name;
        EXPECT_FALSE(indented.empty()) << p.name;
        EXPECT_EQ(engine.m_doc.m_registry.GetCount(), 0) << p.name;
    }
}

// Wrappers take a tree past the parser's depth, and below them stand
// elements whose content the repair does not look into (a centre is neither
// a block nor inline): the levels below those count as well, so the tree
// written still reads back, to the same markup.
TEST(RoundTrip, LevelsBelowWhatTheRepairPassesOverCount)
{
    const struct
    {
        const char* name;
        int items;
        std::string open, close;
    } cases[] = {
        {"centres", 120, "<center>", "</center>"},
        {"quotes in centres", 100, "<center><q>", "</q></center>"},
        {"centres past the items' lists", 60, "<center>", "</center>"},
    };
    CXHTML engine;
    for (const auto& c : cases) {
        std::string markup;
        for (int i = 0; i < c.items; ++i)
            markup += "<li>";
        // As deep as the parser reads, 240 levels below the body.
        const int perLevel = static_cast<int>(std::count(c.open.begin(), c.open.end(), '<'));
        const int inner = (240 - c.items) / perLevel;
        for (int i = 0; i < inner; ++i)
            markup += c.open;
        markup += "x";
        for (int i = 0; i < inner; ++i)
            markup += c.close;
        for (int i = 0; i < c.items; ++i)
            markup += "</li>";
        CSafeBuf error, out;
        CMarkupDocument doc(&engine);
        ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error)) << c.name;
        doc.Write(out, 0);
        const std::string compact = Utf8(out);
        CMarkupDocument reread(&engine);
        ASSERT_TRUE(reread.Read(compact.data(), compact.size(), error)) << c.name << ": " << Utf8(error);
        reread.Write(out, 0);
        EXPECT_EQ(Utf8(out), compact) << c.name;
    }
}
