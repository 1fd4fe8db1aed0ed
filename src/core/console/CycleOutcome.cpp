#include "console/CycleOutcome.h"

namespace mivo {

namespace {
// The stage line the session sets when the server answered QUIT after an
// error: the conversation ended, but the account was not checked.
constexpr std::string_view kEndAfterError = "0 - Nothing Happening, had an error though.";
}  // namespace

CycleOutcome::CycleOutcome(Program& program) : m_program(program) {
    m_program.mainWindowModel.Memo2.onChange([this] { stageChanged(); });
    m_program.newMailSummary.onBuilt([this] { cycleEnded(); });
}

void CycleOutcome::onCycleEnded(std::function<void(Status)> observer) {
    m_observers.push_back(std::move(observer));
}

void CycleOutcome::stageChanged() {
    const std::string& stage = m_program.mainWindowModel.Memo2.get();
    const int account = m_program.cycle.Account;
    if (account < 1 || account > kAccountCount || stage.empty() || stage.front() != '0') {
        return;
    }
    m_completed[account] =
        stage.rfind(kEndAfterError, 0) != 0 && !m_program.cycle.accountError[account];
}

void CycleOutcome::cycleEnded() {
    Status status = NoNewMail;
    if (!m_program.mainWindowModel.Memo4.get().empty()) {
        status = NewMail;
    } else {
        for (int account = 1; account <= kAccountCount; ++account) {
            if (hasDetails(account) && !m_completed[account]) {
                status = NoNewMailAndAccountFailed;
            }
        }
    }
    m_completed.fill(false);
    for (const auto& observer : m_observers) {
        observer(status);
    }
}

bool CycleOutcome::stoppedAtAccount() const {
    const CycleState& cycle = m_program.cycle;
    return cycle.Account >= 1 && cycle.Account <= kAccountCount && !cycle.connected &&
           !cycle.connecting;
}

bool CycleOutcome::hasDetails(int account) const {
    MainWindowModel& model = m_program.mainWindowModel;
    return !model.accountUser(account).get().empty() || !model.accountPass(account).get().empty() ||
           !model.accountPop(account).get().empty();
}

}  // namespace mivo
