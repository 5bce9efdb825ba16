#pragma once

#include "file_dialog.h"
#include "message_box.h"
#include "output_panel.h"
#include "program_launcher.h"

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Scripted stand-ins for the platform services, plain C++ for both platforms' tests: they record
// what they were asked to do.
struct FakeMessageBox : MessageBox {
    std::vector<std::string> shown;
    void showMessage(const std::string& text) override { shown.push_back(text); }
};

struct FakeOutputPanel : OutputPanel {
    std::vector<std::string> printed;
    bool failing = false;
    void printLine(const std::string& text) override
    {
        if (failing) {
            throw std::runtime_error("panel gone");
        }
        printed.push_back(text);
    }
};

struct FakeLauncher : ProgramLauncher {
    struct Launch {
        std::string program;
        std::vector<std::string> arguments;
        std::string title;
    };
    std::vector<Launch> launches;
    bool failing = false;
    // Arguments this platform would give by another name; nullopt for one it cannot give at all.
    std::map<std::string, std::optional<std::string>> otherNames;
    std::string launchableName(const std::string& argument) const override
    {
        const auto found = otherNames.find(argument);
        if (found == otherNames.end()) {
            return argument;
        }
        if (!found->second) {
            throw UnnameableFileError("no name for " + argument);
        }
        return *found->second;
    }
    void launch(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& title) override
    {
        if (failing) {
            throw LaunchError("not there");
        }
        launches.push_back({program, arguments, title});
    }
};

// Answers each opening with the next scripted choice; nullopt stands for a cancel.
struct FakeFileDialog : FileDialog {
    std::deque<std::optional<std::string>> answers;
    std::string held;
    int openings = 0;
    std::string chooseFile() override
    {
        ++openings;
        if (!answers.empty()) {
            if (answers.front()) {
                held = *answers.front();
            }
            answers.pop_front();
        }
        return held;
    }
    std::string fileName() const override { return held; }
};
