#include "base/app/DebugLog.h"

#include "base/files/SystemPath.h"
#include "base/files/UserFolders.h"
#include "base/shims/TimeShims.h"
#include "base/text/SafeBuf.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string SystemPathIn(const CSafeBuf& folder, const char* name)
{
    CSafeBuf path(folder);
    path += '/';
    path += name;
    return PathToSystem(static_cast<const unsigned short*>(path));
}

// Copies everything from offset `from` of `log` into a new file at `target`.
// False (and no target left behind) when any part of it fails.
bool CopyTail(std::FILE* log, long from, const std::string& target)
{
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (out == nullptr)
        return false;
    bool ok = std::fseek(log, from, SEEK_SET) == 0;
    char block[512];
    while (ok) {
        const size_t n = std::fread(block, 1, sizeof block, log);
        if (n > 0 && std::fwrite(block, 1, n, out) != n)
            ok = false;
        if (n < sizeof block) {
            if (std::ferror(log))
                ok = false;
            break;
        }
    }
    if (std::fclose(out) != 0)
        ok = false;
    if (!ok)
        std::remove(target.c_str());
    return ok;
}

} // namespace

void WriteLogFile(const char* tag, const char* data, int length)
{
    try {
        const CSafeBuf& folder = GetUserCacheFolder();
        if (folder.IsEmpty())
            return;
        const std::string logPath = SystemPathIn(folder, "debug.log");
        if (logPath.empty())
            return;

        SYSTEMTIME t{};
        GetLocalTime(&t);
        char stamp[96];
        std::snprintf(stamp, sizeof stamp, "\n%04d-%02d-%02d %02d:%02d:%02d[%lu] [", t.wYear, t.wMonth,
            t.wDay, t.wHour, t.wMinute, t.wSecond, GetTickCount());
        std::string head(stamp);
        head += tag != nullptr ? tag : "";
        head += "] ";

        std::FILE* log = std::fopen(logPath.c_str(), "a+b");
        if (log == nullptr)
            return;

        long size = -1;
        if (std::fseek(log, 0, SEEK_END) == 0)
            size = std::ftell(log);
        if (size >= kDebugLogRotateAt) {
            const std::string rotated = SystemPathIn(folder, "debug1.log");
            std::remove(rotated.c_str());
            if (CopyTail(log, kDebugLogKeepFrom, rotated)) {
                std::fclose(log);
                // rename replaces the old log in one step, so no moment is
                // without a log.
                if (std::rename(rotated.c_str(), logPath.c_str()) != 0)
                    std::remove(rotated.c_str());
                log = std::fopen(logPath.c_str(), "a+b");
                if (log == nullptr)
                    return;
            }
        }

        std::fwrite(head.data(), 1, head.size(), log);
        if (data != nullptr) {
            const size_t n = length < 0 ? std::strlen(data) : static_cast<size_t>(length);
            if (n > 0)
                std::fwrite(data, 1, n, log);
        }
        std::fclose(log);
    } catch (...) {
        // The log never reports a failure.
    }
}
