#include "owned_descriptor.h"

#include <unistd.h>
#include <utility>

OwnedDescriptor::OwnedDescriptor(int descriptor)
    : m_descriptor(descriptor)
{
}

OwnedDescriptor::OwnedDescriptor(OwnedDescriptor&& other) noexcept
    : m_descriptor(other.release())
{
}

OwnedDescriptor& OwnedDescriptor::operator=(OwnedDescriptor&& other) noexcept
{
    reset(other.release());
    return *this;
}

OwnedDescriptor::~OwnedDescriptor()
{
    reset();
}

int OwnedDescriptor::release()
{
    return std::exchange(m_descriptor, -1);
}

void OwnedDescriptor::reset(int descriptor)
{
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
    m_descriptor = descriptor;
}
