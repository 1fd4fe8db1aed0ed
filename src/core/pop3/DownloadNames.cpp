#include "pop3/DownloadNames.h"

namespace mivo {

std::string temporaryFileName(std::string_view directory, std::int32_t number) {
    std::string name(directory);
    name += "/Mivo";
    name += std::to_string(number);
    name += ".txt";
    return name;
}

CommandLine programCommandLine(std::string_view programText, std::string_view fileName) {
    const std::string_view text = programText.substr(0, kProgramTextLimit);
    CommandLine command;
    std::string typed;
    bool fileNamed = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next == '%') {
            typed += '%';
            ++i;
        } else if (text[i] == '%' && next == 's' && !fileNamed) {
            command.addTyped(typed);
            typed.clear();
            command.addVerbatim(fileName);
            fileNamed = true;
            ++i;
        } else {
            typed += text[i];
        }
    }
    command.addTyped(typed);
    return command;
}

std::int32_t nextFileNumber(std::int32_t number) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number) + 1U);
}

}  // namespace mivo
