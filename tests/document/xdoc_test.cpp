// The document object: its state when new, the release of what it owns
// (undo and redo snapshots, sub-document definitions, the whole document at
// destruction) and the clip to its editing area.

#include "document/SubDocInfo.h"
#include "document/UndoItem.h"
#include "document/XDoc.h"

#include "base/shims/CGShims.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "platform/qd/Port.h"
#include "style/sheets/StyleClass.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <array>
#include <cairo.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

// ---- watching particular blocks being freed ----
// The test program's own operator delete and delete[] note when a watched
// block goes. The watch list is a fixed array: nothing here allocates.
namespace {

std::array<void*, 16> g_watched{};

void Unwatch(void* p)
{
    for (void*& w : g_watched) {
        if (p && w == p)
            w = nullptr;
    }
}

void Watch(void* p)
{
    for (void*& w : g_watched) {
        if (!w) {
            w = p;
            return;
        }
    }
    ADD_FAILURE() << "watch list full";
}

int WatchedAlive()
{
    int n = 0;
    for (void* w : g_watched)
        n += w != nullptr;
    return n;
}

} // namespace

void* operator new(std::size_t size)
{
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
// Every form of delete frees through one function (a delete forwarding to
// another reads to the compiler as a mismatched pair).
static void FreeWatched(void* p) noexcept
{
    Unwatch(p);
    std::free(p);
}
void operator delete(void* p) noexcept { FreeWatched(p); }
void operator delete[](void* p) noexcept { FreeWatched(p); }
void operator delete(void* p, std::size_t) noexcept { FreeWatched(p); }
void operator delete[](void* p, std::size_t) noexcept { FreeWatched(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { FreeWatched(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { FreeWatched(p); }

namespace {

using qmtest::FromUtf8;

UNDO_ITEM* Snapshot(const char* text)
{
    UNDO_ITEM* item = new UNDO_ITEM;
    const std::size_t bytes = std::strlen(text);
    item->text = new char[bytes + 1];
    std::memcpy(item->text, text, bytes + 1);
    item->textBytes = static_cast<int>(bytes);
    Watch(item->text);
    Watch(item);
    return item;
}

} // namespace

TEST(XDoc, FreshDocument)
{
    CXDoc doc;
    EXPECT_EQ(doc.m_caretColor, RGB(0, 0, 0));
    EXPECT_EQ(doc.m_caretHeight, 16);
    EXPECT_EQ(qmtest::Utf8(doc.m_language), "en");
    EXPECT_EQ(doc.m_fullDocument, 1);
    EXPECT_EQ(doc.m_lastKeyPos, CPoint(0, 0));
    EXPECT_EQ(doc.m_lastKeyPoint, CPoint(0, 0));
    EXPECT_EQ(doc.m_registry.GetCount(), 0);
    for (int bucket = 0; bucket < CElementRegistry::kBucketCount; ++bucket)
        EXPECT_EQ(doc.m_registry.GetBucketHead(bucket), nullptr) << bucket;
    EXPECT_EQ(CElementRegistry::kBucketCount, 256);

    // The caret: enabled only with the focus; its phase and the state kept
    // across a loss of focus start on.
    EXPECT_EQ(doc.m_caretEnabled, 0);
    EXPECT_EQ(doc.m_caretPhase, 1);
    EXPECT_EQ(doc.m_caretEnabledSaved, 1);
    EXPECT_EQ(doc.m_viewIntegers[0], -1);
    EXPECT_EQ(doc.m_viewIntegers[1], -1);
    EXPECT_EQ(doc.m_viewFlag, 1);
    EXPECT_EQ(doc.m_scrollX, 0);
    EXPECT_EQ(doc.m_scrollY, 0);
    EXPECT_EQ(doc.m_root, nullptr);
    EXPECT_EQ(doc.m_undoList.GetCount(), 0);
    EXPECT_EQ(doc.m_redoList.GetCount(), 0);
    EXPECT_EQ(doc.m_subDocInfo, nullptr);
    EXPECT_TRUE(doc.IsWndValid());

    // The bundle's pictures are there; the marker picture's size is kept.
    EXPECT_EQ(doc.m_dragImage.GetWidth(), 16);
    EXPECT_EQ(doc.m_dragImage.GetHeight(), 16);
    EXPECT_EQ(doc.m_markerImageWidth, 16);
    EXPECT_EQ(doc.m_markerImageHeight, 16);
    EXPECT_EQ(doc.m_markerImage.GetWidth(), doc.m_markerImageWidth);

    // The pointer shapes: the platform's arrow, then the editor's own, each
    // with its hot spot inside the picture.
    const DOC_CURSORS& c = doc.m_cursors;
    EXPECT_EQ(c.arrow, &qm::qd::ArrowCursor());
    const Cursor* own[] = {c.diagonalDown, c.diagonalUp, c.horizontal, c.vertical, c.hand};
    for (size_t i = 0; i < std::size(own); ++i) {
        ASSERT_NE(own[i], nullptr) << i;
        EXPECT_NE(std::memcmp(own[i], c.arrow, sizeof(Cursor)), 0) << i;
        EXPECT_TRUE(own[i]->mask[own[i]->hotSpot.v] & (0x8000u >> own[i]->hotSpot.h)) << i;
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(std::memcmp(own[i], own[j], sizeof(Cursor)), 0) << i << " " << j;
    }
    EXPECT_EQ(c.handPressed, c.hand);
}

TEST(XDoc, CleanUnRedoFreesEverySnapshotAndItsText)
{
    CXDoc doc;
    for (const char* text : {"<p>one</p>", "<p>two</p>", "<p>three</p>"})
        doc.m_undoList.AddTail(Snapshot(text));
    for (const char* text : {"<p>four</p>", "<p>five</p>"})
        doc.m_redoList.AddTail(Snapshot(text));
    ASSERT_EQ(WatchedAlive(), 10);

    doc.CleanRedo();
    EXPECT_EQ(doc.m_redoList.GetCount(), 0);
    EXPECT_EQ(doc.m_undoList.GetCount(), 3) << "CleanRedo leaves the undo list";
    EXPECT_EQ(WatchedAlive(), 6);

    doc.m_redoList.AddTail(Snapshot("<p>six</p>"));
    doc.m_redoList.AddTail(Snapshot("<p>seven</p>"));
    doc.CleanUnRedo();
    EXPECT_EQ(doc.m_undoList.GetCount(), 0);
    EXPECT_EQ(doc.m_redoList.GetCount(), 0);
    EXPECT_EQ(WatchedAlive(), 0) << "a snapshot or its text was not freed";

    // Empty lists and a snapshot without text are no trouble.
    doc.m_undoList.AddTail(new UNDO_ITEM);
    doc.CleanUnRedo();
    doc.CleanUnRedo();
    EXPECT_EQ(doc.m_undoList.GetCount(), 0);
}

TEST(XDoc, ReleaseSubDocInfoFreesTheChain)
{
    CXDoc doc;
    doc.ReleaseSubDocInfo();
    for (int i = 0; i < 3; ++i) {
        SUBDOC_INFO* info = new SUBDOC_INFO;
        info->elementName = FromUtf8("x-part");
        info->optionAttributes[SUBDOC_INFO::kOptionCount - 1] = FromUtf8(std::string(300, 'o').c_str());
        info->next = doc.m_subDocInfo;
        doc.m_subDocInfo = info;
        Watch(info);
    }
    doc.ReleaseSubDocInfo();
    EXPECT_EQ(doc.m_subDocInfo, nullptr);
    EXPECT_EQ(WatchedAlive(), 0);
}

TEST(XDoc, DestroyingAFilledDocumentReleasesWhatItOwns)
{
    // Snapshots, definitions, rules and a tree with a queued element all go
    // with the document; the sanitizer build reports any leak or any
    // destruction that reaches into something already gone.
    CXHTML engine;
    CXDoc& doc = engine.m_doc;
    ASSERT_TRUE(doc.LoadStyleClass(FromUtf8("p { color: red }"), 0, false, 0));
    ASSERT_TRUE(doc.LoadStyleClass(FromUtf8("div { color: blue }"), 0, false, 1));
    CElement* body = CreateElement("body", doc.m_workingRules, nullptr, &engine);
    ASSERT_NE(body, nullptr);
    body->m_root = body;
    doc.m_root = body;
    CElement* p = CreateElement("p", doc.m_workingRules, body, &engine);
    ASSERT_TRUE(body->AppendChild(p));
    CElement* gone = CreateElement("b", doc.m_workingRules, body, &engine);
    ASSERT_TRUE(body->AppendChild(gone));
    ASSERT_TRUE(body->RemoveChild(gone->GetID(), true, true));
    doc.m_caretElement = p;
    doc.m_undoList.AddTail(Snapshot("<p>a</p>"));
    doc.m_redoList.AddTail(Snapshot("<p>b</p>"));
    doc.m_subDocInfo = new SUBDOC_INFO;
    Watch(doc.m_subDocInfo);
    EXPECT_EQ(WatchedAlive(), 5);
    // The engine destroys the tree before itself, then the document goes.
}

TEST(XDoc, DestroyedWithoutAnyLoad)
{
    auto* doc = new CXDoc;
    Watch(doc);
    delete doc;
    EXPECT_EQ(WatchedAlive(), 0);
    CXHTML engine; // the document as the engine holds it
    EXPECT_EQ(engine.m_doc.m_root, nullptr);
}

TEST(XDoc, SetClipRectKeepsDrawingInsideTheEditingArea)
{
    qm::qd::Port* port = qm::qd::Port::Create(100, 80);
    ASSERT_NE(port, nullptr);
    CXDoc doc;
    doc.m_port = port;
    doc.m_viewRect = CRect(0, 0, 48, 30); // the width rounded up to 8
    doc.m_viewWidth = 45;
    CGContextRef context = CreateCGContext(port);
    ASSERT_NE(context, nullptr);
    doc.SetClipRect(context);
    context->SetRGBFillColor(1, 0, 0, 1);
    context->FillRect(qm::cg::Rect{0, 0, 100, 80});
    EndCGContext(port, &context);

    cairo_surface_flush(port->Surface());
    const unsigned char* data = cairo_image_surface_get_data(port->Surface());
    const int stride = cairo_image_surface_get_stride(port->Surface());
    auto painted = [&](int x, int y) {
        std::uint32_t pixel;
        std::memcpy(&pixel, data + y * stride + x * 4, 4);
        return pixel != 0;
    };
    EXPECT_TRUE(painted(0, 0));
    EXPECT_TRUE(painted(44, 29));
    EXPECT_FALSE(painted(45, 0)) << "the exact view width, not the rounded one";
    EXPECT_FALSE(painted(0, 30));
    EXPECT_FALSE(painted(99, 79));

    // Without a live port nothing is clipped.
    doc.m_port = nullptr;
    context = CreateCGContext(port);
    doc.SetClipRect(context);
    doc.SetClipRect(nullptr);
    EndCGContext(port, &context);
    delete port;
}
