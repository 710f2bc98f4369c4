// Drives the modal dialogs of the test's own thread from a thread timer, which every modal loop
// (dialog or message box) dispatches. Each step runs on a tick: it waits for the dialog with its
// caption, then acts on it. Actions that may open a box post, so no modal loop runs in a tick.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace page_test {

inline std::string WindowText(HWND window) {
    char text[8192] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// Enumeration callback of FindDialog: a named function, since only it gets the system's calling
// convention on 32-bit Windows.
inline BOOL CALLBACK MatchDialog(HWND window, LPARAM data) {
    auto* wanted = reinterpret_cast<std::pair<std::string, HWND>*>(data);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(window) &&
        WindowText(window) == wanted->first) {
        wanted->second = window;
    }
    return TRUE;
}

// The visible dialog or message box of this thread with the caption.
inline HWND FindDialog(const std::string& caption) {
    std::pair<std::string, HWND> search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

inline void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, id, 0); }

struct Step {
    std::string caption;
    std::function<void(HWND)> action;
};

class Driver {
public:
    explicit Driver(std::vector<Step> steps) : steps_(std::move(steps)) {
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 20, Tick);
    }
    ~Driver() {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }
    bool Done() const { return next_ == steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Driver* self = active_;
        if (self == nullptr || self->Done()) return;
        const Step& step = self->steps_[self->next_];
        if (HWND dialog = FindDialog(step.caption)) {
            ++self->next_;
            self->waited_ = 0;
            step.action(dialog);
        } else if (++self->waited_ > 500) {
            // A guard against a hang, not a limit on the behaviour: the test fails either way.
            ADD_FAILURE() << "no dialog \"" << step.caption << "\" appeared";
            self->next_ = self->steps_.size();
            PostQuitMessage(0);
        }
    }

    static inline Driver* active_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int waited_ = 0;
    UINT_PTR timer_ = 0;
};

}  // namespace page_test
