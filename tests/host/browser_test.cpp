// The browser side of the plug-in interface, without a module: identifier
// interning, memory and object accounting, variant release, the page's
// objects and the options that take parts of the table away.

#include "host/Browser.h"
#include "host/Identifiers.h"

#include "platform/np/SharedPlatform.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

using namespace qm::host;

namespace {

class BrowserTest : public ::testing::Test
{
protected:
    EventLog log;
    Browser browser{log};
    NPNetscapeFuncs* t = browser.Table();
    NPP_t npp{};
};

// A plug-in class that counts its deallocations.
int g_deallocated = 0;
NPObject* CountedAllocate(NPP, NPClass*) { return static_cast<NPObject*>(std::calloc(1, sizeof(NPObject))); }
void CountedDeallocate(NPObject* o)
{
    ++g_deallocated;
    std::free(o);
}
NPClass g_counted = {NP_CLASS_STRUCT_VERSION, CountedAllocate, CountedDeallocate, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr};

} // namespace

TEST_F(BrowserTest, IdentifiersAreInternedAndKeepTheirKind)
{
    const NPIdentifier value = t->getstringidentifier("Value");
    EXPECT_EQ(value, t->getstringidentifier("Value")); // one pointer per name
    EXPECT_NE(value, t->getstringidentifier("value"));
    const NPUTF8* names[] = {"Value", "caf\xC3\xA9 \xE6\x97\xA5\xF0\x9F\x98\x80", nullptr};
    NPIdentifier ids[3];
    t->getstringidentifiers(names, 3, ids);
    EXPECT_EQ(value, ids[0]);
    EXPECT_EQ(nullptr, ids[2]);

    // Non-ASCII names come back byte for byte, in memory the caller frees.
    ASSERT_TRUE(t->identifierisstring(ids[1]));
    NPUTF8* name = t->utf8fromidentifier(ids[1]);
    ASSERT_NE(nullptr, name);
    EXPECT_STREQ(names[1], name);
    EXPECT_TRUE(browser.Account().IsBlock(name));
    t->memfree(name);
    EXPECT_EQ(0u, browser.Account().BlockCount());

    // Integer identifiers are interned apart and are not strings.
    const NPIdentifier seven = t->getintidentifier(7);
    EXPECT_EQ(seven, t->getintidentifier(7));
    EXPECT_NE(seven, t->getstringidentifier("7"));
    EXPECT_FALSE(t->identifierisstring(seven));
    EXPECT_EQ(nullptr, t->utf8fromidentifier(seven));
    EXPECT_EQ(7, t->intfromidentifier(seven));
    EXPECT_EQ(INT_MIN, t->intfromidentifier(value));
    EXPECT_EQ(-3, t->intfromidentifier(t->getintidentifier(-3)));
    EXPECT_TRUE(browser.Account().Faults().empty());

    // A pointer the browser never gave out is not read.
    int stranger = 0;
    EXPECT_FALSE(t->identifierisstring(&stranger));
    EXPECT_EQ(nullptr, t->utf8fromidentifier(&stranger));
    EXPECT_EQ(2u, browser.Account().Faults().size());
}

TEST_F(BrowserTest, MemoryBlocksAreCountedAndBadFreesReported)
{
    void* a = t->memalloc(16);
    void* b = t->memalloc(0);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(2u, browser.Account().BlockCount());
    EXPECT_TRUE(browser.Account().InsideBlock(static_cast<char*>(a) + 4, 12));
    EXPECT_FALSE(browser.Account().InsideBlock(static_cast<char*>(a) + 4, 13));
    t->memfree(a);
    t->memfree(a); // twice: reported, not done
    int local = 0;
    t->memfree(&local);
    t->memfree(nullptr);
    EXPECT_EQ(2u, browser.Account().Faults().size());
    ASSERT_EQ(1u, browser.Account().Leaks().size());
    EXPECT_NE(std::string::npos, browser.Account().Leaks()[0].find("0 bytes"));
    t->memfree(b);
    EXPECT_TRUE(browser.Account().Leaks().empty());
}

