// The lists, the array, the string map and the counting dictionary.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/collections/ListInt.h"
#include "base/collections/MapStringToString.h"
#include "base/collections/PDictionary.h"
#include "base/collections/PtrList.h"
#include "base/collections/SinglyLinkedList.h"
#include "base/collections/StringList.h"
#include "base/collections/UIntArray.h"
#include "base/text/SafeBuf.h"

namespace {

const unsigned short* W(const char16_t* s) { return reinterpret_cast<const unsigned short*>(s); }

std::u16string U(const unsigned short* s)
{
    return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : u"<null>";
}

std::u16string U(const CSafeBuf& s) { return U(static_cast<const unsigned short*>(s)); }

int a = 1, b = 2, c = 3, d = 4;

std::vector<void*> Items(const CPtrList& list)
{
    std::vector<void*> out;
    for (void* pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos));
    return out;
}

std::vector<long> Values(const CListInt& list)
{
    std::vector<long> out;
    for (void* pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos));
    return out;
}

std::vector<std::u16string> Texts(const CStringList& list)
{
    std::vector<std::u16string> out;
    for (void* pos = list.GetHeadPosition(); pos;)
        out.push_back(U(list.GetNext(pos)));
    return out;
}

// A chain whose policy counts the nodes it frees and refuses to copy a node
// holding a negative value, the way an allocation that fails would.
struct CountedNode
{
    int value;
    CountedNode* next;
};

int freedNodes = 0;

struct CountedNodes
{
    static CountedNode* Clone(const CountedNode& from)
    {
        return from.value < 0 ? nullptr : new CountedNode{from.value, nullptr};
    }
    static void Free(CountedNode* node)
    {
        ++freedNodes;
        delete node;
    }
};

using CountedChain = SinglyLinkedList<CountedNode, CountedNodes>;

std::vector<int> Values(const CountedChain& chain)
{
    std::vector<int> out;
    for (CountedNode* n = chain.Head(); n; n = n->next)
        out.push_back(n->value);
    return out;
}

} // namespace

TEST(PtrList, ForeignPositionsAreRecognised)
{
    CPtrList list, other;
    list.AddTail(&a);
    list.AddTail(&b);
    void* foreign = other.AddTail(&c);

    void* pos = foreign;
    EXPECT_EQ(list.GetNext(pos), nullptr);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(list.GetAt(foreign), nullptr);
    list.SetAt(foreign, &d);
    EXPECT_EQ(other.GetHead(), &c);
    list.RemoveAt(foreign);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(other.GetCount(), 1);

    // Insertion at a foreign position appends to this list and moves its tail.
    void* added = list.InsertBefore(foreign, &d);
    EXPECT_EQ(list.GetTail(), &d);
    EXPECT_EQ(list.GetAt(added), &d);
    EXPECT_EQ(other.GetCount(), 1);
    EXPECT_EQ((Items(list)), (std::vector<void*>{&a, &b, &d}));

    // A position whose node was removed is no longer followed.
    void* stale = list.Find(&b);
    list.RemoveAt(stale);
    pos = stale;
    EXPECT_EQ(list.GetNext(pos), nullptr);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(list.GetAt(nullptr), nullptr);
}

