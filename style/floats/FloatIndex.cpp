#include "style/floats/FloatIndex.h"

#include "element/Element.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"

#include <algorithm>
#include <unordered_map>

namespace {

// One pass runs at a time, on the main thread.
struct Index
{
    unsigned long pass = 0;
    const CElement* root = nullptr;
    std::vector<PlacedFloat> placed;                // placement order
    std::unordered_map<const CElement*, size_t> at; // element: position in placed
    std::vector<size_t> byTop;                      // positions in placed, by box top
    int tallest = 0;
    bool stale = false;
};

Index g_index;

// The root whose float list holds e's floats: its body, or the top of a
// tree without one.
const CElement* RootOf(const CElement* e)
{
    if (e->m_root)
        return e->m_root;
    while (e->m_parent)
        e = e->m_parent;
    return e;
}

bool Current()
{
    const unsigned long pass = LayoutNesting::CurrentPass();
    return pass && LayoutNesting::PassFromRoot() && g_index.pass == pass;
}

void Reset(unsigned long pass, const CElement* root)
{
    g_index.pass = pass;
    g_index.root = root;
    g_index.placed.clear();
    g_index.at.clear();
    g_index.byTop.clear();
    g_index.tallest = 0;
    g_index.stale = false;
}

void Rebuild()
{
    Index& x = g_index;
    x.tallest = 0;
    for (PlacedFloat& p : x.placed) {
        if (!FloatMarginBox(p.element, x.root, p.box))
            p.box = CRect(0, 0, 0, 0);
        x.tallest = std::max<int>(x.tallest, p.box.bottom - p.box.top);
    }
    x.byTop.resize(x.placed.size());
    for (size_t i = 0; i < x.byTop.size(); ++i)
        x.byTop[i] = i;
    std::stable_sort(x.byTop.begin(), x.byTop.end(),
        [](size_t a, size_t b) { return g_index.placed[a].box.top < g_index.placed[b].box.top; });
    x.stale = false;
}

} // namespace

bool FloatMarginBox(const CElement* f, const CElement* root, CRect& box)
{
    const CElement* top = nullptr;
    const CPoint p = DocumentPosition(f, &top);
    if (top != root)
        return false;
    box = CRect(p.x - f->Lay().m_marginLeftTop.x, p.y,
        AddCoord(p.x, f->Lay().m_sizeRect.right - f->Lay().m_sizeRect.left),
        AddCoord(p.y, f->Lay().m_sizeRect.bottom - f->Lay().m_sizeRect.top));
    box.right = AddCoord(box.right, f->Lay().m_marginRightBottom.x);
    if (!f->m_inline) {
        box.top -= f->Lay().m_marginLeftTop.y;
        box.bottom = AddCoord(box.bottom, f->Lay().m_marginRightBottom.y);
    }
    return true;
}

void NoteFloatPlaced(CElement* f)
{
    const unsigned long pass = LayoutNesting::CurrentPass();
    if (!pass || !LayoutNesting::PassFromRoot())
        return;
    const CElement* root = f->m_root ? f->m_root : f;
    if (g_index.pass != pass || g_index.root != root)
        Reset(pass, root);
    for (CElement* a = f->m_parent; a && a->Lay().m_floatsBelowPass != pass; a = a->m_parent)
        a->Lay().m_floatsBelowPass = pass;
    Index& x = g_index;
    auto found = x.at.find(f);
    if (found == x.at.end()) {
        x.at.emplace(f, x.placed.size());
        x.placed.push_back({f, CRect(), x.placed.size() + 1});
    }
    // The new box goes in its place by top; boxes already stale are all
    // worked out again at the next query.
    if (x.stale || found != x.at.end()) {
        x.stale = true;
        return;
    }
    PlacedFloat& p = x.placed.back();
    if (!FloatMarginBox(f, root, p.box))
        p.box = CRect(0, 0, 0, 0);
    x.tallest = std::max<int>(x.tallest, p.box.bottom - p.box.top);
    const size_t position = x.placed.size() - 1;
    auto where = std::upper_bound(x.byTop.begin(), x.byTop.end(), p.box.top,
        [](LONG top, size_t i) { return top < g_index.placed[i].box.top; });
    x.byTop.insert(where, position);
}

void MoveBox(CElement* e, CPoint position)
{
    if (e->Lay().m_position.x == position.x && e->Lay().m_position.y == position.y)
        return;
    e->Lay().m_position = position;
    if (!Current())
        return;
    if (e->Lay().m_floatsBelowPass == g_index.pass || g_index.at.count(e))
        g_index.stale = true;
}

bool FloatIndexCovers() { return LayoutNesting::CurrentPass() && LayoutNesting::PassFromRoot(); }

void PlacedFloatsNear(
    const CElement* root, int top, int bottom, std::vector<PlacedFloat>& out, unsigned long afterRank)
{
    out.clear();
    if (!Current() || g_index.root != root)
        return;
    if (g_index.stale)
        Rebuild();
    const Index& x = g_index;
    bottom = std::max(bottom, top + 1);
    // Boxes that start in [top - tallest, bottom) are the only ones that can
    // reach the rows.
    const long from = static_cast<long>(top) - x.tallest;
    auto first = std::lower_bound(
        x.byTop.begin(), x.byTop.end(), from, [](size_t i, long v) { return g_index.placed[i].box.top < v; });
    for (auto it = first; it != x.byTop.end() && x.placed[*it].box.top < bottom; ++it) {
        const PlacedFloat& p = x.placed[*it];
        if (p.box.bottom > top && p.rank > afterRank)
            out.push_back(p);
    }
    std::sort(
        out.begin(), out.end(), [](const PlacedFloat& a, const PlacedFloat& b) { return a.rank < b.rank; });
}

void PlacedFloats(const CElement* root, std::vector<PlacedFloat>& out)
{
    out.clear();
    if (!Current() || g_index.root != root)
        return;
    if (g_index.stale)
        Rebuild();
    out = g_index.placed;
}

bool PlacedFloatsMeet(const CElement* e)
{
    const CPoint at = DocumentPosition(e);
    std::vector<PlacedFloat> near;
    PlacedFloatsNear(RootOf(e), at.y, AddCoord(at.y, BoxHeight(e)), near);
    return !near.empty();
}

bool FloatsMayReach(const CElement* e)
{
    if (RootOf(e)->Rare().m_floatList.GetCount() == 0)
        return false;
    if (!FloatIndexCovers() || e->LayOrDefault().m_floatsBelowPass == LayoutNesting::CurrentPass())
        return true;
    return PlacedFloatsMeet(e);
}
