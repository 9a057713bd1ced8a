#include "platform/sys/Bundle.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::sys {

namespace {

// The file a build writes at the top of its build folder, naming the
// resources folder it was configured with (cmake/Quillmark.cmake).
const char kLocationNote[] = "resources.location";

bool IsFolder(const std::string& path)
{
    struct stat st
    { };
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folder holding path ("/" for a path in the root), empty when it has none.
std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The folder a location note names (its first line), when it is one.
std::string NotedFolder(const std::string& note)
{
    std::FILE* f = std::fopen(note.c_str(), "rb");
    if (!f)
        return std::string();
    std::string text(4096, '\0');
    text.resize(std::fread(&text[0], 1, text.size(), f));
    std::fclose(f);
    const size_t end = text.find_first_of("\r\n");
    if (end != std::string::npos)
        text.resize(end);
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return !text.empty() && text[0] == '/' && IsFolder(text) ? text : std::string();
}

// An address inside this module, whichever module (the executable or a
// shared module such as the plug-in) this code was linked into.
void ModuleAnchor() { }

} // namespace

const char* OwnBundleIdentifier() { return "org.quillmark.xhtmleditor"; }

const char* OwnBundleVersion() { return "1.0"; }

std::string ExecutableFolder()
{
    std::string buf(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", &buf[0], buf.size());
        if (n < 0)
            return std::string();
        if (static_cast<size_t>(n) < buf.size()) {
            buf.resize(static_cast<size_t>(n));
            break;
        }
        if (buf.size() >= 65536)
            return std::string();
        buf.resize(buf.size() * 2);
    }
    return FolderOf(buf);
}

std::string ModuleFolder()
{
    try {
        Dl_info info{};
        link_map* module = nullptr;
        if (dladdr1(reinterpret_cast<void*>(&ModuleAnchor), &info, reinterpret_cast<void**>(&module),
                RTLD_DL_LINKMAP)
            == 0)
            return ExecutableFolder();
        // The main program has no name of its own in the loader's list (and
        // dladdr answers argv[0] for it, which may be relative or a bare name).
        if (!module || !module->l_name || module->l_name[0] == '\0')
            return ExecutableFolder();
        char* real = ::realpath(module->l_name, nullptr);
        if (!real)
            return std::string();
        const std::string path(real);
        std::free(real);
        return FolderOf(path);
    } catch (...) {
        return std::string();
    }
}

std::string ResourcesFolder()
{
    try {
        if (const char* env = std::getenv("QM_RESOURCES_DIR")) {
            std::string path(env);
            while (path.size() > 1 && path.back() == '/')
                path.pop_back();
            if (IsFolder(path))
                return path;
        }
        std::string dir = ModuleFolder();
        while (!dir.empty()) {
            const std::string base = dir == "/" ? std::string() : dir;
            const std::string candidate = base + "/resources";
            if (IsFolder(candidate))
                return candidate;
            const std::string noted = NotedFolder(base + "/" + kLocationNote);
            if (!noted.empty())
                return noted;
            if (dir == "/")
                break;
            dir = FolderOf(dir);
        }
    } catch (...) { }
    return std::string();
}

std::vector<Bundle> LoadedBundles()
{
    std::vector<Bundle> bundles;
    try {
        Bundle own;
        own.identifier = OwnBundleIdentifier();
        own.version = OwnBundleVersion();
        own.resourcesPath = ResourcesFolder();
        bundles.push_back(std::move(own));
    } catch (...) { }
    return bundles;
}

} // namespace qm::sys
