#pragma once
// Records the events a transport slot raises, in a form tests compare
// directly: the event and its data, copied.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "transport/TcpTransport.h"

namespace mivo::test {

struct RecordedEvent {
    TcpEvent event = TcpEvent::Closed;
    std::string data;

    bool operator==(const RecordedEvent&) const = default;
};

inline RecordedEvent Connected() {
    return {TcpEvent::Connected, ""};
}
inline RecordedEvent Line(const std::string& text) {
    return {TcpEvent::Line, text};
}
inline RecordedEvent Closed() {
    return {TcpEvent::Closed, ""};
}
inline RecordedEvent ClosedWith(const std::string& text) {
    return {TcpEvent::Closed, text};
}

inline const char* nameOf(TcpEvent event) {
    switch (event) {
        case TcpEvent::Connected:
            return "Connected";
        case TcpEvent::Line:
            return "Line";
        case TcpEvent::Closed:
            return "Closed";
        case TcpEvent::Bytes:
            return "Bytes";
    }
    return "?";
}

inline void PrintTo(const RecordedEvent& recorded, std::ostream* out) {
    *out << nameOf(recorded.event) << "(\"" << recorded.data << "\")";
}

// A handler that appends every event to `events`.
inline TcpEventHandler recordInto(std::vector<RecordedEvent>& events) {
    return [&events](TcpEvent event, std::string_view data) {
        events.push_back({event, std::string(data)});
        return std::size_t{0};
    };
}

}  // namespace mivo::test
