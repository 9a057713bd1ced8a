// A hundred editors, one after another, in one test browser: each gets its
// window, events (keys, clicks, a drag inside it and a drop from another
// program), script calls, a paste, a preview and a round trip through the
// source view, and is destroyed. Afterwards the browser's accounts must
// close: every block and identifier name it handed out freed, every object
// the plug-in made released, nothing left behind by any instance. The run
// is also checked by LeakSanitizer when the suite is built with sanitizers;
// since that reads past what the graphics and text libraries keep (their
// caches are suppressed, and so would be a surface of ours that one of them
// allocated), the heap in use must also stay flat from instance to instance.

#include "host/DesktopDrag.h"
#include "host/Host.h"

#include "platform/dnd/DragSession.h"
#include "platform/events/InputState.h"
#include "platform/input/KeyLayout.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempHome.h"

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#define QM_HEAP_FROM_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_HEAP_FROM_ASAN 1
#endif
#endif
#ifdef QM_HEAP_FROM_ASAN
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

using namespace qm::host;

namespace {

constexpr int kInstances = 100;
// Instances that fill the process's caches (fonts, shaped words, pictures)
// before the heap is measured.
constexpr int kWarmInstances = 10;

// Bytes the program has allocated and not freed.
double LiveHeapBytes()
{
#ifdef QM_HEAP_FROM_ASAN
    return double(__sanitizer_get_current_allocated_bytes());
#else
    return double(mallinfo2().uordblks);
#endif
}

std::string Contains(const std::string& text, const std::string& part)
{
    return text.find(part) == std::string::npos ? "\"" + part + "\" missing from " + text : std::string();
}

// Drives one instance through everything a page and its user do; answers
// the first thing that went wrong, empty when all went as expected.
std::string DriveOne(Host& host, int n)
{
    // The same words in every instance: the text engine's cache of shaped
    // words would grow with new ones (up to its bound), and the heap is to
    // stay flat.
    const std::string tag = "tag";
    host.Log().Clear(); // the log holds one instance, so the heap stays flat
    if (!host.New("application/x-quillmark",
            {{"id", "ed" + std::to_string(n)}, {"EnableTimestamp", std::string("false")},
                {"Value", "<p>first " + tag + "</p><p>second</p>"}}))
        return "NPP_New failed";
    if (!host.SetNullWindow() || !host.SetWindow(0, 0, 500, 300))
        return "the window was refused";
    host.Activate(true);
    host.Focus(true);
    host.Update();

    // Keys and clicks: a click into the first line, typing, an arrow, a
    // Backspace, a new paragraph.
    host.Click(40, 50);
    host.Type("ab");
    host.Key(qm::input::kVK_LeftArrow);
    host.Key(qm::input::kVK_Delete);
    host.Key(qm::input::kVK_Return);
    host.Wheel(100, 100, -1);
    host.Advance(500); // the caret's blink and other timers

    // Script.
    ScriptValue out;
    if (!host.Set("Value", ScriptValue::String("<p>script " + tag + "</p><p>more text</p>")))
        return "set Value refused";
    if (!host.Get("Value", out))
        return "get Value failed";
    if (std::string e = Contains(out.text, "script " + tag); !e.empty())
        return e;
    host.Invoke("InsertText", {ScriptValue::String("typed-by-script ")}, out);
    host.Invoke("CurrentStyles", {}, out);
    host.Invoke("Fix", {ScriptValue::String("<p>fix me")}, out);
    host.Get("SelectedText", out);
    host.Get("QPath", out);

    // A paste, a drag selecting across the paragraphs, a drop of text from
    // another program.
    host.Click(40, 50);
    host.SetClipboardText("pasted-" + tag + " ");
    host.Key(qm::input::kVK_ANSI_V, qm::events::kModCommand);
    host.Drag(30, 50, 80, 80);
    qm::dnd::DragSession drag;
    PutDragData(DesktopDragData{"dropped-" + tag, {}}, drag);
    host.DragTracking(drag, qm::dnd::kDragTrackingEnterWindow, 60, 80);
    host.DragTracking(drag, qm::dnd::kDragTrackingInWindow, 60, 80);
    host.DragDrop(drag, 60, 80);
    host.DragTracking(drag, qm::dnd::kDragTrackingLeaveWindow, 60, 80);

    // The preview (its window answered by the host), the source view and
    // back.
    const std::string before = host.Get("Value", out) ? out.text : std::string();
    host.Set("Mode", ScriptValue::String("preview"));
    host.Set("Mode", ScriptValue::String("source"));
    host.Get("Mode", out);
    if (out.text != "source")
        return "the mode is " + out.text + ", not source";
    host.Set("Mode", ScriptValue::String("wysiwyg"));
    if (!host.Get("Value", out) || out.text != before)
        return "the source view changed the value: " + before + " -> " + out.text;

    std::string form;
    if (!host.FormValue(form))
        return "no form value";
    for (const std::string& part : {"pasted-" + tag, "dropped-" + tag, "script " + tag})
        if (std::string e = Contains(form, part); !e.empty())
            return e;
    host.Focus(false);
    if (!host.Destroy())
        return "NPP_Destroy failed";
    return std::string();
}

} // namespace

TEST(HundredInstances, EachIsDrivenAndDestroyedAndTheAccountsClose)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("hundred-home-")));
    const auto start = std::chrono::steady_clock::now();
    {
        Host host;
        std::string error;
        ASSERT_TRUE(host.Load(QM_PLUGIN_MODULE, error)) << error;
        double warm = 0;
        for (int n = 0; n < kInstances; ++n) {
            if (n == kWarmInstances)
                warm = LiveHeapBytes();
            const std::string fault = DriveOne(host, n);
            ASSERT_EQ("", fault) << "instance " << n << "\n" << host.Log().Text();
            ASSERT_EQ(std::vector<std::string>(), host.Problems()) << "instance " << n;
        }
        const double perInstance = (LiveHeapBytes() - warm) / (kInstances - kWarmInstances);
        host.Unload();
        const Accounting& account = host.GetBrowser().GetAccount();
        const AccountTotals& t = account.Totals();
        EXPECT_EQ(std::vector<std::string>(), host.Problems());
        EXPECT_EQ(0u, account.BlockCount());
        EXPECT_EQ(0u, account.NameCount());
        EXPECT_EQ(t.blocksMade, t.blocksFreed);
        EXPECT_EQ(t.namesMade, t.namesFreed);
        EXPECT_EQ(t.objectsMade, t.objectsGone);
        // Each instance made its scriptable object at least.
        EXPECT_GE(t.objectsMade, std::size_t(kInstances));
        EXPECT_GT(t.blocksMade, t.namesMade);
        // A surface, a string or an element kept per instance shows here.
        EXPECT_LT(perInstance, 1024.0) << "bytes an instance kept past its end";
        std::printf("%d instances: %zu blocks (%zu identifier names), %zu objects, heap %+.0f bytes an "
                    "instance, %.1f s\n",
            kInstances, t.blocksMade, t.namesMade, t.objectsMade, perInstance,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
