#pragma once
// Recording fakes of the core's ports for unit tests.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ports/ClockPort.h"
#include "ports/DownloadPort.h"
#include "ports/InstallationPort.h"
#include "ports/ProcessPort.h"
#include "ports/RandomPort.h"
#include "ports/SettingsPort.h"
#include "ports/StatePort.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"

namespace mivo::test {

class FakeClock : public ClockPort {
public:
    LocalTime time{2001, 1, 3, 9, 5, 7, 3};  // Wed Jan 03 09:05:07 2001
    std::int64_t monotonic = 1000000;
    LocalTime now() const override { return time; }
    std::int64_t monotonicMilliseconds() const override { return monotonic; }
};

// Timers that tick only when a test says so: tick() runs one at once, and
// passTime() moves a FakeClock on, firing each running timer when it is due
// the way the event loop would.
class FakeTimers : public TimerPort {
public:
    struct Timer {
        int interval = 0;
        bool enabled = false;
        std::function<void()> handler;
        std::int64_t due = 0;  // on the clock given to passTime
    };
    std::map<TimerId, Timer> timers;
    const FakeClock* clock = nullptr;  // when set, starting a timer sets its due time

    void setInterval(TimerId timer, int milliseconds) override {
        Timer& t = timers[timer];
        if (t.interval != milliseconds) {
            t.interval = milliseconds;
            restart(t);  // a new interval counts from now
        }
    }
    void setEnabled(TimerId timer, bool enabled) override {
        Timer& t = timers[timer];
        if (t.enabled != enabled) {
            t.enabled = enabled;
            restart(t);
        }
    }
    void setHandler(TimerId timer, std::function<void()> handler) override {
        timers[timer].handler = std::move(handler);
    }
    void tick(TimerId timer) { timers.at(timer).handler(); }

    // Moves `clock` on by `milliseconds`, firing `timer` whenever it is due.
    void passTime(FakeClock& movedClock, std::int64_t milliseconds, TimerId timer) {
        const std::int64_t end = movedClock.monotonic + milliseconds;
        for (;;) {
            Timer& t = timers[timer];
            if (!t.enabled || t.interval <= 0 || t.due > end) {
                break;
            }
            movedClock.monotonic = t.due;
            t.due += t.interval;  // a periodic timer counts on from its tick
            t.handler();
        }
        movedClock.monotonic = end;
    }

private:
    void restart(Timer& t) const {
        if (clock != nullptr) {
            t.due = clock->monotonic + t.interval;
        }
    }
};

// Random bytes a test chooses: `bytes` in turn, then zeros for ever.
class FakeRandom : public RandomPort {
public:
    std::vector<std::uint8_t> bytes;
    std::size_t drawn = 0;

    std::uint8_t nextByte() override {
        const std::uint8_t next = drawn < bytes.size() ? bytes[drawn] : 0;
        ++drawn;
        return next;
    }
};

// A stored text in memory: what was written, and failures on demand.
struct TextInMemory {
    StoredText stored;                        // absent until a test or a write puts a text there
    std::optional<std::string> writeFailure;  // the reason every write gives
    std::vector<std::string> writes;
    int removals = 0;

    void store(std::string text) {
        stored.state = StoredText::State::Present;
        stored.text = std::move(text);
    }
    std::optional<std::string> write(std::string_view text) {
        if (writeFailure) {
            return writeFailure;
        }
        writes.emplace_back(text);
        store(std::string(text));
        return std::nullopt;
    }
    void remove() {
        ++removals;
        stored = StoredText{};
    }
};

// A settings store in memory.
class FakeSettings : public SettingsPort, public TextInMemory {
public:
    StoredText legacyFile;
    std::optional<std::string> path = std::string("/usr/bin/mivo");
    std::string temporary = "/home/me/.cache/mivo";

