#pragma once

#include <type_traits>
#include <utility>

// A replacement put into a slot of the program (a test's file chooser, its
// program folder, its answers to message boxes) for as long as the object
// lives. The destructor puts back what the slot held before, so that a test
// that returns early on a failed check leaves nothing behind, and an
// override made inside another ends with the outer one in place again.
// Overrides of one slot end in the reverse order of their start, as scopes
// and members do; a moved-from override puts nothing back.
template <typename T>
class [[nodiscard]] ScopedOverride
{
public:
    ScopedOverride(T &slot, T replacement)
        : m_slot(&slot)
        , m_previous(std::exchange(slot, std::move(replacement)))
    {
    }

    ScopedOverride(ScopedOverride &&other) noexcept(std::is_nothrow_move_constructible_v<T>)
        : m_slot(std::exchange(other.m_slot, nullptr))
        , m_previous(std::move(other.m_previous))
    {
    }

    // No assignment: the override assigned over would have to end before the
    // one that replaces it had started.
    ScopedOverride &operator=(ScopedOverride &&) = delete;
    ScopedOverride(const ScopedOverride &) = delete;
    ScopedOverride &operator=(const ScopedOverride &) = delete;

    ~ScopedOverride()
    {
        if (m_slot)
            *m_slot = std::move(m_previous);
    }

private:
    T *m_slot;
    T m_previous;
};
