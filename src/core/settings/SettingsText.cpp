#include "settings/SettingsText.h"

#include "model/MainWindowModel.h"
#include "text/IntegerText.h"

namespace mivo::settings {

namespace {

char lowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerCase(a[i]) != lowerCase(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string_view valueOf(std::string_view text, std::string_view key) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && sameIgnoringCase(line.substr(0, equals), key)) {
            return line.substr(equals + 1);
        }
        start = end + 2;
    }
    return {};
}

std::vector<std::string_view> storedLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\r', start);
        if (end == std::string_view::npos) {
            end = text.find('\n', start);
        }
        if (end == std::string_view::npos) {
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (start < text.size() && (text[start] == '\r' || text[start] == '\n')) {
            ++start;
        }
    }
    return lines;
}

int ruleFieldIndex(std::string_view value) {
    const int index = readInteger(value);
    const int last = static_cast<int>(kHeaderFieldNames.size()) - 1;
    return index >= 0 && index <= last ? index : -1;
}

}  // namespace mivo::settings
