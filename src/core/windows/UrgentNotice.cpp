#include "windows/UrgentNotice.h"

namespace mivo {

namespace {
constexpr int kContinueTick = 4;
// After the first round the counter runs 6..25: the stripes repeat every
// 20 ticks, and the first five never come back.
constexpr int kRoundEnd = 26;
constexpr int kRoundStart = 6;
}  // namespace

UrgentNotice::UrgentNotice(UrgentNoticeModel& model, UiPort& ui, TimerPort& timers)
    : m_model(model), m_ui(ui), m_timers(timers) {
    m_timers.setInterval(TimerId::UrgentNoticeStripes, 300);
    m_timers.setHandler(TimerId::UrgentNoticeStripes, [this] { Timer1Timer(); });
}

void UrgentNotice::Show() {
    m_model.Button1Visible.set(false);
    m_model.stripeCounter = 0;
    m_timers.setEnabled(TimerId::UrgentNoticeStripes, true);
    m_ui.showWindow(WindowId::UrgentNotice);
}

void UrgentNotice::FormHide() {
    m_timers.setEnabled(TimerId::UrgentNoticeStripes, false);
}

void UrgentNotice::Timer1Timer() {
    int& counter = m_model.stripeCounter;
    ++counter;
    if (counter == kContinueTick) {
        m_model.Button1Visible.set(true);
    }
    if (counter == kRoundEnd) {
        counter = kRoundStart;
    }
    std::vector<StripeLine> lines = stripeSegments(counter, UrgentNoticeModel::kBevel1, false);
    const std::vector<StripeLine> right = stripeSegments(counter, UrgentNoticeModel::kBevel2, true);
    lines.insert(lines.end(), right.begin(), right.end());
    m_ui.drawOnUrgentNotice(lines);
}

}  // namespace mivo
