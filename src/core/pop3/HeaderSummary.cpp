#include "pop3/HeaderSummary.h"

#include "pop3/HeaderFields.h"

namespace mivo {

std::string senderSubjectLine(std::string_view headerLines) {
    std::string from = "No From";
    std::string subject = "No Subject";
    std::size_t start = 0;
    while (start < headerLines.size()) {
        std::size_t end = headerLines.find("\r\n", start);
        if (end == std::string_view::npos) {
            end = headerLines.size();
        }
        const std::string_view line = headerLines.substr(start, end - start);
        if (startsWith(line, "From")) {
            from = ExtractFrom(line);
        }
        if (startsWith(line, "Subject")) {
            subject = ExtractSubject(line);
        }
        start = end + 2;
    }
    return from + "\t" + subject;
}

}  // namespace mivo
