#pragma once
// An index of a document's rules by what the rightmost compound of each
// selector needs: an id, a class name, a tag name, or nothing (universal and
// the rest). For an element it lists, in sheet order (working sheet, then the
// editor's sheet), only the rules that could match it: those filed under its
// id, one of its class names, its tag, or nothing, and of those only the ones
// whose ancestor compounds ("div.menu" in "div.menu li") name tags, ids and
// classes that the element's ancestors have (a filter of hashed keys that can
// let a rule through wrongly, never keep one out wrongly). The cascade then
// tests just these with DoesStyleFit, so the answer is the same as testing
// every rule, at a cost that grows with the rules that could apply instead of
// with the whole sheet.
//
// The document keeps one index and rebuilds it when its rule lists change
// (CXDoc::RulesChanged, or a list head that is no longer the one indexed).

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CElement;
class CMatchContext;
class CXDocServices;
struct SELECTOR_STATEMENT;
struct STYLE_CLASS;

class CRuleIndex
{
public:
    void Build(STYLE_CLASS* working, STYLE_CLASS* editor);
    // Whether the index was built for these lists at this generation.
    bool IsFor(STYLE_CLASS* working, STYLE_CLASS* editor, unsigned long generation) const
    {
        return m_built && working == m_working && editor == m_editor && generation == m_generation;
    }
    void SetGeneration(unsigned long generation) { m_generation = generation; }
    // Whether a rule of the lists declares a direction.
    bool SetsDirection() const { return m_setsDirection; }

    // The rules that could match e, each once, in sheet order. The id and
    // class of e and its ancestors are read through context.
    void Candidates(CElement* e, CMatchContext& context, std::vector<STYLE_CLASS*>& out) const;

private:
    static constexpr int kMaxKeys = 4;
    // One selector filed under one key.
    struct Entry
    {
        std::uint32_t order; // of the rule in the sheets
        STYLE_CLASS* rule;
        std::uint8_t keyCount; // hashed keys the element's ancestors must have
        std::uint32_t keys[kMaxKeys];
    };
    // 256 bits of hashed ancestor keys.
    struct AncestorFilter
    {
        std::uint64_t bits[4] = {0, 0, 0, 0};
        void Add(std::uint32_t key);
        bool Has(std::uint32_t key) const;
    };
    using Buckets = std::unordered_map<std::u16string, std::vector<Entry>>;

    static Entry MakeEntry(std::uint32_t order, STYLE_CLASS* rule, const SELECTOR_STATEMENT* selector);
    static void Add(const std::vector<Entry>* bucket, std::vector<const Entry*>& into);
    static void FillFilter(CElement* e, CMatchContext& context, AncestorFilter& filter);

    bool m_built = false;
    bool m_setsDirection = false;
    STYLE_CLASS* m_working = nullptr;
    STYLE_CLASS* m_editor = nullptr;
    unsigned long m_generation = 0;
    std::vector<Entry> m_any;
    Buckets m_byTag;
    Buckets m_byClass;
    Buckets m_byId;
};

// The index of the document's current rule lists, rebuilt when they changed.
const CRuleIndex& GetRuleIndex(CXDocServices& doc);

// Whether a rule of the document's sheets (its own or the editor's) can set
// an element's direction.
bool RulesCanSetDirection(CXDocServices& doc);
