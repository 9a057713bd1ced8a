// CMapStringToString, CPDictionary and CPointerSet driven by fuzzed
// operations, checked against a plain model of their documented behaviour.

#include "fuzz/FuzzText.h"

#include "base/collections/MapStringToString.h"
#include "base/collections/PDictionary.h"
#include "base/collections/PointerSet.h"
#include "base/text/U16.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using U16 = std::u16string;

U16 Str(const unsigned short* p) { return p ? U16(reinterpret_cast<const char16_t*>(p)) : U16(); }

// Small key alphabet so that keys repeat often.
std::vector<unsigned short> SmallText(FuzzedDataProvider& fdp)
{
    std::vector<unsigned short> t;
    int n = fdp.ConsumeIntegralInRange<int>(0, 3);
    for (int i = 0; i < n; ++i)
        t.push_back(static_cast<unsigned short>("ab\xE9"[fdp.ConsumeIntegralInRange<int>(0, 2)]));
    t.push_back(0);
    return t;
}

struct MapModel
{
    std::vector<std::pair<U16, U16>> pairs;
    std::pair<U16, U16>* Find(const U16& k)
    {
        for (auto& p : pairs)
            if (p.first == k)
                return &p;
        return nullptr;
    }
};

void CheckMap(const CMapStringToString& map, const MapModel& model)
{
    QM_FUZZ_CHECK(map.GetCount() == static_cast<int>(model.pairs.size()));
    void* pos = map.GetStartPosition();
    size_t i = 0;
    while (pos) {
        CSafeBuf k, v;
        map.GetNextAssoc(pos, k, v);
        QM_FUZZ_CHECK(i < model.pairs.size());
        QM_FUZZ_CHECK(Str(k) == model.pairs[i].first && Str(v) == model.pairs[i].second);
        ++i;
    }
    QM_FUZZ_CHECK(i == model.pairs.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    CMapStringToString map;
    MapModel model;
    CPDictionary dict;
    std::vector<std::pair<U16, std::pair<U16, int>>> dmodel;
    void* walk = nullptr;
    // Addresses 8 bytes apart inside one array, so that the set's probing
    // runs grow long.
    static char addresses[512 * 8];
    CPointerSet pointers;
    std::set<const void*> pmodel;

    int steps = 0;
    while (fdp.remaining_bytes() > 0 && ++steps < 60) {
        std::vector<unsigned short> key = SmallText(fdp);
        std::vector<unsigned short> value = qmfuzz::ConsumeU16(fdp, 8);
        U16 k = Str(key.data()), v = Str(value.data());
        switch (fdp.ConsumeIntegralInRange<int>(0, 13)) {
        case 0:
            map.SetAt(key.data(), CSafeBuf(value.data()));
            if (auto* p = model.Find(k))
                p->second = v;
            else
                model.pairs.emplace_back(k, v);
            break;
        case 1: {
            CSafeBuf& ref = map[key.data()];
            ref = value.data();
            if (auto* p = model.Find(k))
                p->second = v;
            else
                model.pairs.emplace_back(k, v);
            break;
        }
        case 2: {
            bool removed = map.RemoveKey(key.data());
            bool had = false;
            for (size_t i = 0; i < model.pairs.size(); ++i)
                if (model.pairs[i].first == k) {
                    model.pairs.erase(model.pairs.begin() + static_cast<long>(i));
                    had = true;
                    break;
                }
            QM_FUZZ_CHECK(removed == had);
            break;
        }
        case 3: {
            CSafeBuf out("keep");
            bool found = map.Lookup(key.data(), out);
            auto* p = model.Find(k);
            QM_FUZZ_CHECK(found == (p != nullptr));
            QM_FUZZ_CHECK(found ? Str(out) == p->second : out == "keep");
            break;
        }
        case 4: {
            // A walk that survives removals: stale positions end it cleanly.
            if (!walk)
                walk = map.GetStartPosition();
            CSafeBuf a, b;
            map.GetNextAssoc(walk, a, b);
            break;
        }
        case 5: {
            CMapStringToString copy(map);
            CheckMap(copy, model);
            CMapStringToString& alias = copy;
            copy = alias;
            map = copy;
            walk = nullptr;
            break;
        }
        case 6:
            if (fdp.ConsumeBool()) {
                map.RemoveAll();
                model.pairs.clear();
                walk = nullptr;
            }
            break;
        case 7: {
            std::string k8 = qmfuzz::ConsumeBytes(fdp, 3);
            map.SetAt(k8.c_str(), CSafeBuf(value.data()));
            CSafeBuf out;
            QM_FUZZ_CHECK(map.Lookup(k8.c_str(), out) && Str(out) == v);
            QM_FUZZ_CHECK(map.RemoveKey(k8.c_str()));
            // The 8-bit key is the same key as its sign-extended UTF-16 form.
            U16 wide;
            for (char c : k8)
                wide += static_cast<char16_t>(static_cast<unsigned short>(static_cast<short>(c)));
            for (size_t i = 0; i < model.pairs.size(); ++i)
                if (model.pairs[i].first == wide) {
                    model.pairs.erase(model.pairs.begin() + static_cast<long>(i));
                    break;
                }
            break;
        }
        case 8: {
            bool append = fdp.ConsumeBool();
            dict.Set(key.data(), value.data(), append);
            bool done = false;
            if (!append)
                for (auto& e : dmodel)
                    if (e.first == k) {
                        e.second = {v, 1};
                        done = true;
                        break;
                    }
            if (!done)
                dmodel.push_back({k, {v, 1}});
            break;
        }
        case 9: {
            dict.SetWidthCount(key.data(), value.data());
            bool done = false;
            for (auto& e : dmodel)
                if (e.first == k) {
                    if (e.second.first == v)
                        ++e.second.second;
                    else
                        e.second = {v, 1};
                    done = true;
                    break;
                }
            if (!done)
                dmodel.push_back({k, {v, 1}});
            break;
        }
        case 10: {
            CPDictionary copy(dict);
            copy = dict;
            dict = copy;
            break;
        }
        case 12:
        case 13: {
            // A burst of insertions or removals, then every address is
            // found exactly when it is a member.
            const bool insert = fdp.ConsumeBool();
            int n = fdp.ConsumeIntegralInRange<int>(1, 64);
            while (n-- > 0 && fdp.remaining_bytes() > 0) {
                const void* p = &addresses[fdp.ConsumeIntegralInRange<int>(0, 511) * 8];
                // An address known to be new may also be added without
                // waiting for its slot.
                if (insert && pmodel.count(p) == 0 && fdp.ConsumeBool()) {
                    pointers.Add(p);
                    pmodel.insert(p);
                } else if (insert)
                    QM_FUZZ_CHECK(pointers.Insert(p) == pmodel.insert(p).second);
                else
                    QM_FUZZ_CHECK(pointers.Erase(p) == (pmodel.erase(p) == 1));
            }
            QM_FUZZ_CHECK(pointers.Count() == pmodel.size());
            for (int i = 0; i < 512; ++i)
                QM_FUZZ_CHECK(pointers.Contains(&addresses[i * 8]) == (pmodel.count(&addresses[i * 8]) == 1));
            break;
        }
        default:
            if (fdp.ConsumeBool()) {
                dict.Release();
                dmodel.clear();
            }
            break;
        }
    }
    CheckMap(map, model);
    dict.ResetGet();
    size_t i = 0;
    while (CPDictionaryItem* e = dict.GetNext()) {
        QM_FUZZ_CHECK(i < dmodel.size());
        QM_FUZZ_CHECK(Str(e->name) == dmodel[i].first);
        QM_FUZZ_CHECK(Str(e->value) == dmodel[i].second.first);
        QM_FUZZ_CHECK(e->value == nullptr || e->value[0] != 0);
        QM_FUZZ_CHECK(e->count == dmodel[i].second.second);
        ++i;
    }
    QM_FUZZ_CHECK(i == dmodel.size());
    return 0;
}
