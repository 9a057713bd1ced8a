// The window's pure parts: desktop keys as the plug-in gets them, drag
// data between the plug-in's flavours and the desktop's, and the
// rectangles of a surface that changed.

#include "host/DesktopDrag.h"
#include "host/GdkKeys.h"
#include "host/SurfaceChanges.h"

#include "platform/events/InputState.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace qm;

// Desktop key symbols (X11 keysyms) and modifier state bits.
constexpr unsigned kSymA = 0x061, kSymZ = 0x07a, kSymOne = 0x031, kSymSpace = 0x020, kSymReturn = 0xff0d,
                   kSymBackSpace = 0xff08, kSymDelete = 0xffff, kSymLeft = 0xff51, kSymKpEnter = 0xff8d,
                   kSymF5 = 0xffc2, kSymShiftL = 0xffe1, kSymEacute = 0x0e9;
constexpr unsigned kShift = 1u << 0, kLock = 1u << 1, kControl = 1u << 2, kAlt = 1u << 3, kSuper = 1u << 6;

TEST(GdkKeys, MapsDesktopKeysToTheUsLayout)
{
    struct Case
    {
        unsigned keyval, state;
        bool known;
        std::uint8_t code;
        std::uint16_t modifiers;
        char character; // the message's low byte
    } cases[] = {
        {kSymA, 0, true, 0x00, 0, 'a'},
        {kSymA, kShift, true, 0x00, events::kModShift, 'A'},
        {kSymA, kLock, true, 0x00, events::kModCapsLock, 'A'},
        {kSymA, kControl, true, 0x00, events::kModControl, 1},
        {kSymA, kSuper, true, 0x00, events::kModCommand, 'a'},
        // Undo stays Control+Z; the desktop's Redo is Command+Shift+Z.
        {kSymZ, kControl, true, 0x06, events::kModControl, 26},
        {kSymZ, kControl | kShift, true, 0x06, events::kModCommand | events::kModShift, 'Z'},
        {kSymZ, kControl | kShift | kLock, true, 0x06,
            events::kModCommand | events::kModShift | events::kModCapsLock, 'Z'},
        {kSymZ, kControl | kShift | kAlt, true, 0x06,
            events::kModControl | events::kModShift | events::kModOption, 26},
        {kSymOne, kShift, true, 0x12, events::kModShift, '!'},
        {kSymSpace, 0, true, 0x31, 0, ' '},
        {kSymReturn, 0, true, 0x24, 0, 13},
        {kSymKpEnter, 0, true, 0x4C, 0, 3},
        {kSymBackSpace, 0, true, 0x33, 0, 8},
        {kSymDelete, 0, true, 0x75, 0, 127},
        {kSymLeft, kShift | kAlt, true, 0x7B, events::kModShift | events::kModOption, 28},
        {kSymF5, 0, true, 0x60, 0, 16},
        {kSymShiftL, kShift, false, 0, events::kModShift, 0},
        {kSymEacute, 0, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.keyval << " state " << c.state);
        host::MappedKey key;
        ASSERT_EQ(host::MapGdkKey(c.keyval, c.state, key), c.known);
        EXPECT_EQ(key.modifiers, c.modifiers);
        if (!c.known)
            continue;
        EXPECT_EQ(key.code, c.code);
        EXPECT_EQ(key.message, (std::uint32_t(c.code) << 8) | std::uint8_t(c.character));
        // The window plays a page's key steps back through the same table.
        host::MappedKey back;
        ASSERT_TRUE(host::MapGdkKey(host::GdkKeyvalFor(c.code), host::GdkStateFor(c.modifiers), back));
        EXPECT_EQ(back.code, c.code);
        EXPECT_EQ(back.modifiers, c.modifiers);
    }
}

