#pragma once
// A command line cut into the arguments a program receives: blanks (spaces
// and tabs) separate arguments, double quotes keep blanks inside one, and the
// quotes themselves are not part of it. Runs of blanks count as one, so a
// line that begins or ends with blanks gives no empty arguments; an empty
// pair of quotes does give one.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mivo {

// A command line as the user typed it, with pieces the program put in that
// are taken as they are: a file name put in never splits at its blanks and
// never opens or closes a quote, whatever it holds.
class CommandLine {
public:
    struct Piece {
        std::string text;
        bool verbatim = false;
    };

    CommandLine() = default;
    // A plain text is a command line typed as it stands.
    CommandLine(std::string typed);
    CommandLine(const char* typed) : CommandLine(std::string(typed)) {}

    void addTyped(std::string_view text);
    void addVerbatim(std::string_view text);

    bool empty() const;
    // The pieces joined, as the line would read.
    std::string text() const;
    const std::vector<Piece>& pieces() const { return m_pieces; }

private:
    std::vector<Piece> m_pieces;
};

// An unterminated quote holds to the end of the line.
std::vector<std::string> commandLineWords(const CommandLine& commandLine);

// A program path as a command line names it: in double quotes when it holds
// a blank, as it would otherwise be cut there.
std::string quotedProgramPath(std::string path);
// The reverse for a command line that begins with a quoted program path:
// that path. Any other text is given back as it is.
std::string programPathOf(const std::string& commandLine);

// Whether a name is a program that can be started.
using ProgramTest = std::function<bool(const std::string& name)>;

// The arguments of a command line that names its program first. When its
// first word, typed without quotes, names no program, a program path with
// blanks may have been typed without them: the first words joined by the
// blanks typed between them are tried, shortest first, and the first that
// names a program is the program, the rest its arguments. A word with a
// quote or a piece put in ends the try. When nothing longer names a program
// either, the first word stays the program, so its failure is the one
// reported.
std::vector<std::string> programArguments(const CommandLine& commandLine,
                                          const ProgramTest& isProgram);

}  // namespace mivo
