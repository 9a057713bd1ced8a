#include "style/layout/BoxDump.h"

#include "base/text/SafeBuf.h"
#include "element/Element.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"

#include <map>
#include <vector>

namespace {

using TagKey = std::vector<unsigned short>;

TagKey KeyOf(const CElement* e)
{
    TagKey key;
    for (const unsigned short* p = e->GetTagName(); *p; ++p)
        key.push_back(*p);
    return key;
}

// One parent on the way down: its path and document position, the next
// child to list, and what its children listed so far numbered.
struct Level
{
    const CElement* parent;
    CSafeBuf path;
    CPoint at;
    const CElement* next;
    std::map<TagKey, std::pair<long, long>> tags; // tag: count, inline group of the last
    std::map<long, long> lines;                   // line group: number
};

void AppendLine(CSafeBuf& out, const CSafeBuf& path, const CElement* e, const CPoint& at, long line)
{
    out += path;
    out += " x=";
    out.AppendInt(static_cast<long>(at.x));
    out += " y=";
    out.AppendInt(static_cast<long>(at.y));
    out += " w=";
    out.AppendInt(static_cast<long>(BoxWidth(e)));
    out += " h=";
    out.AppendInt(static_cast<long>(BoxHeight(e)));
    out += " kind=";
    out.AppendInt(e->m_kind);
    out += " wrap=";
    out.AppendInt(static_cast<long>(WrapStateOf(e)));
    out += " line=";
    out.AppendInt(line);
    out += '\n';
}

// The child's path segment, counted among the children listed before it.
void AppendSegment(Level& level, const CElement* c, CSafeBuf& path)
{
    auto& count = level.tags[KeyOf(c)];
    if (count.first == 0 || c->m_inlineGroup == 0 || c->m_inlineGroup != count.second)
        ++count.first;
    count.second = c->m_inlineGroup;
    path += '/';
    if (c->IsTextElement())
        path += "text()";
    else
        path += c->GetTagName();
    path += '[';
    path.AppendInt(count.first);
    path += ']';
}

long LineOf(Level& level, const CElement* c)
{
    if (!c->Lay().m_lineGroup || c->IsFloatType())
        return 0;
    auto found = level.lines.find(c->Lay().m_lineGroup);
    if (found == level.lines.end())
        found = level.lines.emplace(c->Lay().m_lineGroup, static_cast<long>(level.lines.size()) + 1).first;
    return found->second;
}

} // namespace

void GetBoxDump(const CElement* root, CSafeBuf& out)
{
    out.Empty();
    if (!root)
        return;
    const CPoint rootAt = DocumentPosition(root);
    Level top{nullptr, CSafeBuf(), CPoint(), root, {}, {}};
    // Document order without recursion: one level a parent on the way down.
    std::vector<Level> levels;
    levels.push_back(top);
    while (!levels.empty()) {
        const CElement* c = levels.back().next;
        if (!c) {
            levels.pop_back();
            continue;
        }
        Level& level = levels.back();
        level.next = c == root ? nullptr : c->m_nextSibling;
        CSafeBuf path = level.path;
        AppendSegment(level, c, path);
        CPoint at = rootAt;
        if (c != root) {
            at = c->IsFloatType() ? DocumentPosition(c)
                                  : CPoint(AddCoord(level.at.x, c->Lay().m_position.x),
                                      AddCoord(level.at.y, c->Lay().m_position.y));
        }
        AppendLine(out, path, c, at, c == root ? 0 : LineOf(level, c));
        if (c->m_firstChild)
            levels.push_back({c, path, at, c->m_firstChild, {}, {}});
    }
}