TEST(DesktopDrag, CarriesTextAndFileLocationsBothWays)
{
    const std::u16string text = u"caf\u00E9 \U0001F600";
    const std::string textUtf8 = "caf\xC3\xA9 \xF0\x9F\x98\x80";

    // The plug-in's drag: markup, its plain text with a terminating zero,
    // and an item with a file location only.
    dnd::DragSession drag;
    const std::u16string withZero = text + u'\0';
    drag.AddFlavor(1111, events::FourCC("QMRK"), u"<b>x</b>", 16);
    drag.AddFlavor(1111, host::kDragTextFlavor, withZero.data(), withZero.size() * 2);
    drag.AddFlavor(7, host::kDragFileFlavor, "file:///tmp/a%20b.png", 21);
    drag.AddFlavor(8, host::kDragTextFlavor, u"second", 12); // only the first text goes out
    const host::DesktopDragData out = host::DragDataOf(drag);
    EXPECT_EQ(textUtf8, out.text);
    EXPECT_EQ(std::vector<std::string>{"file:///tmp/a%20b.png"}, out.uris);

    // From the desktop: URIs make one item each; text alone is item 1's.
    const struct
    {
        host::DesktopDragData in;
        std::size_t items;
    } cases[] = {
        {{textUtf8, {}}, 1},
        {{"", {"file:///a", "", "file:///b"}}, 2},
        {{textUtf8, {"file:///a"}}, 1},
        {{"", {}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.text + " " + std::to_string(c.in.uris.size()));
        dnd::DragSession in;
        host::PutDragData(c.in, in);
        ASSERT_EQ(c.items, in.CountItems());
        const host::DesktopDragData back = host::DragDataOf(in);
        EXPECT_EQ(c.in.uris.empty() ? c.in.text : "", back.text);
        std::vector<std::string> uris;
        for (const std::string& u : c.in.uris)
            if (!u.empty())
                uris.push_back(u);
        EXPECT_EQ(uris, back.uris);
    }
}

struct Surface
{
    int width, height, stride;
    std::vector<unsigned char> data;
    Surface(int w, int h) : width(w), height(h), stride(w * 4 + 8), data(std::size_t(stride) * h, 0) { }
    void Set(int x, int y, unsigned char v) { data[std::size_t(y) * stride + std::size_t(x) * 4 + 1] = v; }
};

TEST(SurfaceChanges, FindsTheRectanglesThatChanged)
{
    using Rects = std::vector<host::PixelRect>;
    struct Point
    {
        int x, y;
    };
    struct Case
    {
        const char* what;
        std::vector<Point> changed;
        Rects expected;
    } cases[] = {
        {"nothing", {}, {}},
        {"one pixel", {{5, 7}}, {{5, 7, 1, 1}}},
        {"a span of one band", {{3, 2}, {40, 9}}, {{3, 2, 38, 8}}},
        {"bands that touch join", {{10, 31}, {11, 32}}, {{10, 31, 2, 2}}},
        {"bands apart stay apart", {{10, 1}, {10, 70}}, {{10, 1, 1, 1}, {10, 70, 1, 1}}},
        {"columns apart stay apart", {{0, 31}, {90, 32}}, {{0, 31, 1, 1}, {90, 32, 1, 1}}},
        {"last column and row", {{99, 99}}, {{99, 99, 1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface s(100, 100);
        host::SurfaceChanges changes;
        const Rects first = changes.Take(s.data.data(), s.width, s.height, s.stride);
        ASSERT_EQ(first.size(), 1u);
        EXPECT_EQ(first[0].width, 100);
        EXPECT_EQ(first[0].height, 100);
        for (const Point& p : c.changed)
            s.Set(p.x, p.y, 0x80);
        const Rects got = changes.Take(s.data.data(), s.width, s.height, s.stride);
        ASSERT_EQ(got.size(), c.expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].x, c.expected[i].x) << i;
            EXPECT_EQ(got[i].y, c.expected[i].y) << i;
            EXPECT_EQ(got[i].width, c.expected[i].width) << i;
            EXPECT_EQ(got[i].height, c.expected[i].height) << i;
        }
        // What was reported is not reported again.
        EXPECT_TRUE(changes.Take(s.data.data(), s.width, s.height, s.stride).empty());
    }
    // A new size is all new.
    Surface bigger(120, 100);
    host::SurfaceChanges changes;
    changes.Take(Surface(100, 100).data.data(), 100, 100, 408);
    EXPECT_EQ(changes.Take(bigger.data.data(), 120, 100, bigger.stride).size(), 1u);
}

} // namespace