// Positions held by a walk stay right while the list changes around them:
// random steps, insertions and removals at live positions, checked against
// a plain vector after every operation.
TEST(PtrList, PositionsStayRightWhileTheListChangesAroundAWalk)
{
    std::mt19937 rng(11);
    auto item = [](int v) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(v + 1)); };
    for (int round = 0; round < 60; ++round) {
        CPtrList list;
        std::vector<std::pair<void*, void*>> model; // item, position
        int next = 0;
        int last = 0;
        for (int op = 0; op < 300; ++op) {
            // Half the operations work where the last one did, beside the
            // position a walk has just stepped over.
            int k = model.empty() ? 0 : static_cast<int>(rng() % model.size());
            if (rng() % 2 && !model.empty())
                k = std::min(last + static_cast<int>(rng() % 2), static_cast<int>(model.size()) - 1);
            last = k;
            switch (rng() % 10) {
            case 8:
                if (!model.empty()) {
                    list.RemoveHead();
                    model.erase(model.begin());
                }
                break;
            case 9:
                if (!model.empty()) {
                    list.RemoveTail();
                    model.pop_back();
                }
                break;
            case 7: { // another list's items put in front
                CPtrList front;
                front.AddTail(item(next));
                list.AddHead(&front);
                model.emplace(model.begin(), item(next++), list.FindIndex(0));
                break;
            }
            case 0:
                model.emplace_back(item(next), list.AddTail(item(next)));
                ++next;
                break;
            case 1:
                model.emplace(model.begin(), item(next), list.AddHead(item(next)));
                ++next;
                break;
            case 2: // a step from a held position
                if (!model.empty()) {
                    void* pos = model[k].second;
                    EXPECT_EQ(list.GetNext(pos), model[k].first);
                    EXPECT_EQ(pos, k + 1 < static_cast<int>(model.size()) ? model[k + 1].second : nullptr);
                }
                break;
            case 3:
                if (!model.empty()) {
                    list.RemoveAt(model[k].second);
                    model.erase(model.begin() + k);
                }
                break;
            case 4:
                if (!model.empty()) {
                    void* at = list.InsertBefore(model[k].second, item(next));
                    model.emplace(model.begin() + k, item(next++), at);
                }
                break;
            case 5:
                if (!model.empty()) {
                    void* at = list.InsertAfter(model[k].second, item(next));
                    model.emplace(model.begin() + k + 1, item(next++), at);
                }
                break;
            default: // a walk that removes every other item it steps over
                for (void* pos = list.GetHeadPosition(); pos;) {
                    void* here = pos;
                    list.GetNext(pos);
                    if (rng() % 2) {
                        list.RemoveAt(here);
                        for (auto it = model.begin(); it != model.end(); ++it) {
                            if (it->second == here) {
                                model.erase(it);
                                break;
                            }
                        }
                    }
                }
                break;
            }
            std::vector<void*> expected;
            for (const auto& m : model)
                expected.push_back(m.first);
            // A copy is walked, so that the list's own walk state stays.
            const CPtrList copy(list);
            ASSERT_EQ(Items(copy), expected) << "round " << round << ", operation " << op;
            ASSERT_EQ(list.GetCount(), static_cast<int>(model.size()));
            if (!model.empty()) {
                ASSERT_EQ(list.GetTail(), model.back().first);
            }
        }
    }
}

TEST(PtrList, InsertionAtNullPositionAppendsAndKeepsTail)
{
    CPtrList list;
    list.InsertBefore(nullptr, &a);
    EXPECT_EQ(list.GetHead(), &a);
    EXPECT_EQ(list.GetTail(), &a);
    list.InsertAfter(nullptr, &b);
    list.AddTail(&c);
    EXPECT_EQ((Items(list)), (std::vector<void*>{&a, &b, &c}));
    EXPECT_EQ(list.GetTail(), &c);

    // Inserting after the tail makes a new tail; before the head a new head.
    list.InsertAfter(list.Find(&c), &d);
    EXPECT_EQ(list.GetTail(), &d);
    list.InsertBefore(list.GetHeadPosition(), &d);
    list.InsertBefore(list.Find(&c), &a);
    EXPECT_EQ((Items(list)), (std::vector<void*>{&d, &a, &b, &a, &c, &d}));
    EXPECT_EQ(list.GetCount(), 6);
    EXPECT_EQ(list.GetAt(list.FindIndex(4)), &c);
    EXPECT_EQ(list.FindIndex(6), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
}

TEST(PtrList, RemovingTheLastItemKeepsTailRight)
{
    CPtrList list;
    list.AddTail(&a);
    list.RemoveTail();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetHead(), nullptr);
    EXPECT_EQ(list.GetTail(), nullptr);
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    list.AddTail(&b);
    EXPECT_EQ(list.GetHead(), &b);

    list.AddTail(&c);
    list.AddTail(&d);
    list.RemoveAt(list.Find(&d));
    EXPECT_EQ(list.GetTail(), &c);
    list.AddTail(&a);
    EXPECT_EQ((Items(list)), (std::vector<void*>{&b, &c, &a}));
    list.RemoveTail();
    EXPECT_EQ(list.GetTail(), &c);
    list.RemoveHead();
    list.RemoveHead();
    list.RemoveHead(); // empty: nothing
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetTail(), nullptr);
    list.AddHead(&a);
    EXPECT_EQ(list.GetTail(), &a);
}

