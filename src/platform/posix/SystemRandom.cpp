#include "posix/SystemRandom.h"

#include <sys/random.h>

#include <cerrno>
#include <chrono>
#include <random>

namespace mivo {

std::uint8_t SystemRandom::nextByte() {
    if (m_next == m_pool.size()) {
        std::size_t filled = 0;
        while (filled < m_pool.size()) {
            const ssize_t got = ::getrandom(m_pool.data() + filled, m_pool.size() - filled, 0);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        if (filled < m_pool.size()) {
            // The bytes only vary the look of a stored password, so a clock
            // seed serves where the kernel's source is unavailable.
            std::minstd_rand generator(static_cast<std::uint32_t>(
                std::chrono::steady_clock::now().time_since_epoch().count()));
            for (; filled < m_pool.size(); ++filled) {
                m_pool[filled] = static_cast<std::uint8_t>(generator());
            }
        }
        m_next = 0;
    }
    return m_pool[m_next++];
}

}  // namespace mivo
