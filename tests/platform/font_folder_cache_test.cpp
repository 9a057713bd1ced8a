// A font folder read from the machine's fontconfig cache gives the fonts a
// scan of its files gives, pattern for pattern and in the same order.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/FontFolderCache.h"

using namespace qm::text;

namespace {

FcConfig* NewConfig()
{
    FcConfig* config = FcConfigCreate();
    std::string xml = "<?xml version=\"1.0\"?>\n<fontconfig>\n";
    xml += FontCacheFolders();
    xml += "</fontconfig>\n";
    if (config
        && (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue)
            || !FcConfigBuildFonts(config))) {
        FcConfigDestroy(config);
        return nullptr;
    }
    return config;
}

} // namespace

TEST(FontFolderCache, GivesWhatAScanOfTheFilesGives)
{
    int compared = 0;
    for (const char* dir : {"/usr/share/fonts/truetype/liberation2", "/usr/share/fonts/truetype/dejavu"}) {
        const std::vector<std::string> files = FontFilesOf(dir);
        if (files.size() < 2)
            continue;
        FcConfig* scanned = NewConfig();
        FcConfig* cached = NewConfig();
        ASSERT_TRUE(scanned && cached);
        for (const std::string& f : files)
            FcConfigAppFontAddFile(scanned, reinterpret_cast<const FcChar8*>(f.c_str()));
        if (AddCachedFonts(cached, dir, files)) {
            const FcFontSet* a = FcConfigGetFonts(scanned, FcSetApplication);
            const FcFontSet* b = FcConfigGetFonts(cached, FcSetApplication);
            ASSERT_TRUE(a && b);
            ASSERT_EQ(a->nfont, b->nfont) << dir;
            for (int i = 0; i < a->nfont; ++i)
                EXPECT_TRUE(FcPatternEqual(a->fonts[i], b->fonts[i])) << dir << " font " << i;
            ++compared;
        }
        // A folder the cache does not hold every file of is left to the scan.
        std::vector<std::string> more = files;
        more.push_back(std::string(dir) + "/no-such-font.ttf");
        FcConfig* refused = NewConfig();
        ASSERT_TRUE(refused);
        EXPECT_FALSE(AddCachedFonts(refused, dir, more));
        EXPECT_EQ(nullptr, FcConfigGetFonts(refused, FcSetApplication));
        FcConfigDestroy(refused);
        FcConfigDestroy(scanned);
        FcConfigDestroy(cached);
    }
    if (compared == 0)
        GTEST_SKIP() << "no font folder with a valid fontconfig cache";
}
