// Compiled into GoogleTest and the Windows-side tests ahead of everything else. The win32
// thread-model runtime of the shipped build has no std::mutex or std::condition_variable, of
// which GoogleTest makes its Notification; this one is a Win32 event, and GoogleTest takes it in
// place of its own.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX  // std::numeric_limits<T>::max() in GoogleTest's headers
#endif
#include <windows.h>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace internal
}  // namespace testing

#define GTEST_HAS_NOTIFICATION_ 1
