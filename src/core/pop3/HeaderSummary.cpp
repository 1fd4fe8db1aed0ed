#include "pop3/HeaderSummary.h"

#include "pop3/HeaderFields.h"
#include "text/MemoText.h"

namespace mivo {

std::string senderSubjectLine(std::string_view headerLines) {
    std::string from = "No From";
    std::string subject = "No Subject";
    memo::forEachLine(headerLines, [&](std::string_view line) {
        if (startsWith(line, "From")) {
            from = ExtractFrom(line);
        }
        if (startsWith(line, "Subject")) {
            subject = ExtractSubject(line);
        }
    });
    return from + "\t" + subject;
}

}  // namespace mivo
