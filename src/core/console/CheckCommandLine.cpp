#include "console/CheckCommandLine.h"

#include <charconv>
#include <utility>

#include "model/CycleState.h"
#include "transport/PopHost.h"
#include "transport/PopTarget.h"

namespace mivo {

const char* const kCheckUsage =
    "Usage: mivo-check [--interval MINUTES] [--cycles N] [--state FILE]\n"
    "                  [--config DIR | [--password-file FILE] --account USER PASS HOST...]\n"
    "Checks the POP3 accounts once (or N times, or for ever with --cycles 0)\n"
    "and prints Mivo's Log on standard output and its captions on standard error.\n"
    "The accounts come from the settings in DIR/Settings, by default the desktop\n"
    "program's own, which are saved back at the end; or from up to eight\n"
    "--account options, and then no settings are read or written.\n"
    "--password-file FILE gives the next --account the first line of FILE\n"
    "(- for standard input) as its password: that account is then written\n"
    "--account USER HOST, and no other user can read the password in the\n"
    "process list.\n"
    "HOST may end in :PORT (default 110); pop3s://HOST or HOST:995 is POP3 over TLS,\n"
    "stls://HOST turns to TLS with STLS, [IPv6]:PORT is an address, and\n"
    "#sha256=FINGERPRINT after a TLS host trusts that certificate alone.\n"
    "--interval overrides the stored interval for this run. --state FILE keeps\n"
    "the count of messages seen in each account, so that the next run announces\n"
    "only mail that arrived since.\n"
    "Exit status: 0 new mail, 1 no new mail, 2 no new mail and an account failed,\n"
    "64 usage error or settings or state that cannot be used.\n";

namespace {

std::optional<int> readCount(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<CommandLineError> parseCheckCommandLine(const std::vector<std::string>& arguments,
                                                      CheckCommandLine& result) {
    result = CheckCommandLine{};
    std::optional<std::string> passwordFile;  // for the next --account
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const auto needs = [&](std::size_t count) -> bool { return i + count < arguments.size(); };
        if (option == "--help" || option == "-h") {
            result.action = CheckCommandLine::Action::Help;
            return std::nullopt;
        }
        if (option == "--version") {
            result.action = CheckCommandLine::Action::Version;
            return std::nullopt;
        }
        if (option == "--interval" || option == "--config" || option == "--state" ||
            option == "--cycles") {
            if (!needs(1)) {
                return CommandLineError{option + " needs a value"};
            }
            const std::string& value = arguments[++i];
            if (option == "--interval") {
                result.interval = value;
            } else if (option == "--config" || option == "--state") {
                if (value.empty()) {
                    return CommandLineError{option + " needs a path, not an empty text"};
                }
                (option == "--config" ? result.configDirectory : result.stateFile) = value;
            } else if (const auto cycles = readCount(value)) {
                result.cycles = *cycles;
            } else {
                return CommandLineError{"--cycles needs a whole number, not \"" + value + "\""};
            }
        } else if (option == "--password-file") {
            if (!needs(1)) {
                return CommandLineError{option + " needs a value"};
            }
            if (arguments[++i].empty()) {
                return CommandLineError{option + " needs a path, not an empty text"};
            }
            if (passwordFile) {
                return CommandLineError{"each --password-file needs an --account after it"};
            }
            passwordFile = arguments[i];
        } else if (option == "--account") {
            ConsoleAccount account;
            if (passwordFile) {
                if (!needs(2)) {
                    return CommandLineError{"--account needs USER HOST after --password-file"};
                }
                account = ConsoleAccount{arguments[i + 1],
                                         {},
                                         arguments[i + 2],
                                         std::exchange(passwordFile, std::nullopt)};
                i += 2;
            } else {
                if (!needs(3)) {
                    return CommandLineError{"--account needs USER PASS HOST"};
                }
                result.passwordArguments.push_back(i + 2);
                account = ConsoleAccount{arguments[i + 1], arguments[i + 2], arguments[i + 3], {}};
                i += 3;
            }
            if (result.accounts.size() == static_cast<std::size_t>(kAccountCount)) {
                return CommandLineError{"at most 8 accounts can be checked"};
            }
            const ParsedPopTarget target = parsePopTarget(account.host);
            if (!target.ok()) {
                return CommandLineError{"the host \"" + account.host +
                                        "\" cannot be used: " + target.error};
            }
            // A plain host:port text would take a bad port as part of the
            // name; here it is refused instead.
            const bool plainForm = account.host.find("://") == std::string::npos &&
                                   account.host.rfind('[', 0) == std::string::npos &&
                                   target.target.pinnedSha256.empty();
            if (plainForm && !hasValidPortSuffix(account.host)) {
                return CommandLineError{"the port of \"" + account.host +
                                        "\" is not a number from 1 to 65535"};
            }
            result.accounts.push_back(std::move(account));
        } else {
            return CommandLineError{"unknown option \"" + option + "\""};
        }
    }
    if (passwordFile) {
        return CommandLineError{"each --password-file needs an --account after it"};
    }
    if (!result.accounts.empty() && result.configDirectory) {
        // Accounts given here are never stored, so a settings directory
        // would only be ignored.
        return CommandLineError{"--account and --config cannot be used together"};
    }
    return std::nullopt;
}

}  // namespace mivo
