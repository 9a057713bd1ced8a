// The XML layer on fuzzed text: load, walk every node through the name-path
// queries and the value functions, run a fuzzed XPath, remove a node, and
// apply the language filter.

#include "fuzz/FuzzText.h"

#include "base/text/SafeBuf.h"
#include "base/xml/Xml.h"

#include <libxml/parser.h>

#include <string>

namespace {

const unsigned short kOne[] = {'1', 0};

void Visit(xmlNode* node, const std::string& fuzzedName, int depth)
{
    CSafeBuf name, value, other;
    GetNameValue(node, name, value, depth % 2 == 0);
    MacGetTagName(node, name);
    GetElementXML(node, other);
    if (depth < 3)
        XMLGetNodeXML(node, other);
    GetNamespaceInfo(node, &name, &value);
    if (node->type == XML_ELEMENT_NODE) {
        for (xmlAttr* a = node->properties; a; a = a->next) {
            XMLGetAttrInfo(a, name, value);
            if (!name.IsEmpty())
                QM_FUZZ_CHECK(FindAttribute(static_cast<const unsigned short*>(name), other, node));
            GetNamespaceInfo(reinterpret_cast<xmlNode*>(a), &name, nullptr);
        }
        FindAttribute(fuzzedName.c_str(), value, node);
        GetNodeValue(fuzzedName.c_str(), value, node, 0, "id", kOne);
    }
    libIXMLDOMNodeList* list = nullptr;
    QM_FUZZ_CHECK(SelectNodes(node, fuzzedName.c_str(), &list) && list);
    xmlNode* n = nullptr;
    int count = 0;
    while (list->nextNode(&n)) {
        QM_FUZZ_CHECK(n != nullptr);
        ++count;
    }
    QM_FUZZ_CHECK(count == list->GetLength());
    list->Release();
    xmlNode* first = nullptr;
    if (SelectNode(node, fuzzedName.c_str(), &first))
        QM_FUZZ_CHECK(first != nullptr && count > 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 20000)
        return 0;
    FuzzedDataProvider fdp(data, size);
    std::string name = qmfuzz::ConsumeBytes(fdp, 12);
    std::string xpath = qmfuzz::ConsumeBytes(fdp, 40);
    std::vector<unsigned short> lang = qmfuzz::Widen(qmfuzz::ConsumeBytes(fdp, 6));
    bool wideText = fdp.ConsumeBool();
    std::vector<unsigned short> text
        = wideText ? qmfuzz::RemainingU16(fdp) : qmfuzz::Widen(fdp.ConsumeRemainingBytesAsString());
    for (auto& u : text)
        if (u == 0 && &u != &text.back())
            u = ' ';

    CSafeBuf error;
    xmlDoc* doc = LoadXMLString(text.data(), &error, true);
    if (!doc)
        return 0;
    xmlNode* root = GetRootElement(doc);
    static const char* const kPaths[] = {"*", "//*", ".//text", "/comment", "a", "//a:b"};
    if (root) {
        QM_FUZZ_CHECK(GetParentNode(root) != nullptr);
        int visited = 0;
        // Depth-first over elements, bounded so deep documents stay quick.
        xmlNode* cur = root;
        int depth = 0;
        while (cur && visited < 300) {
            ++visited;
            Visit(cur, name, depth);
            Visit(cur, kPaths[visited % 6], depth);
            xmlNode* child = nullptr;
            XMLGetFirstChild(cur, &child);
            if (child && cur->type == XML_ELEMENT_NODE) {
                cur = child;
                ++depth;
                continue;
            }
            xmlNode* next = nullptr;
            while (cur && cur != root) {
                XMLGetNextSibling(cur, &next);
                if (next)
                    break;
                cur = GetParentNode(cur);
                --depth;
            }
            if (!cur || cur == root)
                break;
            cur = next;
        }
        xmlNode* found = nullptr;
        FindChildNode(root, name.c_str(), &found);
        FindNodeInCurLevel(root, name.c_str(), &found);
        (void)XMLGetChildCount(root->children);
        CSafeBuf value;
        GetNodeValue(name.c_str(), value, root);
        std::vector<unsigned short> wname = qmfuzz::Widen(name);
        GetNodeValue(wname.data(), value, root, 0, wname.data(), wname.data());
    }

    libIXMLDOMNodeList* list = nullptr;
    if (SelectNodes(doc, xpath.c_str(), &list)) {
        xmlNode* n = nullptr;
        int k = 0;
        while (list->nextNode(&n) && ++k < 50) {
            CSafeBuf a, b;
            GetNameValue(n, a, b, true);
            GetElementXML(n, a);
        }
        list->Release();
    }
    xmlNode* copy = nullptr;
    if (SelectNode(doc, xpath.c_str(), &copy))
        xmlFreeNode(copy);

    // Remove the first child element of the root, then walk again.
    if (root && root->children) {
        XMLRemoveNode(root->children);
        libIXMLDOMNodeList* all = nullptr;
        SelectNodes(root, "//*", &all);
        if (all)
            all->Release();
    }

    if (!lang.empty() && lang.size() > 1)
        LangFilter(doc, lang.data());
    XMLReleaseDom(doc);
    return 0;
}
