#include "style/layout/BoxDump.h"

#include "base/text/SafeBuf.h"
#include "element/Element.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"

#include <map>
#include <vector>

namespace {

const unsigned short kTextName[] = {'#', 't', 'e', 'x', 't', 0};

const unsigned short* NameOf(const CElement* e)
{
    return e->m_kind == kKindText ? kTextName : e->GetTagName();
}

// What a child's line shows of it: its path segment and its line number.
struct ChildLabel
{
    CSafeBuf segment;
    long line = 0;
};

std::vector<ChildLabel> LabelChildren(const CElement* parent)
{
    std::vector<const CElement*> children;
    for (const CElement* c = parent->m_firstChild; c; c = c->m_nextSibling)
        children.push_back(c);
    std::vector<ChildLabel> labels(children.size());
    std::map<std::vector<unsigned short>, std::pair<int, int>> tags; // name: total, seen
    auto key = [](const CElement* c) {
        std::vector<unsigned short> k;
        for (const unsigned short* p = NameOf(c); *p; ++p)
            k.push_back(*p);
        return k;
    };
    for (const CElement* c : children)
        ++tags[key(c)].first;
    std::map<long, long> lines;
    for (size_t i = 0; i < children.size(); ++i) {
        const CElement* c = children[i];
        auto& count = tags[key(c)];
        ++count.second;
        labels[i].segment = NameOf(c);
        if (count.first > 1) {
            labels[i].segment += '[';
            labels[i].segment.AppendInt(count.second);
            labels[i].segment += ']';
        }
        if (c->m_lineGroup && !c->IsFloatType()) {
            auto found = lines.find(c->m_lineGroup);
            if (found == lines.end())
                found = lines.emplace(c->m_lineGroup, static_cast<long>(lines.size()) + 1).first;
            labels[i].line = found->second;
        }
    }
    return labels;
}

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

struct Level
{
    const CElement* parent;
    CSafeBuf path;
    CPoint at;
    std::vector<ChildLabel> labels;
    const CElement* next;
    size_t index;
};

} // namespace

void GetBoxDump(const CElement* root, CSafeBuf& out)
{
    out.Empty();
    if (!root)
        return;
    const CPoint rootAt = DocumentPosition(root);
    CSafeBuf rootPath;
    rootPath = NameOf(root);
    AppendLine(out, rootPath, root, rootAt, 0);
    // Document order without recursion: one level a parent on the way down.
    std::vector<Level> levels;
    levels.push_back({root, rootPath, rootAt, LabelChildren(root), root->m_firstChild, 0});
    while (!levels.empty()) {
        Level& level = levels.back();
        const CElement* c = level.next;
        if (!c) {
            levels.pop_back();
            continue;
        }
        const ChildLabel& label = level.labels[level.index];
        level.next = c->m_nextSibling;
        ++level.index;
        CSafeBuf path = level.path;
        path += '/';
        path += label.segment;
        const CPoint at = c->IsFloatType()
            ? DocumentPosition(c)
            : CPoint(AddCoord(level.at.x, c->m_position.x), AddCoord(level.at.y, c->m_position.y));
        AppendLine(out, path, c, at, label.line);
        if (c->m_firstChild)
            levels.push_back({c, path, at, LabelChildren(c), c->m_firstChild, 0});
    }
}
