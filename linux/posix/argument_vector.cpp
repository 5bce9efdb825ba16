#include "argument_vector.h"

#include <utility>

ArgumentVector::ArgumentVector(std::vector<std::string> strings)
    : m_strings(std::move(strings))
{
    m_pointers.reserve(m_strings.size() + 1);
    for (std::string& text : m_strings) {
        m_pointers.push_back(text.data());
    }
    m_pointers.push_back(nullptr);
}

ArgumentVector::ArgumentVector(const std::string& program, const std::vector<std::string>& arguments)
    : ArgumentVector([&] {
        std::vector<std::string> strings{program};
        strings.insert(strings.end(), arguments.begin(), arguments.end());
        return strings;
    }())
{
}
