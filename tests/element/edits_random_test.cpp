// Thousands of structural edits, picked at random (fixed seeds), on a real
// document: after each batch the child lists must be consistent and the
// writer's output must parse. Elements are held by identifier between edits
// and looked up in the document's registry, as editing code holds them.

#include "base/text/SafeBuf.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ValidateTree.h"
#include "element/markup/MarkupDocument.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes, static_cast<size_t>(n));
    delete[] bytes;
    return out;
}

// Checks the child lists of the subtree; collects its identifiers.
void CheckLists(const CElement* e, std::vector<long>& ids)
{
    ids.push_back(e->GetID());
    long count = 0;
    const CElement* previous = nullptr;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        ASSERT_EQ(c->m_parent, e);
        ASSERT_EQ(c->m_prevSibling, previous);
        previous = c;
        ++count;
        CheckLists(c, ids);
    }
    ASSERT_EQ(e->m_lastChild, previous);
    ASSERT_EQ(e->m_childCount, count);
}

// Whether e hangs in the tree under body. An element queued for removal is
// still live, but the parent it names may be gone.
bool InTree(CXHTML& engine, const CElement* body, const CElement* e)
{
    for (const CElement* c = e; c != body;) {
        const CElement* p = c->m_parent;
        if (!p || !engine.m_doc.IsElementExist(p) || !p->IsLinkedChild(c))
            return false;
        c = p;
    }
    return true;
}

void ApplyOne(std::mt19937& random, CXHTML& engine, CElement* body, const std::vector<long>& ids)
{
    auto pick = [&]() {
        CElement* e = engine.m_doc.FindElement(ids[random() % ids.size()]);
        return e && InTree(engine, body, e) ? e : nullptr;
    };
    CElement* e = pick();
    if (!e || e == body)
        return;
    CElement* parent = e->m_parent;
    CElement* other = pick();
    switch (random() % 12) {
    case 0: parent->RemoveChild(e->GetID(), true, random() % 2 == 0); break;
    case 1: parent->RemoveChildNodeOnly(e->GetID()); break;
    case 2: e->JumpOut(other ? other->GetID() : 0, random() % 2 == 0); break;
    case 3: e->SwitchParent(); break;
    case 4: parent->BreakElement(e->GetID(), false); break;
    case 5: {
        CElement* rest = nullptr;
        parent->SplitUntilParent(&rest, other ? other->GetID() : 0, e->GetID());
        break;
    }
    case 6:
        if (other)
            parent->MoveChildrenTo(other, 0, random() % 2 == 0, random() % 3, e->GetID());
        break;
    case 7: body->RemoveIfEmpty(e); break;
    case 8: e->UnwrapElement(); break;
    case 9: ValidateTree(e); break;
    case 10:
        e->m_selected = 1;
        e->m_selectable = random() % 2;
        e->m_wholeCell = random() % 2;
        if (random() % 4 == 0)
            body->DeleteSelection();
        break;
    default:
        if (other && other->m_parent)
            e->MoveCurrentElementTo(other, 0, true);
        break;
    }
}

} // namespace

TEST(EditRandom, ThousandsOfEditsKeepTheTreeWritable)
{
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/markup/genesis.xhtml", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string source = bytes.str().substr(0, 40000) + "</p></body></html>";
    for (unsigned seed = 1; seed <= 3; ++seed) {
        CXHTML engine;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        // The cut may fall inside an element: read the whole document then.
        if (!doc.Read(source.data(), source.size(), error)) {
            ASSERT_TRUE(doc.Read(bytes.str().data(), bytes.str().size(), error)) << Utf8(error);
        }
        std::mt19937 random(seed);
        std::vector<long> ids;
        for (int batch = 0; batch < 20; ++batch) {
            ids.clear();
            CheckLists(doc.Body(), ids);
            ASSERT_FALSE(::testing::Test::HasFatalFailure()) << "seed " << seed << " batch " << batch;
            for (int i = 0; i < 100; ++i)
                ApplyOne(random, engine, doc.Body(), ids);
            engine.m_doc.ReleaseRemovedElements();
        }
        ids.clear();
        CheckLists(doc.Body(), ids);
        CSafeBuf out;
        doc.Write(out, 0);
        const std::string written = Utf8(out);
        CMarkupDocument again(&engine);
        EXPECT_TRUE(again.Read(written.data(), written.size(), error))
            << "seed " << seed << ": " << Utf8(error);
    }
}
