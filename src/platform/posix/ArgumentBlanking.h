#pragma once
// Any user can read a process's command line on Linux, so a password given
// as an argument is overwritten in place before the program does anything
// else; the program works from copies of its arguments.

#include <string>
#include <vector>

namespace mivo {

void blankArgument(char* argument);

// The desktop program's command line, where three arguments left once Qt
// took its own options (-platform, -style ...) are a one-off account: user
// name, password, POP host. Qt reads and strips a copy, so the password
// can be blanked before Qt starts, when which argument it is is not known
// yet: every one it may be is blanked, and those it was not are written back
// once Qt is done.
class OneOffAccountArguments {
public:
    OneOffAccountArguments(int argc, char** argv);
    OneOffAccountArguments(const OneOffAccountArguments&) = delete;
    OneOffAccountArguments& operator=(const OneOffAccountArguments&) = delete;

    // The copy for Qt, which must outlive the application.
    int& countForQt() { return m_countForQt; }
    char** vectorForQt() { return m_forQt.data(); }

    // Once Qt has taken its options: the arguments left after the program's
    // name, with every argument blanked that was not the password written
    // back.
    std::vector<std::string> remaining();

private:
    void blank(int index);
    int originalIndex(const char* copy) const;

    char** m_argv;
    std::vector<std::string> m_copies;
    std::vector<char*> m_forQt;
    int m_countForQt;
    std::vector<int> m_blanked;
};

}  // namespace mivo
