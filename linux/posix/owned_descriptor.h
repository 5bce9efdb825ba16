#pragma once

// Sole owner of a file descriptor: closes it once, when the owner goes, unless it was released to
// outlive the owner (kept across an exec, or handed to another owner).
class OwnedDescriptor {
public:
    OwnedDescriptor() = default;
    explicit OwnedDescriptor(int descriptor);
    OwnedDescriptor(OwnedDescriptor&& other) noexcept;
    OwnedDescriptor& operator=(OwnedDescriptor&& other) noexcept;
    OwnedDescriptor(const OwnedDescriptor&) = delete;
    OwnedDescriptor& operator=(const OwnedDescriptor&) = delete;
    ~OwnedDescriptor();

    // -1 when nothing is owned.
    int get() const { return m_descriptor; }
    // Gives the descriptor up without closing it.
    int release();
    // Closes what is owned, if anything, and owns `descriptor` instead.
    void reset(int descriptor = -1);

private:
    int m_descriptor = -1;
};
