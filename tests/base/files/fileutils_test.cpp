// Text file loading with encoding detection, picture signatures, path
// splitting into bounded outputs, name checks and bundle resources.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files/BundleResources.h"
#include "base/files/FileUtils.h"
#include "base/text/SafeBuf.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TextHelpers.h"

namespace {

std::string Fixture(const char* name) { return std::string(QM_TEST_DATA_DIR) + "/files/" + name; }

CSafeBuf WidePath(const char* name) { return qmtest::FromUtf8(Fixture(name)); }

std::vector<unsigned> UnitsOf(const CSafeBuf& s)
{
    std::vector<unsigned> out;
    for (int i = 0; i < s.Length(); ++i)
        out.push_back(s.GetAt(i));
    return out;
}

std::vector<unsigned> Load(const char* name, bool decode)
{
    CSafeBuf out("untouched");
    EXPECT_TRUE(LoadFileToBuffer(static_cast<const unsigned short*>(WidePath(name)), &out, decode)) << name;
    return UnitsOf(out);
}

CSafeBuf W(const char* ascii) { return CSafeBuf(ascii); }

} // namespace

TEST(LoadFileToBuffer, ByteOrderMarksInBothOrders)
{
    // The odd byte at the end of the big-endian file is not a unit.
    const std::vector<unsigned> expected = {'a', 0xE9, 0x20AC};
    EXPECT_EQ(Load("utf16be-bom.txt", false), expected);
    EXPECT_EQ(Load("utf16le-bom.txt", false), expected);
    EXPECT_EQ(Load("utf16le-bom.txt", true), expected);
}

TEST(LoadFileToBuffer, Utf8WithAndWithoutDecoding)
{
    EXPECT_EQ(Load("utf8-bom.txt", true), (std::vector<unsigned>{'c', 'a', 'f', 0xE9, ' ', 0x20AC}));
    EXPECT_EQ(Load("utf8-bom.txt", false),
        (std::vector<unsigned>{0xEF, 0xBB, 0xBF, 'c', 'a', 'f', 0xC3, 0xA9, ' ', 0xE2, 0x82, 0xAC}));
    // A file holding only the mark is empty text once decoded.
    EXPECT_TRUE(Load("utf8-bom-only.txt", true).empty());
    EXPECT_EQ(Load("utf8-bom-only.txt", false), (std::vector<unsigned>{0xEF, 0xBB, 0xBF}));
}

TEST(LoadFileToBuffer, MarklessUtf16AndPlainBytes)
{
    // Even-sized with zero bytes: UTF-16 in host order up to the first zero unit.
    EXPECT_EQ(Load("utf16-nobom.txt", false), (std::vector<unsigned>{'a', 'b'}));
    // Odd-sized with a zero byte: one unit per byte, zero included.
    EXPECT_EQ(Load("odd-with-zero.bin", false), (std::vector<unsigned>{'a', 'b', 0}));
    EXPECT_EQ(Load("ascii.txt", true), UnitsOf(W("plain text\r\n")));
    EXPECT_EQ(Load("latin1.txt", true), (std::vector<unsigned>{'c', 'a', 'f', 0xE9}));
    EXPECT_TRUE(Load("empty.txt", false).empty());
}

TEST(LoadFileToBuffer, FailuresAndOtherForms)
{
    CSafeBuf out("kept");
    EXPECT_FALSE(LoadFileToBuffer(static_cast<const unsigned short*>(WidePath("missing.txt")), &out, false));
    EXPECT_EQ(UnitsOf(out), UnitsOf(W("kept")));
    // A folder is not a text file.
    EXPECT_FALSE(LoadFileToBuffer(static_cast<const unsigned short*>(WidePath("")), &out, false));
    EXPECT_EQ(UnitsOf(out), UnitsOf(W("kept")));

    EXPECT_TRUE(LoadFileToBuffer(Fixture("utf16le-bom.txt").c_str(), &out, false));
    EXPECT_EQ(UnitsOf(out), (std::vector<unsigned>{'a', 0xE9, 0x20AC}));

    unsigned short* array = reinterpret_cast<unsigned short*>(1);
    EXPECT_TRUE(LoadFileToBuffer(static_cast<const unsigned short*>(WidePath("utf8-bom.txt")), &array, true));
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array[3], 0xE9);
    EXPECT_EQ(array[6], 0);
    delete[] array;
    EXPECT_TRUE(LoadFileToBuffer(static_cast<const unsigned short*>(WidePath("empty.txt")), &array, true));
    EXPECT_EQ(array, nullptr);
    EXPECT_FALSE(LoadFileToBuffer(static_cast<const unsigned short*>(WidePath("missing.txt")), &array, true));
    EXPECT_EQ(array, nullptr);
}

