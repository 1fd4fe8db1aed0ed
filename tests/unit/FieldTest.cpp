#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fields/Field.h"

namespace mivo {
namespace {

// However a text is given (a literal, a string kept by the caller, a string
// built for the call), a handler runs exactly when the value changes.
TEST(FieldTest, HandlersRunOnlyWhenTheValueChangesHoweverItIsGiven) {
    const std::string kept = "same";
    const std::string other = "other";
    struct Case {
        const char* how;
        std::function<void(TextField&)> set;
        std::string value;
        bool changed;
    };
    const Case cases[] = {
        {"literal, same", [](TextField& f) { f.set("same"); }, "same", false},
        {"literal, new", [](TextField& f) { f.set("new"); }, "new", true},
        {"literal, empty", [](TextField& f) { f.set(""); }, "", true},
        {"kept string, same", [&](TextField& f) { f.set(kept); }, "same", false},
        {"kept string, new", [&](TextField& f) { f.set(other); }, "other", true},
        {"built string, same", [](TextField& f) { f.set(std::string("sa") + "me"); }, "same",
         false},
        {"built string, new", [](TextField& f) { f.set(std::string("ne") + "w"); }, "new", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TextField field{"same"};
        std::vector<std::string> seen;
        field.onChange([&] { seen.push_back(field.get()); });
        c.set(field);
        EXPECT_EQ(field.get(), c.value);
        EXPECT_EQ(seen, c.changed ? std::vector<std::string>{c.value} : std::vector<std::string>{});
    }
}

// A handler that sets its own field again runs nested; the handlers after it
// then see the newest value.
TEST(FieldTest, AHandlerSettingItsOwnFieldRunsAllHandlersNested) {
    TextField field{"start"};
    std::vector<std::string> seen;
    field.onChange([&] {
        seen.push_back("first:" + field.get());
        if (field.get().size() > 3) {
            field.set(field.get().substr(0, 3));
        }
    });
    field.onChange([&] { seen.push_back("second:" + field.get()); });
    const std::string longer = "longer";
    field.set(longer);
    EXPECT_EQ(field.get(), "lon");
    EXPECT_EQ(seen,
              (std::vector<std::string>{"first:longer", "first:lon", "second:lon", "second:lon"}));
}

}  // namespace
}  // namespace mivo
