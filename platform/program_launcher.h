#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// Raised when the program cannot be found or started.
class LaunchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Starts a program in a process of its own and returns at once, without waiting for it.
// The arguments reach the program exactly as given, one element each; no shell is involved.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // `title` is the command line as shown to the user, for the window the program runs in; it is
    // never split into arguments. Throws LaunchError when the program cannot be found or started.
    virtual void launch(const std::string& program, const std::vector<std::string>& arguments,
                        const std::string& title) = 0;

protected:
    ProgramLauncher() = default;
    ProgramLauncher(const ProgramLauncher&) = default;
    ProgramLauncher& operator=(const ProgramLauncher&) = default;
};
