#include "tests/style/support/PaintHarness.h"

#include "element/Element.h"
#include "platform/cg/Context.h"
#include "tests/common/TextHelpers.h"

#include <sstream>

namespace qmtest {

namespace {

bool Take(CElement* e, const char* name, std::vector<int>& numbers)
{
    CSafeBuf value;
    if (!e->GetAttrString(name, value))
        return false;
    numbers.clear();
    std::istringstream in(ToUtf8(value));
    for (int v; in >> v;)
        numbers.push_back(v);
    e->m_attributes.RemoveKey(name);
    return true;
}

void ApplyOne(CElement* e)
{
    std::vector<int> n;
    if (Take(e, "_box", n) && n.size() == 4) {
        e->Lay().m_position = CPoint(n[0], n[1]);
        e->Lay().m_sizeRect = CRect(0, 0, n[2], n[3]);
    }
    if (Take(e, "_avail", n) && n.size() == 1)
        e->Lay().m_availRect = CRect(0, 0, n[0], 0);
    if (Take(e, "_margin", n) && n.size() == 2) {
        e->Lay().m_marginLeftTop.y = n[0];
        e->Lay().m_marginRightBottom.y = n[1];
    }
    if (Take(e, "_group", n) && n.size() == 1)
        e->m_inlineGroup = n[0];
    if (Take(e, "_selected", n))
        e->m_selected = 1;
    if (Take(e, "_handles", n))
        e->m_handlesShown = 1;
    if (e->IsFloatType() && !e->m_floating && e->m_root) {
        e->m_root->EditRare().m_floatList.AddTail(e);
        e->m_floating = 1;
    }
}

} // namespace

void ApplyGeometry(CElement* e)
{
    std::vector<CElement*> stack{e};
    while (!stack.empty()) {
        CElement* x = stack.back();
        stack.pop_back();
        ApplyOne(x);
        for (CElement* c = x->m_firstChild; c; c = c->m_nextSibling)
            stack.push_back(c);
    }
}

std::unique_ptr<PaintedDocument> ReadPaintDocument(const std::string& markup)
{
    auto doc = std::make_unique<PaintedDocument>();
    doc->markup = std::make_unique<CMarkupDocument>(&doc->owner);
    CSafeBuf error;
    if (!doc->markup->Read(markup.data(), markup.size(), error) || !doc->markup->Body())
        return nullptr;
    doc->body = doc->markup->Body();
    ApplyGeometry(doc->body);
    return doc;
}

CElement* FindById(CElement* root, const std::string& id)
{
    std::vector<CElement*> stack{root};
    while (!stack.empty()) {
        CElement* x = stack.back();
        stack.pop_back();
        CSafeBuf value;
        if (x->GetAttrString("id", value) && ToUtf8(value) == id)
            return x;
        for (CElement* c = x->m_firstChild; c; c = c->m_nextSibling)
            stack.push_back(c);
    }
    return nullptr;
}

std::vector<unsigned> BitmapPixels(const CElement* body, int rows)
{
    std::vector<unsigned> out;
    const qm::cg::Context* ctx = body ? body->m_dc.get() : nullptr;
    if (!ctx)
        return out;
    for (int row = 0; row < rows && row < ctx->Height(); ++row) {
        for (int x = 0; x < ctx->Width(); ++x) {
            qm::cg::Pixel p = ctx->ReadPixel(x, row);
            out.push_back(
                unsigned(p.red) | unsigned(p.green) << 8 | unsigned(p.blue) << 16 | unsigned(p.alpha) << 24);
        }
    }
    return out;
}

} // namespace qmtest