TEST(CheckImageType, SignaturesAndJpegSegments)
{
    struct Case
    {
        const char* file;
        int type;
        const char* ext;
    } cases[] = {
        {"tiny.png", 1, "png"},
        {"tiny.gif", 3, "gif"},
        {"tiny.bmp", 4, "bmp"},
        {"short.jpg", 2, "jpg"},
        {"sof-too-late.jpg", 0, ""},
        {"ten-bytes.png", 0, ""},
        {"ascii.txt", 0, ""},
        {"empty.txt", 0, ""},
        {"missing.png", 0, ""},
    };
    for (const Case& c : cases) {
        CSafeBuf ext("stale");
        std::string path = Fixture(c.file);
        EXPECT_EQ(CheckImageFileType(reinterpret_cast<const unsigned char*>(path.c_str()), &ext), c.type)
            << c.file;
        EXPECT_EQ(UnitsOf(ext), UnitsOf(W(c.ext))) << c.file;
    }
    const unsigned char png[10] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0};
    EXPECT_EQ(CheckImageType(png, 10), 0);
    EXPECT_EQ(CheckImageType(nullptr, 100), 0);

    // Segment lengths that point past the end, or a run of fill bytes, end
    // the walk without reading beyond the buffer.
    std::vector<unsigned char> jpeg = {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF};
    jpeg.resize(40, 0xFF);
    EXPECT_EQ(CheckImageType(jpeg.data(), static_cast<long>(jpeg.size())), 0);
    std::vector<unsigned char> zeroLength = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x00};
    zeroLength.resize(30, 0);
    EXPECT_EQ(CheckImageType(zeroLength.data(), static_cast<long>(zeroLength.size())), 0);
}

TEST(FilePaths, SplittingIntoStringsAndBoundedArrays)
{
    CSafeBuf out;
    ParseFileExtension(W("dir/archive.tar.gz"), out);
    EXPECT_EQ(UnitsOf(out), UnitsOf(W("gz")));
    ParseFileExtension(W("README"), out);
    EXPECT_TRUE(out.IsEmpty());
    // A dot in a folder name is no extension of the file.
    ParseFileExtension(W("/a.d/README"), out);
    EXPECT_TRUE(out.IsEmpty());
    ParseFilename(W("C:\\docs\\a.txt"), out);
    EXPECT_EQ(UnitsOf(out), UnitsOf(W("a.txt")));
    ParseFilename(W("plain"), out);
    EXPECT_EQ(UnitsOf(out), UnitsOf(W("plain")));
    ParseFilePath(W("/x/y\\z.txt"), out);
    EXPECT_EQ(UnitsOf(out), UnitsOf(W("/x/y\\")));
    ParseFilePath(W("plain"), out);
    EXPECT_TRUE(out.IsEmpty());

    unsigned short small[4];
    EXPECT_TRUE(ParseFileExtension(W("a.png"), small, 4));
    EXPECT_EQ(UnitsOf(CSafeBuf(small)), UnitsOf(W("png")));
    // Too long for the array: nothing but an empty text is written.
    unsigned short guard[6] = {'x', 'x', 'x', 'x', 'x', 0x7777};
    EXPECT_FALSE(ParseFileExtension(W("a.jpeg"), guard, 4));
    EXPECT_EQ(guard[0], 0);
    EXPECT_EQ(guard[4], 'x');
    EXPECT_FALSE(ParseFilename(W("/folder/longname"), guard, 5));
    EXPECT_EQ(guard[4], 'x');
    EXPECT_TRUE(ParseFilePath(W("ab/c"), guard, 5));
    EXPECT_EQ(UnitsOf(CSafeBuf(guard)), UnitsOf(W("ab/")));
    EXPECT_FALSE(ParseFilePath(W("abcd/e"), guard, 5));
    EXPECT_FALSE(ParseFilename(W("x"), guard, 0));
}

