#pragma once
// Watches check cycles from the outside, the way a script wants to know
// them: did the cycle find new mail, and did every account that has details
// finish its conversation with the server.

#include <functional>
#include <vector>

#include "app/Program.h"

namespace mivo {

class CycleOutcome {
public:
    enum Status { NewMail = 0, NoNewMail = 1, NoNewMailAndAccountFailed = 2 };

    explicit CycleOutcome(Program& program);

    // Runs, nested inside the summary, whenever a cycle has ended.
    void onCycleEnded(std::function<void(Status)> observer);

    // Whether the cycle stopped at an account (connect time-out, refused
    // open) and waits for the next Check now.
    bool stoppedAtAccount() const;

private:
    void stageChanged();
    void cycleEnded();
    bool hasDetails(int account) const;

    Program& m_program;
    CycleState::PerAccount<bool> m_completed{};
    std::vector<std::function<void(Status)>> m_observers;
};

}  // namespace mivo
