// Compiled into GoogleTest and the Windows-side tests ahead of everything else. The win32
// thread-model language runtime of the shipped build has no std::mutex or std::condition_variable,
// of which GoogleTest makes its Notification; this one is a Win32 event, and GoogleTest takes it in
// place of its own. (NOMINMAX keeps std::numeric_limits<T>::max() in GoogleTest's headers.)
#pragma once

#define NOMINMAX
#include <windows.h>

namespace testing::internal {

class Notification {
public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace testing::internal

#define GTEST_HAS_NOTIFICATION_ 1
