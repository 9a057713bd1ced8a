// The plug-in interface's records as a 64-bit browser and plug-in lay them
// out: every function-table member the plug-in or the host calls sits at the
// word the interface publishes for it, and the records passed across keep
// their field positions.

#include "platform/np/EventRecord.h"
#include "platform/np/Functions.h"
#include "platform/np/SharedPlatform.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

struct Member
{
    const char* name;
    std::size_t offset;
    std::size_t word;
};

#define QM_WORD(table, member, index)                                                                        \
    Member { #member, offsetof(table, member), index }

TEST(NpLayout, BrowserTableMembersSitAtTheirPublishedWords)
{
    static_assert(sizeof(void*) == 8, "the layout is the 64-bit one");
    const Member members[] = {
        QM_WORD(NPNetscapeFuncs, geturl, 1),
        QM_WORD(NPNetscapeFuncs, posturl, 2),
        QM_WORD(NPNetscapeFuncs, status, 7),
        QM_WORD(NPNetscapeFuncs, uagent, 8),
        QM_WORD(NPNetscapeFuncs, memalloc, 9),
        QM_WORD(NPNetscapeFuncs, memfree, 10),
        QM_WORD(NPNetscapeFuncs, memflush, 11),
        QM_WORD(NPNetscapeFuncs, geturlnotify, 15),
        QM_WORD(NPNetscapeFuncs, getvalue, 17),
        QM_WORD(NPNetscapeFuncs, setvalue, 18),
        QM_WORD(NPNetscapeFuncs, invalidaterect, 19),
        QM_WORD(NPNetscapeFuncs, forceredraw, 21),
        QM_WORD(NPNetscapeFuncs, getstringidentifier, 22),
        QM_WORD(NPNetscapeFuncs, getstringidentifiers, 23),
        QM_WORD(NPNetscapeFuncs, getintidentifier, 24),
        QM_WORD(NPNetscapeFuncs, identifierisstring, 25),
        QM_WORD(NPNetscapeFuncs, utf8fromidentifier, 26),
        QM_WORD(NPNetscapeFuncs, intfromidentifier, 27),
        QM_WORD(NPNetscapeFuncs, createobject, 28),
        QM_WORD(NPNetscapeFuncs, retainobject, 29),
        QM_WORD(NPNetscapeFuncs, releaseobject, 30),
        QM_WORD(NPNetscapeFuncs, invoke, 31),
        QM_WORD(NPNetscapeFuncs, invokeDefault, 32),
        QM_WORD(NPNetscapeFuncs, evaluate, 33),
        QM_WORD(NPNetscapeFuncs, getproperty, 34),
        QM_WORD(NPNetscapeFuncs, setproperty, 35),
        QM_WORD(NPNetscapeFuncs, removeproperty, 36),
        QM_WORD(NPNetscapeFuncs, hasproperty, 37),
        QM_WORD(NPNetscapeFuncs, hasmethod, 38),
        QM_WORD(NPNetscapeFuncs, releasevariantvalue, 39),
        QM_WORD(NPNetscapeFuncs, setexception, 40),
    };
    for (const Member& m : members)
        EXPECT_EQ(m.word * sizeof(void*), m.offset) << m.name;
    // Word 0 holds the size and the version; 41 words in all.
    EXPECT_EQ(0u, offsetof(NPNetscapeFuncs, size));
    EXPECT_EQ(2u, offsetof(NPNetscapeFuncs, version));
    EXPECT_EQ(41 * sizeof(void*), sizeof(NPNetscapeFuncs));
}

TEST(NpLayout, PluginTableHoldsFourteenEntriesAfterItsSizeAndVersion)
{
    const Member members[] = {
        QM_WORD(NPPluginFuncs, newp, 1),
        QM_WORD(NPPluginFuncs, destroy, 2),
        QM_WORD(NPPluginFuncs, setwindow, 3),
        QM_WORD(NPPluginFuncs, newstream, 4),
        QM_WORD(NPPluginFuncs, destroystream, 5),
        QM_WORD(NPPluginFuncs, asfile, 6),
        QM_WORD(NPPluginFuncs, writeready, 7),
        QM_WORD(NPPluginFuncs, write, 8),
        QM_WORD(NPPluginFuncs, print, 9),
        QM_WORD(NPPluginFuncs, event, 10),
        QM_WORD(NPPluginFuncs, urlnotify, 11),
        QM_WORD(NPPluginFuncs, javaClass, 12),
        QM_WORD(NPPluginFuncs, getvalue, 13),
        QM_WORD(NPPluginFuncs, setvalue, 14),
    };
    for (const Member& m : members)
        EXPECT_EQ(m.word * sizeof(void*), m.offset) << m.name;
    EXPECT_EQ(15 * sizeof(void*), sizeof(NPPluginFuncs));
}

TEST(NpLayout, ScriptRecordsKeepTheirFieldPositions)
{
    const Member members[] = {
        // The class callbacks, one word each after the version.
        QM_WORD(NPClass, allocate, 1),
        QM_WORD(NPClass, deallocate, 2),
        QM_WORD(NPClass, invalidate, 3),
        QM_WORD(NPClass, hasMethod, 4),
        QM_WORD(NPClass, invoke, 5),
        QM_WORD(NPClass, invokeDefault, 6),
        QM_WORD(NPClass, hasProperty, 7),
        QM_WORD(NPClass, getProperty, 8),
        QM_WORD(NPClass, setProperty, 9),
        QM_WORD(NPClass, removeProperty, 10),
        // Object head: the class, then the count.
        QM_WORD(NPObject, _class, 0),
        QM_WORD(NPObject, referenceCount, 1),
        // Variant: the type, then the value in the next word.
        QM_WORD(NPVariant, type, 0),
        QM_WORD(NPVariant, value, 1),
        QM_WORD(NPString, UTF8Characters, 0),
        QM_WORD(NPString, UTF8Length, 1),
    };
    for (const Member& m : members)
        EXPECT_EQ(m.word * sizeof(void*), m.offset) << m.name;
    EXPECT_EQ(11 * sizeof(void*), sizeof(NPClass));
    EXPECT_EQ(3 * sizeof(void*), sizeof(NPVariant)); // the string value is two words
    EXPECT_EQ(2 * sizeof(void*), sizeof(NPObject));
    EXPECT_EQ(0, NPVariantType_Void);
    EXPECT_EQ(1, NPVariantType_Null);
    EXPECT_EQ(6, NPVariantType_Object);
}

TEST(NpLayout, WindowAndEventRecords)
{
    // Window: pointer, x, y and size as 32-bit values, the clip as four
    // 16-bit edges (top, left, bottom, right), then the type.
    EXPECT_EQ(0u, offsetof(NPWindow, window));
    EXPECT_EQ(8u, offsetof(NPWindow, x));
    EXPECT_EQ(12u, offsetof(NPWindow, y));
    EXPECT_EQ(16u, offsetof(NPWindow, width));
    EXPECT_EQ(20u, offsetof(NPWindow, height));
    EXPECT_EQ(24u, offsetof(NPWindow, clipRect));
    EXPECT_EQ(0u, offsetof(NPRect, top));
    EXPECT_EQ(2u, offsetof(NPRect, left));
    EXPECT_EQ(4u, offsetof(NPRect, bottom));
    EXPECT_EQ(6u, offsetof(NPRect, right));
    EXPECT_EQ(32u, offsetof(NPWindow, type));
    EXPECT_EQ(0u, offsetof(NP_Port, port));
    EXPECT_EQ(8u, offsetof(NP_Port, portx));
    EXPECT_EQ(12u, offsetof(NP_Port, porty));
    // Event: 16-bit kind, 32-bit message and time, the point as v then h,
    // 16-bit modifiers.
    EXPECT_EQ(0u, offsetof(EventRecord, what));
    EXPECT_EQ(4u, offsetof(EventRecord, message));
    EXPECT_EQ(8u, offsetof(EventRecord, when));
    EXPECT_EQ(12u, offsetof(EventRecord, where));
    EXPECT_EQ(12u, offsetof(EventRecord, where) + offsetof(qm::qd::Point, v));
    EXPECT_EQ(14u, offsetof(EventRecord, where) + offsetof(qm::qd::Point, h));
    EXPECT_EQ(16u, offsetof(EventRecord, modifiers));
    // The instance: the plug-in's data first.
    EXPECT_EQ(0u, offsetof(NPP_t, pdata));
    EXPECT_EQ(8u, offsetof(NPP_t, ndata));
}

} // namespace

