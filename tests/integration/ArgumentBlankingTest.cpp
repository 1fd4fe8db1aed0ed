// The desktop program's one-off account: its password leaves the process's
// command line before Qt reads a copy of it, whichever argument it turns out
// to be once Qt has taken its own options.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "posix/ArgumentBlanking.h"

namespace mivo {
namespace {

using Words = std::vector<std::string>;

// A command line in writable memory, as the process's own is.
class ProcessCommandLine {
public:
    explicit ProcessCommandLine(const Words& words) : m_texts(words) {
        for (std::string& text : m_texts) {
            m_pointers.push_back(text.data());
        }
        m_pointers.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(m_texts.size()); }
    char** argv() { return m_pointers.data(); }
    Words now() const { return {m_pointers.begin(), m_pointers.end() - 1}; }

private:
    Words m_texts;
    std::vector<char*> m_pointers;
};

// What Qt does with its options: takes them out of the copy it was given.
void takeOut(OneOffAccountArguments& arguments, const std::set<int>& indexes) {
    char** vector = arguments.vectorForQt();
    int kept = 0;
    for (int index = 0; index < arguments.countForQt(); ++index) {
        if (!indexes.contains(index)) {
            vector[kept++] = vector[index];
        }
    }
    vector[kept] = nullptr;
    arguments.countForQt() = kept;
}

TEST(OneOffAccountArguments, ThePasswordGoesFirstAndWhatWasNotThePasswordComesBack) {
    struct Case {
        const char* name;
        Words commandLine;
        Words blankedBeforeQt;
        std::set<int> qtOptions;
        Words left;
        Words afterQt;
    };
    const Case cases[] = {
        {"an account",
         {"mivo", "bob", "pw", "host"},
         {"mivo", "bob", "xx", "host"},
         {},
         {"bob", "pw", "host"},
         {"mivo", "bob", "xx", "host"}},
        {"an account after Qt's options",
         {"mivo", "-platform", "xcb", "bob", "pw", "host"},
         {"mivo", "-platform", "xxx", "xxx", "xx", "xxxx"},
         {1, 2},
         {"bob", "pw", "host"},
         {"mivo", "-platform", "xcb", "bob", "xx", "host"}},
        {"three, of them Qt's",
         {"mivo", "-style", "fusion", "x"},
         {"mivo", "-style", "xxxxxx", "x"},
         {1, 2},
         {"x"},
         {"mivo", "-style", "fusion", "x"}},
        {"four of the program's",
         {"mivo", "a", "b", "c", "d"},
         {"mivo", "a", "x", "x", "x"},
         {},
         {"a", "b", "c", "d"},
         {"mivo", "a", "b", "c", "d"}},
        {"uninstall",
         {"mivo", "uninstall"},
         {"mivo", "uninstall"},
         {},
         {"uninstall"},
         {"mivo", "uninstall"}},
        {"nothing", {"mivo"}, {"mivo"}, {}, {}, {"mivo"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProcessCommandLine process(c.commandLine);
        OneOffAccountArguments arguments(process.argc(), process.argv());
        EXPECT_EQ(process.now(), c.blankedBeforeQt);
        // Qt reads the copy as it was given.
        const char* const* forQt = arguments.vectorForQt();
        EXPECT_EQ(Words(forQt, forQt + arguments.countForQt()), c.commandLine);
        takeOut(arguments, c.qtOptions);
        EXPECT_EQ(arguments.remaining(), c.left);
        EXPECT_EQ(process.now(), c.afterQt);
    }
}

}  // namespace
}  // namespace mivo
