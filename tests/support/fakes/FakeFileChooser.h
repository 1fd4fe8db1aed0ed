#pragma once
// A file dialog the test answers: what each Browse asked, and the name the
// "user" picks (nothing for Cancel).

#include <optional>
#include <string>
#include <vector>

#include "ports/FileChooserPort.h"

namespace mivo::test {

class FakeFileChooser : public FileChooserPort {
public:
    struct Asked {
        std::string title;
        std::string filterName;
        bool executablesOnly = false;
        std::string fileName;
    };
    std::vector<Asked> asked;
    std::optional<std::string> answer;

    std::optional<std::string> chooseFile(const FileDialog& dialog,
                                          const std::string& fileName) override {
        asked.push_back({std::string(dialog.title), std::string(dialog.filterName),
                         dialog.executablesOnly, fileName});
        return answer;
    }
};

}  // namespace mivo::test
