#include "style/layout/LayoutPass.h"

#include "element/Element.h"
#include "element/ElementRegistry.h"
#include "style/layout/LayoutBox.h"
#include "style/layout/LayoutLimits.h"

#include <cstddef>
#include <vector>

namespace {

// The pieces a pass made (wrapped runs and inline elements) take their
// style from their element and edit it: shared here, the laid-out tree
// holds a style record of its own only where an element's style is unlike
// any other.
void ShareStyles(CElement* root)
{
    for (CElement* e = root; e;) {
        e->m_style.Share();
        if (e->m_firstChild) {
            e = e->m_firstChild;
            continue;
        }
        while (e != root && !e->m_nextSibling)
            e = e->m_parent;
        e = e == root ? nullptr : e->m_nextSibling;
    }
}

// Collects the elements whose style a pass made their own, for as long as
// it lives.
class StyleEditLog
{
public:
    StyleEditLog() : m_outer(CElementFields::s_styleEdits) { CElementFields::s_styleEdits = &m_edits; }
    ~StyleEditLog() { CElementFields::s_styleEdits = m_outer; }
    StyleEditLog(const StyleEditLog&) = delete;
    StyleEditLog& operator=(const StyleEditLog&) = delete;

    // Shares the styles of the pass's tree again: those of the elements
    // logged that still live, and, unless that left no record of its own
    // anywhere, every element's (a style may have been made own otherwise,
    // by copying one).
    void ShareAll(CElement* root)
    {
        CElementFields::s_styleEdits = m_outer;
        const CElementRegistry* registry = root->m_registry;
        if (registry) {
            // A logged element may be gone: its address is checked before it
            // is read, so the element's is worked out from its fields'.
            const std::ptrdiff_t offset = reinterpret_cast<const char*>(static_cast<CElementFields*>(root))
                - reinterpret_cast<const char*>(root);
            for (CElementFields* fields : m_edits) {
                const CElement* e
                    = reinterpret_cast<const CElement*>(reinterpret_cast<const char*>(fields) - offset);
                if (registry->Contains(e))
                    fields->m_style.Share();
            }
        }
        if (!registry || CSharedStyle::OwnCount() != 0)
            ShareStyles(root);
    }

private:
    std::vector<CElementFields*> m_edits;
    std::vector<CElementFields*>* m_outer;
};

} // namespace

void SetLayoutWidth(CElement* root, int width)
{
    if (!root)
        return;
    width = ClampLength(width < 0 ? 0 : width);
    root->Lay().m_position = CPoint(0, 0);
    root->Lay().m_cssRect.right = width;
    // The root's margins are known once its lengths are resolved.
    root->CalcForAll(nullptr, false, false);
    GiveArea(root, width, 0, width, 0);
    root->Lay().m_contentRect = root->Lay().m_availRect;
}

bool LayoutDocument(CElement* root, int width)
{
    if (!root || width < 0)
        return false;
    try {
        StyleEditLog edits;
        SetLayoutWidth(root, width);
        root->BuildCDC(nullptr);
        root->CalculateReg(nullptr, nullptr);
        edits.ShareAll(root);
    } catch (...) {
        return false;
    }
    return true;
}
