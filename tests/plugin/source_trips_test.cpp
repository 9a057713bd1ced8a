// Real pages taken to the source view and back, and through find and
// replace: a trip without edits changes nothing, an edit in the source
// arrives alone, and Replace All changes exactly the occurrences and is
// taken back whole by one undo.

#include "plugin/MorvaXEditorCtrl.h"

#include "editor/XHTML.h"
#include "platform/ui/ModalDialog.h"

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
using qmtest::ToUtf8;

namespace {

const std::string kData = QM_TEST_DATA_DIR;

// The words of the form value's text (split at white space), or false when
// it is not well-formed.
bool Words(const std::string& markup, std::vector<std::string>& words)
{
    const std::string whole
        = markup.find("<html") != std::string::npos ? markup : "<body>" + markup + "</body>";
    xmlDocPtr doc = xmlReadMemory(whole.data(), static_cast<int>(whole.size()), "page.xml", nullptr,
        XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc)
        return false;
    // The text that find searches: the body's.
    const xmlNode* body = xmlDocGetRootElement(doc);
    if (IsNamed(body, "html"))
        for (body = body->children; body && !IsNamed(body, "body");)
            body = body->next;
    std::string text;
    if (body)
        CollectText(body->children, text);
    xmlFreeDoc(doc);
    words.clear();
    std::string word;
    for (char c : text + " ") {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return true;
}

std::string WhereTheyPart(const std::string& a, const std::string& b)
{
    if (a == b)
        return "";
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    const std::size_t from = i > 60 ? i - 60 : 0;
    return "at " + std::to_string(i) + " of " + std::to_string(a.size()) + "/" + std::to_string(b.size())
        + ":\n  " + a.substr(from, 140) + "\n  " + b.substr(from, 140);
}

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
    return "word " + std::to_string(i) + ": \"" + around(a) + "\" / \"" + around(b) + "\"";
}

// what replaced by with in s, left to right, not overlapping, ASCII case
// ignored.
std::string ReplaceIn(const std::string& s, const std::string& what, const std::string& with)
{
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        bool match = i + what.size() <= s.size();
        for (std::size_t k = 0; match && k < what.size(); ++k)
            match = std::tolower(static_cast<unsigned char>(s[i + k]))
                == std::tolower(static_cast<unsigned char>(what[k]));
        if (match) {
            out += with;
            i += what.size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

// The book and every fifth corpus page in name order: the trips take a
// second or more a page under the sanitizers. QM_ALL_PAGES=1 takes every
// corpus page.
std::vector<std::string> Pages()
{
    const char* all = std::getenv("QM_ALL_PAGES");
    const size_t step = all && std::string(all) == "1" ? 1 : 5;
    std::vector<std::string> pages{"markup/genesis.xhtml"};
    size_t index = 0;
    for (const std::string& package : List(kData + "/corpus", true))
        for (const std::string& page : List(kData + "/corpus/" + package, false))
            if (index++ % step == 0)
                pages.push_back("corpus/" + package + "/" + page);
    return pages;
}

std::string PageName(const ::testing::TestParamInfo<std::string>& info)
{
    return qmtest::TestNameOf(info.param);
}

class SourceTrips : public qmtest::ControlInstanceTest, public ::testing::WithParamInterface<std::string>
{
protected:
    SourceTrips() : ControlInstanceTest("trips-home-") { }

    // The page set as the value; "" when it does not load.
    std::string LoadPage(CMorvaXEditorCtrl*& control)
    {
        control = Start({{"Value", "<p>start</p>"}, {"Options", "2"}});
        if (!control)
            return "";
        Ui().shown = 0;
        control->SetValue(FromUtf8(AsText(ReadFile(kData + "/" + GetParam()))));
        Ui().failures.clear();
        if (control->m_viewMode == 1)
            return "";
        return FormValue();
    }

    void DialogAnswerFix()
    {
        qm::host::DialogAnswer a;
        a.press = "Fix";
        Ui().dialogs.push_back(a);
    }

    qm::ui::ModalDialog* FindDialog() const
    {
        for (qm::ui::ModalDialog* d : qm::ui::ModalDialog::Modeless())
            if (d->ModalKind() == "find-replace")
                return d;
        return nullptr;
    }
};

TEST_P(SourceTrips, ToTheSourceAndBackChangesNothing)
{
    CMorvaXEditorCtrl* control = nullptr;
    const std::string first = LoadPage(control);
    if (first.empty())
        GTEST_SKIP() << "does not load";
    const int shown = Ui().shown;
    control->OnSource();
    ASSERT_EQ(1, control->m_viewMode);
    control->OnXHtml();
    EXPECT_EQ(0, control->m_viewMode);
    EXPECT_EQ(shown, Ui().shown) << "no question";
    EXPECT_EQ("", WhereTheyPart(first, FormValue()));
}

TEST_P(SourceTrips, ReplaceAllChangesTheOccurrencesAndOneUndoTakesThemBack)
{
    CMorvaXEditorCtrl* control = nullptr;
    const std::string first = LoadPage(control);
    if (first.empty())
        GTEST_SKIP() << "does not load";
    std::vector<std::string> before, after;
    ASSERT_TRUE(Words(first, before));
    for (const auto& [what, with] : {std::pair<std::string, std::string>{"e",
                                         "\xC3\xA9"
                                         "e"},
             {"the", "tHe"}}) {
        SCOPED_TRACE(what);
        control->m_pXHTML->DoFindReplace(true);
        qm::ui::ModalDialog* d = FindDialog();
        ASSERT_NE(nullptr, d);
        d->SetField("find", what);
        d->SetField("replace", with);
        d->Press(static_cast<std::size_t>(d->FindButton("Replace All")));
        const std::string replaced = FormValue();
        ASSERT_TRUE(Words(replaced, after)) << replaced.substr(0, 300);
        std::vector<std::string> expected;
        for (const std::string& w : before)
            expected.push_back(ReplaceIn(w, what, with));
        EXPECT_EQ("", FirstDifference(expected, after));
        control->m_pXHTML->OnUndo();
        EXPECT_EQ("", WhereTheyPart(first, FormValue()));
        d->Press(static_cast<std::size_t>(d->FindButton("Close")));
    }
}

// Where a word can be put at the start of the first paragraph that starts
// with text: after its start tag and the blanks that follow; npos when none.
std::size_t FirstParagraphText(const std::string& markup)
{
    for (std::size_t at = markup.find("<p>"); at != std::string::npos; at = markup.find("<p>", at + 1)) {
        std::size_t text = at + 3;
        while (text < markup.size() && (markup[text] == '\n' || markup[text] == '\t' || markup[text] == ' '))
            ++text;
        if (text < markup.size() && markup[text] != '<' && markup[text] != '&')
            return text;
    }
    return std::string::npos;
}

TEST_P(SourceTrips, AnEditInTheSourceArrivesAlone)
{
    CMorvaXEditorCtrl* control = nullptr;
    const std::string first = LoadPage(control);
    if (first.empty())
        GTEST_SKIP() << "does not load";
    const std::size_t inForm = FirstParagraphText(first);
    if (inForm == std::string::npos)
        GTEST_SKIP() << "no paragraph starting with text";
    control->OnSource();
    CSafeBuf source;
    control->GetSourceText(source, false);
    std::string text = ToUtf8(source);
    const std::size_t inSource = FirstParagraphText(text);
    ASSERT_NE(std::string::npos, inSource);
    text.insert(inSource, "Inserted ");
    CSafeBuf edited(FromUtf8(text));
    control->SetSourceText(edited);
    const int shown = Ui().shown;
    control->OnXHtml();
    EXPECT_EQ(0, control->m_viewMode);
    EXPECT_EQ(shown, Ui().shown) << "no question";
    std::string expected = first;
    expected.insert(inForm, "Inserted ");
    EXPECT_EQ("", WhereTheyPart(expected, FormValue()));
}

// The first paragraph's end tag taken out in the source: the text does not
// clean, Fix repairs it, and every word arrives.
TEST_P(SourceTrips, FixKeepsEveryWord)
{
    CMorvaXEditorCtrl* control = nullptr;
    const std::string first = LoadPage(control);
    if (first.empty())
        GTEST_SKIP() << "does not load";
    control->OnSource();
    CSafeBuf source;
    control->GetSourceText(source, false);
    std::string text = ToUtf8(source);
    const std::size_t end = text.find("</p>");
    if (end == std::string::npos)
        GTEST_SKIP() << "no paragraph";
    text.erase(end, 4);
    CSafeBuf edited(FromUtf8(text));
    control->SetSourceText(edited);
    DialogAnswerFix();
    control->OnXHtml();
    EXPECT_EQ(0, control->m_viewMode);
    std::vector<std::string> before, after;
    ASSERT_TRUE(Words(first, before));
    const std::string fixed = FormValue();
    ASSERT_TRUE(Words(fixed, after)) << fixed.substr(0, 300);
    EXPECT_EQ("", FirstDifference(before, after));
}

class SourceCaret : public qmtest::ControlInstanceTest
{
protected:
    SourceCaret() : ControlInstanceTest("caret-home-") { }
};

// Source texts with the caret (and selection) placed by the markers, left for
// the WYSIWYG view: wherever the caret stands, the text cleans as it is and
// arrives without any marker word, and nothing else changes.
TEST_F(SourceCaret, WhereverTheCaretStandsTheTextArrivesWithoutMarkers)
{
    const std::pair<const char*, const char*> cases[] = {
        {"_x_Here_to_put_cursor_x_<p>one two</p>", "<p>one two</p>"},
        {"<p title=\"a_x_Here_to_put_cursor_x_b\">one two</p>", "<p title=\"ab\">one two</p>"},
        {"<p ti_x_Here_to_put_cursor_x_tle=\"a>b\">one two</p>", "<p title=\"a&gt;b\">one two</p>"},
        {"<p>one <!-- a_x_Here_to_put_cursor_x_b --> two</p>", "<p>one <!-- ab -->two</p>"},
        {"<p>one two</p>_x_Here_to_put_cursor_x_", "<p>one two</p>"},
        {"<p>one &am_x_Here_to_put_cursor_x_p; two &#2_x_Here_to_put_cursor_x_33;</p>",
            "<p>one &amp; two \xC3\xA9</p>"},
        {"<p>o_x_Here_selection_begins_x_ne</p><p>tw_x_Here_selection_ends_x__x_Here_to_put_cursor_x_o</p>",
            "<p>one</p><p>two</p>"},
        {"<p cl_x_Here_selection_begins_x_ass=\"c\">one</p><p>tw_x_Here_selection_ends_x_o</p>",
            "<p class=\"c\">one</p><p>two</p>"},
        {"<ul>_x_Here_to_put_cursor_x_<li>one</li></ul>", "<ul><li>one</li></ul>"},
        // A whole document: before its root element, in its declarations and
        // after its end there is no place for a word.
        {"<?xml vers_x_Here_to_put_cursor_x_ion=\"1.0\"?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 "
         "Strict//EN\" \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
         "<html><head><title>t</title></head><body><p>one</p></body></html>",
            "<html><head><title>t</title></head><body><p>one</p></body></html>"},
        {"<!-- a comment -->\n_x_Here_to_put_cursor_x_<html><head><title>t</title></head><body><p>one</p>"
         "</body></html>",
            "<html><head><title>t</title></head><body><p>one</p></body></html>"},
        {"<html><head><title>t</title></head><body><p>one</p></body></html>\n_x_Here_to_put_cursor_x_",
            "<html><head><title>t</title></head><body><p>one</p></body></html>"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        if (made) {
            EXPECT_EQ(NPERR_NO_ERROR, funcs.destroy(&npp, nullptr));
            made = false;
        }
        CMorvaXEditorCtrl* control = Start({{"Value", "<p>x</p>"}});
        ASSERT_NE(nullptr, control);
        control->OnSource();
        CSafeBuf source(FromUtf8(text));
        control->SetSourceText(source);
        Ui().shown = 0;
        control->OnXHtml();
        EXPECT_EQ(0, Ui().shown) << "no question";
        EXPECT_EQ(0, control->m_viewMode);
        CSafeBuf out;
        control->m_pXHTML->GetSourceCode(out, 2 | 4);
        EXPECT_EQ(expected, ToUtf8(out));
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, SourceTrips, ::testing::ValuesIn(Pages()), PageName);

} // namespace
