#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "launch/BrowserCommandLines.h"
#include "launch/CommandLineWords.h"

namespace mivo {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLineWords, BlanksSeparateAndQuotesGroupWithoutStaying) {
    struct Case {
        const char* line;
        Words words;
    };
    const Case cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"viewer /tmp/Mivo12.txt", {"viewer", "/tmp/Mivo12.txt"}},
        // The e-mail program's argument text arrives framed in blanks.
        {"  -x   ", {"-x"}},
        {"a \t  b", {"a", "b"}},
        {"\"/opt/My Viewer/view\" \"/tmp/My Mail/Mivo1.txt\"",
         {"/opt/My Viewer/view", "/tmp/My Mail/Mivo1.txt"}},
        {"ab\"c d\"e f", {"abc de", "f"}},
        {"\"\" http://x/", {"", "http://x/"}},
        {"a \"\"", {"a", ""}},
        {"\"unterminated  quote", {"unterminated  quote"}},
        {"x \"", {"x", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(commandLineWords(c.line), c.words);
    }
}

// A program path with blanks typed without quotes: the first words joined
// as typed are tried, shortest first, and the first that is a program wins.
TEST(CommandLineWords, AnUnquotedProgramPathWithBlanksIsFoundByItsLongerPrefixes) {
    struct Case {
        const char* name;
        CommandLine line;
        std::set<std::string> programs;
        Words arguments;
    };
    CommandLine withFileName("/opt/x ");
    withFileName.addVerbatim("y z");
    const Case cases[] = {
        {"a path with a blank",
         "/home/me/My Programs/viewer /tmp/Mivo1.txt",
         {"/home/me/My Programs/viewer"},
         {"/home/me/My Programs/viewer", "/tmp/Mivo1.txt"}},
        {"the first word is a program: nothing is joined",
         "viewer a b",
         {"viewer", "viewer a"},
         {"viewer", "a", "b"}},
        {"shortest first", "/opt/a b c d", {"/opt/a b", "/opt/a b c"}, {"/opt/a b", "c", "d"}},
        {"blanks as typed",
         "/opt/My  Programs\tv\t x",
         {"/opt/My  Programs\tv"},
         {"/opt/My  Programs\tv", "x"}},
        {"nothing is a program: the first word fails",
         "/opt/My Programs/viewer x",
         {},
         {"/opt/My", "Programs/viewer", "x"}},
        {"the user quoted where the name ends",
         "\"/opt/My\" Programs/viewer",
         {"/opt/My Programs/viewer"},
         {"/opt/My", "Programs/viewer"}},
        {"a quoted word ends the try",
         "/opt/My \"Programs\"/viewer",
         {"/opt/My Programs/viewer"},
         {"/opt/My", "Programs/viewer"}},
        {"a file name put in ends the try", withFileName, {"/opt/x y z"}, {"/opt/x", "y z"}},
        {"nothing at all", "  ", {"  "}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto isProgram = [&c](const std::string& name) { return c.programs.contains(name); };
        EXPECT_EQ(programArguments(c.line, isProgram), c.arguments);
    }
}

TEST(CommandLineWords, AProgramPathWithBlanksIsQuotedForTheCommandLineAndBack) {
    struct Case {
        const char* path;
        const char* commandLine;
    };
    const Case cases[] = {
        {"/usr/bin/viewer", "/usr/bin/viewer"},
        {"/home/me/My Programs/viewer", "\"/home/me/My Programs/viewer\""},
        {"/opt/tab\there", "\"/opt/tab\there\""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(quotedProgramPath(c.path), c.commandLine);
        EXPECT_EQ(programPathOf(c.commandLine), c.path);
        EXPECT_EQ(commandLineWords(c.commandLine), c.path[0] ? Words{c.path} : Words{});
    }
    // A quoted program with its arguments gives the program; an unquoted
    // text is left to the dialog as it is.
    EXPECT_EQ(programPathOf("\"/opt/My Viewer/view\" %s"), "/opt/My Viewer/view");
    EXPECT_EQ(programPathOf("notify-send %s"), "notify-send %s");
}

TEST(BrowserCommandLines, TheBrowsersProgramIsCutOutAndQuoted) {
    struct Case {
        const char* command;
        const char* quoted;
    };
    const Case cases[] = {
        // A quoted program path ending in .exe, options and a quoted "%1".
        {R"("C:\Program Files\Web\browse.exe" -nohome "%1")",
         R"("C:\Program Files\Web\browse.exe")"},
        // Unquoted, .EXE in capitals: cut right after it, options never follow.
        {R"(C:\WEB\BROWSE.EXE -nohome %1)", R"("C:\WEB\BROWSE.EXE")"},
        {R"(C:\WEB\Browse.Exe%1)", R"("C:\WEB\Browse.Exe")"},
        {"/usr/lib/web.exe.d/run -x", "\"/usr/lib/web.exe\""},
        // No .exe and no quote: everything up to "%1" or the end of the line.
        {"/usr/bin/web-browser --new-tab %1", "\"/usr/bin/web-browser --new-tab \""},
        {"/usr/bin/web-browser --new-tab", "\"/usr/bin/web-browser --new-tab\""},
        {"\"xdg-open\" \"%1\"", "\"xdg-open\""},
        {"browse %2 x%1", "\"browse %2 x\""},
        {"browse\r\nsecond line", "\"browse\""},
        {"browse\nsecond line", "\"browse\""},
        // ".exe" needs something before it to end the path.
        {".exe -x", "\".exe -x\""},
        {"", "\"\""},
        {"\"", "\"\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(quotedBrowserPath(c.command), c.quoted);
    }
}

TEST(BrowserCommandLines, TheSecondTryDropsTheQuotes) {
    struct Case {
        const char* quoted;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {R"("C:\WEB\BROWSE.EXE")", R"("C:\WEB\BROWSE.EXE" http://www.mivo.example.org/)",
         R"(C:\WEB\BROWSE.EXE http://www.mivo.example.org/)"},
        {"\"/usr/bin/web-browser \"", "\"/usr/bin/web-browser \" http://www.mivo.example.org/",
         "/usr/bin/web-browser  http://www.mivo.example.org/"},
        {"\"\"", "\"\" http://www.mivo.example.org/", " http://www.mivo.example.org/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quoted);
        const std::string first = firstBrowserCommandLine(c.quoted);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(secondBrowserCommandLine(first), c.second);
    }
}

TEST(BrowserCommandLines, TheMessageHasABlankOnEachSideOfTheCommand) {
    EXPECT_EQ(browserFailureMessage("browse http://www.mivo.example.org/"),
              "I could not launch your web browser with the command `"
              " browse http://www.mivo.example.org/ '.");
}

TEST(BrowserCommandLines, NoTextGrowsPastItsBuffer) {
    for (const std::string& command :
         {std::string(5000, 'b'), '"' + std::string(5000, 'b') + '"', std::string(5000, '"')}) {
        const std::string quoted = quotedBrowserPath(limitedBrowserText(command));
        const std::string first = firstBrowserCommandLine(quoted);
        const std::string second = secondBrowserCommandLine(first);
        for (const std::string& text : {quoted, first, second, browserFailureMessage(second)}) {
            EXPECT_LE(text.size(), kBrowserTextLimit);
        }
        EXPECT_EQ(quoted.front(), '"');
        EXPECT_EQ(quoted.back(), '"');
    }
}

}  // namespace
}  // namespace mivo
