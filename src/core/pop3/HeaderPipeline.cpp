#include "pop3/HeaderPipeline.h"

#include <algorithm>
#include <cctype>

namespace mivo {

namespace {

// Capability names are not case-sensitive; a capability's parameters, if
// any, follow its name after a blank.
bool namesPipelining(std::string_view line) {
    constexpr std::string_view kPipelining = "PIPELINING";
    const std::string_view name = line.substr(0, line.find(' '));
    return name.size() == kPipelining.size() &&
           std::equal(name.begin(), name.end(), kPipelining.begin(), [](char a, char upper) {
               return std::toupper(static_cast<unsigned char>(a)) == upper;
           });
}

}  // namespace

std::string topCommand(std::int64_t number) {
    return "TOP " + std::to_string(number) + " 0\r\n";
}

void HeaderPipeline::reset() {
    m_next = nullptr;
    m_unanswered.clear();
    m_capabilitiesBegun = false;
    m_pipeliningOffered = false;
    m_answersToSkip = 0;
    m_insideSkippedAnswer = false;
}

void HeaderPipeline::askCapabilities() {
    m_capabilitiesBegun = false;
    m_pipeliningOffered = false;
    m_send("CAPA\r\n");
}

bool HeaderPipeline::capabilityLine(std::string_view line) {
    if (!m_capabilitiesBegun) {
        // Anything but "+OK" is a server that does not know CAPA.
        m_capabilitiesBegun = line.substr(0, 3) == "+OK";
        return !m_capabilitiesBegun;
    }
    if (line == ".") {
        return true;
    }
    m_pipeliningOffered = m_pipeliningOffered || namesPipelining(line);
    return false;
}

void HeaderPipeline::startIfOffered(NextNumber next) {
    if (m_pipeliningOffered) {
        m_next = std::move(next);
    }
}

void HeaderPipeline::request(std::int64_t number) {
    std::string commands;
    if (!sendsAhead()) {
        commands = topCommand(number);
    } else {
        while (!m_unanswered.empty() && m_unanswered.front() != number) {
            m_unanswered.pop_front();
        }
        fill(commands);
    }
    // Also when nothing is sent: the answer is awaited from now on, as it
    // would be once its command went out one at a time.
    m_send(commands);
}

void HeaderPipeline::fill(std::string& commands) {
    while (m_unanswered.size() < kMaxCommands) {
        const std::optional<std::int64_t> number = m_next();
        if (!number) {
            return;
        }
        m_unanswered.push_back(*number);
        commands += topCommand(*number);
    }
}

void HeaderPipeline::abandon() {
    m_answersToSkip = m_unanswered.empty() ? 0 : m_unanswered.size() - 1;
    m_insideSkippedAnswer = false;
    m_next = nullptr;
    m_unanswered.clear();
}

bool HeaderPipeline::skips(std::string_view line) {
    if (m_answersToSkip == 0) {
        return false;
    }
    if (m_insideSkippedAnswer) {
        m_insideSkippedAnswer = line != ".";
    } else {
        // A refusal is one line; anything else runs to its ".".
        m_insideSkippedAnswer = line.substr(0, 1) != "-";
    }
    if (!m_insideSkippedAnswer) {
        m_answersToSkip -= 1;
    }
    return true;
}

}  // namespace mivo
