// The document's registry of live elements: elements are found by identifier
// and by address while they live, never after; identifiers are not reused;
// elements sharing a bucket are kept apart; the document destroys what it
// owns.

#include "element/ElementRegistry.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

TEST(Registry, DeletedElementIsNotFoundAndIdentifiersAreNotReused)
{
    CXHTML engine;
    CXDoc& doc = engine.m_doc;
    CElement* first = CreateElement("p", nullptr, nullptr, &engine);
    long firstId = first->GetID();
    const void* firstAddress = first;
    EXPECT_EQ(doc.FindElement(firstId), first);
    EXPECT_TRUE(doc.IsElementExist(first));
    EXPECT_TRUE(first->IsElementExist(first));
    delete first;
    EXPECT_EQ(doc.FindElement(firstId), nullptr);
    EXPECT_FALSE(doc.IsElementExist(firstId));
    EXPECT_FALSE(doc.IsElementExist(static_cast<const CElement*>(firstAddress)));
    EXPECT_FALSE(doc.IsElementExist(static_cast<const CElement*>(nullptr)));

    // New elements, some most likely built in the memory of the first, all
    // get identifiers of their own.
    std::vector<CElement*> later;
    for (int i = 0; i < 50; ++i) {
        later.push_back(CreateElement("p", nullptr, nullptr, &engine));
        EXPECT_GT(later.back()->GetID(), firstId);
        EXPECT_EQ(doc.FindElement(later.back()->GetID()), later.back());
    }
    EXPECT_EQ(doc.FindElement(firstId), nullptr) << "a stale identifier stays stale";
    EXPECT_EQ(doc.m_registry.GetCount(), 50);
    for (CElement* e : later)
        delete e;
    EXPECT_EQ(doc.m_registry.GetCount(), 0);
}

TEST(Registry, ElementsSharingABucketAreKeptApart)
{
    CXHTML engine;
    CElementRegistry& registry = engine.m_doc.m_registry;
    // Enough elements that three fall into one bucket.
    std::map<int, std::vector<CElement*>> byBucket;
    std::vector<CElement*> all;
    std::vector<CElement*>* shared = nullptr;
    while (!shared) {
        CElement* e = CreateElement("b", nullptr, nullptr, &engine);
        all.push_back(e);
        std::vector<CElement*>& bucket = byBucket[CElementRegistry::BucketOf(e->GetID())];
        bucket.push_back(e);
        if (bucket.size() == 3)
            shared = &bucket;
    }
    CElement* a = (*shared)[0];
    CElement* b = (*shared)[1];
    CElement* c = (*shared)[2];
    int bucket = CElementRegistry::BucketOf(a->GetID());
    EXPECT_EQ(a->m_registryBucket, bucket);
    EXPECT_EQ(registry.GetBucketHead(bucket), a);
    EXPECT_EQ(a->m_registryNext, b);
    EXPECT_EQ(b->m_registryNext, c);

    // Out of the middle, then the head, then a new tail is appended.
    all.erase(std::find(all.begin(), all.end(), b));
    delete b;
    EXPECT_EQ(registry.Find(a->GetID()), a);
    EXPECT_EQ(registry.Find(c->GetID()), c);
    all.erase(std::find(all.begin(), all.end(), a));
    delete a;
    EXPECT_EQ(registry.GetBucketHead(bucket), c);
    EXPECT_EQ(registry.Find(c->GetID()), c);
    for (CElement* e : all)
        delete e;
    EXPECT_EQ(registry.GetCount(), 0);
    EXPECT_EQ(registry.GetBucketHead(bucket), nullptr);
}

TEST(Registry, BucketIsTheExclusiveOrOfTheLowFourBytes)
{
    EXPECT_EQ(CElementRegistry::BucketOf(0x01020304L), 0x01 ^ 0x02 ^ 0x03 ^ 0x04);
    EXPECT_EQ(CElementRegistry::BucketOf(0x00FF00FFL), 0);
    EXPECT_EQ(CElementRegistry::BucketOf(0x000000A5L), 0xA5);
}

