#include "base/collections/UIntArray.h"

#include <climits>
#include <cstddef>
#include <new>

namespace {
const int kGrowBy = 10;
}

CUIntArray::CUIntArray() = default;

CUIntArray::CUIntArray(const CUIntArray& other)
{
    if (Reserve(other.m_capacity)) {
        for (int i = 0; i < other.m_count; ++i)
            m_data[i] = other.m_data[i];
        m_count = other.m_count;
    }
}

CUIntArray& CUIntArray::operator=(const CUIntArray& other)
{
    if (this != &other) {
        m_count = 0;
        if (Reserve(other.m_capacity)) {
            for (int i = 0; i < other.m_count; ++i)
                m_data[i] = other.m_data[i];
            m_count = other.m_count;
        }
    }
    return *this;
}

CUIntArray::~CUIntArray() { delete[] m_data; }

bool CUIntArray::Reserve(int capacity)
{
    if (capacity <= m_capacity)
        return true;
    int* data = new (std::nothrow) int[static_cast<std::size_t>(capacity)];
    if (!data)
        return false;
    for (int i = 0; i < m_count; ++i)
        data[i] = m_data[i];
    delete[] m_data;
    m_data = data;
    m_capacity = capacity;
    return true;
}

bool CUIntArray::Add(int value)
{
    if (m_count == m_capacity) {
        if (m_capacity > INT_MAX - kGrowBy || !Reserve(m_capacity + kGrowBy))
            return false;
    }
    m_data[m_count++] = value;
    return true;
}

int CUIntArray::GetAt(int i) const
{
    if (i < 0 || i >= m_count)
        return 0;
    return m_data[i];
}
