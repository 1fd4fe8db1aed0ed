#include "pop3/HeaderFields.h"

#include <algorithm>

namespace mivo {

namespace {

std::string field(std::string_view rest) {
    return std::string(rest.substr(0, kHeaderFieldLimit));
}

std::string extract(std::string_view line, std::string_view name) {
    if (startsWith(line, name) && line.substr(name.size(), 2) == ": ") {
        return field(line.substr(name.size() + 2));
    }
    if (line.size() > name.size() && (line[name.size()] == ' ' || line[name.size()] == ':')) {
        return field(line.substr(name.size() + 1));
    }
    return field(line.substr(std::min(line.size(), name.size())));
}

}  // namespace

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string ExtractFrom(std::string_view line) {
    return extract(line, "From");
}

std::string ExtractSubject(std::string_view line) {
    return extract(line, "Subject");
}

}  // namespace mivo
