#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// A small growable array for the view and the skin engine: room for 128 elements at first,
// and 128 more each time it fills up, so that a few hundred rectangles or windows never cost
// more than a handful of reallocations.
template <typename T>
class CGP_FastContainer
{
public:
    static constexpr int kGrowth = 128;

    CGP_FastContainer() { m_data.reserve(kGrowth); }
    virtual ~CGP_FastContainer() = default;

    CGP_FastContainer(const CGP_FastContainer&) = default;
    CGP_FastContainer& operator=(const CGP_FastContainer&) = default;
    CGP_FastContainer(CGP_FastContainer&&) noexcept = default;
    CGP_FastContainer& operator=(CGP_FastContainer&&) noexcept = default;

    void Add(const T& value)
    {
        Grow();
        m_data.push_back(value);
    }

    void Add(T&& value)
    {
        Grow();
        m_data.push_back(std::move(value));
    }

    // Removes the element at index; later elements move down. An index out of range is ignored.
    void RemoveAt(int index)
    {
        if (index < 0 || index >= GetCount())
            return;
        m_data.erase(m_data.begin() + index);
    }

    // Drops every element but keeps the room already made.
    void Clear() { m_data.clear(); }

    int GetCount() const { return static_cast<int>(m_data.size()); }
    bool IsEmpty() const { return m_data.empty(); }
    // The highest index that fits without growing: 127, 255, ...
    int GetLimit() const { return m_limit; }

    T& operator[](int index) { return m_data[static_cast<size_t>(index)]; }
    const T& operator[](int index) const { return m_data[static_cast<size_t>(index)]; }

    T* GetData() { return m_data.data(); }
    const T* GetData() const { return m_data.data(); }

    auto begin() { return m_data.begin(); }
    auto end() { return m_data.end(); }
    auto begin() const { return m_data.begin(); }
    auto end() const { return m_data.end(); }

private:
    void Grow()
    {
        if (GetCount() <= m_limit)
            return;
        m_limit += kGrowth;
        m_data.reserve(static_cast<size_t>(m_limit) + 1);
    }

    std::vector<T> m_data;
    int m_limit = kGrowth - 1;
};
