#include "launch/BrowserCommandLines.h"

#include <algorithm>
#include <cctype>

namespace mivo {

namespace {

bool endsWithExeAfterSomething(std::string_view copied) {
    constexpr std::string_view kExe = ".exe";
    if (copied.size() <= kExe.size()) {
        return false;
    }
    const std::string_view tail = copied.substr(copied.size() - kExe.size());
    return std::equal(tail.begin(), tail.end(), kExe.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

bool endsThePath(char c) {
    return c == '\r' || c == '\n' || c == '"';
}

std::string withAddress(std::string_view program) {
    std::string line(program);
    line.push_back(' ');
    line.append(kWebSiteAddress);
    return limitedBrowserText(std::move(line));
}

}  // namespace

std::string limitedBrowserText(std::string text) {
    if (text.size() > kBrowserTextLimit) {
        text.resize(kBrowserTextLimit);
    }
    return text;
}

std::string quotedBrowserPath(std::string_view browserCommand) {
    // Room for the two quotes within the limit.
    constexpr std::size_t kPathLimit = kBrowserTextLimit - 2;
    std::string path;
    std::size_t next = !browserCommand.empty() && browserCommand.front() == '"' ? 1 : 0;
    for (; next < browserCommand.size() && path.size() < kPathLimit; ++next) {
        const char c = browserCommand[next];
        const bool placeholder =
            c == '%' && next + 1 < browserCommand.size() && browserCommand[next + 1] == '1';
        if (endsThePath(c) || placeholder || endsWithExeAfterSomething(path)) {
            break;
        }
        path.push_back(c);
    }
    return '"' + path + '"';
}

std::string firstBrowserCommandLine(std::string_view quotedPath) {
    return withAddress(quotedPath);
}

std::string secondBrowserCommandLine(std::string_view firstCommandLine) {
    std::string_view rest = firstCommandLine;
    if (!rest.empty() && rest.front() == '"') {
        rest.remove_prefix(1);
    }
    const auto end = std::find_if(rest.begin(), rest.end(), endsThePath);
    return withAddress(rest.substr(0, static_cast<std::size_t>(end - rest.begin())));
}

std::string browserFailureMessage(std::string_view secondCommandLine) {
    std::string message = "I could not launch your web browser with the command `";
    message.push_back(' ');
    message.append(secondCommandLine);
    message.push_back(' ');
    message.append("'.");
    return limitedBrowserText(std::move(message));
}

}  // namespace mivo
