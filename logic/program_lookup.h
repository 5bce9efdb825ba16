#pragma once

#include <optional>
#include <vector>

// Where every platform looks for the compiler, in this order: the folder the program runs from,
// then each folder on PATH; in each folder, each name the platform gives, in turn. The first
// candidate the platform takes for a program wins. The platform says how PATH splits into folders,
// which names to try, how a folder and a name join, and what a program is.
template <typename Path, typename Folders, typename Names, typename Join, typename IsProgram>
std::optional<Path> lookUpProgram(const Path& startFolder, const Folders& pathFolders, const Names& names,
                                  Join join, IsProgram isProgram)
{
    std::vector<Path> folders{startFolder};
    folders.insert(folders.end(), pathFolders.begin(), pathFolders.end());
    for (const Path& folder : folders) {
        for (const auto& name : names) {
            Path candidate = join(folder, name);
            if (isProgram(candidate)) {
                return candidate;
            }
        }
    }
    return std::nullopt;
}
