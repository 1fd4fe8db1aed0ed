#include "state/KnownCounts.h"

#include <charconv>
#include <vector>

namespace mivo {

namespace {

constexpr std::string_view kFirstLine = "mivo-check state 2";
// Written before message ids were kept; read as counts.
constexpr std::string_view kCountsOnlyFirstLine = "mivo-check state 1";

void appendEscaped(std::string& out, std::string_view field) {
    for (const char c : field) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
}

std::optional<std::string> unescaped(std::string_view field) {
    std::string value;
    value.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\r') {
            return std::nullopt;
        }
        if (field[i] != '\\') {
            value += field[i];
            continue;
        }
        if (++i == field.size()) {
            return std::nullopt;
        }
        switch (field[i]) {
            case '\\':
                value += '\\';
                break;
            case 't':
                value += '\t';
                break;
            case 'n':
                value += '\n';
                break;
            case 'r':
                value += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return value;
}

std::optional<int> count(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    // from_chars would take a minus sign; a count never has one.
    if (text.empty() || text.front() == '-' || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) {
            return parts;
        }
        start = tab + 1;
    }
}

// The blank-separated ids of the IDS field; an empty field holds none.
std::optional<MessageIds> messageIds(std::string_view field) {
    MessageIds ids;
    while (!field.empty()) {
        const std::size_t blank = field.find(' ');
        const std::string_view id = field.substr(0, blank);
        if (!isMessageId(id) || !ids.emplace(id).second) {
            return std::nullopt;
        }
        field = blank == std::string_view::npos ? std::string_view{} : field.substr(blank + 1);
        if (blank != std::string_view::npos && field.empty()) {
            return std::nullopt;  // a blank after the last id
        }
    }
    return ids;
}

KnownCountsError lineError(std::size_t number, const std::string& what) {
    return KnownCountsError{"line " + std::to_string(number) + ": " + what};
}

}  // namespace

std::optional<KnownCountsError> parseKnownCounts(std::string_view text, KnownCounts& result) {
    result.clear();
    if (text.empty()) {
        return std::nullopt;
    }
    // A last line without its line end is still a line: people edit this.
    if (text.back() == '\n') {
        text.remove_suffix(1);
    }
    KnownCounts read;
    std::size_t number = 0;
    bool idsAllowed = true;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (++number == 1) {
            if (line != kFirstLine && line != kCountsOnlyFirstLine) {
                return KnownCountsError{"not a mivo-check state file (its first line is not \"" +
                                        std::string(kFirstLine) + "\")"};
            }
            idsAllowed = line == kFirstLine;
            continue;
        }
        const std::vector<std::string_view> parts = fields(line);
        if (parts.size() != 3 && !(idsAllowed && parts.size() == 4)) {
            return lineError(
                number, idsAllowed ? "expected USER, HOST, COUNT and maybe IDS separated by tabs"
                                   : "expected USER, HOST and COUNT separated by tabs");
        }
        std::optional<std::string> user = unescaped(parts[0]);
        std::optional<std::string> host = unescaped(parts[1]);
        if (!user || !host || user->empty() || host->empty()) {
            return lineError(number, "the user name or host is empty or wrongly escaped");
        }
        const std::optional<int> seen = count(parts[2]);
        if (!seen) {
            return lineError(number, "the count is not a whole number from 0 to 2147483647");
        }
        SeenMessages messages{*seen, std::nullopt};
        if (parts.size() == 4) {
            messages.ids = messageIds(parts[3]);
            if (!messages.ids) {
                return lineError(number,
                                 "the message ids are not printable words of 1 to 70 characters "
                                 "separated by single blanks, each once");
            }
        }
        if (!read.emplace(AccountKey{std::move(*user), std::move(*host)}, std::move(messages))
                 .second) {
            return lineError(number, "the account is listed twice");
        }
    }
    result = std::move(read);
    return std::nullopt;
}

std::string formatKnownCounts(const KnownCounts& counts) {
    std::string text(kFirstLine);
    text += '\n';
    for (const auto& [account, seen] : counts) {
        if (account.user.empty() || account.host.empty() || seen.count < 0) {
            continue;
        }
        appendEscaped(text, account.user);
        text += '\t';
        appendEscaped(text, account.host);
        text += '\t';
        text += std::to_string(seen.count);
        if (seen.ids) {
            text += '\t';
            const char* separator = "";
            for (const std::string& id : *seen.ids) {
                // Only what a listing can hold was kept; anything else
                // would not read back.
                if (isMessageId(id)) {
                    text += separator;
                    text += id;
                    separator = " ";
                }
            }
        }
        text += '\n';
    }
    return text;
}

}  // namespace mivo
