#pragma once
// The state of the main window TUbo: its visible controls, the hidden
// controls that hold options and working texts for the rest of the program,
// and its own flags. Arrays numbered like the controls leave index 0 unused
// (accounts 2..8 in USERn/PASSn/POPn, rules 1..3 in SBn, En, ...).

#include <array>
#include <cstdint>
#include <string>

#include "fields/Field.h"

namespace mivo {

// The controls' layout names and the window's geometry in client pixels.
namespace layout {
constexpr int kClientWidth = 412;
constexpr int kClientHeight = 116;
constexpr int kUserNameLeft = 289;
constexpr int kUserNameWidth = 121;
constexpr int kUserOptionsLeft = 112;
constexpr int kUserOptionsWidth = 94;
// Outer window widths: the edge of the widest control plus the frame.
constexpr int kWideWidth = kUserNameLeft + kUserNameWidth + 8;          // 418
constexpr int kNarrowWidth = kUserOptionsLeft + kUserOptionsWidth + 8;  // 214
// The fixed single border adds this much around the client area.
constexpr int kFrameWidth = kWideWidth - kClientWidth;
constexpr int kTitleBarHeight = 19;
constexpr int kWindowHeight = kClientHeight + kFrameWidth + kTitleBarHeight;
}  // namespace layout

// The rules, numbered 1..3 like their controls; index 0 belongs to none.
constexpr int kRuleCount = 3;
template <typename T>
using PerRule = std::array<T, kRuleCount + 1>;

// The fourteen header fields a rule can look at; index 0 switches a rule off.
inline const std::array<std::string, 14> kHeaderFieldNames = {
    "no rule", "Return-Path", "Received", "From",       "Sender",      "Reply-to", "To",
    "Date",    "Subject",     "X-Mailer", "Message-id", "X-User-Info", "X-UIDL",   "Status"};

struct MainWindowModel {
    MainWindowModel();

    // The window itself.
    // The design-time caption "Ubo" is never shown: the title reads the
    // application title from start-up until the first status caption.
    TextField Caption{"Mivo"};
    TextField ApplicationTitle{"Mivo"};
    Field<int> Left{0};
    Field<int> Top{0};
    Field<int> Width{layout::kWideWidth};

    // Visible controls.
    CheckField CheckBox2{true};  // "Check mail every:"
    TextField Edit1{"20"};       // minutes
    CheckField CheckBox1{true};  // "bring Applicatin to front."
    TextField UserName;
    TextField UserPass;
    TextField PopServ;
    TextField UserOptionsCaption{"Close Options <-"};
    TextField Button5Caption{"Adv. Options"};
    TextField Version{"Version"};

    // Hidden text holders.
    TextField Log{"Log"};
    TextField Memo1{"Memo1"};
    TextField PacketBuffer{"PacketBuffer"};
    TextField Memo2{"Memo2"};
    TextField Memo4{"Memo4"};
    TextField User;
    TextField Pass;
    TextField POP;
    std::array<TextField, 9> USERn;  // USER2..USER8
    std::array<TextField, 9> PASSn;  // PASS2..PASS8
    std::array<TextField, 9> POPn;   // POP2..POP8

    // Options in hidden controls: stored by the settings store, edited in the
    // advanced options dialog, used by the rules, the launcher and the
    // new-mail window.
    TextField Memo6{"Memo6"};
    TextField SET{"SET"};
    PerRule<ListField> SBn;  // SB1..SB3: the rules' header fields
    PerRule<TextField> En;   // E1..E3: the rules' texts
    PerRule<CheckField> Urgentn;
    PerRule<CheckField> DLn;
    PerRule<CheckField> DELn;
    // Empty, not the controls' design texts "RunFile1".."RunFile3": a rule
    // ticked before any settings were stored would start a program of that
    // name.
    PerRule<TextField> RunFilen;
    TextField EmailProgram;
    TextField TEMPDIR;  // the user's private download folder, set at creation
    // That folder, which an empty TEMPDIR means too.
    std::string defaultTempDir;
    TextField Media{"c:\\cmpeg\\bounce.mpg"};
    CheckField NewMLevelNumber;
    CheckField StartMinimized;
    CheckField AppfirstIdle;

    // Process-wide options, stored with the controls.
    bool taskbarButton = true;  // "Taskbar button"; stored as "Show_as_icon"
    bool trayIcon = true;       // "Taskbar tray"; stored as "Show_as_button"
    bool NoticeAll = true;
    bool UseRule = false;
    std::int32_t uniqueFile = 0;

    // How this run treats the stored settings.
    bool saveAllowed = true;    // false for a one-off account from the command line
    bool uninstalling = false;  // set by the start-up decision, never cleared

    // The window's own state.
    int TickCount = 0;
    bool NewMailOpen = false;
    bool logViewerOpen = false;
    bool advancedOptionsOpen = false;  // the dialog-open flag

    // Account k's user name, password and POP host: account 1 in the visible
    // fields, accounts 2..8 in the hidden ones.
    TextField& accountUser(int account);
    TextField& accountPass(int account);
    TextField& accountPop(int account);
};

}  // namespace mivo
