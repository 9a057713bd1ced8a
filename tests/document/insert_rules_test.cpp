// Insertion rules of the document, table-driven from tests/data/insert_rules/:
// whether markup, a tag or a file may go in at the caret (can_insert.txt),
// markup put in at the caret with the table direction applied afterwards
// (insert_tag.txt), the ancestors reshaped after a tag was applied
// (unexpect_tag.txt) and the search for a tag opening (tag_in_string.txt).

#include "tests/common/CaseBlocks.h"
#include "tests/common/CaseFile.h"
#include "tests/common/ScriptedUiDriver.h"
#include "tests/document/support/ViewedDocument.h"

#include "element/Element.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::FromUtf8;
using qmtest::ToUtf8;
using qmtest::ViewedDocument;

class InsertRules : public qmtest::ScriptedUiTest
{ };

// Null for "-".
const unsigned short* Arg(const std::string& field, CSafeBuf& holder)
{
    if (field == "-")
        return nullptr;
    holder = FromUtf8(field);
    return holder;
}

// The element marked _e, its mark taken off.
CElement* TakeMarked(CElement* e)
{
    CSafeBuf value;
    if (e->GetAttrString("_e", value)) {
        e->SetAttrString("_e", "");
        return e;
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = TakeMarked(c))
            return found;
    }
    return nullptr;
}

TEST_F(InsertRules, WhatMayGoInAtTheCaret)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("insert_rules/can_insert.txt", 5)) {
        const std::vector<std::string>& f = c.fields;
        SCOPED_TRACE("line " + std::to_string(c.line) + ": " + f[0]);
        ViewedDocument v;
        ASSERT_TRUE(v.Show(f[0], 400, 300));
        CSafeBuf markup, tag, file;
        const int before = driver.shown;
        const bool allowed = v.doc.CanInsertTo(Arg(f[1], markup), Arg(f[2], tag), Arg(f[3], file), true);
        EXPECT_EQ((allowed ? "allowed " : "refused ") + std::to_string(driver.shown - before), f[4]);
    }
}

TEST_F(InsertRules, ARefusalShowsTheEnglishLocationMessageOnlyWhenAsked)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show("<dl><dt _caret=\"1\">ab</dt><dd>c</dd></dl>", 400, 300));
    const CSafeBuf paragraph("<p>x</p>");
    EXPECT_FALSE(v.doc.CanInsertTo(paragraph, nullptr, nullptr, false));
    EXPECT_EQ(driver.shown, 0);
    EXPECT_FALSE(v.doc.CanInsertTo(paragraph, nullptr, nullptr, true));
    ASSERT_EQ(driver.shown, 1);
    ASSERT_EQ(driver.texts.size(), 1u);
    EXPECT_EQ(driver.texts[0], "The content cannot be inserted at this location.");
    EXPECT_EQ(driver.caption, "Operation failed");
}

TEST(InsertRulesCases, MarkupInsertedAtTheCaret)
{
    qmtest::CaseBlockFile file("insert_rules/insert_tag.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        const size_t lineEnd = c.input.find('\n');
        const CSafeBuf markup = FromUtf8(c.input.substr(0, lineEnd));
        ViewedDocument v;
        ASSERT_TRUE(v.Show(c.input.substr(lineEnd + 1), 400, 300)) << c.name;
        v.doc.m_rightToLeft = c.HasOption("rtl") ? 1 : 0;
        CElement* answer = v.doc.InsertTagText(markup, nullptr, c.HasOption("paragraph"),
            c.HasOption("second"), c.HasOption("third"), c.HasOption("cell"));
        if (c.HasOption("align"))
            v.doc.ChangeAlignmentToContext(answer);
        EXPECT_TRUE(v.doc.IsElementInTree(v.doc.m_caretElement)) << c.name;
        file.Check(c, v.marked.Write(true, false) + "\n" + qmtest::Describe(answer));
    }
}

TEST(InsertRulesCases, EightBitMarkupIsReadAsUtf8)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show("<p _caret=\"1\">ab</p>", 400, 300));
    CElement* answer
        = v.doc.InsertTagText("<b>\xC3\xA9\xE4\xB8\xAD</b>", nullptr, false, false, false, false);
    EXPECT_EQ(qmtest::Describe(answer), "b");
    EXPECT_EQ(v.marked.Write(false, false), "<p>a<b>\xC3\xA9\xE4\xB8\xAD</b>b</p>");
    EXPECT_EQ(
        v.doc.InsertTagText(static_cast<const char*>(nullptr), nullptr, true, false, false, false), nullptr);
}

TEST(InsertRulesCases, AncestorsReshapedAfterATag)
{
    qmtest::CaseBlockFile file("insert_rules/unexpect_tag.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        ViewedDocument v;
        ASSERT_TRUE(v.Show(c.input, 400, 300)) << c.name;
        int options = c.HasOption("div") ? 0x800 : 0;
        v.marked.engine.m_controlOptions = &options;
        CElement* e = TakeMarked(v.doc.m_root);
        ASSERT_NE(e, nullptr) << c.name;
        v.doc.RemoveUnexpectTag(e);
        file.Check(c, v.marked.Write(false, false));
        v.marked.engine.m_controlOptions = nullptr;
    }
}

TEST(InsertRulesCases, TagOpeningsInText)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("insert_rules/tag_in_string.txt", 4)) {
        const std::vector<std::string>& f = c.fields;
        const CSafeBuf text = FromUtf8(f[0]);
        const CSafeBuf opening = FromUtf8(f[1]);
        EXPECT_EQ(CXDoc::IsThereTagInString(text, opening, std::stoi(f[2])) ? "true" : "false", f[3])
            << "line " << c.line;
    }
    EXPECT_FALSE(CXDoc::IsThereTagInString(nullptr, CSafeBuf("<p"), 0));
    EXPECT_FALSE(CXDoc::IsThereTagInString(CSafeBuf("<p>"), nullptr, 0));
}

} // namespace