    StoredText readSettings() override { return stored; }
    std::optional<std::string> writeSettings(std::string_view text) override { return write(text); }
    void removeSettings() override { remove(); }
    StoredText readLegacyFile() override { return legacyFile; }
    std::optional<std::string> programPath() override { return path; }
    std::string temporaryDirectory() override { return temporary; }
};

// The remembered state in memory, as a file would keep it between two
// programs built on the same fake.
class FakeState : public StatePort, public TextInMemory {
public:
    StoredText readState() override { return stored; }
    std::optional<std::string> writeState(std::string_view text) override { return write(text); }
    void removeState() override { remove(); }
};

// Programs that start or fail as a test says, recorded with their arguments.
class FakeProcesses : public ProcessPort {
public:
    struct Start {
        std::vector<std::string> arguments;
        std::optional<std::string> workingDirectory;
    };
    std::vector<Start> starts;
    std::vector<int> results;  // one per start in turn, then 0 for ever
    std::string browser = "\"xdg-open\" \"%1\"";
    std::function<void(const Start&)> onStart;  // run as each start is asked for
    std::set<std::string> programs;             // the names isProgram knows

    int startProgram(const std::vector<std::string>& arguments,
                     const std::optional<std::string>& workingDirectory) override {
        const std::size_t index = starts.size();
        starts.push_back({arguments, workingDirectory});
        if (onStart) {
            onStart(starts.back());
        }
        return index < results.size() ? results[index] : 0;
    }
    bool isProgram(const std::string& name) override { return programs.contains(name); }
    std::string browserCommand() override { return browser; }
};

// The user's folders as a test names them, and the removals asked for, in
// order ("file PATH" or "folder PATH"). Nothing is ever there to remove.
class FakeInstallation : public InstallationPort {
public:
    std::optional<std::string> data = std::string("/home/u/.local/share");
    std::optional<std::string> config = std::string("/home/u/.config");
    std::vector<std::string> removals;

    std::optional<std::string> dataHome() override { return data; }
    std::optional<std::string> configHome() override { return config; }
    bool removeFile(const std::string& folder, std::string_view below) override {
        removals.push_back("file " + joined(folder, below));
        return false;
    }
    bool removeEmptyDirectory(const std::string& folder, std::string_view below) override {
        removals.push_back("folder " + joined(folder, below));
        return false;
    }

private:
    static std::string joined(const std::string& folder, std::string_view below) {
        if (below.empty()) {
            return folder;
        }
        return (folder.empty() || folder.back() != '/' ? folder + "/" : folder) +
               std::string(below);
    }
};

// Downloads in memory: the files kept, by name (a test may put others there
// first), and the order of events ("start PATH", "keep PATH", "keep PATH
// synced" when it is to be on disk before it returns, "name taken PATH",
// "drop PATH") beside the other ports' records. A start fails for a
// directory in `missingDirectories`; a file's writes fail once it holds
// `diskSpace` bytes.
class FakeDownloads : public DownloadPort {
public:
    std::map<std::string, std::string> files;
    std::vector<std::string> events;
    std::vector<std::string> missingDirectories;
    std::size_t diskSpace = std::string::npos;
    std::size_t open = 0;  // files started and neither kept nor dropped

    std::unique_ptr<DownloadFile> startDownload(const std::string& path) override {
        const std::string directory = path.substr(0, path.rfind('/'));
        for (const std::string& missing : missingDirectories) {
            if (directory == missing) {
                events.push_back("cannot start " + path);
                return nullptr;
            }
        }
        events.push_back("start " + path);
        ++open;
        return std::make_unique<File>(*this, path);
    }

private:
    class File : public DownloadFile {
    public:
        File(FakeDownloads& owner, std::string path) : m_owner(owner), m_path(std::move(path)) {}
        ~File() override {
            --m_owner.open;
            if (!m_kept) {
                m_owner.events.push_back("drop " + m_path);
            }
        }
        void write(std::string_view bytes) override {
            if (m_text.size() + bytes.size() > m_owner.diskSpace) {
                m_failed = true;
                return;
            }
            m_text.append(bytes);
        }
        Kept keep(const std::string& path, bool durable) override {
            if (m_failed) {
                return Kept::Failed;
            }
            if (m_owner.files.count(path) != 0) {
                m_owner.events.push_back("name taken " + path);
                return Kept::NameTaken;
            }
            m_kept = true;
            m_owner.events.push_back("keep " + path + (durable ? " synced" : ""));
            m_owner.files[path] = m_text;
            return Kept::Yes;
        }

