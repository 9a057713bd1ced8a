#pragma once
// CLangString: the table of user-interface texts in one language.
//
// Texts are stored under keys made of a section, a slash and an item name
// ("message-box/title-failure"), read from an XML document whose root is
// `localization`: the text inside <message-box><title-failure> is stored
// under "message-box/title-failure" (the root's name never enters the key).
// Keys may repeat; the first one in document order wins.
//
// A lookup ignores ASCII case and white space around the key. When the key
// is missing the answer depends on the table's state:
//   - a load has been attempted (successful or not): the key itself, so a
//     missing translation is visible;
//   - otherwise, with a fallback table (built from the bundle resource
//     "<lang>.htm" by LoadLocalDefault): the fallback's answer;
//   - otherwise the caller's default text.
//
// Loading from a URL goes through the owner (the control): its cache and its
// HTTP settings. The owner lives above this layer, so it installs a loader
// with SetLangStringLoader; without one, a location is read as a local path
// (a "file://" address made one by ParseLocalURL) and nothing is cached.

#include "base/text/SafeBuf.h"

#include <vector>

typedef struct _xmlNode xmlNode;

// How the owner turns a location into a local file. Both members may be null.
struct LangStringLoader
{
    // Fills cacheFile with the cache path for location (empty when the
    // location is not cacheable). Answers true when a cached copy exists;
    // location then names that copy.
    bool (*getCacheFile)(void* owner, CSafeBuf& location, CSafeBuf& cacheFile);
    // Fetches location with the owner's headers and proxy, storing the body
    // in targetFile when one is given. localFile receives the path to read.
    // False when the fetch failed.
    bool (*fetch)(
        void* owner, const unsigned short* location, CSafeBuf& localFile, const CSafeBuf& targetFile);
};

// Installs the loader used by every table (a copy is kept); null removes it.
void SetLangStringLoader(const LangStringLoader* loader);

class CLangString
{
public:
    // An empty table with the given owner; when text is given it is loaded
    // at once with LoadLangString(text, lang, noFilter).
    CLangString(const unsigned short* text = nullptr, const unsigned short* lang = nullptr,
        void* owner = nullptr, bool noFilter = false);
    virtual ~CLangString();

    CLangString(const CLangString&) = delete;
    CLangString& operator=(const CLangString&) = delete;

    void SetOwner(void* owner) { m_owner = owner; }
    void* GetOwner() const { return m_owner; }

    // Loads the texts from inline XML (holding "<localization>") or from a
    // location (URL or path). With noFilter the xml:lang filter is skipped.
    // Replaces the texts when a document with a root was read; otherwise the
    // earlier texts stay. Always answers true and sets the loaded flag.
    bool LoadLangString(const unsigned short* text, const unsigned short* lang, bool noFilter);
    // Builds the fallback table from the bundle resource "<lang>.htm". When
    // the resource is missing the previous fallback stays.
    void LoadLocalDefault(const unsigned short* lang);

    CSafeBuf GetItem(const unsigned short* key, const unsigned short* defaultText) const;
    // 8-bit forms widen byte by byte; a null key or default counts as empty.
    CSafeBuf GetItem(const char* key, const char* defaultText) const;
    void GetItem(CSafeBuf& out, const unsigned short* key, const unsigned short* defaultText) const;
    void GetItem(CSafeBuf& out, const char* key, const char* defaultText) const;

    // Empties the texts and clears the loaded flag (the fallback stays).
    void Reset();

    // Adds the items of one subtree; path is the key so far.
    void AddItems(xmlNode* node, const unsigned short* path, bool isRoot);
    // The key under which a text node of a localisation document is stored.
    static void GetTagTree(xmlNode* node, CSafeBuf& path);

    bool IsLoaded() const { return m_loaded; }
    int GetCodePage() const { return m_codePage; }
    int GetCount() const { return static_cast<int>(m_items.size()); }

private:
    struct Item
    {
        CSafeBuf key;  // as lookups compare it: upper case, trimmed
        CSafeBuf text; // trimmed
    };

    void AddItem(const CSafeBuf& key, const CSafeBuf& text);

    bool m_loaded = false;
    void* m_owner = nullptr;
    std::vector<Item> m_items; // in document order
    CLangString* m_fallback = nullptr;
    int m_codePage = 0;
};
