#include "platform/ui/MenuFile.h"

#include "platform/common/Utf16.h"
#include "platform/sys/Bundle.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <sstream>

namespace qm::ui {

namespace {

constexpr int kMaxDepth = 8;

bool Named(const xmlNode* node, const char* name)
{
    return node->type == XML_ELEMENT_NODE
        && std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

bool Attribute(const xmlNode* node, const char* name, std::string& out)
{
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value)
        return false;
    out = reinterpret_cast<const char*>(value);
    xmlFree(value);
    return true;
}

// A decimal number of at most ten digits that fits 32 bits.
bool Number(const std::string& text, std::uint32_t& out)
{
    if (text.empty() || text.size() > 10)
        return false;
    unsigned long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v > UINT_MAX)
        return false;
    out = static_cast<std::uint32_t>(v);
    return true;
}

bool Flag(const xmlNode* node, const char* name, bool fallback)
{
    std::string v;
    if (!Attribute(node, name, v))
        return fallback;
    return v == "true";
}

bool ReadItems(const xmlNode* parent, Menu& menu, int depth)
{
    if (depth > kMaxDepth)
        return false;
    std::string text;
    if (Attribute(parent, "id", text) && !text.empty()) {
        std::uint32_t id = 0;
        if (!Number(text, id))
            return false;
        menu.SetId(id);
    }
    for (const xmlNode* n = parent->children; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE)
            continue;
        MenuItem item;
        text.clear();
        Attribute(n, "text", text);
        item.text = utf8::ToUtf16(text);
        item.enabled = Flag(n, "enabled", true);
        item.checked = Flag(n, "checked", false);
        if (Named(n, "item")) {
            std::string command;
            if (Attribute(n, "command", command) && !Number(command, item.command))
                return false;
        } else if (Named(n, "separator")) {
            item.separator = true;
        } else if (Named(n, "menu")) {
            item.submenu.reset(new Menu());
            item.submenu->SetTitle(item.text);
            if (!ReadItems(n, *item.submenu, depth + 1))
                return false;
        } else {
            return false;
        }
        menu.Append(std::move(item));
    }
    return true;
}

} // namespace

bool ReadMenu(const std::string& xml, const std::string& menuName, Menu& out)
{
    out = Menu();
    if (xml.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    try {
        xmlDoc* doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "menus.xml", nullptr,
            XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        if (!doc)
            return false;
        bool found = false;
        bool ok = false;
        const xmlNode* root = xmlDocGetRootElement(doc);
        if (root && Named(root, "menus")) {
            for (const xmlNode* n = root->children; n && !found; n = n->next) {
                std::string name;
                if (!Named(n, "menu") || !Attribute(n, "name", name) || name != menuName)
                    continue;
                found = true;
                Menu menu;
                menu.SetTitle(utf8::ToUtf16(name));
                ok = ReadItems(n, menu, 1);
                if (ok)
                    out = std::move(menu);
            }
        }
        xmlFreeDoc(doc);
        return found && ok;
    } catch (...) {
        out = Menu();
        return false;
    }
}

bool LoadMenu(const std::string& interfaceName, const std::string& menuName, Menu& out)
{
    out = Menu();
    if (interfaceName.empty() || interfaceName.find('/') != std::string::npos)
        return false;
    try {
        const std::string folder = sys::ResourcesFolder();
        if (folder.empty())
            return false;
        std::ifstream in(folder + "/" + interfaceName + ".menus.xml", std::ios::binary);
        if (!in)
            return false;
        std::ostringstream text;
        text << in.rdbuf();
        return ReadMenu(text.str(), menuName, out);
    } catch (...) {
        out = Menu();
        return false;
    }
}

} // namespace qm::ui
