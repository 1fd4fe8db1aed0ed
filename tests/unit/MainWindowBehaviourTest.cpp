#include <gtest/gtest.h>

#include "FakeProgramPorts.h"

namespace mivo {
namespace {

struct MainWindowBehaviour : ::testing::Test, test::FakeProgramPorts {
    Program program{ports()};
    MainWindowModel& model = program.mainWindowModel();
    CycleState& cycle = program.cycleState();
    MainWindow& window = program.mainWindow();
};

TEST_F(MainWindowBehaviour, StatusCaptionSetsTheWindowThenTheTaskbarTextEveryTime) {
    std::vector<std::string> order;
    model.Caption.onChange([&] { order.push_back("caption " + model.Caption.get()); });
    program.statusCaption().set("New Mail - Mivo");
    program.statusCaption().set("New Mail - Mivo");
    EXPECT_EQ(order, std::vector<std::string>{"caption New Mail - Mivo"});
    EXPECT_EQ(ui.applicationTitles,
              (std::vector<std::string>{"New Mail - Mivo", "New Mail - Mivo"}));
    EXPECT_EQ(model.ApplicationTitle.get(), "New Mail - Mivo");
}

TEST_F(MainWindowBehaviour, CreationPutsTheBottomEdgeOnTheScreensMiddleLine) {
    ui.screen = {1025, 769};
    window.FormCreate();
    EXPECT_EQ(model.Version.get(), "Ver 4.5");
    EXPECT_EQ(model.Width.get(), 418);
    EXPECT_EQ(model.Left.get(), (1025 - 418) / 2);
    EXPECT_EQ(model.Top.get() + layout::kWindowHeight, 769 / 2);
}

TEST_F(MainWindowBehaviour, EditingAccountOneRearmsTheChecks) {
    for (TextField* field : {&model.UserName, &model.UserPass, &model.PopServ}) {
        cycle.accountError[1] = true;
        cycle.CCW[1] = true;
        cycle.settingsOk = false;
        field->set(field->get() + "x");
        EXPECT_FALSE(cycle.accountError[1]);
        EXPECT_FALSE(cycle.CCW[1]);
        EXPECT_TRUE(cycle.settingsOk);
    }
}

TEST_F(MainWindowBehaviour, CloseQueryRefusesWhileConnectingOrConnectedAndAlwaysTerminates) {
    struct Case {
        bool connected;
        bool connecting;
        bool allowed;
    };
    for (const Case c :
         {Case{false, false, true}, Case{true, false, false}, Case{false, true, false}}) {
        cycle.connected = c.connected;
        cycle.connecting = c.connecting;
        cycle.terminating = false;
        ui.calls.clear();
        EXPECT_EQ(window.FormCloseQuery(), c.allowed);
        EXPECT_TRUE(cycle.terminating);
        EXPECT_EQ(model.Caption.get(), "Terminateing Mivo");
        ASSERT_FALSE(ui.calls.empty());
        EXPECT_EQ(ui.calls.front(), "remove tray icon");
    }
}

TEST_F(MainWindowBehaviour, OptionsAreaToggle) {
    window.UserOptionsClick();
    EXPECT_EQ(model.Width.get(), 214);
    EXPECT_EQ(model.UserOptionsCaption.get(), "Open Options ->");
    window.UserOptionsClick();
    EXPECT_EQ(model.Width.get(), 418);
    EXPECT_EQ(model.UserOptionsCaption.get(), "Close Options <-");
}

}  // namespace
}  // namespace mivo
