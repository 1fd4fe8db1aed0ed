#pragma once
// Random bytes from the kernel, for the scrambled form of stored passwords.

#include <array>
#include <cstddef>
#include <cstdint>

#include "ports/RandomPort.h"

namespace mivo {

class SystemRandom : public RandomPort {
public:
    std::uint8_t nextByte() override;

private:
    std::array<std::uint8_t, 64> m_pool{};
    std::size_t m_next = m_pool.size();
};

}  // namespace mivo
