#pragma once
// The command line of mivo-check: what a run should check and how often,
// read without touching anything else so that every mistake is a usage error.

#include <optional>
#include <string>
#include <vector>

namespace mivo {

struct ConsoleAccount {
    std::string user;
    std::string password;
    std::string host;  // as given, ":PORT" suffix included
};

struct CheckCommandLine {
    enum class Action { Check, Help, Version };

    Action action = Action::Check;
    std::string interval = "20";  // typed into Edit1 as it stands
    std::optional<std::string> configDirectory;
    int cycles = 1;  // 0: keep checking on the timer
    std::vector<ConsoleAccount> accounts;
};

struct CommandLineError {
    std::string message;
};

// Reads the arguments after the program name. Returns the error to show with
// the usage text when they cannot be used.
std::optional<CommandLineError> parseCheckCommandLine(const std::vector<std::string>& arguments,
                                                      CheckCommandLine& result);

extern const char* const kCheckUsage;

}  // namespace mivo
