#pragma once
// The framework's growable array.
#include <cassert>
#include <vector>

template <typename T> class CArray
{
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;

    int GetSize() const { return int(m_items.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_items.empty(); }
    void SetSize(int size) { m_items.resize(size > 0 ? std::size_t(size) : 0); }

    const T& GetAt(int index) const { return m_items[Checked(index)]; }
    T& ElementAt(int index) { return m_items[Checked(index)]; }
    void SetAt(int index, const T& value) { m_items[Checked(index)] = value; }
    T& operator[](int index) { return ElementAt(index); }
    const T& operator[](int index) const { return GetAt(index); }
    T* GetData() { return m_items.data(); }
    const T* GetData() const { return m_items.data(); }

    int Add(const T& value)
    {
        m_items.push_back(value);
        return GetUpperBound();
    }
    void InsertAt(int index, const T& value, int count = 1)
    {
        assert(index >= 0 && index <= GetSize() && count >= 0);
        m_items.insert(m_items.begin() + index, std::size_t(count), value);
    }
    void RemoveAt(int index, int count = 1)
    {
        assert(index >= 0 && count >= 0 && index + count <= GetSize());
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }
    void RemoveAll() { m_items.clear(); }

private:
    std::size_t Checked(int index) const
    {
        assert(index >= 0 && index < GetSize());
        return std::size_t(index);
    }

    std::vector<T> m_items;
};