TEST_F(BrowserTest, ObjectsAreFreedAtCountZeroAndOverReleaseIsReported)
{
    g_deallocated = 0;
    NPObject* o = t->createobject(&npp, &g_counted);
    ASSERT_NE(nullptr, o);
    EXPECT_EQ(1u, o->referenceCount);
    EXPECT_EQ(&g_counted, o->_class);
    EXPECT_EQ(o, t->retainobject(o));
    EXPECT_EQ(2u, o->referenceCount);
    ASSERT_EQ(1u, browser.Account().Leaks().size());
    t->releaseobject(o);
    EXPECT_EQ(0, g_deallocated);
    t->releaseobject(o); // count 0: freed, once
    EXPECT_EQ(1, g_deallocated);
    EXPECT_TRUE(browser.Account().Faults().empty());
    t->releaseobject(o); // past 0: reported, nothing freed again
    t->retainobject(o);
    EXPECT_EQ(1, g_deallocated);
    EXPECT_EQ(2u, browser.Account().Faults().size());
    EXPECT_TRUE(browser.Account().Leaks().empty());

    // The browser's own objects cannot be released past the references the
    // plug-in was given.
    NPObject* window = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, t->getvalue(&npp, NPNVWindowNPObject, &window));
    EXPECT_EQ(2u, window->referenceCount);
    t->releaseobject(window);
    t->releaseobject(window);
    EXPECT_EQ(1u, window->referenceCount);
    EXPECT_EQ(3u, browser.Account().Faults().size());
}

// The running totals: a failed free counts nothing, a name is a block too,
// the browser's own objects are not the plug-in's, and an object counts as
// gone only at its last release.
TEST_F(BrowserTest, TotalsCountWhatWasHandedOutAndWhatCameBack)
{
    const AccountTotals& totals = browser.Account().Totals();
    void* block = t->memalloc(8);
    NPUTF8* name = t->utf8fromidentifier(t->getstringidentifier("Value"));
    EXPECT_EQ(1u, browser.Account().NameCount());
    t->memfree(block);
    t->memfree(block);
    NPObject* window = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, t->getvalue(&npp, NPNVWindowNPObject, &window));
    t->releaseobject(window);
    NPObject* o = t->createobject(&npp, &g_counted);
    t->retainobject(o);
    t->releaseobject(o);
    EXPECT_EQ(0u, totals.objectsGone);
    t->releaseobject(o);
    EXPECT_EQ(2u, totals.blocksMade);
    EXPECT_EQ(1u, totals.blocksFreed);
    EXPECT_EQ(1u, totals.namesMade);
    EXPECT_EQ(0u, totals.namesFreed);
    t->memfree(name);
    EXPECT_EQ(1u, totals.namesFreed);
    EXPECT_EQ(0u, browser.Account().NameCount());
    EXPECT_EQ(2u, totals.blocksFreed);
    EXPECT_EQ(1u, totals.objectsMade);
    EXPECT_EQ(1u, totals.objectsGone);
}

TEST_F(BrowserTest, ReleasingVariantsFreesWhatTheyHold)
{
    g_deallocated = 0;
    NPVariant v;
    auto* chars = static_cast<NPUTF8*>(t->memalloc(3));
    std::memcpy(chars, "abc", 3);
    qm::np::SetString(v, chars, 3);
    t->releasevariantvalue(&v);
    EXPECT_EQ(NPVariantType_Void, v.type);
    EXPECT_EQ(0u, browser.Account().BlockCount());

    qm::np::SetObject(v, t->createobject(&npp, &g_counted));
    t->releasevariantvalue(&v);
    EXPECT_EQ(1, g_deallocated);
    EXPECT_EQ(NPVariantType_Void, v.type);

    // A string that is not the browser's is reported, not freed.
    char literal[] = "not mine";
    qm::np::SetString(v, literal, 8);
    t->releasevariantvalue(&v);
    ASSERT_EQ(1u, browser.Account().Faults().size());
    EXPECT_NE(std::string::npos, browser.Account().Faults()[0].find("did not come from memalloc"));

    for (NPVariant plain : {NPVariant{NPVariantType_Int32, {}}, NPVariant{NPVariantType_Null, {}}}) {
        t->releasevariantvalue(&plain);
        EXPECT_EQ(NPVariantType_Void, plain.type);
    }
    EXPECT_EQ(1u, browser.Account().Faults().size());
}

