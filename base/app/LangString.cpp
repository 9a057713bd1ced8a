#include "base/app/LangString.h"

#include "base/files/ResourceBuffer.h"
#include "base/shims/FileShims.h"
#include "base/text/Ascii.h"
#include "base/url/UrlPath.h"
#include "base/xml/XmlLang.h"
#include "base/xml/XmlLoad.h"
#include "base/xml/XmlNodeValue.h"

#include <libxml/tree.h>

namespace {

LangStringLoader& Loader()
{
    static LangStringLoader loader{nullptr, nullptr};
    return loader;
}

// A key as lookups compare it: ASCII upper case, white space trimmed.
CSafeBuf NormalisedKey(const unsigned short* key)
{
    CSafeBuf k(key);
    k.Trim();
    k.MakeUpper();
    return k;
}

// Inline XML whose root is `localization`: "<localization" followed by '>',
// white space or '/', so a root carrying attributes is recognised too.
bool IsInlineLocalization(const CSafeBuf& text)
{
    static const char kTag[] = "<localization";
    for (int pos = text.Find(kTag); pos >= 0; pos = text.Find(kTag, pos + 1)) {
        const unsigned short next = text.GetAt(pos + static_cast<int>(sizeof kTag) - 1);
        if (next == '>' || next == '/' || next == ' ' || next == '\t' || next == '\r' || next == '\n')
            return true;
    }
    return false;
}

// A language code fit to name a bundle resource: letters, digits, '-' and
// '_' only, so a page-supplied code cannot reach outside the resources folder.
bool IsPlainLanguageCode(const CSafeBuf& lang)
{
    if (lang.IsEmpty() || lang.Length() > 32)
        return false;
    for (int i = 0; i < lang.Length(); ++i) {
        const unsigned short c = lang.GetAt(i);
        const bool ok = IsAsciiAlnum(c) || c == '-' || c == '_';
        if (!ok)
            return false;
    }
    return true;
}

// prefix:name of an element.
CSafeBuf QualifiedName(xmlNode* node)
{
    CSafeBuf name;
    MacGetTagName(node, name);
    return name;
}

// A location that is a "file://" URL becomes a local path.
CSafeBuf LocalPathOf(const unsigned short* location)
{
    CSafeBuf path(location);
    ParseLocalURL(path);
    return path;
}

} // namespace

void SetLangStringLoader(const LangStringLoader* loader)
{
    Loader() = loader != nullptr ? *loader : LangStringLoader{nullptr, nullptr};
}

CLangString::CLangString(const unsigned short* text, const unsigned short* lang, void* owner, bool noFilter)
    : m_owner(owner)
{
    if (text != nullptr)
        LoadLangString(text, lang, noFilter);
}

CLangString::~CLangString() { delete m_fallback; }

void CLangString::Reset()
{
    m_items.clear();
    m_loaded = false;
}

bool CLangString::LoadLangString(const unsigned short* text, const unsigned short* lang, bool noFilter)
{
    try {
        m_loaded = true;
        CSafeBuf language(lang);
        m_codePage = language == "cn" ? 936 : 0;

        CSafeBuf source(text);
        xmlDoc* doc = nullptr;
        if (IsInlineLocalization(source))
            doc = LoadXMLString(source);

        CSafeBuf cacheFile;
        if (doc == nullptr && !source.IsEmpty()) {
            const LangStringLoader loader = Loader();
            CSafeBuf location(source);
            bool cached = false;
            if (m_owner != nullptr && loader.getCacheFile != nullptr)
                cached = loader.getCacheFile(m_owner, location, cacheFile);
            if (cached) {
                doc = LoadXMLFile(location);
            } else if (loader.fetch != nullptr) {
                CSafeBuf localFile;
                if (loader.fetch(m_owner, source, localFile, cacheFile))
                    doc = LoadXMLFile(localFile);
            } else {
                doc = LoadXMLFile(LocalPathOf(source));
            }
        }

        if (doc != nullptr && !noFilter && !language.IsEmpty())
            LangFilter(doc, language);

        xmlNode* root = doc != nullptr ? xmlDocGetRootElement(doc) : nullptr;
        if (root != nullptr) {
            m_items.clear();
            AddItems(root, nullptr, true);
        } else if (doc == nullptr && !cacheFile.IsEmpty()) {
            // A cache file that did not parse is of no use to the next load.
            DeleteFile(cacheFile);
        }
        XMLReleaseDom(doc);
    } catch (...) {
        // A load that cannot finish leaves the earlier texts in place.
    }
    return true;
}

