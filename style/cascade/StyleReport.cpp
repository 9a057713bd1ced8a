#include "style/cascade/StyleReport.h"

#include "base/text/SafeBuf.h"
#include "element/Element.h"
#include "element/SiblingIndex.h"
#include "element/TagList.h"
#include "style/records/StyleDump.h"

#include <vector>

namespace {

// The text values of a record whether set or not, in the dump's notation.
void AppendCarried(const ELEMENT_STYLE& s, CSafeBuf& out)
{
    ELEMENT_STYLE carried{};
    carried.colorSet = 1;
    carried.color = s.color;
    carried.fontSet = 1;
    carried.sizeSet = carried.weightSet = carried.italicSet = carried.familySet = 1;
    carried.fontSize = s.fontSize;
    carried.fontSizeUnit = s.fontSizeUnit;
    carried.fontWeight = s.fontWeight;
    carried.italic = s.italic;
    carried.fontFamily = s.fontFamily;
    carried.fontNumber = s.fontNumber;
    CSafeBuf text;
    DumpStyle(carried, text, kStyleDumpPlain);
    out += " |";
    out += ' ';
    out += text;
}

void AppendLine(const CElement* e, const CSafeBuf& path, CSafeBuf& out, int options)
{
    out += path;
    CSafeBuf style;
    DumpStyle(e->Style(), style, options & ~kStyleReportCarried);
    if (!style.IsEmpty()) {
        out += ' ';
        out += style;
    }
    if (options & kStyleReportCarried)
        AppendCarried(e->Style(), out);
    out += '\n';
}

// The path of a text run: below its parent's path, by its index among the
// parent's text runs (counted from 0).
void AppendTextStep(CSafeBuf& path, int index)
{
    path += "/text()[";
    path.AppendInt(static_cast<long>(index) + 1);
    path += "]";
}

// One element on the walk: its path, the path its children continue (a
// text run's children, were there any, continue its parent's), and the
// indexes of its children met so far.
struct Step
{
    const CElement* e;
    CSafeBuf path;
    CSafeBuf childBase;
    CSiblingIndex children;
};

} // namespace

void ReportStyles(const CElement* root, CSafeBuf& out, int options)
{
    if (!root)
        return;
    // Document order without recursion. Each path continues its parent's:
    // the paths are not built again from the root for every element.
    std::vector<Step> walk;
    walk.push_back(Step{root, CSafeBuf(), CSafeBuf(), CSiblingIndex()});
    Step& top = walk.back();
    if (root->IsTextElement()) {
        GetEleTagList(root->m_parent, top.childBase, kTagListIndexedPath);
        top.path = top.childBase;
        AppendTextStep(top.path, root->GetIndex());
    } else {
        GetEleTagList(root, top.path, kTagListIndexedPath);
        top.childBase = top.path;
    }
    AppendLine(root, top.path, out, options);
    const CElement* next = root->m_firstChild;
    while (!walk.empty()) {
        if (!next) {
            const CElement* done = walk.back().e;
            walk.pop_back();
            next = walk.empty() ? nullptr : done->m_nextSibling;
            continue;
        }
        Step& parent = walk.back();
        const int index = parent.children.Next(next);
        CSafeBuf path(parent.childBase);
        if (next->IsTextElement()) {
            AppendTextStep(path, index);
        } else {
            path += "/";
            path += next->GetTagName();
            path.AppendInt("[%d]", static_cast<long>(index) + 1);
        }
        AppendLine(next, path, out, options);
        CSafeBuf childBase(next->IsTextElement() ? parent.childBase : path);
        walk.push_back(Step{next, path, childBase, CSiblingIndex()});
        next = next->m_firstChild;
    }
}
