#pragma once
// CUIntArray: a growable array of int. The block grows by 10 entries at a
// time (the first block holds 10).

class CUIntArray
{
public:
    CUIntArray();
    CUIntArray(const CUIntArray& other);
    CUIntArray& operator=(const CUIntArray& other);
    ~CUIntArray();

    // Appends one entry; false (and nothing added) when the block could not grow.
    bool Add(int value);
    // Entry i, or 0 when i is outside 0 .. count - 1.
    int GetAt(int i) const;
    int GetCount() const { return m_count; }

private:
    bool Reserve(int capacity);

    int* m_data = nullptr;
    int m_count = 0;
    int m_capacity = 0;
};
