#include <gtest/gtest.h>

#include <string>

#include "windows/EmailProgramLaunch.h"

namespace mivo {
namespace {

TEST(EmailProgramLaunch, CutsAtTheFirstExeAndDropsTheCharacterAfterIt) {
    struct Case {
        const char* setting;
        EmailProgramLaunch expected;
    };
    const Case cases[] = {
        {"C:\\Mail\\mail.exe -x", {true, "C:\\Mail\\mail.exe", "  -x   ", "C:\\Mail"}},
        // The extension is matched exactly: upper case is no ".exe".
        {"C:\\Mail\\MAIL.EXE", {false, "C:\\Mail\\MAIL.EXE", "", ""}},
        {"mail.exe", {true, "mail.exe", "    ", "mail.exe"}},
        {"\"C:\\Mail\\mail.exe\" -x", {true, "\"C:\\Mail\\mail.exe", "   -x   ", "\"C:\\Mail"}},
        {"/opt/mail/mail.exe", {true, "/opt/mail/mail.exe", "    ", "/opt/mail"}},
        // A separator in the first place is no folder.
        {"/mail.exe", {true, "/mail.exe", "    ", "/mail.exe"}},
        {"a.exe.exe", {true, "a.exe", "  exe   ", "a.exe"}},
        // Programs of this system: the whole setting, without the blanks
        // that would end up in the program's name.
        {"/usr/bin/thunderbird -mail", {false, "/usr/bin/thunderbird -mail", "", ""}},
        {"thunderbird  ", {false, "thunderbird", "", ""}},
        {"", {false, "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        EXPECT_EQ(emailProgramLaunch(c.setting), c.expected);
    }
}

TEST(EmailProgramLaunch, LongSettingsAreCutToTheirLimits) {
    const std::string folder(300, 'f');
    const EmailProgramLaunch split = emailProgramLaunch(folder + "/m.exe " + std::string(300, 'a'));
    EXPECT_EQ(split.programPath, folder + "/m.exe");
    EXPECT_EQ(split.workingDirectory, folder);
    EXPECT_EQ(split.argumentText, "  " + std::string(197, 'a'));

    // 696 characters of the setting are kept, room for the three blanks.
    const std::string noExe(1000, 'p');
    EXPECT_EQ(emailProgramLaunch(noExe).programPath, std::string(696, 'p'));
    // An ".exe" past the limit is not seen.
    const EmailProgramLaunch late = emailProgramLaunch(std::string(694, 'p') + ".exe x");
    EXPECT_FALSE(late.splitAtExe);
    EXPECT_EQ(late.programPath, std::string(694, 'p') + ".e");
}

}  // namespace
}  // namespace mivo
