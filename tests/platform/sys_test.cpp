#include "platform/sys/Bundle.h"
#include "platform/sys/SystemInfo.h"
#include "platform/sys/Uuid.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
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

std::string RealPath(const std::string& p)
{
    char* real = ::realpath(p.c_str(), nullptr);
    std::string out = real ? real : "";
    std::free(real);
    return out;
}

std::string ProjectResources() { return RealPath(QM_TEST_DATA_DIR "/../../resources"); }

// The resources folder as code inside the shared module at path finds it.
std::string ProbeResources(const std::string& path)
{
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return "cannot load " + path + ": " + ::dlerror();
    typedef const char* (*Probe)();
    Probe probe = reinterpret_cast<Probe>(::dlsym(module, "QmProbeResourcesFolder"));
    std::string found = probe ? probe() : "no probe";
    ::dlclose(module);
    return found;
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
    // The module holding the code is the executable; from its folder upward
    // the build folder's note names the project's resources/, wherever the
    // build folder is.
    EXPECT_EQ(ExecutableFolder(), ModuleFolder());
    EXPECT_EQ(ProjectResources(), RealPath(found));

    ScopedEnv missing("QM_RESOURCES_DIR", "/no/such/folder");
    EXPECT_EQ(found, ResourcesFolder());
}

TEST(Bundle, ALoadedModuleLooksFromItsOwnFolder)
{
    ScopedEnv env("QM_RESOURCES_DIR", nullptr);
    // Loaded from the build folder, as a browser loads the plug-in.
    EXPECT_EQ(ProjectResources(), RealPath(ProbeResources(QM_RESOURCES_PROBE)));

    // Installed elsewhere beside a resources folder: that one, whatever lies
    // above the executable.
    qmtest::TempDir place;
    ASSERT_TRUE(place.Create(qmtest::TestOutputPath("bundle-")));
    ASSERT_EQ(0, ::mkdir((place.Path() + "/lib").c_str(), 0700));
    ASSERT_EQ(0, ::mkdir((place.Path() + "/resources").c_str(), 0700));
    const std::string module = place.Path() + "/lib/probe.so";
    ASSERT_TRUE(qmtest::WriteFile(module, qmtest::ReadFile(QM_RESOURCES_PROBE)));
    EXPECT_EQ(RealPath(place.Path() + "/resources"), ProbeResources(module));
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
