// A stand-in for the real compiler, a C program with `main(int, char**)` whose runtime splits the
// ANSI command line: writes down that line, how the C runtime's rules split it, the narrow
// arguments it got, and the contents of the file its map argument names, read as the compiler
// reads it. Those contents prove which file a path reached.
#include "standin_record.h"
#include "win32_api.h"

#include <cstdio>
#include <string>

namespace {

std::wstring fromAnsi(const char* text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}

std::wstring contentsOf(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return L"(unreadable)";
    }
    std::string bytes;
    char buffer[256];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), file)) > 0;) {
        bytes.append(buffer, got);
    }
    std::fclose(file);
    return std::wstring(bytes.begin(), bytes.end());
}

} // namespace

int main(int argc, char** argv)
{
    const std::wstring ansiLine = fromAnsi(GetCommandLineA());
    RecordFields own{{"ansiLine", ansiLine}};
    // The C runtime splits by the same rules as CommandLineToArgvW for a line without "" inside.
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(ansiLine.c_str(), &count);
    for (int i = 0; i < count; ++i) {
        own.emplace_back("ansiSplit", split[i]);
    }
    LocalFree(split);
    for (int i = 0; i < argc; ++i) {
        own.emplace_back("crt", fromAnsi(argv[i]));
    }
    own.emplace_back("contents", argc > 2 ? contentsOf(argv[2]) : L"(no map argument)");
    recordStart(own);
    return endAsAsked();
}