TEST(FilePaths, JoiningAndChecks)
{
    CSafeBuf path;
    AddNameToPath(path, W("a"), 0);
    EXPECT_EQ(UnitsOf(path), UnitsOf(W("a")));
    AddNameToPath(path, W("b"), '/');
    EXPECT_EQ(UnitsOf(path), UnitsOf(W("a/b/")));
    AddNameToPath(path, W("c"), '/');
    EXPECT_EQ(UnitsOf(path), UnitsOf(W("a/b/c/")));
    AddNameToPath(path, nullptr, '/');
    EXPECT_EQ(UnitsOf(path), UnitsOf(W("a/b/c/")));

    EXPECT_TRUE(IsSystemFolder(W("//USR")));
    EXPECT_TRUE(IsSystemFolder(W("//usually")));
    EXPECT_FALSE(IsSystemFolder(W("//Usually")));
    EXPECT_FALSE(IsSystemFolder(W("/usr")));

    EXPECT_TRUE(IsFilenameValid(W("a:b")));
    EXPECT_FALSE(IsFilenameValid(W("a?b")));
    EXPECT_FALSE(IsFilenameValid(nullptr));
    EXPECT_TRUE(IsValidFilename(W("report 1.txt")));
    for (const char* bad : {"", ".hidden", "a:b", "a|b", "a\"b", "a<b", "a/b"})
        EXPECT_FALSE(IsValidFilename(W(bad))) << bad;

    EXPECT_TRUE(DoesFileExist(WidePath("ascii.txt")));
    EXPECT_FALSE(DoesFileExist(WidePath("missing.txt")));
    EXPECT_FALSE(DoesFileExist(WidePath(""))); // the folder itself
    long reserved = 7;
    EXPECT_EQ(GetSizeOfFile(WidePath("ascii.txt"), &reserved), 12);
    EXPECT_EQ(reserved, 0);
    EXPECT_EQ(GetSizeOfFile(WidePath("missing.txt")), 0);
    EXPECT_TRUE(IsItAFolder(WidePath("")));
    EXPECT_TRUE(IsItAFolder(W("nowhere/")));
    EXPECT_FALSE(IsItAFolder(WidePath("ascii.txt")));
    EXPECT_FALSE(IsItAFolder(W("")));
}

TEST(FileNames, GeneratedNamesAndTimeZone)
{
    CSafeBuf a, b;
    GenerateRandomFileName(a);
    GenerateRandomFileName(b);
    EXPECT_EQ(a.Length(), 37);
    EXPECT_EQ(a.GetAt(0), '/');
    EXPECT_FALSE(a == b);

    unsigned short guid[18];
    guid[17] = 0x7777;
    GenGUID(guid);
    CSafeBuf g(guid);
    EXPECT_EQ(g.Length(), 16);
    EXPECT_EQ(UnitsOf(g.Right(8)), UnitsOf(W("GUID-GEN")));
    EXPECT_EQ(guid[17], 0x7777);

    CSafeBuf zone;
    GetTimeZone(zone);
    EXPECT_FALSE(zone.IsEmpty());
    unsigned short tiny[2] = {'x', 'x'};
    EXPECT_FALSE(GetTimeZone(tiny, 2));
    EXPECT_EQ(tiny[0], 0);
}

TEST(ResourceBuffer, ReadsBundleFilesAndRefusesEscapes)
{
    // The bundle's resources folder (from QM_RESOURCES_DIR, or found above
    // the test program); its language file is read byte for byte.
    CSafeBuf folder;
    GetResourcePath(folder, nullptr);
    ASSERT_FALSE(folder.IsEmpty());
    const std::string english = qmtest::ReadFile(qmtest::LowBytes(folder) + "/en.htm");
    ASSERT_FALSE(english.empty());
    CSafeBuf text("stale");
    EXPECT_TRUE(SaveResourceToBuffer("en.htm", &text));
    EXPECT_EQ(english, qmtest::LowBytes(text));
    EXPECT_EQ(static_cast<int>(english.size()), text.Length());
    text = "stale";
    EXPECT_TRUE(SaveResourceToBuffer(W("en.htm"), &text));
    EXPECT_EQ(english, qmtest::LowBytes(text));

    text = "stale";
    // No such resource: false and empty text.
    EXPECT_FALSE(SaveResourceToBuffer("no-such-resource.xml", &text));
    EXPECT_TRUE(text.IsEmpty());
    text = "stale";
    EXPECT_FALSE(SaveResourceToBuffer("../CMakeLists.txt", &text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(SaveResourceToBuffer("/etc/passwd", &text));
    EXPECT_FALSE(SaveResourceToBuffer(W("../../etc/passwd"), &text));
    EXPECT_FALSE(SaveResourceToBuffer(static_cast<const char*>(nullptr), &text));
}
