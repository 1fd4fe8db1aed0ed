#pragma once
// The command line of mivo-check: what a run should check and how often,
// read without touching anything else so that every mistake is a usage error.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace mivo {

struct ConsoleAccount {
    std::string user;
    std::string password;
    std::string host;  // as given, ":PORT" suffix included
    // Where the password is to be read from instead ("-": standard input).
    std::optional<std::string> passwordFile;
};

struct CheckCommandLine {
    enum class Action { Check, Help, Version };

    Action action = Action::Check;
    // Typed into Edit1 as it stands; without it the stored interval applies,
    // or the minutes box's design value for accounts given with --account.
    std::optional<std::string> interval;
    // Where the settings come from when no --account is given; without it,
    // the desktop program's own settings.
    std::optional<std::string> configDirectory;
    std::optional<std::string> stateFile;  // the known counts kept between runs
    int cycles = 1;                        // 0: keep checking on the timer
    std::vector<ConsoleAccount> accounts;
    // Where passwords stand among the arguments, so that they can be
    // blanked: other users can list a process's command line.
    std::vector<std::size_t> passwordArguments;
};

struct CommandLineError {
    std::string message;
};

// Reads the arguments after the program name. Returns the error to show with
// the usage text when they cannot be used; the passwords found up to the
// mistake are listed in `result` even then.
std::optional<CommandLineError> parseCheckCommandLine(const std::vector<std::string>& arguments,
                                                      CheckCommandLine& result);

extern const char* const kCheckUsage;

}  // namespace mivo
