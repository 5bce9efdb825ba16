#pragma once

#include "wide_text.h"

#include <cstdio>
#include <string>
#include <type_traits>

// The few assertions the Windows tests need, with no framework to build for MinGW: each failed
// check prints what was compared, and the program's exit status says whether any failed.
class Checks {
public:
    void expect(bool ok, const std::string& what)
    {
        ++m_count;
        if (!ok) {
            ++m_failures;
            std::fprintf(stderr, "FAIL: %s\n", what.c_str());
        }
    }

    template <typename Actual, typename Expected>
    void equal(const Actual& actual, const Expected& expected, const std::string& what)
    {
        const bool same = actual == expected;
        expect(same, what + ": got [" + describe(actual) + "], expected [" + describe(expected) + "]");
    }

    int exitStatus() const
    {
        std::printf("%d checks, %d failed\n", m_count, m_failures);
        return m_failures == 0 ? 0 : 1;
    }

private:
    static std::string describe(const std::string& text) { return text; }
    static std::string describe(const char* text) { return text; }
    static std::string describe(const std::wstring& text) { return toUtf8(text); }
    static std::string describe(const wchar_t* text) { return toUtf8(text); }
    template <typename Number>
    requires std::is_arithmetic_v<Number>
    static std::string describe(Number number) { return std::to_string(number); }

    int m_count = 0;
    int m_failures = 0;
};