TEST(PtrList, AddingListsAndCopies)
{
    CPtrList list, other;
    list.AddTail(&a);
    other.AddTail(&b);
    other.AddTail(&c);
    list.AddTail(&other);
    list.AddHead(&other);
    EXPECT_EQ((Items(list)), (std::vector<void*>{&b, &c, &a, &b, &c}));
    EXPECT_EQ(other.GetCount(), 2);

    // Adding a list to itself copies its original items once.
    other.AddTail(&other);
    EXPECT_EQ((Items(other)), (std::vector<void*>{&b, &c, &b, &c}));
    other.AddHead(&other);
    EXPECT_EQ(other.GetCount(), 8);
    EXPECT_EQ(other.GetTail(), &c);

    CPtrList copy(list);
    copy.RemoveAll();
    copy.AddTail(&d);
    EXPECT_EQ(list.GetCount(), 5);
    list = copy;
    EXPECT_EQ((Items(list)), (std::vector<void*>{&d}));
    EXPECT_EQ(list.Find(&a), nullptr);
    list.SetAt(list.GetHeadPosition(), &a);
    EXPECT_EQ(copy.GetHead(), &d);
}

TEST(StringList, OwnsCopiesAndWidensBytesWithSign)
{
    CStringList list;
    std::u16string source = u"one";
    list.AddTail(W(source.c_str()));
    source[0] = u'X';
    list.AddTail("caf\xE9");
    list.AddTail(static_cast<const unsigned short*>(nullptr));
    list.AddHead(W(u"zero"));
    EXPECT_EQ((Texts(list)), (std::vector<std::u16string>{u"zero", u"one", u"caf\uFFE9", u""}));

    EXPECT_NE(list.Find("caf\xE9"), nullptr);
    EXPECT_EQ(list.Find(W(u"caf\u00E9")), nullptr);
    EXPECT_EQ(list.Find(W(u"one")), list.FindIndex(1));
    EXPECT_EQ(list.Find(W(u"One")), nullptr);

    list.SetAt(list.FindIndex(1), W(u"uno"));
    list.SetAt(list.FindIndex(3), nullptr);
    EXPECT_EQ(U(list.GetTail()), u"");
    void* none = nullptr;
    EXPECT_EQ(list.GetNext(none), nullptr);
}

TEST(StringList, PositionsAndRemoval)
{
    CStringList list, other;
    void* foreign = other.AddTail(W(u"x"));
    list.AddTail(W(u"a"));
    list.InsertBefore(foreign, W(u"b")); // appends
    list.InsertBefore(list.GetHeadPosition(), W(u"c"));
    list.InsertBefore(list.FindIndex(2), W(u"d"));
    EXPECT_EQ((Texts(list)), (std::vector<std::u16string>{u"c", u"a", u"d", u"b"}));
    list.SetAt(foreign, W(u"y"));
    EXPECT_EQ(U(other.GetHead()), u"x");
    list.RemoveAt(foreign);
    EXPECT_EQ(list.GetCount(), 4);
    void* pos = foreign;
    EXPECT_EQ(list.GetNext(pos), nullptr);
    EXPECT_EQ(pos, nullptr);

    list.RemoveTail();
    EXPECT_EQ(U(list.GetTail()), u"d");
    list.AddTail(W(u"e"));
    list.RemoveAt(list.FindIndex(1));
    list.RemoveHead();
    EXPECT_EQ((Texts(list)), (std::vector<std::u16string>{u"d", u"e"}));

    list.AddTail(&list);
    EXPECT_EQ((Texts(list)), (std::vector<std::u16string>{u"d", u"e", u"d", u"e"}));
    CStringList copy(list);
    list.RemoveAll();
    EXPECT_EQ(list.GetTail(), nullptr);
    EXPECT_EQ(copy.GetCount(), 4);
    EXPECT_EQ(U(copy.GetHead()), u"d");
}

