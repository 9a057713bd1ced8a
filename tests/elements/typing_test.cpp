// Typing into text runs, driven by the scripted-edit harness: each case of
// tests/data/typing/cases.txt gives markup with the caret as "|", the keys in
// its [keys ...] option words, and the markup written afterwards.

#include "tests/common/CaseBlocks.h"
#include "tests/elements/support/TypingDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string KeysOf(const qmtest::CaseBlock& c)
{
    std::string keys;
    for (const std::string& o : c.options) {
        keys += o;
        keys += ' ';
    }
    return keys;
}

} // namespace

TEST(Typing, ScriptedCases)
{
    qmtest::CaseBlockFile file("typing/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        qmtest::TypingDocument doc(c.input);
        ASSERT_TRUE(doc.ok) << c.name;
        ASSERT_NE(doc.Caret(), nullptr) << c.name;
        ASSERT_TRUE(doc.Keys(KeysOf(c))) << c.name;
        file.Check(c, doc.Markup());
    }
}
