// The external entity loader: the system catalog and the resources folder.

#include "base/xml/XmlEntityLoader.h"

#include <libxml/catalog.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/uri.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "base/files/BundleResources.h"
#include "base/files/SystemPath.h"
#include "base/text/SafeBuf.h"

namespace {

// The local path a path or URL names: a URL without a scheme is a path
// (escapes decoded), a "file:" URL gives its path when it names no host other
// than "localhost"; anything else names no local file.
std::string LocalPath(const char* pathOrUrl)
{
    std::string path;
    if (!pathOrUrl || !*pathOrUrl)
        return path;
    xmlURI* uri = xmlParseURI(pathOrUrl);
    if (!uri)
        return path;
    const bool local = uri->scheme == nullptr || xmlStrcasecmp(BAD_CAST uri->scheme, BAD_CAST "file") == 0;
    const bool noHost = uri->server == nullptr || uri->server[0] == 0
        || xmlStrcasecmp(BAD_CAST uri->server, BAD_CAST "localhost") == 0;
    if (local && noHost && uri->path != nullptr && uri->opaque == nullptr)
        path = uri->path;
    xmlFreeURI(uri);
    return path;
}

// The path of a regular file with every link followed; empty when it names
// none.
std::string RealFile(const std::string& path)
{
    std::string real;
    if (path.empty())
        return real;
    if (char* resolved = realpath(path.c_str(), nullptr)) {
        real = resolved;
        std::free(resolved);
    }
    struct stat info;
    if (!real.empty() && (stat(real.c_str(), &info) != 0 || !S_ISREG(info.st_mode)))
        real.clear();
    return real;
}

// The real path of a file inside the resources folder, or empty.
std::string ResourceFile(const char* pathOrUrl)
{
    CSafeBuf folder;
    GetResourcePath(folder, nullptr);
    const std::string file = RealFile(LocalPath(pathOrUrl));
    char* resolved = file.empty() ? nullptr : realpath(PathToSystem(folder).c_str(), nullptr);
    if (!resolved)
        return std::string();
    std::string root = resolved;
    std::free(resolved);
    if (root.back() != '/')
        root += '/';
    return file.compare(0, root.size(), root) == 0 ? file : std::string();
}

// The local file the system catalog gives for a public or system identifier,
// or empty.
std::string CatalogFile(const char* url, const char* id)
{
    if (!url && !id)
        return std::string();
    xmlChar* resolved = xmlCatalogResolve(BAD_CAST id, BAD_CAST url);
    if (!resolved && url)
        resolved = xmlCatalogResolveURI(BAD_CAST url);
    if (!resolved)
        return std::string();
    std::string file = LocalPath(reinterpret_cast<const char*>(resolved));
    xmlFree(resolved);
    return file;
}

xmlParserInputPtr LoadEntity(const char* url, const char* id, xmlParserCtxtPtr ctxt)
{
    try {
        std::string file = CatalogFile(url, id);
        if (file.empty())
            file = ResourceFile(url);
        if (!file.empty())
            return xmlNewInputFromFile(ctxt, file.c_str());
    } catch (...) {
        // out of memory: resolves to nothing, as below
    }
    return xmlNewStringInputStream(ctxt, BAD_CAST "");
}

} // namespace

void XmlInstallEntityLoader()
{
    static const bool installed = [] {
        xmlSetExternalEntityLoader(LoadEntity);
        return true;
    }();
    (void)installed;
}

bool XmlIsResourceFile(const char* pathOrUrl)
{
    try {
        return !ResourceFile(pathOrUrl).empty();
    } catch (...) {
        return false;
    }
}
