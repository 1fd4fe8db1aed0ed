#pragma once
// The advanced options dialog TAdvancedOptions: a copy of the rules, programs
// and display options the main window keeps, edited here and taken back when
// the dialog closes.

#include <array>
#include <string>

#include "fields/Field.h"

namespace mivo {

struct AdvancedOptionsModel {
    AdvancedOptionsModel();

    // The rule mode; the two buttons exclude each other.
    CheckField ShowAll{true};  // "Ignore rules, show all emails"
    CheckField UseRule;        // "Use rules"
    // The detail level of the new-mail window, also exclusive.
    CheckField NewMLevelNumber;     // "Number of email"
    CheckField RadioButton1{true};  // "From and Subject"
    CheckField StartMinimized;
    CheckField Taskbartray;
    CheckField Taskbarbutton;
    TextField EmailProgram;
    // Rules 1..3 (index 0 unused).
    std::array<CheckField, 4> Urgentn;
    std::array<TextField, 4> Editn;
    std::array<ListField, 4> SelectBoxn;
    std::array<CheckField, 4> DLn;
    std::array<CheckField, 4> DELn;
    std::array<TextField, 4> RunFilen;
    CheckField NoticeAll{true};  // "If none match, show notice of new email"
    TextField TEMPDIR;
    TextField Media{"Media"};
};

}  // namespace mivo