namespace {

NPQmSharedPlatform* g_offered = nullptr;

NPError OfferPlatform(NPP, NPNVariable variable, void* value)
{
    if (variable != NPNVqmSharedPlatform || !g_offered)
        return NPERR_GENERIC_ERROR; // what any other browser answers
    *static_cast<NPQmSharedPlatform**>(value) = g_offered;
    return NPERR_NO_ERROR;
}

} // namespace

TEST(SharedPlatform, AdoptedOnlyFromABrowserWhoseRecordMatchesThisBuild)
{
    NPNetscapeFuncs browser{};
    browser.getvalue = OfferPlatform;
    NPP_t instance{};
    qm::events::Services& own = qm::events::Services::Get();

    g_offered = nullptr;
    EXPECT_FALSE(qm::np::ShareBrowserPlatform(&browser, &instance));
    EXPECT_FALSE(qm::np::ShareBrowserPlatform(nullptr, &instance));
    NPQmSharedPlatform record = *qm::np::SharedPlatformRecord();
    EXPECT_EQ(&own, record.services);
    for (int fault = 0; fault < 3; ++fault) {
        NPQmSharedPlatform bad = record;
        if (fault == 0)
            bad.size += 8;
        else if (fault == 1)
            bad.layoutStamp ^= 1;
        else
            bad.servicesSize -= 8;
        g_offered = &bad;
        EXPECT_FALSE(qm::np::ShareBrowserPlatform(&browser, &instance)) << fault;
        EXPECT_FALSE(qm::events::Services::IsAdopted());
    }
    g_offered = &record;
    EXPECT_TRUE(qm::np::ShareBrowserPlatform(&browser, &instance));
    EXPECT_TRUE(qm::events::Services::IsAdopted());
    EXPECT_EQ(&own, &qm::events::Services::Get());
    qm::np::StopSharingBrowserPlatform();
    EXPECT_FALSE(qm::events::Services::IsAdopted());
    g_offered = nullptr;
}
