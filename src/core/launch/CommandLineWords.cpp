#include "launch/CommandLineWords.h"

#include <cstddef>
#include <utility>

namespace mivo {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// One argument, with what it takes to tell whether it can be part of a
// program path typed without quotes.
struct Word {
    std::string text;
    std::string blanksBefore;  // as typed between it and the word before
    bool asTyped = true;       // neither quoted nor holding a piece put in
};

std::vector<Word> splitWords(const CommandLine& commandLine) {
    std::vector<Word> words;
    Word word;
    std::string blanks;
    bool inWord = false;  // a word has begun, even if it is still empty ("")
    bool quoted = false;
    const auto beginWord = [&] {
        if (!inWord) {
            word.blanksBefore = std::exchange(blanks, {});
            inWord = true;
        }
    };
    for (const CommandLine::Piece& piece : commandLine.pieces()) {
        if (piece.verbatim) {
            beginWord();
            word.text += piece.text;
            word.asTyped = false;
            continue;
        }
        for (const char c : piece.text) {
            if (c == '"') {
                beginWord();
                quoted = !quoted;
                word.asTyped = false;
            } else if (!quoted && isBlank(c)) {
                if (inWord) {
                    words.push_back(std::exchange(word, {}));
                    inWord = false;
                }
                blanks.push_back(c);
            } else {
                beginWord();
                word.text.push_back(c);
            }
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

std::vector<std::string> textsFrom(std::vector<Word>& words, std::size_t first) {
    std::vector<std::string> texts;
    texts.reserve(words.size() - first);
    for (std::size_t i = first; i < words.size(); ++i) {
        texts.push_back(std::move(words[i].text));
    }
    return texts;
}

}  // namespace

CommandLine::CommandLine(std::string typed) {
    if (!typed.empty()) {
        m_pieces.push_back({std::move(typed), false});
    }
}

void CommandLine::addTyped(std::string_view text) {
    if (!m_pieces.empty() && !m_pieces.back().verbatim) {
        m_pieces.back().text += text;
    } else if (!text.empty()) {
        m_pieces.push_back({std::string(text), false});
    }
}

void CommandLine::addVerbatim(std::string_view text) {
    m_pieces.push_back({std::string(text), true});
}

bool CommandLine::empty() const {
    return m_pieces.empty();
}

std::string CommandLine::text() const {
    std::string joined;
    for (const Piece& piece : m_pieces) {
        joined += piece.text;
    }
    return joined;
}

std::vector<std::string> commandLineWords(const CommandLine& commandLine) {
    std::vector<Word> words = splitWords(commandLine);
    return textsFrom(words, 0);
}

std::string quotedProgramPath(std::string path) {
    if (path.find_first_of(" \t") == std::string::npos) {
        return path;
    }
    return '"' + path + '"';
}

std::string programPathOf(const std::string& commandLine) {
    if (commandLine.empty() || commandLine.front() != '"') {
        return commandLine;
    }
    return commandLineWords(commandLine).front();
}

std::vector<std::string> programArguments(const CommandLine& commandLine,
                                          const ProgramTest& isProgram) {
    std::vector<Word> words = splitWords(commandLine);
    if (words.empty() || !words.front().asTyped || isProgram(words.front().text)) {
        return textsFrom(words, 0);
    }
    std::string path = words.front().text;
    for (std::size_t last = 1; last < words.size() && words[last].asTyped; ++last) {
        path += words[last].blanksBefore;
        path += words[last].text;
        if (isProgram(path)) {
            std::vector<std::string> arguments{path};
            for (std::string& argument : textsFrom(words, last + 1)) {
                arguments.push_back(std::move(argument));
            }
            return arguments;
        }
    }
    return textsFrom(words, 0);
}

}  // namespace mivo
