#pragma once

#include <cstdint>
#include <utility>

// A shared handle to one place of the area directory: the object and a use count of its own. The
// last handle deletes the object through its virtual destructor. The count is a plain integer, since
// handles are only copied, kept and dropped on the UI thread.
template <class T> class AreaRef {
public:
    AreaRef() = default;
    // Takes ownership of a new object (null gives an empty handle).
    explicit AreaRef(T* object) : m_object(object), m_count(object ? new uint32_t(1) : nullptr) {}
    AreaRef(const AreaRef& other) : m_object(other.m_object), m_count(other.m_count) {
        if (m_count) {
            ++*m_count;
        }
    }
    AreaRef(AreaRef&& other) noexcept
        : m_object(std::exchange(other.m_object, nullptr)), m_count(std::exchange(other.m_count, nullptr)) {}
    AreaRef& operator=(AreaRef other) noexcept {
        std::swap(m_object, other.m_object);
        std::swap(m_count, other.m_count);
        return *this;
    }
    ~AreaRef() { Release(m_object, m_count); }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    // Handles sharing the object; 0 for an empty handle.
    uint32_t UseCount() const { return m_count ? *m_count : 0; }

private:
    // Kept out of line: inlined, GCC's use-after-free check takes the deleting branch for possible where
    // another handle still holds the count, and reports that handle's later reads.
    [[gnu::noinline]] static void Release(T* object, uint32_t* count) {
        if (count && --*count == 0) {
            delete object;
            delete count;
        }
    }

    T* m_object = nullptr;
    uint32_t* m_count = nullptr;
};
