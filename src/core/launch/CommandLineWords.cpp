#include "launch/CommandLineWords.h"

namespace mivo {

std::vector<std::string> commandLineWords(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a word has begun, even if it is still empty ("")
    bool quoted = false;
    for (const char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
        } else {
            word.push_back(c);
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace mivo