TEST(ListInt, PositionsValuesAndForeignSetAt)
{
    CListInt list, other;
    void* foreign = other.AddTail(7);
    list.AddTail(1);
    list.AddTail(2);
    list.AddHead(0);
    list.InsertBefore(list.GetHeadPosition(), -1);
    list.InsertBefore(nullptr, 3);
    EXPECT_EQ((Values(list)), (std::vector<long>{-1, 0, 1, 2, 3}));
    EXPECT_EQ(list.GetTail(), 3);

    // SetAt with a position of another list must not write into that list.
    list.SetAt(foreign, 99);
    EXPECT_EQ(other.GetHead(), 7);
    EXPECT_EQ((Values(list)), (std::vector<long>{-1, 0, 1, 2, 3}));
    list.SetAt(list.GetHeadPosition(), 42);
    EXPECT_EQ(list.GetHead(), 42);

    void* pos = foreign;
    EXPECT_EQ(list.GetNext(pos), 0);
    EXPECT_EQ(pos, nullptr);
    list.RemoveAt(foreign);
    EXPECT_EQ(list.GetCount(), 5);

    other.AddTail(8);
    list.AddHead(&other);
    EXPECT_EQ((Values(list)), (std::vector<long>{7, 8, 42, 0, 1, 2, 3}));
    other.AddHead(&other);
    EXPECT_EQ((Values(other)), (std::vector<long>{7, 8, 7, 8}));
    EXPECT_EQ(other.GetTail(), 8);

    CListInt single;
    single.AddTail(5);
    single.RemoveTail();
    EXPECT_EQ(single.GetCount(), 0);
    EXPECT_EQ(single.GetHead(), 0);
    EXPECT_EQ(single.GetTail(), 0);
    single.AddTail(6);
    single.AddTail(7);
    single.RemoveAt(single.GetHeadPosition());
    EXPECT_EQ(single.GetHead(), 7);
    EXPECT_EQ(single.GetTail(), 7);
}

TEST(UIntArray, GrowsAndAnswersZeroOutsideRange)
{
    CUIntArray array;
    for (int i = 0; i < 25; ++i)
        ASSERT_TRUE(array.Add(i * 3));
    EXPECT_EQ(array.GetCount(), 25);
    EXPECT_EQ(array.GetAt(0), 0);
    EXPECT_EQ(array.GetAt(10), 30);
    EXPECT_EQ(array.GetAt(24), 72);
    EXPECT_EQ(array.GetAt(25), 0);
    EXPECT_EQ(array.GetAt(-1), 0);
    CUIntArray copy(array);
    copy.Add(1);
    EXPECT_EQ(array.GetCount(), 25);
    EXPECT_EQ(copy.GetAt(25), 1);
}

TEST(MapStringToString, OrderCaseAndReplacement)
{
    CMapStringToString map;
    map.SetAt(W(u"Key"), CSafeBuf(W(u"1")));
    map.SetAt(W(u"second"), CSafeBuf(W(u"2")));
    map.SetAt(W(u"Key"), CSafeBuf(W(u"3"))); // keeps its place
    EXPECT_EQ(map.GetCount(), 2);

    CSafeBuf value(W(u"untouched"));
    EXPECT_FALSE(map.Lookup(W(u"key"), value));
    EXPECT_EQ(U(value), u"untouched");
    EXPECT_TRUE(map.Lookup(W(u"Key"), value));
    EXPECT_EQ(U(value), u"3");
    EXPECT_TRUE(map.Lookup("second", value));
    EXPECT_EQ(U(value), u"2");

    CSafeBuf key, val;
    std::vector<std::u16string> walk;
    for (void* pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, val);
        walk.push_back(U(key) + u"=" + U(val));
    }
    EXPECT_EQ(walk, (std::vector<std::u16string>{u"Key=3", u"second=2"}));

    map[W(u"third")] += W(u"x");
    map["Key"] = W(u"4");
    EXPECT_EQ(map.GetCount(), 3);
    EXPECT_TRUE(map.Lookup(W(u"Key"), value));
    EXPECT_EQ(U(value), u"4");

    EXPECT_TRUE(map.RemoveKey("Key"));
    EXPECT_FALSE(map.RemoveKey(W(u"Key")));
    EXPECT_EQ(map.GetCount(), 2);
    map.SetAt(W(u"fourth"), CSafeBuf(W(u"4"))); // tail stays right after removal
    map.RemoveKey(W(u"fourth"));
    map.SetAt(W(u"fifth"), CSafeBuf(W(u"5")));
    walk.clear();
    for (void* pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, val);
        walk.push_back(U(key));
    }
    EXPECT_EQ(walk, (std::vector<std::u16string>{u"second", u"third", u"fifth"}));
}

