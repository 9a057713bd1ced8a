// Element lookup by path: the cases of tests/data/qpath/paths.txt (document,
// path, the element found), and steps whose name or position runs far beyond
// any tag name or number.

#include "tests/common/CaseFile.h"
#include "tests/common/ElementPath.h"
#include "tests/document/support/ViewedDocument.h"

#include "element/Element.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::FromUtf8;
using qmtest::ViewedDocument;

TEST(QPath, PathsAsData)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("qpath/paths.txt", 3)) {
        const std::vector<std::string>& f = c.fields;
        ViewedDocument v;
        ASSERT_TRUE(v.Show(f[0], 400, 300)) << "line " << c.line;
        const CSafeBuf path = FromUtf8(f[1]);
        EXPECT_EQ(qmtest::PathOf(v.doc.FindElementByQPath(path)), f[2]) << "line " << c.line << ": " << f[1];
    }
}

TEST(QPath, NothingWithoutAPathOrATree)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show("<p>a</p>", 400, 300));
    EXPECT_EQ(v.doc.FindElementByQPath(nullptr), nullptr);
    CXDoc empty;
    EXPECT_EQ(empty.FindElementByQPath(CSafeBuf("/body[1]")), nullptr);
}

TEST(QPath, NamesAndPositionsOfAnyLengthAreReadWhole)
{
    ViewedDocument v;
    ASSERT_TRUE(v.Show("<p>a</p><p>b</p>", 400, 300));
    const std::string longName(500, 'x');
    const std::string longNumber(5000, '9');
    const std::string zeros = std::string(300, '0') + "2";
    struct
    {
        std::string path;
        std::string found;
    } cases[] = {
        {"/body[1]/" + longName + "[1]", "none"},
        {"/body[1]/" + longName + "[1]/p[1]", "none"},
        {"/" + longName + "[1]", "none"},
        {"/body[1]/p[" + longNumber + "]", "none"},
        {"/body[" + longNumber + "]", "/body[1]"},
        {"/body[1]/p[" + longName + "]", "none"},
        {"/body[1]/" + longName, "none"},
        {"/body[1]/p[" + zeros + "]", "/body[1]/p[2]"},
        {"/body[1]/p[-" + longNumber + "]", "none"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qmtest::PathOf(v.doc.FindElementByQPath(FromUtf8(c.path))), c.found) << c.path.size();
}

} // namespace
