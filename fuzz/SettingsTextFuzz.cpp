// Loads arbitrary bytes as the stored settings text (or, when the first byte
// says so, as the old settings file) into a whole program on fake ports, and
// checks what must hold for any input: no crash, a saved text is always the
// full key table, and loading a saved text and saving it again gives the
// same text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FakeProgramPorts.h"
#include "app/Program.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::size_t lineCount(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    return lines;
}

// Loads `stored` (or the old file) in a fresh program and returns what its
// first save writes.
std::string loadThenSave(std::string_view stored, bool asOldFile) {
    mivo::test::FakeProgramPorts fakes;
    mivo::test::FakeSettings& settings = fakes.settings;
    mivo::StoredText& target = asOldFile ? settings.legacyFile : settings.stored;
    target.state = mivo::StoredText::State::Present;
    target.text = std::string(stored);
    mivo::Program program(fakes.ports());
    program.startUp();
    // A change, so that even a text equal to the stored one is written.
    program.mainWindowModel().uniqueFile += 1;
    program.saveSettings();
    program.mainWindowModel().uniqueFile -= 1;
    program.saveSettings();
    check(!settings.writes.empty());
    return settings.stored.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string saved = loadThenSave(input, data[0] % 2 == 1);
    check(lineCount(saved) == 67);
    check(saved.rfind("EXENAME=", 0) == 0);
    check(loadThenSave(saved, false) == saved);
    return 0;
}