void CLangString::LoadLocalDefault(const unsigned short* lang)
{
    try {
        CSafeBuf language(lang);
        if (!IsPlainLanguageCode(language))
            return;
        CSafeBuf name(language);
        name += ".htm";
        CSafeBuf text;
        SaveResourceToBuffer(name.GetAnsiBuffer(), &text);
        // Only a localisation document becomes the fallback; anything else
        // would be taken for a location.
        if (text.IsEmpty() || !IsInlineLocalization(text))
            return;
        CLangString* fallback = new CLangString(nullptr, nullptr, m_owner, false);
        fallback->LoadLangString(text, language, true);
        delete m_fallback;
        m_fallback = fallback;
    } catch (...) {
        // Out of memory: the previous fallback stays.
    }
}

void CLangString::AddItem(const CSafeBuf& key, const CSafeBuf& text)
{
    m_items.push_back(Item{NormalisedKey(key), text});
    m_items.back().text.Trim();
}

void CLangString::AddItems(xmlNode* node, const unsigned short* path, bool isRoot)
{
    if (node == nullptr)
        return;
    const CSafeBuf base(path);
    switch (node->type) {
    case XML_COMMENT_NODE: return;
    case XML_ELEMENT_NODE: {
        if (node->children == nullptr)
            return;
        CSafeBuf extended(base);
        if (!isRoot) {
            if (!extended.IsEmpty())
                extended += '/';
            extended += QualifiedName(node);
        }
        for (xmlNode* child = node->children; child != nullptr; child = child->next)
            AddItems(child, extended, false);
        return;
    }
    default: {
        CSafeBuf name, value;
        // Any other named node (a processing instruction among them) is an
        // item whose value is the text of its first child: empty when it has
        // none, as a processing instruction never has.
        GetNameValue(node, name, value, true);
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            AddItem(base, value);
            return;
        }
        if (name.IsEmpty())
            return;
        CSafeBuf key(base);
        if (!key.IsEmpty())
            key += '/';
        key += name;
        AddItem(key, value);
        return;
    }
    }
}

void CLangString::GetTagTree(xmlNode* node, CSafeBuf& path)
{
    path.Empty();
    if (node == nullptr)
        return;
    xmlNode* root = node->doc != nullptr ? xmlDocGetRootElement(node->doc) : nullptr;
    xmlNode* parent = node->parent;
    if (parent != nullptr && parent == root) {
        path = QualifiedName(root);
        return;
    }
    // Join the element names from the top down, the root's left out.
    for (; parent != nullptr && parent->type == XML_ELEMENT_NODE; parent = parent->parent) {
        if (parent == root)
            break;
        CSafeBuf joined(QualifiedName(parent));
        if (!path.IsEmpty()) {
            joined += '/';
            joined += path;
        }
        path = joined;
    }
}

void CLangString::GetItem(CSafeBuf& out, const unsigned short* key, const unsigned short* defaultText) const
{
    const CSafeBuf wanted = NormalisedKey(key);
    for (const Item& item : m_items) {
        if (item.key == wanted) {
            out = item.text;
            return;
        }
    }
    if (m_loaded) {
        out.Empty();
        out = key;
    } else if (m_fallback != nullptr) {
        m_fallback->GetItem(out, key, defaultText);
    } else {
        out.Empty();
        out = defaultText;
    }
}

void CLangString::GetItem(CSafeBuf& out, const char* key, const char* defaultText) const
{
    CSafeBuf wideKey(reinterpret_cast<const unsigned char*>(key != nullptr ? key : ""));
    CSafeBuf wideDefault(reinterpret_cast<const unsigned char*>(defaultText != nullptr ? defaultText : ""));
    GetItem(
        out, static_cast<const unsigned short*>(wideKey), static_cast<const unsigned short*>(wideDefault));
}

CSafeBuf CLangString::GetItem(const unsigned short* key, const unsigned short* defaultText) const
{
    CSafeBuf out;
    GetItem(out, key, defaultText);
    return out;
}

CSafeBuf CLangString::GetItem(const char* key, const char* defaultText) const
{
    CSafeBuf out;
    GetItem(out, key, defaultText);
    return out;
}
