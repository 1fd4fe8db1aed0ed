#pragma once
// Records the events a transport slot raises, in a form tests compare
// directly: (code, data copied by its length, length, whether data was null).

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "transport/TcpTransport.h"

namespace mivo::test {

struct TcpEvent {
    int event = -1;
    bool hasData = false;
    std::string data;
    int length = 0;

    bool operator==(const TcpEvent&) const = default;
};

inline TcpEvent Connected() {
    return {TcpConnected, false, "", 1};
}
inline TcpEvent Line(const std::string& text) {
    return {TcpLine, true, text, static_cast<int>(text.size())};
}
inline TcpEvent Closed() {
    return {TcpClosed, false, "", 0};
}
inline TcpEvent ClosedWith(const std::string& text) {
    return {TcpClosed, true, text, static_cast<int>(text.size())};
}

inline void PrintTo(const TcpEvent& event, std::ostream* out) {
    *out << "{" << event.event << ", " << (event.hasData ? "\"" + event.data + "\"" : "null")
         << ", " << event.length << "}";
}

// A handler that appends every event to `events`. Data must be
// NUL-terminated right after its length, as handlers are promised.
inline TcpEventHandler recordInto(std::vector<TcpEvent>& events) {
    return [&events](int event, const char* data, int length) {
        TcpEvent record{event, data != nullptr, "", length};
        if (data != nullptr) {
            record.data.assign(data, static_cast<std::size_t>(length));
            if (data[length] != '\0') {
                record.data += "<not NUL-terminated>";
            }
        }
        events.push_back(record);
        return 0;
    };
}

}  // namespace mivo::test
