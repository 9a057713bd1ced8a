#include "platform/sys/Bundle.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::sys {

namespace {

bool IsFolder(const std::string& path)
{
    struct stat st
    { };
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

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
    const size_t slash = buf.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? std::string("/") : buf.substr(0, slash);
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
        std::string dir = ExecutableFolder();
        while (!dir.empty()) {
            const std::string candidate = (dir == "/" ? std::string() : dir) + "/resources";
            if (IsFolder(candidate))
                return candidate;
            if (dir == "/")
                break;
            const size_t slash = dir.rfind('/');
            if (slash == std::string::npos)
                break;
            dir = slash == 0 ? std::string("/") : dir.substr(0, slash);
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
