#pragma once
// How the new-mail window fits itself to a new size: never shorter than
// its buttons need, never narrower than a title bar, unless the user only
// wants to be told how many messages came; the list fills the rest.

#include "model/MainWindowModel.h"

namespace mivo {

namespace newmaillayout {
constexpr int kLaunchTop = 104;
constexpr int kLaunchHeight = 22;
constexpr int kMinimumClientHeight = kLaunchTop + kLaunchHeight + 7;  // 133
constexpr int kMinimumOuterWidth = 145;
constexpr int kMemoLeft = 120;
}  // namespace newmaillayout

struct NewMailWindowFit {
    int clientWidth = 0;
    int clientHeight = 0;
    int memoWidth = 0;
    int memoHeight = 0;

    friend bool operator==(const NewMailWindowFit&, const NewMailWindowFit&) = default;
};

// `numberOnly`: the main window's NewMLevelNumber. The list keeps its left
// edge at kMemoLeft either way.
inline NewMailWindowFit fitNewMailWindow(int clientWidth, int clientHeight, bool numberOnly) {
    NewMailWindowFit fit{clientWidth, clientHeight, 0, 0};
    if (fit.clientHeight < newmaillayout::kMinimumClientHeight) {
        fit.clientHeight = newmaillayout::kMinimumClientHeight;
    }
    if (!numberOnly && fit.clientWidth + layout::kFrameWidth < newmaillayout::kMinimumOuterWidth) {
        fit.clientWidth = newmaillayout::kMinimumOuterWidth - layout::kFrameWidth;
    }
    // Narrower than the buttons' column, the list is gone rather than
    // reaching back over them.
    fit.memoWidth = fit.clientWidth - (newmaillayout::kMemoLeft + 1);
    fit.memoWidth = fit.memoWidth < 0 ? 0 : fit.memoWidth;
    fit.memoHeight = fit.clientHeight - 2;
    return fit;
}

}  // namespace mivo
