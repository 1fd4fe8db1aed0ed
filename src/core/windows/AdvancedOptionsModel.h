#pragma once
// The advanced options dialog TAdvancedOptions: a copy of the rules, programs
// and display options the main window keeps, edited here and taken back when
// the dialog closes.

#include <array>
#include <string>

#include "fields/Field.h"
#include "model/MainWindowModel.h"

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
    // The rules, as the main window numbers them.
    PerRule<CheckField> Urgentn;
    PerRule<TextField> Editn;
    PerRule<ListField> SelectBoxn;
    PerRule<CheckField> DLn;
    PerRule<CheckField> DELn;
    PerRule<TextField> RunFilen;
    CheckField NoticeAll{true};  // "If none match, show notice of new email"
    TextField TEMPDIR;
    TextField Media{"Media"};
};

}  // namespace mivo
