#include "base/BundleResources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string Narrow(const CSafeBuf& b)
{
    std::string out;
    for (int i = 0; i < b.Length(); ++i)
        out += static_cast<char>(b.GetAt(i));
    return out;
}

std::u16string Wide(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}

const unsigned short* U16(const std::u16string& s)
{
    return reinterpret_cast<const unsigned short*>(s.c_str());
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string BigEndian(unsigned v)
{
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

}  // namespace

TEST(BundleResources, ResourcesFolderOfTheOwnBundle)
{
    const char* env = std::getenv("QM_RESOURCES_DIR");
    CSafeBuf path;
    GetBundleResourcePath(path);
    ASSERT_FALSE(path.IsEmpty());
    if (env != nullptr) {
        EXPECT_EQ(std::string(env), Narrow(path));
    }
    ASSERT_NE(nullptr, GetCurrentBundle());
    EXPECT_EQ(qm::sys::OwnBundleIdentifier(), GetCurrentBundle()->identifier);

    CSafeBuf file;
    GetResourcePath(file, "default.css");
    EXPECT_EQ(Narrow(path) + "/default.css", Narrow(file));
    GetResourcePath(file, nullptr);
    EXPECT_EQ(Narrow(path), Narrow(file));
}

TEST(BundleResources, StringFromUrlDecodesUtf8)
{
    CSafeBuf text;
    GetStringFromURL(text, "file:///caf\xC3\xA9");
    EXPECT_EQ(12, text.Length());
    EXPECT_EQ(0xE9, text.GetAt(11));
    GetStringFromURL(text, nullptr);
    EXPECT_TRUE(text.IsEmpty());
}

TEST(BundleResources, IconFamiliesAreCheckedBeforeTheyAreTaken)
{
    const std::string dir = QM_TEST_OUTPUT_DIR;
    const std::string element = "is32" + BigEndian(12) + "abcd";
    const std::string good = "icns" + BigEndian(8 + 12) + element;
    WriteBytes(dir + "/good.icns", good);
    WriteBytes(dir + "/short.icns", good.substr(0, good.size() - 1));
    WriteBytes(dir + "/empty.icns", "icns" + BigEndian(8));
    WriteBytes(dir + "/overrun.icns", "icns" + BigEndian(20) + "is32" + BigEndian(400) + "abcd");

    IconRef icon = LoadIconFromIcnsFile(U16(Wide(dir + "/good.icns")));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(good.size(), icon->data.size());
    ReleaseIconRef(icon);
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(U16(Wide(dir + "/short.icns"))));
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(U16(Wide(dir + "/empty.icns"))));
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(U16(Wide(dir + "/overrun.icns"))));
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(U16(Wide(dir + "/missing.icns"))));
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(nullptr));
}