TEST(MapStringToString, TakeAtKeepsTheBuffersItIsGiven)
{
    CMapStringToString map;
    map.SetAt(W(u"first"), CSafeBuf(W(u"1")));
    CSafeBuf key(W(u"second")), value(W(u"two"));
    const unsigned short* keyText = key;
    const unsigned short* valueText = value;
    CSafeBuf& stored = map.TakeAt(key, value);
    // A new pair: both buffers change hands, the caller's strings are empty.
    EXPECT_EQ(static_cast<const unsigned short*>(stored), valueText);
    EXPECT_TRUE(key.IsEmpty());
    EXPECT_TRUE(value.IsEmpty());
    map.ForEachPair([&](const CSafeBuf& k, const CSafeBuf&) {
        if (U(k) == u"second") {
            EXPECT_EQ(static_cast<const unsigned short*>(k), keyText);
        }
    });

    // An existing key keeps its place and its key; only the value is taken,
    // the caller left with the old value's buffer, emptied.
    key = W(u"first");
    value = W(u"uno");
    CSafeBuf& replaced = map.TakeAt(key, value);
    EXPECT_EQ(U(replaced), u"uno");
    EXPECT_EQ(U(key), u"first");
    EXPECT_TRUE(value.IsEmpty());
    std::vector<std::u16string> walk;
    map.ForEachPair([&](const CSafeBuf& k, const CSafeBuf& v) { walk.push_back(U(k) + u"=" + U(v)); });
    EXPECT_EQ(walk, (std::vector<std::u16string>{u"first=uno", u"second=two"}));

    // The strings given up are fit for use again.
    key = W(u"third");
    value = W(u"3");
    map.TakeAt(key, value);
    EXPECT_EQ(map.GetCount(), 3);
    EXPECT_TRUE(map.Lookup("third", value));
    EXPECT_EQ(U(value), u"3");
}

TEST(MapStringToString, EightBitKeysStayUnique)
{
    CMapStringToString map;
    map["caf\xE9"] = W(u"one");
    map["caf\xE9"] += W(u"+two");
    EXPECT_EQ(map.GetCount(), 1);
    CSafeBuf value;
    EXPECT_TRUE(map.Lookup("caf\xE9", value));
    EXPECT_EQ(U(value), u"one+two");
    map.SetAt("caf\xE9", CSafeBuf(W(u"three")));
    EXPECT_EQ(map.GetCount(), 1);
    // The 16-bit form finds it by the sign-extended unit only.
    EXPECT_TRUE(map.Lookup(W(u"caf\uFFE9"), value));
    EXPECT_FALSE(map.Lookup(W(u"caf\u00E9"), value));
    EXPECT_FALSE(map.RemoveKey(W(u"caf\u00E9")));
    EXPECT_TRUE(map.RemoveKey("caf\xE9"));
    EXPECT_TRUE(map.IsEmpty());
    // A key that SetAt adds is stored as the other forms store it.
    map.SetAt("na\xEFve", CSafeBuf(W(u"four")));
    map.SetAt(W(u"r\u00E9sum\u00E9"), CSafeBuf(W(u"five")));
    EXPECT_TRUE(map.Lookup(W(u"na\uFFEFve"), value));
    EXPECT_EQ(U(value), u"four");
    EXPECT_TRUE(map.Lookup(W(u"r\u00E9sum\u00E9"), value));
    EXPECT_EQ(U(value), u"five");
    EXPECT_TRUE(map.RemoveKey("na\xEFve"));
    EXPECT_TRUE(map.RemoveKey(W(u"r\u00E9sum\u00E9")));
    // A null key is the empty key, in either form; a prefix is another key.
    map.SetAt(static_cast<const char*>(nullptr), CSafeBuf(W(u"none")));
    EXPECT_TRUE(map.Lookup(W(u""), value));
    EXPECT_EQ(U(value), u"none");
    EXPECT_FALSE(map.Lookup("c", value));
    map.SetAt(W(u"ca"), CSafeBuf(W(u"x")));
    EXPECT_FALSE(map.Lookup("c", value));
    EXPECT_FALSE(map.Lookup("cat", value));
    EXPECT_TRUE(map.Contains(W(u"ca")));
    EXPECT_FALSE(map.Contains(W(u"c")));
    EXPECT_TRUE(map.RemoveKey(static_cast<const unsigned short*>(nullptr)));
    EXPECT_TRUE(map.RemoveKey("ca"));
    EXPECT_TRUE(map.IsEmpty());

    // Long 8-bit keys are compared in full, not cut at a fixed length.
    const std::string base(250, 'k');
    map.SetAt((base + "A").c_str(), CSafeBuf(W(u"a")));
    map.SetAt((base + "B").c_str(), CSafeBuf(W(u"b")));
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_TRUE(map.Lookup((base + "A").c_str(), value));
    EXPECT_EQ(U(value), u"a");
    EXPECT_TRUE(map.RemoveKey((base + "B").c_str()));
    EXPECT_EQ(map.GetCount(), 1);
}

