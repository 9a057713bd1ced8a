#include "base/files/FileFind.h"

#include "base/files/SystemPath.h"
#include "base/text/Ascii.h"
#include "platform/clock/LocalTime.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>

namespace {

CSafeBuf FromUtf8(const std::string& text)
{
    CSafeBuf out;
    out.AssignUTF8(text.c_str());
    return out;
}

bool IsDotsName(const std::string& name) { return name == "." || name == ".."; }

} // namespace

CFileFind::~CFileFind() { ReleaseDir(); }

void CFileFind::ReleaseDir()
{
    m_folderOpen = false;
    m_current = Entry();
    m_next = Entry();
    m_entries.clear();
    m_position = 0;
    m_hasNext = false;
    m_singleFile.clear();
}

bool CFileFind::ReadAhead()
{
    if (m_position < m_entries.size()) {
        m_next = m_entries[m_position++];
        m_hasNext = true;
    } else {
        m_next = Entry();
        m_hasNext = false;
    }
    return m_hasNext;
}

bool CFileFind::FindFile(const unsigned short* path)
{
    ReleaseDir();
    m_folder.clear();
    std::string p;
    if (!PathToSystem(path, p))
        return false;
    try {
        struct stat st
        { };
        if (stat(p.c_str(), &st) != 0)
            return false;
        if (S_ISDIR(st.st_mode)) {
            DIR* dir = opendir(p.c_str());
            if (dir == nullptr)
                return false;
            while (dirent* d = readdir(dir)) {
                Entry e;
                e.name = d->d_name;
                e.valid = true;
                if (d->d_type == DT_DIR) {
                    e.folder = true;
                } else if (d->d_type == DT_UNKNOWN) {
                    struct stat sub
                    { };
                    e.folder = lstat((p + "/" + e.name).c_str(), &sub) == 0 && S_ISDIR(sub.st_mode);
                }
                m_entries.push_back(std::move(e));
            }
            closedir(dir);
            std::sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
                const int ra = a.name == "." ? 0 : a.name == ".." ? 1 : 2;
                const int rb = b.name == "." ? 0 : b.name == ".." ? 1 : 2;
                return ra != rb ? ra < rb : a.name < b.name;
            });
            m_folder = p;
            m_folderOpen = true;
            return ReadAhead();
        }
        // One file: it must be readable.
        std::FILE* f = std::fopen(p.c_str(), "rb");
        if (f == nullptr)
            return false;
        std::fclose(f);
        const size_t slash = p.rfind('/');
        m_singleFile = slash == std::string::npos ? p : p.substr(slash + 1);
        m_folder = slash == std::string::npos ? std::string() : p.substr(0, slash);
        m_current.name = m_singleFile;
        m_current.valid = true;
        return true;
    } catch (...) {
        ReleaseDir();
        return false;
    }
}

bool CFileFind::FindNextFile()
{
    if (!m_folderOpen)
        return false;
    m_current = m_next;
    try {
        return ReadAhead();
    } catch (...) {
        m_hasNext = false;
        return false;
    }
}

std::string CFileFind::CurrentPath() const
{
    if (m_folder.empty())
        return m_current.name;
    return m_folder + "/" + m_current.name;
}

CSafeBuf CFileFind::GetFileName() const { return FromUtf8(m_current.name); }

CSafeBuf CFileFind::GetFilePath() const
{
    try {
        return FromUtf8(CurrentPath());
    } catch (...) {
        return CSafeBuf();
    }
}

bool CFileFind::IsDirectory() const
{
    if (!m_current.valid || !m_current.folder)
        return false;
    // An application bundle is a folder that is shown as a file.
    const std::string& name = m_current.name;
    return !(name.size() >= 5 && EndsWithNoCase(name, ".app"));
}

bool CFileFind::IsDots() const { return m_current.valid && IsDotsName(m_current.name); }

long long CFileFind::GetLength() const
{
    if (!m_current.valid)
        return 0;
    struct stat st
    { };
    if (stat(CurrentPath().c_str(), &st) != 0)
        return 0;
    return static_cast<long long>(st.st_size);
}

bool CFileFind::GetLastWriteTime(SYSTEMTIME& time) const
{
    if (!m_current.valid)
        return false;
    struct stat st
    { };
    if (stat(CurrentPath().c_str(), &st) != 0)
        return false;
    qm::clock::LocalDateTime utc;
    if (!qm::clock::UtcFromEpochSeconds(static_cast<long long>(st.st_mtime), utc))
        return false;
    time.wYear = static_cast<WORD>(utc.year);
    time.wMonth = static_cast<WORD>(utc.month);
    time.wDay = static_cast<WORD>(utc.day);
    time.wHour = static_cast<WORD>(utc.hour);
    time.wMinute = static_cast<WORD>(utc.minute);
    time.wSecond = static_cast<WORD>(utc.second);
    return true;
}
