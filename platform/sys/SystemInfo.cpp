#include "platform/sys/SystemInfo.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace qm::sys {

namespace {

// Reads up to three dot-separated numbers from the start of a release text.
void ParseRelease(const std::string& text, unsigned parts[3])
{
    parts[0] = parts[1] = parts[2] = 0;
    size_t i = 0;
    for (int p = 0; p < 3 && i < text.size(); ++p) {
        unsigned value = 0;
        bool any = false;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (value < 100000)
                value = value * 10 + static_cast<unsigned>(text[i] - '0');
            ++i;
            any = true;
        }
        if (!any)
            break;
        parts[p] = value;
        if (i >= text.size() || text[i] != '.')
            break;
        ++i;
    }
}

} // namespace

std::string SystemVersion()
{
    struct utsname u
    { };
    if (uname(&u) != 0)
        return std::string();
    return std::string(u.release);
}

unsigned SystemVersionWord()
{
    unsigned parts[3];
    ParseRelease(SystemVersion(), parts);
    const unsigned major = parts[0] > 0xFF ? 0xFF : parts[0];
    const unsigned minor = parts[1] > 0xF ? 0xF : parts[1];
    const unsigned patch = parts[2] > 0xF ? 0xF : parts[2];
    return (major << 8) | (minor << 4) | patch;
}

std::string MachineName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return std::string();
    return std::string(name);
}

std::string TimeZoneName()
{
    try {
        if (const char* tz = std::getenv("TZ")) {
            std::string name(tz);
            if (!name.empty() && name[0] == ':')
                name.erase(0, 1);
            if (!name.empty())
                return name;
        }
        // /etc/localtime is usually a link into the zone database.
        std::string link(512, '\0');
        ssize_t n = readlink("/etc/localtime", &link[0], link.size());
        if (n > 0 && static_cast<size_t>(n) < link.size()) {
            link.resize(static_cast<size_t>(n));
            const std::string marker = "zoneinfo/";
            const size_t at = link.find(marker);
            if (at != std::string::npos && at + marker.size() < link.size())
                return link.substr(at + marker.size());
        }
        std::ifstream in("/etc/timezone");
        std::string name;
        if (in && std::getline(in, name)) {
            while (!name.empty() && (name.back() == ' ' || name.back() == '\r'))
                name.pop_back();
            if (!name.empty())
                return name;
        }
    } catch (...) { }
    return "UTC";
}

unsigned long CurrentThreadId() { return static_cast<unsigned long>(syscall(SYS_gettid)); }

} // namespace qm::sys
