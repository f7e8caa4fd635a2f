// Objects behind opaque handles (HWND, HDC, HMENU) in the window layer's core.
//
// Stands in for USER32's and GDI32's handle tables. A handle is a number
// that is never reused, so a call with the handle of a destroyed object finds
// nothing instead of reaching another object. Each kind of handle has its own
// range of numbers.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace win32core {

template <class T>
class HandleTable {
  public:
    explicit HandleTable(std::uintptr_t first) : m_next(first) {}

    template <class Handle>
    Handle Add(std::unique_ptr<T> object) {
        const std::uintptr_t key = m_next;
        m_next += 4;
        m_objects.emplace(key, std::move(object));
        return reinterpret_cast<Handle>(key);
    }

    template <class Handle>
    T* Find(Handle handle) const {
        auto it = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
        return it == m_objects.end() ? nullptr : it->second.get();
    }

    template <class Handle>
    void Erase(Handle handle) {
        m_objects.erase(reinterpret_cast<std::uintptr_t>(handle));
    }

    // In the order the handles were made.
    const std::map<std::uintptr_t, std::unique_ptr<T>>& Objects() const { return m_objects; }

  private:
    std::uintptr_t m_next;
    std::map<std::uintptr_t, std::unique_ptr<T>> m_objects;
};

}  // namespace win32core
