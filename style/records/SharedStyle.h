#pragma once
// CSharedStyle: an element's computed style, held as a handle to a record
// that elements with equal styles share.
//
// A record is either shared or the handle's own. A shared record is
// immutable: it stands in a process-wide table of shared records, one for
// each distinct value, and lives as long as a handle refers to it. Reading
// (Get) never copies. Edit makes the record the handle's own first: a shared
// record that other handles also hold is copied; one that only this handle
// holds leaves the table and is edited in place. Share puts the handle's own
// record back into the table: when an equal record is already there the
// handle takes that one and its own is freed.
//
// So a reference that Edit returned stays valid until the next Share, copy
// or assignment of the handle, and one that Get returned until the next
// Edit, Share or assignment of the handle (or of the last other handle of a
// shared record). Copying a handle shares a shared record and copies an own
// one: what Edit returned keeps being the handle's own.
//
// Records are compared byte for byte. A style record is built from
// zero-filled memory and copied as a whole, and its texts are interned, so
// equal styles have equal bytes; two records that differ only in padding would merely not be shared.
// One thread uses the table (the editor's).

#include "style/records/ElementStyle.h"

#include <cstddef>
#include <cstdint>

class CSharedStyle
{
public:
    // The default record: all zero but the default font family and number.
    CSharedStyle();
    CSharedStyle(const CSharedStyle& other);
    CSharedStyle& operator=(const CSharedStyle& other);
    ~CSharedStyle();

    const ELEMENT_STYLE& Get() const { return m_record->style; }
    // The record, made the handle's own. Inline where it is the handle's own
    // already, as it mostly is while a style is recomputed.
    ELEMENT_STYLE& Edit() { return m_record->shared ? EditShared() : m_record->style; }
    // The handle's own record, set to the default record's value (no copy
    // of the old value is made).
    ELEMENT_STYLE& Reset();
    // Shares the handle's own record (nothing when it is shared already).
    void Share();
    // Share, but first tries likely's record (when it is shared): a style
    // recomputed to the value it had is shared again without a lookup.
    void Share(const CSharedStyle& likely);
    // Share, trying likely's record and then alsoLikely's first.
    void Share(const CSharedStyle& likely, const CSharedStyle& alsoLikely);

    // The record is in the table (for tests).
    bool IsShared() const { return m_record->shared; }
    // Both handles hold the same record. For shared records, whose values
    // are unique in the table, that is equality of value.
    bool SameRecord(const CSharedStyle& other) const { return m_record == other.m_record; }
    // Shared records in the table, and records that are some handle's own
    // (for tests and benchmarks).
    static size_t SharedCount();
    static size_t OwnCount();

    struct Record
    {
        ELEMENT_STYLE style;
        size_t hash;
        // A print of a few of the record's words (set while it is shared):
        // records whose prints differ differ, and are told apart without
        // comparing them whole.
        std::uint64_t print;
        unsigned long refs;
        bool shared;
    };

private:
    explicit CSharedStyle(Record* record) : m_record(record) { }
    static void Release(Record* record);
    // Edit where the record is shared: made the handle's own first.
    ELEMENT_STYLE& EditShared();
    // Takes other's record in place of the handle's own when the handle's
    // own (whose print is given) is equal to it and other's is shared; false
    // otherwise.
    bool TakeEqual(const Record* other, std::uint64_t print);
    // Share, with the print of the handle's own record.
    void SharePrinted(std::uint64_t print);

    Record* m_record;
};