TEST(MapStringToString, ForeignPositionAndCopies)
{
    CMapStringToString map, other;
    map.SetAt(W(u"a"), CSafeBuf(W(u"1")));
    other.SetAt(W(u"b"), CSafeBuf(W(u"2")));
    void* pos = other.GetStartPosition();
    CSafeBuf key(W(u"k")), value(W(u"v"));
    map.GetNextAssoc(pos, key, value);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(U(key), u"k");
    EXPECT_EQ(U(value), u"v");

    CMapStringToString copy(map);
    copy[W(u"a")] = W(u"changed");
    EXPECT_TRUE(map.Lookup(W(u"a"), value));
    EXPECT_EQ(U(value), u"1");
    other = copy;
    EXPECT_EQ(other.GetCount(), 1);
    EXPECT_TRUE(other.Lookup(W(u"a"), value));
    EXPECT_EQ(U(value), u"changed");
    other.RemoveAll();
    EXPECT_TRUE(other.IsEmpty());
    EXPECT_EQ(other.GetStartPosition(), nullptr);
}

TEST(PDictionary, SetWidthCountCountsRepeatedValues)
{
    CPDictionary dict;
    dict.SetWidthCount(W(u"width"), W(u"10"));
    dict.SetWidthCount(W(u"width"), W(u"10"));
    dict.SetWidthCount(W(u"width"), W(u"10"));
    dict.SetWidthCount(W(u"align"), W(u"10"));
    dict.SetWidthCount(W(u"align"), W(u"20"));
    dict.SetWidthCount(W(u"valign"), nullptr);
    dict.SetWidthCount(W(u"valign"), W(u""));
    dict.SetWidthCount(W(u"bg"), W(u"red"));
    dict.SetWidthCount(W(u"bg"), nullptr);

    dict.ResetGet();
    CPDictionaryItem* e = dict.GetNext();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(U(e->name), u"width");
    EXPECT_EQ(U(e->value), u"10");
    EXPECT_EQ(e->count, 3);
    e = dict.GetNext();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(U(e->value), u"20");
    EXPECT_EQ(e->count, 1);
    e = dict.GetNext();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->value, nullptr);
    EXPECT_EQ(e->count, 2);
    e = dict.GetNext();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->value, nullptr);
    EXPECT_EQ(e->count, 1);
    EXPECT_EQ(dict.GetNext(), nullptr);
}

TEST(PDictionary, SetReplacesOrAppends)
{
    CPDictionary dict;
    dict.Set(W(u"a"), W(u"1"), false);
    dict.SetWidthCount(W(u"a"), W(u"1"));
    dict.Set(W(u"a"), W(u"2"), false); // replaces, count back to 1
    dict.Set(W(u"a"), W(u""), true);   // a second entry, value null
    dict.ResetGet();
    CPDictionaryItem* first = dict.GetNext();
    CPDictionaryItem* second = dict.GetNext();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(U(first->value), u"2");
    EXPECT_EQ(first->count, 1);
    EXPECT_EQ(second->value, nullptr);
    EXPECT_EQ(dict.GetNext(), nullptr);

    CPDictionary copy(dict);
    dict.Release();
    dict.ResetGet();
    EXPECT_EQ(dict.GetNext(), nullptr);
    copy.ResetGet();
    ASSERT_NE(copy.GetNext(), nullptr);
}

