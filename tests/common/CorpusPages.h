#pragma once
// The real pages of tests/data/corpus as tests read them: the folders and
// pages listed, the bytes read as text (a page that is not UTF-8 is
// Latin-1, the encoding of the corpus's older pages), and the text of a
// parsed page with its words kept apart where a browser shows them apart.

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qmtest {

// The folders (folders) or the .html and .htm pages of dir, sorted.
inline std::vector<std::string> List(const std::string& dir, bool folders)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name[0] == '.')
                continue;
            const bool isFolder = e->d_type == DT_DIR;
            const bool isPage = name.size() > 4
                && (name.compare(name.size() - 5, 5, ".html") == 0
                    || name.compare(name.size() - 4, 4, ".htm") == 0);
            if (folders ? isFolder : isPage)
                names.push_back(name);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A page's "<package>/<file>" as a test's name: letters and digits kept,
// everything else an underscore.
inline std::string TestNameOf(const std::string& page)
{
    std::string name;
    for (char c : page)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

// "<package>/<file>" of the first page of each package folder of corpus.
inline std::vector<std::string> FirstPages(const std::string& corpus)
{
    std::vector<std::string> pages;
    for (const std::string& package : List(corpus, true)) {
        const std::vector<std::string> files = List(corpus + "/" + package, false);
        if (!files.empty())
            pages.push_back(package + "/" + files.front());
    }
    return pages;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool IsUtf8(const std::string& s)
{
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0 || i + more >= s.size())
            return false;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        i += more + 1;
    }
    return true;
}

// The page hands the control text, not bytes: a page that is not UTF-8 is
// read as Latin-1, the encoding of the corpus's older pages.
inline std::string AsText(const std::string& bytes)
{
    if (IsUtf8(bytes))
        return bytes;
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

inline bool IsNamed(const xmlNode* n, const char* name)
{
    return n->type == XML_ELEMENT_NODE && xmlStrcasecmp(n->name, BAD_CAST name) == 0;
}

// Elements that a browser shows apart from the text around them: their
// edges separate words.
inline bool SeparatesWords(const xmlNode* n)
{
    static const char* const kNames[] = {"address", "blockquote", "body", "br", "caption", "center", "dd",
        "div", "dl", "dt", "fieldset", "form", "h1", "h2", "h3", "h4", "h5", "h6", "head", "hr", "html",
        "legend", "li", "noscript", "ol", "option", "p", "pre", "select", "table", "tbody", "td", "textarea",
        "tfoot", "th", "thead", "title", "tr", "ul", "section", "article", "nav", "header", "footer", "aside",
        "figure", "figcaption", "main", "details", "summary"};
    for (const char* name : kNames)
        if (IsNamed(n, name))
            return true;
    return false;
}

inline void CollectText(const xmlNode* n, std::string& out)
{
    for (; n; n = n->next) {
        if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE) {
            out += reinterpret_cast<const char*>(n->content);
        } else if (n->type == XML_ELEMENT_NODE && !IsNamed(n, "script") && !IsNamed(n, "style")) {
            const bool apart = SeparatesWords(n);
            if (apart)
                out += ' ';
            CollectText(n->children, out);
            if (apart)
                out += ' ';
        } else if (n->type == XML_ENTITY_REF_NODE) {
            CollectText(n->children, out);
        }
    }
}

// The words of the body of a written value, split where a browser shows
// the text apart (the document's own plain text joins the text after a
// block's end to the block's last word).
inline std::vector<std::string> BodyWords(std::string markup)
{
    std::vector<std::string> words;
    if (markup.find("<html") == std::string::npos)
        markup = "<body>" + markup + "</body>"; // a value that is a fragment
    xmlDocPtr doc = xmlReadMemory(markup.data(), static_cast<int>(markup.size()), "value.xml", nullptr,
        XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc)
        return {"(not well-formed)"};
    const xmlNode* n = xmlDocGetRootElement(doc);
    while (n && !IsNamed(n, "body")) {
        const xmlNode* next = nullptr;
        for (const xmlNode* c = n->children; c && !next; c = c->next)
            if (c->type == XML_ELEMENT_NODE && (IsNamed(c, "body") || IsNamed(c, "html")))
                next = c;
        n = next;
    }
    std::string text;
    if (n)
        CollectText(n->children, text);
    xmlFreeDoc(doc);
    std::istringstream in(text);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// Where two lists of words first differ; empty when they do not.
inline std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (size_t i = 0; i < a.size() || i < b.size(); ++i) {
        const std::string x = i < a.size() ? a[i] : "(end)";
        const std::string y = i < b.size() ? b[i] : "(end)";
        if (x != y)
            return "word " + std::to_string(i) + ": \"" + x + "\" became \"" + y + "\"";
    }
    return "";
}

// Where two values first differ, with some text on either side; empty
// when they are the same.
inline std::string ValueDifference(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return "";
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    const std::size_t from = at > 160 ? at - 160 : 0;
    return "at " + std::to_string(at) + ":\n  " + expected.substr(from, 320) + "\nbecame\n  "
        + actual.substr(from, 320);
}

} // namespace qmtest
