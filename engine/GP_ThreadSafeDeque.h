#pragma once

#include <cstddef>
#include <deque>
#include <iterator>
#include <mutex>

// A double-ended queue shared between threads. The three changes below take its mutex; code
// that walks, clears or reorders the queue takes the same mutex itself for the whole walk:
//
//     std::lock_guard<std::mutex> lock(groups->Mutex());
//     for (auto& group : groups->Items()) ...
template <typename T>
class CGP_ThreadSafeDeque
{
public:
    // Insert's position for "the end, as it is once the mutex is held".
    static constexpr size_t kEnd = static_cast<size_t>(-1);

    CGP_ThreadSafeDeque() = default;
    virtual ~CGP_ThreadSafeDeque() = default;

    CGP_ThreadSafeDeque(const CGP_ThreadSafeDeque&) = delete;
    CGP_ThreadSafeDeque& operator=(const CGP_ThreadSafeDeque&) = delete;

    void PushBack(const T& value)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_deque.push_back(value);
    }

    void PushFront(const T& value)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_deque.push_front(value);
    }

    // Inserts [first, last) before the element at position (clamped to the end).
    template <typename Iterator>
    void Insert(size_t position, Iterator first, Iterator last)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const size_t at = position > m_deque.size() ? m_deque.size() : position;
        m_deque.insert(m_deque.begin() + static_cast<std::ptrdiff_t>(at), first, last);
    }

    std::mutex& Mutex() { return m_mutex; }
    // The queue itself: only while Mutex() is held.
    std::deque<T>& Items() { return m_deque; }
    const std::deque<T>& Items() const { return m_deque; }

    // A copy taken under the mutex, for readers that only look.
    std::deque<T> Snapshot()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_deque;
    }

    size_t Size()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_deque.size();
    }

private:
    std::deque<T> m_deque;
    std::mutex m_mutex;
};
