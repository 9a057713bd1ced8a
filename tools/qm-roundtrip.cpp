// qm-roundtrip [--compact] FILE
//
// Reads an XHTML document or fragment from FILE (UTF-8), builds the element
// tree through the markup reader and the tree repair, and writes the markup
// back to standard output: indented (one TAB a level) unless --compact is
// given. Markup that does not read (malformed, not UTF-8, empty) and files
// that cannot be read give the reason on standard error and exit status 1;
// nothing is written to standard output then.

#include "base/text/SafeBuf.h"
#include "base/text/Utf.h"
#include "base/xml/XmlLoad.h"
#include "editor/XHTML.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Usage()
{
    std::fputs("usage: qm-roundtrip [--compact] FILE\n", stderr);
    return 2;
}

// The file's bytes; false with the reason when it cannot be read.
bool ReadFile(const char* path, std::string& bytes, std::string& reason)
{
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = S_ISDIR(st.st_mode) ? "is a folder, not a file" : "is not a regular file";
        close(fd);
        return false;
    }
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            reason = std::strerror(errno);
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return true;
}

// The error text of the XML layer as plain text: its "<br />" breaks become
// line ends.
std::string PlainReason(CSafeBuf error)
{
    error.Replace("<br />", "\n");
    std::string out;
    const unsigned short* s = error;
    for (int i = 0; i < error.Length(); ++i)
        out += s[i] < 0x80 ? static_cast<char>(s[i]) : '?';
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

// The text as UTF-8 to file, a part at a time (a surrogate pair is never
// cut), so that no copy of the whole text is made.
bool WriteUtf8(const CSafeBuf& text, FILE* file)
{
    constexpr int kPart = 1 << 16;
    const unsigned short* units = text;
    const int length = text.Length();
    bool written = true;
    for (int at = 0; at < length;) {
        int end = at + kPart < length ? at + kPart : length;
        if (end < length && units[end - 1] >= 0xD800 && units[end - 1] <= 0xDBFF)
            --end;
        unsigned char* utf8 = nullptr;
        const int n = Unicode2UTF8(units + at, &utf8, end - at);
        if (!utf8)
            return false;
        written = std::fwrite(utf8, 1, static_cast<size_t>(n), file) == static_cast<size_t>(n) && written;
        delete[] utf8;
        at = end;
    }
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    bool compact = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--compact") == 0)
            compact = true;
        else if (!path && argv[i][0] != '-')
            path = argv[i];
        else
            return Usage();
    }
    if (!path)
        return Usage();

    std::string bytes, reason;
    if (!ReadFile(path, bytes, reason)) {
        std::fprintf(stderr, "qm-roundtrip: %s: %s\n", path, reason.c_str());
        return 1;
    }
    CXHTML engine;
    CMarkupDocument document(&engine);
    CSafeBuf error;
    if (!document.Read(bytes.data(), bytes.size(), error)) {
        std::fprintf(stderr, "qm-roundtrip: %s:\n%s\n", path, PlainReason(error).c_str());
        return 1;
    }
    std::string().swap(bytes); // read: not needed while the markup is written
    CSafeBuf markup;
    document.Write(markup, compact ? 0 : kSourceIndent);
    bool written = WriteUtf8(markup, stdout);
    if (compact)
        written = std::fputc('\n', stdout) != EOF && written;
    if (std::fflush(stdout) != 0 || !written) {
        std::fprintf(stderr, "qm-roundtrip: cannot write the output\n");
        return 1;
    }
    return 0;
}
