#include "shell_arguments.h"

#include "owned_handle.h"
#include "win32_api.h"

namespace {

void freeArgumentList(LPWSTR* list)
{
    LocalFree(list);
}
using OwnedArgumentList = OwnedHandle<LPWSTR*, &freeArgumentList>;

} // namespace

std::vector<std::wstring> shellArguments(const std::wstring& commandLine)
{
    int count = 0;
    const OwnedArgumentList parsed(CommandLineToArgvW(commandLine.c_str(), &count));
    if (!parsed) {
        return {};
    }
    return std::vector<std::wstring>(parsed.get(), parsed.get() + count);
}