// After a clear the index of identifiers starts again at the next element
// registered; an element older than that (made before the clear, registered
// since) and elements pages apart are all found, and none once destroyed.
TEST(Registry, ElementsAroundAClearedIndexAreFound)
{
    CXHTML engine;
    CElementRegistry& registry = engine.m_doc.m_registry;
    CElement* old = CreateElement("i", nullptr, nullptr, nullptr);
    std::vector<CElement*> before;
    for (int i = 0; i < 600; ++i)
        before.push_back(CreateElement("b", nullptr, nullptr, &engine));
    registry.Clear();
    for (CElement* e : before) {
        EXPECT_EQ(registry.Find(e->GetID()), nullptr);
        e->m_owner = nullptr;
        delete e;
    }
    std::vector<CElement*> after;
    for (int i = 0; i < 600; ++i)
        after.push_back(CreateElement("b", nullptr, nullptr, &engine));
    ASSERT_TRUE(registry.Register(old));
    EXPECT_EQ(registry.Find(old->GetID()), old);
    for (CElement* e : after)
        EXPECT_EQ(registry.Find(e->GetID()), e);
    const long oldId = old->GetID(), lastId = after.back()->GetID();
    delete old;
    EXPECT_EQ(registry.Find(oldId), nullptr);
    for (CElement* e : after)
        delete e;
    EXPECT_EQ(registry.Find(lastId), nullptr);
    EXPECT_EQ(registry.GetCount(), 0);
    // Pages freed are taken again.
    CElement* next = CreateElement("b", nullptr, nullptr, &engine);
    EXPECT_EQ(registry.Find(next->GetID()), next);
    EXPECT_EQ(registry.Find(lastId), nullptr);
    delete next;
}

TEST(Registry, ElementOutlivingItsDocumentIsDetached)
{
    CElement* loose = nullptr;
    {
        CXHTML engine;
        loose = CreateElement("span", nullptr, nullptr, &engine);
        EXPECT_EQ(loose->m_registry, &engine.m_doc.m_registry);
    }
    EXPECT_EQ(loose->m_registry, nullptr);
    loose->m_owner = nullptr;
    delete loose;
}

TEST(Document, DestroysItsTreeAndTheQueuedElements)
{
    CXHTML engine;
    CXDoc& doc = engine.m_doc;
    doc.m_root = CreateElement("body", nullptr, nullptr, &engine);
    CElement* p = CreateElement("p", nullptr, doc.m_root, &engine);
    doc.m_root->AppendChild(p);
    CElement* removed = CreateElement("b", nullptr, doc.m_root, &engine);
    removed->AppendChild(CreateElement("", nullptr, doc.m_root, &engine));
    EXPECT_TRUE(doc.QueueRemovedElement(removed));
    EXPECT_FALSE(doc.QueueRemovedElement(nullptr));
    EXPECT_EQ(doc.m_registry.GetCount(), 4);
    doc.ReleaseRemovedElements();
    EXPECT_EQ(doc.m_registry.GetCount(), 2);
    doc.m_bitmapPixels = static_cast<unsigned char*>(std::malloc(64));
    doc.m_bitmapHeight = 4;
    doc.QueueRemovedElement(CreateElement("i", nullptr, doc.m_root, &engine));
    // The engine's destruction frees the rest (the sanitizer build checks).
}

TEST(Document, ReleasingTheBodyFreesTheBitmap)
{
    CXHTML engine;
    CXDoc& doc = engine.m_doc;
    doc.m_root = CreateElement("body", nullptr, nullptr, &engine);
    doc.m_bitmapPixels = static_cast<unsigned char*>(std::malloc(64));
    doc.m_bitmapBytes = 64;
    doc.m_bitmapHeight = 4;
    doc.m_root->Release();
    EXPECT_EQ(doc.m_bitmapPixels, nullptr);
    EXPECT_EQ(doc.m_bitmapBytes, 0);
    EXPECT_EQ(doc.m_bitmapHeight, 0);

    // Another body (not the document's root) leaves the bitmap alone.
    doc.m_bitmapPixels = static_cast<unsigned char*>(std::malloc(64));
    CElement* other = CreateElement("body", nullptr, nullptr, &engine);
    delete other;
    EXPECT_NE(doc.m_bitmapPixels, nullptr);
}

TEST(Document, StartsWithItsDefaults)
{
    CXHTML engine;
    EXPECT_EQ(engine.m_doc.m_owner, &engine);
    EXPECT_TRUE(engine.m_doc.m_language == "en");
    EXPECT_EQ(engine.m_imageDisplayMode, 1);
    for (int i = 0; i < CElementRegistry::kBucketCount; ++i)
        EXPECT_EQ(engine.m_doc.m_registry.GetBucketHead(i), nullptr);
    ELEMENT_STYLE style{};
    engine.m_doc.SetDefaultCSSValue(&style);
    for (const BORDER_SIDE& side : style.border) {
        EXPECT_EQ(side.style, kLineNone);
        EXPECT_EQ(side.width, 3);
    }
    EXPECT_EQ(engine.m_doc.SysInit(), 1);
}

