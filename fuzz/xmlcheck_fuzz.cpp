// The check a load asks before it lets a tree go: whatever it vouches for
// must parse (and settle its entities) into a document whose html root has a
// body, or the load would have dropped the tree for nothing.

#include "fuzz/FuzzText.h"

#include "base/xml/Xml.h"
#include "base/xml/XmlCheck.h"
#include "element/markup/MarkupEntities.h"

#include <libxml/parser.h>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!XmlParsesWithChild(bytes.data(), bytes.size(), "html", "body"))
        return 0;
    xmlDoc* doc = LoadXMLBytes(bytes.data(), bytes.size(), nullptr, true);
    QM_FUZZ_CHECK(doc);
    QM_FUZZ_CHECK(SettleDeclaredEntities(doc, bytes.size(), nullptr));
    xmlNode* root = GetRootElement(doc);
    QM_FUZZ_CHECK(root);
    xmlNode* body = nullptr;
    QM_FUZZ_CHECK(FindChildNode(root, "body", &body) && body);
    XMLReleaseDom(doc);
    return 0;
}
