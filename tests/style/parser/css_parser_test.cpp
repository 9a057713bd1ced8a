// The CSS property parser, driven by the case files of tests/data/css_parser/:
// a property name, its value, and the slots the declaration sets as
// StyleDump writes them ("rejected" when the parser does not understand it).

#include "document/XDoc.h"

#include "style/records/StyleDump.h"
#include "tests/common/CaseFile.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

// A document with a few installed fonts and its generic families.
class ParserDoc : public CXDoc
{
public:
    ParserDoc()
    {
        const struct
        {
            const char* name;
            long number;
        } fonts[] = {{"Arial", 2}, {"Courier New", 3}, {"Liberation Sans Narrow", 4}, {"Verdana", 5}};
        for (int i = 3; i >= 0; --i) {
            auto* item = new FONT_LIST_ITEM;
            item->name = fonts[i].name;
            item->fontNumber = fonts[i].number;
            item->next = m_fontList;
            m_fontList = item;
        }
        m_serifFamily = "Times New Roman";
        m_sansSerifFamily = "Arial";
        m_sansSerifFont = 2;
        m_cursiveFamily = "Comic Sans MS";
        m_cursiveFont = 6;
        m_fantasyFamily = "Impact";
        m_fantasyFont = 7;
        m_monospaceFamily = "Courier New";
        m_defaultFontNumber = 0;
    }
};

std::string Dump(const ELEMENT_STYLE& style, int options = kStyleDumpPlain)
{
    CSafeBuf text;
    DumpStyle(style, text, options);
    return qmtest::ToUtf8(text);
}

} // namespace

TEST(CssPropertyParser, CaseFiles)
{
    ParserDoc doc;
    const std::filesystem::path folder = std::filesystem::path(QM_TEST_DATA_DIR) / "css_parser";
    size_t total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string file = "css_parser/" + entry.path().filename().string();
        for (const auto& c : qmtest::ReadCaseFile(file, 3)) {
            SCOPED_TRACE(file + " line " + std::to_string(c.line) + ": " + c.fields[0] + ": " + c.fields[1]);
            ELEMENT_STYLE style;
            std::memset(static_cast<void*>(&style), 0, sizeof style);
            const bool understood = doc.ParseCSSStyleString(
                qmtest::FromUtf8(c.fields[0]), qmtest::FromUtf8(c.fields[1]), style);
            const std::string& expected = c.fields[2];
            if (expected == "rejected") {
                EXPECT_FALSE(understood);
                ELEMENT_STYLE untouched;
                std::memset(static_cast<void*>(&untouched), 0, sizeof untouched);
                if (c.fields[0] != "text-decoration") {
                    EXPECT_EQ(0, std::memcmp(&style, &untouched, sizeof style)) << "left: " << Dump(style);
                }
            } else {
                EXPECT_TRUE(understood);
                EXPECT_EQ(expected, Dump(style));
                // Every slot the parser writes carries the rule's origin.
                const std::string origins = Dump(style, kStyleDumpOrigins);
                for (size_t at = origins.find('@'); at != std::string::npos; at = origins.find('@', at + 1))
                    EXPECT_EQ('3', origins[at + 1]) << origins;
            }
            ++total;
        }
    }
    EXPECT_GT(total, 150u) << "the case files were not found";
}

TEST(CssPropertyParser, FamilyListResolvesToAnInstalledFont)
{
    ParserDoc doc;
    struct
    {
        const char16_t* list;
        const char* name;
        long number;
    } cases[] = {
        {u"'Foo', \"courier new\", serif", "Courier New", 3},
        {u"Narrow, Arial", "Liberation Sans Narrow", 4}, // a partial match ends the search
        {u"Foo, MONOSPACE", "Courier New", 1}, {u"times, Arial", "Times New Roman", 0},
        {u" , '', Bar", "Times New Roman", 0}, // empty names match nothing
    };
    for (const auto& c : cases) {
        CSafeBuf family = qmtest::Wide(c.list);
        EXPECT_EQ(c.number, doc.ValidateFontFamily(family)) << c.name;
        EXPECT_EQ(c.name, qmtest::ToUtf8(family));
    }
    // A list is looked up for its first hundred names only, so that one
    // declaration cannot cost a pass over the fonts for each of a million.
    std::string list;
    for (int i = 0; i < 100; ++i)
        list += "NoSuchFont" + std::to_string(i) + ", ";
    CSafeBuf family = qmtest::Wide(list + "Arial");
    EXPECT_EQ(0, doc.ValidateFontFamily(family));
    family = qmtest::Wide(list.substr(list.find(',') + 1) + "Arial");
    EXPECT_EQ(2, doc.ValidateFontFamily(family));
}
