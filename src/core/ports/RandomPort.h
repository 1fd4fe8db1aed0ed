#pragma once
// A source of random bytes, injected so that tests can fix what a scrambled
// password looks like; nothing secret depends on it.

#include <cstdint>

namespace mivo {

class RandomPort {
public:
    virtual ~RandomPort() = default;
    virtual std::uint8_t nextByte() = 0;
};

}  // namespace mivo
