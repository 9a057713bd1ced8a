// Real documents nobody here wrote (the HTML documentation of Debian packages,
// tests/data/corpus/<package>/ with each package's copyright record) set as
// the control's value, written, set again and written again. The second
// write equals the first and is well-formed; for the inputs that are
// well-formed XML every word of the body's text outside script and style
// survives in order, word boundaries included.

#include "plugin/MorvaXEditorCtrl.h"

#include "tests/common/CorpusPages.h"
#include "tests/common/TextHelpers.h"
#include "tests/plugin/support/ControlInstance.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using qmtest::AsText;
using qmtest::CollectText;
using qmtest::FromUtf8;
using qmtest::IsNamed;
using qmtest::List;
using qmtest::ReadFile;

namespace {

const std::string kCorpus = std::string(QM_TEST_DATA_DIR) + "/corpus";

const xmlNode* FindBody(const xmlNode* n)
{
    for (; n; n = n->next) {
        if (IsNamed(n, "body"))
            return n;
        if (n->type == XML_ELEMENT_NODE)
            if (const xmlNode* b = FindBody(n->children))
                return b;
    }
    return nullptr;
}

// The words of the text under the first body (or the whole document when
// there is none), split at white space (a no-break space is no break).
// Returns false when the markup is not well-formed XML.
bool BodyWords(const std::string& markup, std::vector<std::string>& words)
{
    xmlDocPtr doc = xmlReadMemory(markup.data(), static_cast<int>(markup.size()), "corpus.xml", nullptr,
        XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc)
        return false;
    const xmlNode* root = xmlDocGetRootElement(doc);
    const xmlNode* body = FindBody(root);
    std::string text;
    if (body)
        CollectText(body->children, text);
    else if (root)
        CollectText(root, text);
    xmlFreeDoc(doc);
    // A paragraph or cell left empty is written holding a no-break space,
    // so words of no-break spaces alone are no text of the page's.
    words.clear();
    std::string word;
    auto keep = [&] {
        bool onlyNoBreak = word.size() % 2 == 0;
        for (std::size_t i = 0; onlyNoBreak && i < word.size(); i += 2)
            onlyNoBreak = word.compare(i, 2, "\xC2\xA0") == 0;
        if (!word.empty() && !onlyNoBreak)
            words.push_back(word);
        word.clear();
    };
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f')
            keep();
        else
            word += c;
    }
    keep();
    return true;
}

// Where two word lists part, with a few words of context from each.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    if (i == a.size() && i == b.size())
        return "";
    auto around = [i](const std::vector<std::string>& w) {
        std::string s;
        for (std::size_t k = i > 3 ? i - 3 : 0; k < w.size() && k < i + 6; ++k)
            s += (k == i ? "[" : "") + w[k] + (k == i ? "] " : " ");
        return s;
    };
    return "word " + std::to_string(i) + " of " + std::to_string(a.size()) + "/" + std::to_string(b.size())
        + ": in \"" + around(a) + "\" out \"" + around(b) + "\"";
}

// Where two texts part, with some context of each; empty when equal.
std::string WhereTheyPart(const std::string& a, const std::string& b)
{
    if (a == b)
        return "";
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    const std::size_t from = i > 60 ? i - 60 : 0;
    return "at " + std::to_string(i) + " of " + std::to_string(a.size()) + "/" + std::to_string(b.size())
        + ":\n  " + a.substr(from, 120) + "\n  " + b.substr(from, 120);
}

// Pages whose round trip is known to differ, with the reason
// (tests/data/corpus/known-differences.txt: "<package>/<file>: reason").
std::string KnownDifference(const std::string& page)
{
    std::ifstream in(kCorpus + "/known-differences.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, page.size() + 1, page + ":") == 0)
            return line.substr(page.size() + 1);
    }
    return "";
}

class CorpusRoundTrip : public qmtest::ControlInstanceTest, public ::testing::WithParamInterface<std::string>
{
protected:
    CorpusRoundTrip() : ControlInstanceTest("corpus-home-") { }

    // The form value after setting markup, or "" when the value was refused.
    std::string Exchange(CMorvaXEditorCtrl* control, const std::string& markup)
    {
        Ui().shown = 0;
        control->SetValue(FromUtf8(markup));
        Ui().failures.clear();
        return FormValue();
    }
};

TEST_P(CorpusRoundTrip, SecondWriteEqualsTheFirstAndKeepsEveryWord)
{
    const std::string bytes = ReadFile(kCorpus + "/" + GetParam());
    ASSERT_FALSE(bytes.empty());
    const std::string known = KnownDifference(GetParam());
    if (!known.empty())
        GTEST_SKIP() << known;
    const std::string input = AsText(bytes);
    CMorvaXEditorCtrl* control = Start({{"Value", "<p>start</p>"}, {"Options", "2"}});
    ASSERT_NE(nullptr, control);
    const std::string first = Exchange(control, input);
    // Markup that does not load even repaired stays as the page gave it, in
    // the source view: nothing of it is lost, and there is no round trip.
    if (control->m_viewMode == 1)
        GTEST_SKIP() << "does not load; kept as given in the source view";
    const std::string second = Exchange(control, first);
    // QM_CORPUS_OUT names a folder that receives every first write, for a
    // look at them or a validation run (scripts/corpus-validity).
    if (const char* out = std::getenv("QM_CORPUS_OUT")) {
        std::string name = GetParam();
        std::replace(name.begin(), name.end(), '/', '_');
        std::ofstream(std::string(out) + "/" + name + ".xml", std::ios::binary) << first;
    }
    EXPECT_EQ("", WhereTheyPart(first, second));
    std::vector<std::string> outWords, inWords;
    const bool whole = first.find("<html") != std::string::npos;
    EXPECT_TRUE(BodyWords(whole ? first : "<body>" + first + "</body>", outWords)) << first.substr(0, 400);
    if (BodyWords(bytes, inWords)) {
        EXPECT_EQ("", FirstDifference(inWords, outWords));
    }
}

// Every page of the corpus as "<package>/<file>".
std::vector<std::string> Pages()
{
    std::vector<std::string> pages;
    for (const std::string& package : List(kCorpus, true))
        for (const std::string& page : List(kCorpus + "/" + package, false))
            pages.push_back(package + "/" + page);
    return pages;
}

std::string PageName(const ::testing::TestParamInfo<std::string>& info)
{
    return qmtest::TestNameOf(info.param);
}

INSTANTIATE_TEST_SUITE_P(Debian, CorpusRoundTrip, ::testing::ValuesIn(Pages()), PageName);

} // namespace