// A clear detaches every member, whether its identifier is indexed by the
// pages or found only through its bucket (one set by hand beyond the pages'
// range), so that destroying the elements afterwards touches nothing of it.
TEST(Registry, ClearDetachesPagedAndUnpagedMembers)
{
    CXHTML engine;
    CElementRegistry& registry = engine.m_doc.m_registry;
    for (const bool unpaged : {false, true}) {
        std::vector<CElement*> members;
        for (int i = 0; i < 700; ++i)
            members.push_back(CreateElement("b", nullptr, nullptr, &engine));
        if (unpaged) {
            CElement* far = CreateElement("i", nullptr, nullptr, nullptr);
            far->m_id = (1L << 30) + 5;
            ASSERT_TRUE(registry.Register(far));
            members.push_back(far);
        }
        registry.Clear();
        EXPECT_EQ(registry.GetCount(), 0);
        for (int b = 0; b < CElementRegistry::kBucketCount; ++b)
            EXPECT_EQ(registry.GetBucketHead(b), nullptr);
        for (CElement* e : members) {
            EXPECT_EQ(e->m_registry, nullptr);
            EXPECT_EQ(e->m_registryNext, nullptr);
            EXPECT_EQ(e->m_registryPrevious, nullptr);
            EXPECT_EQ(registry.Find(e->GetID()), nullptr);
            EXPECT_FALSE(registry.Contains(e));
            e->m_owner = nullptr;
            delete e;
        }
        // The registry takes members again.
        CElement* next = CreateElement("b", nullptr, nullptr, &engine);
        EXPECT_EQ(registry.Find(next->GetID()), next);
        EXPECT_TRUE(registry.Contains(next));
        delete next;
        EXPECT_EQ(registry.GetCount(), 0);
    }
}

// A release of many elements: each leaves its chain and page at once, the
// addresses leave the set together at the end, whether they are some of
// the members or all of them, and nested releases end with the outermost.
// An address taken again by a new member within the release stays a member.
TEST(Registry, ReleaseTakesTheAddressesOutTogether)
{
    CXHTML engine;
    CElementRegistry& registry = engine.m_doc.m_registry;
    for (const bool all : {false, true}) {
        std::vector<CElement*> kept, going;
        for (int i = 0; i < 600; ++i)
            (all || i % 3 == 0 ? going : kept).push_back(CreateElement("b", nullptr, nullptr, &engine));
        registry.BeginRelease();
        registry.BeginRelease();
        std::vector<long> ids;
        for (CElement* e : going) {
            ids.push_back(e->GetID());
            delete e;
            EXPECT_EQ(registry.Find(ids.back()), nullptr);
        }
        EXPECT_EQ(registry.GetCount(), static_cast<int>(kept.size()));
        registry.EndRelease();
        // Re-registering an element noted in the release: it stays.
        CElement* again = CreateElement("i", nullptr, nullptr, &engine);
        registry.Unregister(again);
        EXPECT_EQ(registry.Find(again->GetID()), nullptr);
        ASSERT_TRUE(registry.Register(again));
        registry.EndRelease();
        EXPECT_TRUE(registry.Contains(again));
        EXPECT_EQ(registry.Find(again->GetID()), again);
        for (const CElement* e : going) {
            // (the new element may have the memory of one that went)
            if (e != again) {
                EXPECT_FALSE(registry.Contains(e)) << all;
            }
        }
        for (CElement* e : kept) {
            EXPECT_TRUE(registry.Contains(e));
            EXPECT_EQ(registry.Find(e->GetID()), e);
        }
        EXPECT_EQ(registry.GetCount(), static_cast<int>(kept.size()) + 1);
        for (CElement* e : kept)
            delete e;
        delete again;
        EXPECT_EQ(registry.GetCount(), 0);
    }
}

// Pages are made sixteen at a time and taken again when freed: identifiers
// over more than one block of pages are found while their elements live and
// never after, whichever block a page freed and taken again came from.
TEST(Registry, PagesOfSeveralBlocksAreFreedAndTakenAgain)
{
    CXHTML engine;
    CElementRegistry& registry = engine.m_doc.m_registry;
    constexpr int kCount = 40 * 256; // identifiers over forty pages
    std::vector<CElement*> live;
    for (int i = 0; i < kCount; ++i)
        live.push_back(CreateElement("b", nullptr, nullptr, &engine));
    // Every element of every other stretch of 256 identifiers goes, so whole
    // pages of both blocks are freed while their neighbours stay.
    std::vector<long> gone;
    std::vector<CElement*> kept;
    for (CElement* e : live) {
        if ((e->GetID() >> 8) % 2 == 0) {
            gone.push_back(e->GetID());
            delete e;
        } else {
            kept.push_back(e);
        }
    }
    // The freed pages serve new identifiers.
    for (int i = 0; i < kCount / 2; ++i)
        kept.push_back(CreateElement("b", nullptr, nullptr, &engine));
    for (long id : gone)
        ASSERT_EQ(registry.Find(id), nullptr) << id;
    for (CElement* e : kept) {
        ASSERT_EQ(registry.Find(e->GetID()), e);
        ASSERT_TRUE(registry.Contains(e));
    }
    EXPECT_EQ(registry.GetCount(), static_cast<int>(kept.size()));
    for (CElement* e : kept)
        delete e;
    EXPECT_EQ(registry.GetCount(), 0);
}
