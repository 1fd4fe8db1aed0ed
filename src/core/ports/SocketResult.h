#pragma once
// What a socket call gives back: its result together with the Windows error
// code of its failure, so the error travels with the call that had it and
// not in port state that the next call overwrites.

namespace mivo {

// A call that only succeeds or fails.
struct SocketStatus {
    int error = 0;  // 0 when the call succeeded

    bool ok() const { return error == 0; }
};

// A call that gives a value: `value` holds it when `error` is 0.
template <typename Value>
struct SocketResult {
    Value value{};
    int error = 0;

    bool ok() const { return error == 0; }
};

}  // namespace mivo
