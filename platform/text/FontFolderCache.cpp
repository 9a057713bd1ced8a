#include "platform/text/FontFolderCache.h"

#include <dirent.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/common/Ascii.h"

namespace qm::text {

namespace {

struct FontSetFree
{
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};

} // namespace

std::vector<std::string> FontFilesOf(const std::string& dir)
{
    std::vector<std::string> files;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name.size() > 4
                && (ascii::EndsWithNoCase(name, ".ttf") || ascii::EndsWithNoCase(name, ".otf")
                    || ascii::EndsWithNoCase(name, ".ttc")))
                files.push_back(dir + "/" + name);
        }
        closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

const char* FontCacheFolders()
{
    return "<cachedir>/var/cache/fontconfig</cachedir>\n<cachedir prefix=\"xdg\">fontconfig</cachedir>\n";
}

bool AddCachedFonts(FcConfig* config, const std::string& dir, const std::vector<std::string>& files)
{
    FcCache* cache = FcDirCacheLoad(reinterpret_cast<const FcChar8*>(dir.c_str()), config, nullptr);
    if (!cache)
        return false;
    std::unique_ptr<FcFontSet, FontSetFree> cached(FcCacheCopySet(cache));
    FcDirCacheUnload(cache);
    if (!cached)
        return false;
    // The cached fonts of each file in turn, in the cache's order within a
    // file (a collection's faces by index).
    std::vector<std::vector<FcPattern*>> fonts(files.size());
    for (size_t f = 0; f < files.size(); ++f) {
        for (int i = 0; i < cached->nfont; ++i) {
            FcChar8* path = nullptr;
            if (FcPatternGetString(cached->fonts[i], FC_FILE, 0, &path) == FcResultMatch
                && std::strcmp(reinterpret_cast<const char*>(path), files[f].c_str()) == 0)
                fonts[f].push_back(cached->fonts[i]);
        }
        if (fonts[f].empty())
            return false; // a file the cache does not know: the folder is scanned
    }
    size_t first = 0;
    FcFontSet* set = FcConfigGetFonts(config, FcSetApplication);
    if (!set) {
        // The configuration's first application font makes its set of them:
        // that file is scanned.
        if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(files[0].c_str())))
            return false;
        set = FcConfigGetFonts(config, FcSetApplication);
        if (!set)
            return false;
        first = 1;
    }
    for (size_t f = first; f < files.size(); ++f) {
        for (FcPattern* font : fonts[f]) {
            FcPattern* copy = FcPatternDuplicate(font);
            if (copy && !FcFontSetAdd(set, copy))
                FcPatternDestroy(copy); // out of memory: the font is left out, as a scan would leave it
        }
    }
    return true;
}

} // namespace qm::text
