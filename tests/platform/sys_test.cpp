#include "platform/sys/Bundle.h"
#include "platform/sys/SystemInfo.h"
#include "platform/sys/Uuid.h"

#include "tests/common/ScopedEnv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <sys/stat.h>

using namespace qm::sys;
using qmtest::ScopedEnv;

namespace {

bool IsFolder(const std::string& p)
{
    struct stat st
    { };
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

TEST(Bundle, ResourcesFolderFromTheEnvironmentFirst)
{
    const std::string out = QM_TEST_OUTPUT_DIR;
    ScopedEnv env("QM_RESOURCES_DIR", (out + "/").c_str());
    EXPECT_EQ(out, ResourcesFolder());
    const std::vector<Bundle> bundles = LoadedBundles();
    ASSERT_EQ(1u, bundles.size());
    EXPECT_EQ(OwnBundleIdentifier(), bundles[0].identifier);
    EXPECT_EQ(out, bundles[0].resourcesPath);
}

TEST(Bundle, ResourcesFolderFoundAboveTheExecutableWithoutTheEnvironment)
{
    ScopedEnv env("QM_RESOURCES_DIR", nullptr);
    const std::string found = ResourcesFolder();
    ASSERT_FALSE(found.empty());
    EXPECT_EQ("/resources", found.substr(found.size() - 10));
    EXPECT_TRUE(IsFolder(found));
    // It lies above the executable's folder.
    const std::string exe = ExecutableFolder();
    EXPECT_EQ(0u, exe.rfind(found.substr(0, found.size() - 10), 0));

    ScopedEnv missing("QM_RESOURCES_DIR", "/no/such/folder");
    EXPECT_EQ(found, ResourcesFolder());
}

TEST(SystemInfo, TimeZoneFromTheEnvironment)
{
    ScopedEnv env("TZ", ":Europe/Berlin");
    EXPECT_EQ("Europe/Berlin", TimeZoneName());
}

TEST(Uuid, VersionFourTextFormAndUnique)
{
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        const std::string u = NewUuidString();
        ASSERT_EQ(36u, u.size());
        for (size_t k = 0; k < u.size(); ++k) {
            if (k == 8 || k == 13 || k == 18 || k == 23)
                EXPECT_EQ('-', u[k]);
            else
                EXPECT_TRUE((u[k] >= '0' && u[k] <= '9') || (u[k] >= 'A' && u[k] <= 'F')) << u;
        }
        EXPECT_EQ('4', u[14]);
        seen.insert(u);
    }
    EXPECT_EQ(50u, seen.size());
}
