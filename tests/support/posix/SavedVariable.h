#pragma once
// An environment variable a test changes, put back as it was when the test
// ends, whatever the test did to it.

#include <cstdlib>
#include <optional>
#include <string>

namespace mivo::test {

class SavedVariable {
public:
    explicit SavedVariable(const char* name) : m_name(name) {
        if (const char* value = std::getenv(name)) {
            m_value = value;
        }
    }
    ~SavedVariable() {
        if (m_value) {
            ::setenv(m_name, m_value->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_value;
};

}  // namespace mivo::test
