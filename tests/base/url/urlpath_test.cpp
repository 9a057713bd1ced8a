// Percent-encoding, file addresses, joining paths and splitting file names.

#include "base/url/UrlPath.h"

#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using qmtest::Edited;
using qmtest::FromUtf8;
using qmtest::U16;
using qmtest::U16String;
using qmtest::Utf8;
using qmtest::Wide;

namespace {

std::string Encoded(const char16_t* in)
{
    return Edited(in, [&](CSafeBuf& text) { EncodeURL(text); });
}

std::string Decoded(const char16_t* in)
{
    return Edited(in, [&](CSafeBuf& text) { DecodeURL(text); });
}

TEST(EncodeURL, KeepsSafeCharactersAndEncodesTheRest)
{
    EXPECT_EQ("a/b\\c.d-e_f09", Encoded(u"a/b\\c.d-e_f09"));
    EXPECT_EQ("%20%3F%26%3D%2B%25%3A", Encoded(u" ?&=+%:"));
    EXPECT_EQ("%C3%A9%C3%BF", Encoded(u"\u00e9\u00ff"));
    EXPECT_EQ("%E2%82%AC%E4%B8%AD", Encoded(u"\u20ac\u4e2d"));
    EXPECT_EQ("%C4%80", Encoded(u"\u0100"));
}

struct EscapeCase
{
    int line;
    std::string kind, in, out;
};

// tests/data/url_escapes/cases.txt: kind, input and output, TAB-separated.
std::vector<EscapeCase> LoadEscapeCases()
{
    std::vector<EscapeCase> cases;
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/url_escapes/cases.txt");
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t a = line.find('\t'), b = line.find('\t', a + 1);
        if (a == std::string::npos || b == std::string::npos) {
            ADD_FAILURE() << "cases.txt line " << number << " does not hold three fields";
            continue;
        }
        cases.push_back({number, line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
    }
    return cases;
}

TEST(EncodeURL, TableOfEscapes)
{
    const std::vector<EscapeCase> cases = LoadEscapeCases();
    ASSERT_GT(cases.size(), 15u) << "the case file was not found or is empty";
    for (const EscapeCase& c : cases) {
        CSafeBuf text = FromUtf8(c.in);
        if (c.kind == "encode") {
            EncodeURL(text);
            EXPECT_EQ(c.out, Utf8(text)) << "line " << c.line;
        }
        DecodeURL(text);
        EXPECT_EQ(U16String(FromUtf8(c.kind == "encode" ? c.in : c.out)), U16String(text))
            << "line " << c.line;
    }
}

TEST(EncodeURL, DecodeGivesBackEveryTextLoneSurrogatesIncluded)
{
    const std::u16string samples[] = {
        u"caf\u00e9 \u20ac \U0001F600 \uFFFF \uFFFE %41",
        {u'a', 0xD800, u'b', 0xDFFF, 0xDBFF},
        {0xDC00, 0xD800},
        {u'x', 0, 0x00E2, 0x0082, 0x00AC},
    };
    for (const std::u16string& s : samples) {
        CSafeBuf text;
        text.Copy(U16(s), static_cast<int>(s.size()));
        EncodeURL(text);
        for (char16_t c : U16String(text))
            EXPECT_LT(c, 0x80) << Utf8(text); // an address is plain ASCII
        DecodeURL(text);
        EXPECT_EQ(s, U16String(text));
    }
}

TEST(DecodeURL, DecodesPairsOfHexDigitsOnly)
{
    EXPECT_EQ("A B", Decoded(u"%41%20B"));
    EXPECT_EQ("\u00e9\u00ff", Decoded(u"%e9%Ff"));
    EXPECT_EQ("a+b", Decoded(u"a+b"));
    EXPECT_EQ("100%", Decoded(u"100%"));
    EXPECT_EQ("%4", Decoded(u"%4"));
    EXPECT_EQ("%zz%4g", Decoded(u"%zz%4g"));
    EXPECT_EQ("%A", Decoded(u"%%41"));
}

TEST(EncodeURL, DecodeUndoesEncodeForLatin1Text)
{
    const char16_t* samples[] = {u"", u"plain", u"a b&c=d?e#f%g", u"caf\u00e9 \u00a0\t\r\n"};
    for (const char16_t* s : samples) {
        CSafeBuf text = Wide(s);
        EncodeURL(text);
        DecodeURL(text);
        EXPECT_EQ(Utf8(Wide(s)), Utf8(text));
    }
}

TEST(AddParamsToURL, FirstParameterGetsQuestionMarkLaterOnesAmpersand)
{
    CSafeBuf url = Wide(u"http://h/s.asp");
    AddParamsToURL(url, U16(u"n a"), U16(u"v&1"));
    EXPECT_EQ("http://h/s.asp?n%20a=v%261", Utf8(url));
    AddParamsToURL(url, U16(u"k"), nullptr);
    EXPECT_EQ("http://h/s.asp?n%20a=v%261&k=", Utf8(url));
}

std::string LocalPath(const char16_t* in)
{
    return Edited(in, [&](CSafeBuf& url) { ParseLocalURL(url); });
}

TEST(ParseLocalURL, FileAddressesBecomePaths)
{
    EXPECT_EQ("C:/dir/a.gif", LocalPath(u"file:///C:/dir/a.gif"));
    EXPECT_EQ("C:/dir/a.gif", LocalPath(u"file:///C|/dir/a.gif"));
    EXPECT_EQ("/Users/u/a.gif", LocalPath(u"file://localhost/Users/u/a.gif"));
    EXPECT_EQ("/Users/u/a.gif", LocalPath(u"file:///Users/u/a.gif"));
    EXPECT_EQ("http://h/a", LocalPath(u"http://h/a"));
    // One rule for every caller: the scheme and the host are read without
    // case, and only a drive letter drops the slashes: a ":" or "|" further
    // on is part of a name.
    EXPECT_EQ("/x", LocalPath(u"FILE://LOCALHOST/x"));
    EXPECT_EQ("/tmp/a|b:c.xml", LocalPath(u"file:///tmp/a|b:c.xml"));
    EXPECT_EQ("localhostile/x", LocalPath(u"file://localhostile/x"));
    EXPECT_EQ("C:", LocalPath(u"file:///C|"));
    EXPECT_EQ("a|b", LocalPath(u"a|b"));
}

TEST(CheckForLocalFile, DropsTrailingSlashAndDecodesLocalhostAddresses)
{
    CSafeBuf a = Wide(u"FILE://LocalHost/Users/my%20docs/");
    CheckForLocalFile(a);
    EXPECT_EQ("/Users/my docs", Utf8(a));
    CSafeBuf b = Wide(u"http://h/a%20b/");
    CheckForLocalFile(b);
    EXPECT_EQ("http://h/a%20b", Utf8(b));
    CSafeBuf empty;
    CheckForLocalFile(empty);
    EXPECT_TRUE(empty.IsEmpty());
}

std::string WithBase(const char16_t* url, const char16_t* base)
{
    return Edited(url, [&](CSafeBuf& u) { AddBaseURL(u, Wide(base)); });
}

TEST(AddBaseURL, JoinsRelativeAddressesWithOneSeparator)
{
    EXPECT_EQ("http://h/d/a.gif", WithBase(u"a.gif", u"http://h/d"));
    EXPECT_EQ("http://h/d/a.gif", WithBase(u"a.gif", u"http://h/d/"));
    EXPECT_EQ("C:\\d\\a.gif", WithBase(u"a.gif", u"C:\\d\\"));
    EXPECT_EQ("http://k/a.gif", WithBase(u"http://k/a.gif", u"http://h/"));
    EXPECT_EQ("http://h/", WithBase(u"", u"http://h/"));
    EXPECT_EQ("a.gif", WithBase(u"a.gif", u""));
}

std::string Combined(const char16_t* path, const char16_t* name)
{
    return Edited(path, [&](CSafeBuf& p) { CombinePathURL(p, U16(name)); });
}

TEST(CombinePathURL, ExactlyOneSeparatorAtTheJoint)
{
    EXPECT_EQ("/a/b", Combined(u"/a/", u"/b"));
    EXPECT_EQ("/a/b", Combined(u"/a/", u"b"));
    EXPECT_EQ("/a/b", Combined(u"/a", u"/b"));
    EXPECT_EQ("/a/b", Combined(u"/a", u"b"));
    EXPECT_EQ("c:\\a\\b", Combined(u"c:\\a\\", u"\\b"));
    EXPECT_EQ("b", Combined(u"", u"b"));
    EXPECT_EQ("/a", Combined(u"/a", u""));
    CSafeBuf p = Wide(u"/a");
    CombinePathURL(p, nullptr);
    EXPECT_EQ("/a", Utf8(p));
}

TEST(ValidatePath, AppendsMissingSlashToNonEmptyPaths)
{
    CSafeBuf a = Wide(u"/x"), b = Wide(u"/x/"), c;
    ValidatePath(a, true);
    ValidatePath(b, false);
    ValidatePath(c, false);
    EXPECT_EQ("/x/", Utf8(a));
    EXPECT_EQ("/x/", Utf8(b));
    EXPECT_TRUE(c.IsEmpty());
}

TEST(ParseFilename, SplitsAtTheLastSeparatorOfEitherKind)
{
    CSafeBuf folder = Wide(u"old"), name = Wide(u"old");
    ParseFilename(Wide(u"/a/b\\c.gif"), &folder, &name);
    EXPECT_EQ("/a/b\\", Utf8(folder));
    EXPECT_EQ("c.gif", Utf8(name));

    ParseFilename(Wide(u"bare.txt"), &folder, &name);
    EXPECT_EQ("", Utf8(folder));
    EXPECT_EQ("bare.txt", Utf8(name));

    ParseFilename(Wide(u"C:\\dir\\"), &folder, &name);
    EXPECT_EQ("C:\\dir\\", Utf8(folder));
    EXPECT_EQ("", Utf8(name));

    ParseFilename(Wide(u"/x/y"), nullptr, &name);
    EXPECT_EQ("y", Utf8(name));
}

TEST(ParseFilenameExt, ExtensionOfTheLastComponentOnly)
{
    CSafeBuf ext = Wide(u"old");
    ParseFilenameExt(Wide(u"/a/b.tar.GZ"), ext);
    EXPECT_EQ("GZ", Utf8(ext));
    ParseFilenameExt(Wide(u"/a.d/file"), ext);
    EXPECT_EQ("", Utf8(ext));
    ParseFilenameExt(Wide(u"c:\\a.d\\file"), ext);
    EXPECT_EQ("", Utf8(ext));
    ParseFilenameExt(Wide(u"name."), ext);
    EXPECT_EQ("", Utf8(ext));
    ParseFilenameExt(Wide(u".profile"), ext);
    EXPECT_EQ("profile", Utf8(ext));
}

} // namespace
