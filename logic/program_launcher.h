#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// Raised when the program cannot be found or started.
class LaunchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    static LaunchError notFound(const std::string& program)
    {
        return LaunchError("program not found: " + program);
    }
    static LaunchError notStarted(const std::string& program)
    {
        return LaunchError("program could not be started: " + program);
    }
};

// Raised before anything starts when a file's path cannot be handed to the program intact on this
// system, so that it would read other arguments or another file; only renaming or moving helps.
class UnnameableFileError : public LaunchError {
public:
    using LaunchError::LaunchError;
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

    // The name to give the program for this argument: the argument itself wherever it reaches the
    // program intact, else another name of the same file. Throws UnnameableFileError when there is
    // none.
    virtual std::string launchableName(const std::string& argument) const { return argument; }

protected:
    ProgramLauncher() = default;
    ProgramLauncher(const ProgramLauncher&) = default;
    ProgramLauncher& operator=(const ProgramLauncher&) = default;
};
