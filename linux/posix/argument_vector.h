#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A list of strings as exec and posix_spawn take it: pointers to writable copies of its own, ended
// by a null pointer. Built before a fork, since the child may not allocate.
class ArgumentVector {
public:
    explicit ArgumentVector(std::vector<std::string> strings);
    // The program first, as its own argv[0].
    ArgumentVector(const std::string& program, const std::vector<std::string>& arguments);
    // The pointers point into this object, which therefore stays where it is.
    ArgumentVector(const ArgumentVector&) = delete;
    ArgumentVector& operator=(const ArgumentVector&) = delete;

    char* const* data() const { return m_pointers.data(); }
    // Up to and with the ending null pointer.
    char* operator[](std::size_t index) const { return m_pointers[index]; }

private:
    std::vector<std::string> m_strings;
    std::vector<char*> m_pointers;
};
