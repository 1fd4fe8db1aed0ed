#include "settings/SettingsKeys.h"

#include <cstdint>
#include <utility>

#include "settings/SettingsText.h"
#include "text/IntegerText.h"

namespace mivo {

namespace {

std::string numbered(const char* key, int number) {
    return key + std::to_string(number);
}

SettingsKey text(std::string name, TextField& field) {
    return {std::move(name), [&field] { return field.get(); },
            [&field](std::string_view value) { field.set(std::string(value)); }};
}

SettingsKey check(std::string name, CheckField& field) {
    return {std::move(name), [&field] { return std::string(settings::yesNo(field.get())); },
            [&field](std::string_view value) { field.set(settings::isYes(value)); }};
}

SettingsKey flag(std::string name, bool& held) {
    return {std::move(name), [&held] { return std::string(settings::yesNo(held)); },
            [&held](std::string_view value) { held = settings::isYes(value); }};
}

SettingsKey number(std::string name, std::int32_t& held) {
    return {std::move(name), [&held] { return std::to_string(held); },
            [&held](std::string_view value) { held = readDecimalInteger(value); }};
}

// A program field saved before a program was ever chosen holds the field's
// design text, which names no program.
SettingsKey programField(int rule, TextField& field) {
    std::string name = numbered("RunFile", rule);
    return {name, [&field] { return field.get(); },
            [&field, designText = name](std::string_view value) {
                field.set(value == designText ? std::string() : std::string(value));
            }};
}

SettingsKey ruleField(int rule, ListField& field) {
    return {
        numbered("RULEindex", rule), [&field] { return std::to_string(field.itemIndex.get()); },
        [&field](std::string_view value) { field.itemIndex.set(settings::ruleFieldIndex(value)); }};
}

}  // namespace

std::vector<SettingsKey> settingsKeys(MainWindowModel& window, CycleState& cycle,
                                      StoreKeyValues store) {
    std::vector<SettingsKey> keys;
    // Never loaded: only the uninstaller reads it, from the text.
    keys.push_back({"EXENAME", store.programPath, {}});
    // The two names are the other way round from what they hold, and every
    // stored text relies on it.
    keys.push_back(flag("Show_as_icon", window.taskbarButton));
    keys.push_back(flag("Show_as_button", window.trayIcon));
    keys.push_back({"version", [] { return std::to_string(4) + std::to_string(5); }, {}});
    keys.push_back({"TimeInterval", [&window] { return window.Edit1.get(); }, {}});
    for (int account = 1; account <= kAccountCount; ++account) {
        keys.push_back(text(numbered("UN", account), window.accountUser(account)));
    }
    for (int account = 1; account <= kAccountCount; ++account) {
        keys.push_back(
            {numbered("PW", account),
             [scrambled = store.scrambledPassword, account] { return scrambled(account); },
             [load = store.loadPassword, account](std::string_view value) {
                 load(account, value);
             }});
    }
    for (int account = 1; account <= kAccountCount; ++account) {
        keys.push_back(text(numbered("PO", account), window.accountPop(account)));
    }
    keys.push_back(check("S1", window.NewMLevelNumber));
    keys.push_back(check("S2", window.StartMinimized));
    keys.push_back(check("S3", window.CheckBox1));
    keys.push_back(check("S4", window.CheckBox2));
    keys.push_back(flag("S5", window.NoticeAll));
    keys.push_back(flag("S6", cycle.CCW[1]));
    for (int account = 1; account <= kAccountCount; ++account) {
        keys.push_back(flag(numbered("CCW", account), cycle.CCW[account]));
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        keys.push_back(check(numbered("URG", rule), window.Urgentn[rule]));
    }
    keys.push_back(check("StartMinimized", window.StartMinimized));
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        keys.push_back(check(numbered("DL", rule), window.DLn[rule]));
        keys.push_back(check(numbered("DEL", rule), window.DELn[rule]));
        keys.push_back(programField(rule, window.RunFilen[rule]));
    }
    keys.push_back(text("TEMPDIR", window.TEMPDIR));
    keys.push_back(text("Media", window.Media));
    keys.push_back(number("uniqueFile", window.uniqueFile));
    keys.push_back({"RULES", [&window] { return window.UseRule ? "Use Rules" : "Ignore Rules"; },
                    [&window](std::string_view value) { window.UseRule = value == "Use Rules"; }});
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        keys.push_back(ruleField(rule, window.SBn[rule]));
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        keys.push_back(text(numbered("RULEstr", rule), window.En[rule]));
    }
    keys.push_back(text("EmailProgram", window.EmailProgram));
    return keys;
}

}  // namespace mivo
