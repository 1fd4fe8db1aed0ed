#pragma once
// A value held by a window control. Setting it from code runs its change
// handlers exactly as a user edit would, which several behaviours rely on.

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace mivo {

template <typename Value>
class Field {
public:
    using Listener = std::function<void()>;

    Field() = default;
    explicit Field(Value initial) : m_value(std::move(initial)) {}
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    const Value& get() const { return m_value; }

    // Stores the value and, when it changed, runs every handler in the order
    // they were added. Handlers may set this field again (nested).
    void set(const Value& value) {
        if (value == m_value) {
            return;
        }
        // Copied into the storage held already: a text set again and again
        // (a stage line, a caption) does not allocate each time.
        m_value = value;
        notify();
    }
    void set(Value&& value) {
        if (value == m_value) {
            return;
        }
        m_value = std::move(value);
        notify();
    }

    // Changes the value in place, for memos that grow line by line, and runs
    // the handlers. Only for changes that always alter the value.
    template <typename Change>
    void edit(Change&& change) {
        change(m_value);
        notify();
    }

    // Handlers are added while the windows are built, never from a handler.
    void onChange(Listener listener) { m_listeners.push_back(std::move(listener)); }

private:
    void notify() {
        for (std::size_t i = 0; i < m_listeners.size(); ++i) {
            m_listeners[i]();
        }
    }

    Value m_value{};
    std::vector<Listener> m_listeners;
};

// An edit or memo.
using TextField = Field<std::string>;
// A check box; set() runs the click handlers.
using CheckField = Field<bool>;
// The selected entry of a drop-down list (-1 for none).
struct ListField {
    std::vector<std::string> items;
    Field<int> itemIndex{-1};
};

}  // namespace mivo
