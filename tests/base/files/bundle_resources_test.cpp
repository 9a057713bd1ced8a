#include "base/files/BundleResources.h"
#include "base/files/Version.h"
#include "platform/sys/Bundle.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using qmtest::LowBytes;
using qmtest::U16;
using qmtest::U16String;
using qmtest::WriteFile;

namespace {

std::string BigEndian(unsigned v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

} // namespace

TEST(BundleResources, ResourcesFolderOfTheOwnBundle)
{
    const char* env = std::getenv("QM_RESOURCES_DIR");
    CSafeBuf path;
    GetBundleResourcePath(path);
    ASSERT_FALSE(path.IsEmpty());
    if (env != nullptr) {
        EXPECT_EQ(std::string(env), LowBytes(path));
    }
    ASSERT_NE(nullptr, GetCurrentBundle());
    EXPECT_EQ(qm::sys::OwnBundleIdentifier(), GetCurrentBundle()->identifier);

    CSafeBuf file;
    GetResourcePath(file, "default.css");
    EXPECT_EQ(LowBytes(path) + "/default.css", LowBytes(file));
    GetResourcePath(file, nullptr);
    EXPECT_EQ(LowBytes(path), LowBytes(file));
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
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("icns-")));
    const std::string dir = scratch.Path();
    const std::string element = "is32" + BigEndian(12) + "abcd";
    const std::string good = "icns" + BigEndian(8 + 12) + element;
    WriteFile(dir + "/good.icns", good);
    WriteFile(dir + "/short.icns", good.substr(0, good.size() - 1));
    WriteFile(dir + "/empty.icns", "icns" + BigEndian(8));
    WriteFile(dir + "/overrun.icns", "icns" + BigEndian(20) + "is32" + BigEndian(400) + "abcd");

    IconRef icon = LoadIconFromIcnsFile(U16(U16String(dir + "/good.icns")));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(good.size(), icon->data.size());
    ReleaseIconRef(icon);
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(U16(U16String(dir + "/short.icns"))));
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(U16(U16String(dir + "/empty.icns"))));
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(U16(U16String(dir + "/overrun.icns"))));
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(U16(U16String(dir + "/missing.icns"))));
    EXPECT_EQ(nullptr, LoadIconFromIcnsFile(nullptr));
}

TEST(BundleResources, VersionTextOfABundle)
{
    qm::sys::Bundle bundle;
    bundle.version = " 2.5.1\n";
    CSafeBuf version = U16(u"old");
    GetFileVersion(version, &bundle);
    EXPECT_EQ("2.5.1", LowBytes(version));
    bundle.version.clear();
    GetFileVersion(version, &bundle);
    EXPECT_EQ("2.5.1", LowBytes(version)) << "a bundle without a version leaves the text as it was";
    GetFileVersion(version);
    EXPECT_EQ(qm::sys::OwnBundleVersion(), LowBytes(version));
}
