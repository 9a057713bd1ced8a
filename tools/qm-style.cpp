// qm-style [--css FILE]... FILE
//
// Reads the style sheets given with --css, in order, as the page's style
// sheet, then the XHTML document or fragment FILE (UTF-8) through the markup
// reader, and writes each element's computed style to standard output, one
// element a line in document order: its indexed tag path and the slots its
// style has set (style/cascade/StyleReport.h). The document's own <style>
// elements are not read. A sheet or document that cannot be read gives the
// reason on standard error and exit status 1; a wrong command line status 2.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/markup/MarkupDocument.h"
#include "style/cascade/StyleReport.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fputs("usage: qm-style [--css FILE]... FILE\n", stderr);
    return 2;
}

std::string Utf8Of(const CSafeBuf& text)
{
    char* utf8 = nullptr;
    const int length = text.CreateUTF8Str(&utf8);
    std::string out(utf8 ? utf8 : "", utf8 ? static_cast<size_t>(length) : 0);
    delete[] utf8;
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<const char*> sheets;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--css") == 0 && i + 1 < argc)
            sheets.push_back(argv[++i]);
        else if (!path && argv[i][0] != '-')
            path = argv[i];
        else
            return Usage();
    }
    if (!path)
        return Usage();

    CXHTML engine;
    for (const char* sheet : sheets) {
        CSafeBuf location;
        location.AssignUTF8(sheet);
        if (!engine.m_doc.LoadStyleClass(location, 1, false, 0)) {
            std::fprintf(stderr, "qm-style: %s: cannot be read as a style sheet\n", sheet);
            return 1;
        }
    }

    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (!in || !(bytes << in.rdbuf())) {
        std::fprintf(stderr, "qm-style: %s: cannot be read\n", path);
        return 1;
    }
    const std::string markup = bytes.str();
    CMarkupDocument document(&engine);
    CSafeBuf error;
    if (!document.Read(markup.data(), markup.size(), error) || !document.Body()) {
        error.Replace("<br />", "\n");
        std::fprintf(stderr, "qm-style: %s:\n%s\n", path, Utf8Of(error).c_str());
        return 1;
    }
    CSafeBuf report;
    ReportStyles(document.Body(), report, 0);
    const std::string text = Utf8Of(report);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "qm-style: cannot write the output\n");
        return 1;
    }
    return 0;
}
