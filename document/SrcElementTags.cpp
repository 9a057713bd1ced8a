// The tag look-up of the markup tree, built once from the tag tables.

#include "document/SrcElementTags.h"

#include "element/factory/TagTables.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

bool InTable(const char* const* table, const char* tag)
{
    for (int i = 0; table[i]; ++i) {
        if (std::strcmp(table[i], tag) == 0)
            return true;
    }
    return false;
}

// The tables in the order of the kind rules: a tag in two gets the first.
int TableKind(const char* tag)
{
    if (InTable(BlockTags, tag))
        return 2;
    if (InTable(InlineTags, tag))
        return 1;
    if (InTable(HeadingTags, tag))
        return 4;
    if (InTable(ListTags, tag))
        return 8;
    if (InTable(StructTags, tag))
        return 16;
    return 0;
}

using TagMap = std::unordered_map<std::string, SrcTagInfo>;

// A tag the cleaning of markup into XHTML keeps. The supported tags' table
// lists the definition list but not its terms and descriptions, the only
// children a definition list may hold: unwrapped, a list's entries would
// run together as loose text.
bool KeptAsXhtml(const char* tag)
{
    return InTable(SupportHTMLTag, tag) || !std::strcmp(tag, "dt") || !std::strcmp(tag, "dd");
}

// The tags by name, and in the order of their indexes.
struct TagTable
{
    TagMap byName;
    std::vector<const SrcTagInfo*> byIndex;
};

const TagTable& Tags()
{
    static const TagTable tags = [] {
        TagTable t;
        for (int i = 0; XHTMLTags[i]; ++i) {
            const char* tag = XHTMLTags[i];
            SrcTagInfo info{tag, TableKind(tag), KeptAsXhtml(tag), {}, 0, 0};
            for (; tag[info.length] && info.length < 11; ++info.length)
                info.wide[info.length] = static_cast<unsigned char>(tag[info.length]);
            t.byName.emplace(tag, info);
        }
        for (auto& [name, info] : t.byName) {
            info.index = static_cast<int>(t.byIndex.size());
            t.byIndex.push_back(&info);
        }
        return t;
    }();
    return tags;
}

} // namespace

const SrcTagInfo* FindSrcTag(const unsigned short* name)
{
    // The longest XHTML tag has 10 letters; anything longer, or holding a
    // character outside ASCII, is not one.
    char lower[12];
    int n = 0;
    for (; name && name[n]; ++n) {
        const unsigned short c = name[n];
        if (n >= 11 || c >= 0x80)
            return nullptr;
        lower[n] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    if (n == 0)
        return nullptr;
    const TagMap& tags = Tags().byName;
    auto found = tags.find(std::string(lower, static_cast<size_t>(n)));
    return found == tags.end() ? nullptr : &found->second;
}

int SrcTagCount() { return static_cast<int>(Tags().byIndex.size()); }

const SrcTagInfo* SrcTagAt(int index)
{
    const auto& byIndex = Tags().byIndex;
    return index >= 0 && index < static_cast<int>(byIndex.size()) ? byIndex[static_cast<size_t>(index)]
                                                                  : nullptr;
}