TEST(SinglyLinkedList, LinksAndKeepsHeadTailAndCount)
{
    CountedChain chain, other;
    CountedNode* two = chain.LinkTail(CountedChain::New(2));
    chain.LinkHead(CountedChain::New(1));
    chain.LinkAfter(two, CountedChain::New(4));
    chain.InsertBefore(chain.Tail(), CountedChain::New(3));
    EXPECT_EQ(Values(chain), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(chain.Tail()->value, 4);
    EXPECT_EQ(chain.Count(), 4);

    CountedNode* foreign = other.LinkTail(CountedChain::New(9));
    EXPECT_EQ(chain.Locate(foreign), nullptr);
    chain.InsertBefore(foreign, CountedChain::New(5));
    chain.InsertAfter(nullptr, CountedChain::New(6));
    EXPECT_EQ(chain.Tail()->value, 6);
    EXPECT_EQ(chain.LinkTail(nullptr), nullptr);
    EXPECT_EQ(chain.InsertBefore(two, nullptr), nullptr);
    EXPECT_EQ(chain.Count(), 6);
    EXPECT_EQ(chain.NodeAt(1), two);
    EXPECT_EQ(chain.NodeAt(6), nullptr);
    EXPECT_EQ(chain.NodeAt(-1), nullptr);

    void* pos = foreign;
    EXPECT_EQ(chain.Step(pos), nullptr);
    EXPECT_EQ(pos, nullptr);
    pos = chain.Tail();
    EXPECT_EQ(chain.Step(pos)->value, 6);
    EXPECT_EQ(pos, nullptr);
}

TEST(SinglyLinkedList, FreesEveryNodeItUnlinksOnce)
{
    freedNodes = 0;
    {
        CountedChain chain, other;
        for (int i = 1; i <= 5; ++i)
            chain.LinkTail(CountedChain::New(i));
        CountedNode* foreign = other.LinkTail(CountedChain::New(9));
        chain.RemoveAt(foreign);
        chain.RemoveAt(nullptr);
        EXPECT_EQ(freedNodes, 0);
        chain.RemoveHead();
        chain.RemoveTail();
        EXPECT_EQ(chain.Tail()->value, 4);
        EXPECT_TRUE(chain.RemoveFirst([](const CountedNode& n) { return n.value == 3; }));
        EXPECT_FALSE(chain.RemoveFirst([](const CountedNode& n) { return n.value == 3; }));
        EXPECT_EQ(Values(chain), (std::vector<int>{2, 4}));
        EXPECT_EQ(freedNodes, 3);
        chain.RemoveAll();
        EXPECT_EQ(chain.Head(), nullptr);
        EXPECT_EQ(chain.Tail(), nullptr);
        EXPECT_EQ(chain.Count(), 0);
        EXPECT_EQ(freedNodes, 5);
        chain.RemoveTail();
        chain.LinkTail(CountedChain::New(7));
    }
    EXPECT_EQ(freedNodes, 7);
}

TEST(SinglyLinkedList, CopiesAreIndependentAndCopyingIntoItselfEnds)
{
    CountedChain chain;
    chain.LinkTail(CountedChain::New(1));
    chain.LinkTail(CountedChain::New(2));
    CountedChain copy(chain);
    copy.Head()->value = 10;
    EXPECT_EQ(Values(chain), (std::vector<int>{1, 2}));
    chain.AppendCopies(chain);
    EXPECT_EQ(Values(chain), (std::vector<int>{1, 2, 1, 2}));
    copy.PrependCopies(copy);
    EXPECT_EQ(Values(copy), (std::vector<int>{10, 2, 10, 2}));
    EXPECT_EQ(copy.Tail()->value, 2);
    copy = chain;
    EXPECT_EQ(Values(copy), (std::vector<int>{1, 2, 1, 2}));
    EXPECT_EQ(copy.Count(), 4);

    // A node that cannot be copied is left out when appending; in front, either
    // all of them come or none.
    CountedChain partial;
    partial.LinkTail(CountedChain::New(3));
    partial.LinkTail(CountedChain::New(-1));
    chain.AppendCopies(partial);
    EXPECT_EQ(Values(chain), (std::vector<int>{1, 2, 1, 2, 3}));
    chain.PrependCopies(partial);
    EXPECT_EQ(chain.Count(), 5);
    CountedChain empty;
    empty.PrependCopies(chain);
    EXPECT_EQ(Values(empty), Values(chain));
    EXPECT_EQ(empty.Tail()->value, 3);
}