    private:
        FakeDownloads& m_owner;
        std::string m_path;
        std::string m_text;
        bool m_failed = false;
        bool m_kept = false;
    };
};

class FakeUi : public UiPort {
public:
    ScreenSize screen{1024, 768};
    std::vector<std::string> applicationTitles;
    std::map<WindowId, bool> visible;
    std::map<WindowId, bool> minimised;
    std::vector<std::string> calls;  // show/hide/front/tray/terminate, in order
    // A window's hide handler, run when a shown window is hidden, as the
    // window system's hide event runs it. Hiding through this port also
    // stands for the user's close box.
    std::map<WindowId, std::function<void()>> onHidden;
    // Run by minimiseApplication, as the window system tells the program it
    // was minimised.
    std::function<void()> onMinimised;
    std::function<void(int)> trayIconPressed;  // as the program set it up
    bool terminated = false;
    std::vector<ClockSegment> lastDrawing;
    int drawings = 0;
    std::vector<StripeLine> lastStripes;
    struct MessageBox {
        std::string title;
        std::string text;
    };
    std::vector<MessageBox> messageBoxes;
    int helpShown = 0;

    ScreenSize screenSize() const override { return screen; }
    void setApplicationTitle(const std::string& title) override {
        applicationTitles.push_back(title);
    }
    void showWindow(WindowId window) override {
        visible[window] = true;
        calls.push_back("show " + std::to_string(static_cast<int>(window)));
    }
    void hideWindow(WindowId window) override {
        const bool wasVisible = isWindowVisible(window);
        visible[window] = false;
        calls.push_back("hide " + std::to_string(static_cast<int>(window)));
        if (wasVisible && onHidden.count(window) != 0) {
            onHidden[window]();
        }
    }
    bool isWindowVisible(WindowId window) const override {
        auto it = visible.find(window);
        return it != visible.end() && it->second;
    }
    bool isWindowMinimised(WindowId window) const override {
        auto it = minimised.find(window);
        return it != minimised.end() && it->second;
    }
    void bringApplicationToFront() override { calls.push_back("front"); }
    void minimiseApplication() override {
        calls.push_back("minimise");
        if (onMinimised) {
            onMinimised();
        }
    }
    void restoreApplication() override { calls.push_back("restore"); }
    void showTaskbarButton() override { calls.push_back("show taskbar button"); }
    void removeTaskbarButton() override { calls.push_back("remove taskbar button"); }
    void setTrayIconHandler(std::function<void(int)> pressed) override {
        trayIconPressed = std::move(pressed);
    }
    void showTrayIcon(int identifier, const std::string& tip) override {
        calls.push_back("show tray icon " + std::to_string(identifier) + " " + tip);
    }
    void removeTrayIcon() override { calls.push_back("remove tray icon"); }
    void terminateApplication() override {
        terminated = true;
        calls.push_back("terminate");
    }
    void drawOnMainWindow(const std::vector<ClockSegment>& segments) override {
        lastDrawing = segments;
        ++drawings;
    }
    void drawOnUrgentNotice(const std::vector<StripeLine>& lines) override { lastStripes = lines; }
    void showMessageBox(const std::string& title, const std::string& text) override {
        messageBoxes.push_back({title, text});
    }
    void showHelp() override { ++helpShown; }
};

}  // namespace mivo::test
