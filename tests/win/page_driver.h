// Drives the modal dialogs of the test's own thread from a thread timer, which every modal loop
// (dialog or message box) dispatches. Each step runs on a tick and returns true once it has
// done its part; a step that waits for a window returns false and is tried again.
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

// The visible dialogs and message boxes of this thread.
inline std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) == "#32770" && IsWindowVisible(window)) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

inline HWND FindDialog(const std::string& caption) {
    for (HWND window : ThreadDialogs()) {
        if (WindowText(window) == caption) return window;
    }
    return nullptr;
}

// Posted, so that a confirmation box it may open runs outside the tick.
inline void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline void PressKey(HWND target, WPARAM key) { PostMessageA(target, WM_KEYDOWN, key, 0); }

class Driver {
public:
    using Step = std::function<bool()>;

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
        if (self == nullptr || self->busy_ || self->Done()) return;
        self->busy_ = true;
        if (self->steps_[self->next_]()) {
            ++self->next_;
            self->waited_ = 0;
        } else if (++self->waited_ > 500) {
            // A hang guard, not a time limit on the behaviour: end whatever is open.
            ADD_FAILURE() << "step " << self->next_ << " never came to pass";
            self->next_ = self->steps_.size();
            for (HWND window : ThreadDialogs()) EndDialog(window, 0);
        }
        self->busy_ = false;
    }

    static inline Driver* active_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int waited_ = 0;
    bool busy_ = false;
    UINT_PTR timer_ = 0;
};

// A step that waits for the dialog with the caption and then acts on it.
inline Driver::Step OnDialog(const std::string& caption, std::function<void(HWND)> action) {
    return [caption, action]() {
        HWND dialog = FindDialog(caption);
        if (dialog == nullptr) return false;
        action(dialog);
        return true;
    };
}

}  // namespace page_test
