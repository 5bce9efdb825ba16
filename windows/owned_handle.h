#pragma once

#include <utility>

// Owns one Windows handle and closes it with `Close` when it goes, so that no path leaks one.
template <typename Handle, auto Close> class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle)
        : m_handle(handle)
    {
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, Handle{}))
    {
    }
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        reset(std::exchange(other.m_handle, Handle{}));
        return *this;
    }
    ~OwnedHandle() { reset(); }

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Handle{}; }

    void reset(Handle handle = Handle{})
    {
        if (m_handle != Handle{}) {
            Close(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle{};
};
