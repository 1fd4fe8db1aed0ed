#pragma once
// The new-mail window's animation: a letter flies into an open envelope, the
// flap closes, the envelope hops and shows a red badge, and opens again for
// the next letter. 38 frames of 60 x 60, all different, each drawn when the
// window first shows it.

#include <QImage>
#include <QSize>

namespace mivo {

inline constexpr int kMailAnimationFrames = 38;
inline constexpr QSize kMailAnimationFrameSize{60, 60};

// Frame `number` of 1..38, opaque.
QImage mailAnimationFrame(int number);

}  // namespace mivo