TEST_F(BrowserTest, ThePageWindowObjectServesFunctionsCookieAndAddress)
{
    browser.SetAddress("http://www.example.test/p\xC3\xA9.html");
    browser.SetCookie("a=1; b=\xE2\x82\xAC");
    browser.Window().functions = {"qmContentChanged", "qmFocusSet"};
    std::vector<std::string> called;
    browser.Window().onCall = [&](const std::string& name, const std::vector<ScriptValue>& args) {
        called.push_back(name + ":" + std::to_string(args.size()));
    };
    NPObject* window = nullptr;
    ASSERT_EQ(NPERR_NO_ERROR, t->getvalue(&npp, NPNVWindowNPObject, &window));
    EXPECT_TRUE(t->hasmethod(&npp, window, t->getstringidentifier("qmFocusSet")));
    EXPECT_FALSE(t->hasmethod(&npp, window, t->getstringidentifier("qmFocusLost")));

    NPVariant args[2], result;
    qm::np::SetString(args[0], "id\xC3\xA9", 4); // the caller's own memory: read as given
    auto* chars = static_cast<NPUTF8*>(t->memalloc(2));
    std::memcpy(chars, "on", 2);
    qm::np::SetString(args[1], chars, 2);
    EXPECT_TRUE(t->invoke(&npp, window, t->getstringidentifier("qmContentChanged"), args, 2, &result));
    EXPECT_EQ(NPVariantType_Void, result.type);
    EXPECT_FALSE(t->invoke(&npp, window, t->getstringidentifier("qmFocusLost"), args, 1, &result));
    t->releasevariantvalue(&args[1]);
    EXPECT_EQ((std::vector<std::string>{"qmContentChanged:2"}), called);
    EXPECT_TRUE(log.Contains("page: qmContentChanged(\"id\xC3\xA9\", \"on\")"));

    // document.cookie and location.href, as strings the plug-in releases.
    for (const char* path : {"document/cookie", "location/href"}) {
        const std::string object(path, std::strchr(path, '/'));
        NPVariant o, s;
        ASSERT_TRUE(t->getproperty(&npp, window, t->getstringidentifier(object.c_str()), &o));
        ASSERT_EQ(NPVariantType_Object, o.type);
        ASSERT_TRUE(t->getproperty(
            &npp, o.value.objectValue, t->getstringidentifier(std::strchr(path, '/') + 1), &s));
        ASSERT_EQ(NPVariantType_String, s.type);
        const std::string text(s.value.stringValue.UTF8Characters, s.value.stringValue.UTF8Length);
        EXPECT_EQ(
            object == "document" ? "a=1; b=\xE2\x82\xAC" : "http://www.example.test/p\xC3\xA9.html", text);
        t->releasevariantvalue(&s);
        t->releasevariantvalue(&o);
    }
    t->releaseobject(window);
    EXPECT_TRUE(browser.Account().Faults().empty());
    EXPECT_TRUE(browser.Account().Leaks().empty());
}

TEST(BrowserOptions, WithoutHasMethodWindowObjectOrSharedPlatform)
{
    EventLog log;
    BrowserOptions options;
    options.hasMethod = false;
    options.windowObject = false;
    options.sharePlatform = false;
    Browser browser(log, options);
    NPNetscapeFuncs* t = browser.Table();
    NPP_t npp{};
    EXPECT_EQ(nullptr, t->hasmethod);
    NPObject* window = nullptr;
    EXPECT_NE(NPERR_NO_ERROR, t->getvalue(&npp, NPNVWindowNPObject, &window));
    EXPECT_EQ(nullptr, window);
    EXPECT_TRUE(log.Contains("get-value window object -> refused"));
    EXPECT_FALSE(qm::np::ShareBrowserPlatform(t, &npp));

    EventLog log2;
    Browser sharing(log2);
    EXPECT_NE(nullptr, sharing.Table()->hasmethod);
    EXPECT_TRUE(
        qm::np::ShareBrowserPlatform(sharing.Table(), &npp)); // its own state: adopting changes nothing
    qm::np::StopSharingBrowserPlatform();
}
