// The robot: starts the setup program inside Wine and acts as its user, following a step file.
// It knows a few primitives only (find a window, read its controls, press, click, take a
// picture, hold the program still, the registry); what a run must look like is in the steps.
//
//   robot.exe <log file> <channel folder> <step file>
//
// The log has one line per event, starting with the milliseconds since the robot started: every
// window found ("window"), the failure ("FAILED") and the verdict, last ("end ok" / "end FAILED").
// Requests only the host can serve (a disk change, a screenshot, anything a scenario defines) go
// through the channel folder: the robot writes req.<n> and waits for ack.<n>, whose first word
// is "ok" or the reason of a failure.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;
using std::to_string;

FILE* g_log;
std::string g_channel, g_caption;
int g_requests;
PROCESS_INFORMATION g_setup, g_first;  // the copy the steps look at; the first while "also" runs
bool g_started;
HWND g_current;
ULONGLONG g_start;

[[noreturn]] void Fail(const std::string& why) { throw std::runtime_error(why); }

// One line an event; line breaks in a text are written as the steps write them.
void Log(std::string text) {
    for (size_t i; (i = text.find_first_of("\r\n")) != std::string::npos;) {
        text.replace(i, 1, text[i] == '\r' ? "\\r" : "\\n");
    }
    std::fprintf(g_log, "%llu %s\n", GetTickCount64() - g_start, text.c_str());
    std::fflush(g_log);
}

// One step a line, words split at blanks; "quoted words" keep blanks and take the escapes \r \n
// \t \\ \". A line whose first word starts with # is a comment (elsewhere # is a character, as
// in the class name #32770). Anything else is refused: a misread step would check less.
const char* SplitWords(const std::string& line, Words* words) {
    static const std::string kEscapes = "rnt\\\"", kMeanings = "\r\n\t\\\"";
    for (size_t i = 0, n = line.size();;) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n || (line[i] == '#' && words->empty())) return nullptr;
        std::string word;
        while (i < n && line[i] != ' ' && line[i] != '\t') {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            for (++i; i < n && line[i] != '"'; ++i) {
                if (line[i] != '\\') {
                    word += line[i];
                    continue;
                }
                size_t k = ++i < n ? kEscapes.find(line[i]) : std::string::npos;
                if (k == std::string::npos) return "bad escape";
                word += kMeanings[k];
            }
            if (i++ >= n) return "unterminated quote";
        }
        words->push_back(word);
    }
}

long long Number(const Words& s, size_t i, long long fallback = -1) {
    if (i >= s.size() && fallback >= 0) return fallback;
    char* end = nullptr;
    long long v = std::strtoll(s.at(i).c_str(), &end, 0);
    if (end == s[i].c_str() || *end != '\0') Fail("number expected, not " + s[i]);
    return v;
}

// --- windows ----------------------------------------------------------------------------------

std::string ClassOf(HWND h) {
    char buf[256] = "";
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

// Edit controls keep their text to themselves, so it must be asked for; a thread that does not
// answer (busy splitting files) must not hang the robot.
std::string TextOf(HWND h) {
    std::vector<char> buf(65536, '\0');
    DWORD_PTR n = 0;
    if (_stricmp(ClassOf(h).c_str(), "Edit") != 0 ||
        !SendMessageTimeoutA(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                             SMTO_ABORTIFHUNG, 3000, &n)) {
        n = GetWindowTextA(h, buf.data(), static_cast<int>(buf.size()));
    }
    return std::string(buf.data(), n);
}

// Dialog ids are 16-bit, so -1 and 65535 are the same control.
int IdOf(HWND h) { return static_cast<int>(GetWindowLongPtrA(h, GWLP_ID) & 0xFFFF); }

bool Running() { return g_started && WaitForSingleObject(g_setup.hProcess, 0) == WAIT_TIMEOUT; }

DWORD ExitCode() {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(g_setup.hProcess, &code);
    return code;
}

// An enumeration callback is a named function: only it gets the system's calling convention on
// 32-bit Windows. With a process id, it keeps that process's visible windows.
struct Found {
    DWORD pid;
    std::vector<HWND> list;
};
BOOL CALLBACK Collect(HWND h, LPARAM lp) {
    auto* found = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (found->pid == 0 || (pid == found->pid && IsWindowVisible(h))) found->list.push_back(h);
    return TRUE;
}

// The children of a window, or without one the setup program's visible top-level windows.
std::vector<HWND> Windows(HWND parent = nullptr) {
    Found found{parent ? 0 : g_setup.dwProcessId, {}};
    if (parent) EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&found));
    if (!parent && g_started) EnumWindows(Collect, reinterpret_cast<LPARAM>(&found));
    return found.list;
}

HWND Control(HWND dialog, long long id) {
    for (HWND h : Windows(dialog)) {
        if (GetParent(h) == dialog && IdOf(h) == static_cast<int>(id & 0xFFFF)) return h;
    }
    return nullptr;
}

HWND Focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(g_setup.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

std::string Rect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return to_string(r.left) + "," + to_string(r.top) + "," + to_string(r.right) + "," +
           to_string(r.bottom);
}

// One line: the caption, the owner's class, the screen and client rectangles, every control.
void LogWindow(const char* event, HWND h) {
    HWND owner = GetWindow(h, GW_OWNER);
    RECT client{};
    GetClientRect(h, &client);
    std::string line = std::string(event) + " \"" + TextOf(h) + "\" owner " +
                       (owner ? ClassOf(owner) : "none") + " rect " + Rect(h) + " client " +
                       to_string(client.right) + "," + to_string(client.bottom);
    for (HWND c : Windows(h)) {
        line += " | " + to_string(IdOf(c)) + " " + ClassOf(c) + " " + Rect(c) + " \"" +
                TextOf(c).substr(0, 300) + "\"";
    }
    Log(line);
}

// Waits until the setup program's thread has handled everything sent before, twice, so that a
// page that has just appeared has also been painted.
void Sync() {
    std::vector<HWND> windows = Windows();
    for (int i = 0; i < 2 && Running() && !windows.empty(); ++i) {
        DWORD_PTR r = 0;
        SendMessageTimeoutA(windows[0], WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &r);
        Sleep(50);
    }
    Sleep(100);
}

// A condition on a dialog: <id>=<text> (a control's text), <id>~<part> (contained in it),
// owner=<class|none>, focus=<id>, centred (where half the screen minus half the window puts it).
bool Holds(HWND h, const std::string& condition) {
    size_t at = condition.find_first_of("=~");
    std::string key = condition.substr(0, at), want = condition.substr(at + 1);
    HWND owner = GetWindow(h, GW_OWNER), focus = Focus(), control = nullptr;
    RECT r{};
    if (key == "owner") return (owner ? ClassOf(owner) : "none") == want;
    if (key == "alone") return Windows().size() == 1;  // no other visible window of the program
    if (key == "focus") return focus && GetParent(focus) == h && to_string(IdOf(focus)) == want;
    if (key == "centred" && GetWindowRect(h, &r)) {
        return r.left == GetSystemMetrics(SM_CXSCREEN) / 2 - (r.right - r.left) / 2 &&
               r.top == GetSystemMetrics(SM_CYSCREEN) / 2 - (r.bottom - r.top) / 2;
    }
    if (at == std::string::npos ||
        (control = Control(h, std::strtoll(key.c_str(), nullptr, 0))) == nullptr) {
        return false;
    }
    std::string text = TextOf(control);
    return condition[at] == '=' ? text == want
                                : !want.empty() && text.find(want) != std::string::npos;
}

// A visible dialog of the setup program with this caption that holds these conditions.
HWND FindDialog(const std::string& caption, const Words& conditions = {}) {
    for (HWND h : Windows()) {
        bool match = ClassOf(h) == "#32770" && TextOf(h) == caption;
        for (size_t i = 0; match && i < conditions.size(); ++i) match = Holds(h, conditions[i]);
        if (match) return h;
    }
    return nullptr;
}

HWND Current() {
    if (g_current == nullptr || !IsWindow(g_current)) Fail("no window \"" + g_caption + "\"");
    return g_current;
}

HWND CurrentControl(const Words& s) {
    HWND c = Control(Current(), Number(s, 1));
    if (c == nullptr) Fail("no control " + s[1] + " in \"" + g_caption + "\"");
    return c;
}

// --- steps ------------------------------------------------------------------------------------

// start [command line]: A:\SETUP.EXE unless another is given, once the last run has ended.
// also [command line]: a second copy while the first runs; the steps look at it until "back".
void DoStart(const Words& s) {
    bool also = s[0] == "also";
    if (Running() != also) Fail(also ? "no first copy runs" : "the setup program is still running");
    if (also) g_first = g_setup;
    std::string command = s.size() > 1 ? s[1] : "A:\\SETUP.EXE";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &g_setup)) {
        Fail("cannot start " + command + ": error " + to_string(GetLastError()));
    }
    g_started = true;
    g_current = nullptr;
    WaitForInputIdle(g_setup.hProcess, 10000);
}

// wait <caption> [ms] [<condition>]... [!<caption that must not come first>]...: the dialog
// holding every condition becomes the current window. An "Application Error" ends any wait for
// something else at once.
void DoWait(const Words& s) {
    g_caption = s.at(1);
    long long ms = 20000;
    Words conditions, forbidden{"Application Error"};
    for (size_t i = 2; i < s.size(); ++i) {
        if (s[i][0] == '!') {
            forbidden.push_back(s[i].substr(1));
        } else if (s[i].find_first_not_of("0123456789") != std::string::npos) {
            conditions.push_back(s[i]);
        } else {
            ms = Number(s, i);
        }
    }
    for (ULONGLONG deadline = GetTickCount64() + ms;; Sleep(5)) {
        if ((g_current = FindDialog(g_caption, conditions)) != nullptr) {
            Sync();
            // A progress page may be over by now; it was seen, which is what the wait is for.
            return IsWindow(g_current) ? LogWindow("window", g_current)
                                       : Log("window \"" + g_caption + "\" gone");
        }
        for (const std::string& other : forbidden) {
            HWND h = other != g_caption ? FindDialog(other) : nullptr;
            if (h != nullptr) LogWindow("window", h), Fail("\"" + other + "\" came instead");
        }
        if (!Running()) Fail("the setup program ended with " + to_string(ExitCode()));
        if (GetTickCount64() > deadline) Fail("no such window within " + to_string(ms) + " ms");
    }
}

void Post(HWND h, UINT message, WPARAM wp, LPARAM lp) {
    if (!PostMessageA(h, message, wp, lp)) Fail("cannot post: error " + to_string(GetLastError()));
}

// key esc|enter: to the control that has the focus.
void DoKey(const Words& s) {
    WPARAM vk = s.at(1) == "esc" ? VK_ESCAPE : s[1] == "enter" ? VK_RETURN : 0;
    LPARAM scan = (vk == VK_ESCAPE ? 0x01 : 0x1C) << 16;
    if (vk == 0 || Focus() == nullptr) Fail("unknown key or no focus");
    Post(Focus(), WM_KEYDOWN, vk, 1 | scan);
    Post(Focus(), WM_KEYUP, vk, 1 | scan | (LPARAM(3) << 30));
}

// gone [ms]: the current window disappears; stays <ms> [<condition>]...: it is still there
// after ms, holding the conditions.
void DoGoneOrStays(const Words& s) {
    // A window closed before "gone" is looked at is gone, not missing.
    HWND h = s[0] == "gone" && g_current ? g_current : Current();
    if (s[0] == "stays") {
        Sleep(static_cast<DWORD>(Number(s, 1)));
        Sync();
        for (size_t i = 2; i < s.size(); ++i) {
            if (!Holds(h, s[i])) Fail(s[i] + " does not hold");
        }
        if (!IsWindowVisible(h) || TextOf(h) != g_caption) Fail("\"" + g_caption + "\" left");
        return LogWindow("window", h);
    }
    for (ULONGLONG end = GetTickCount64() + Number(s, 1, 20000); IsWindowVisible(h); Sleep(5)) {
        if (GetTickCount64() > end) Fail("\"" + g_caption + "\" is still open");
    }
    g_current = nullptr;
}

// Asks the host to do something and waits for its answer.
void Request(const std::string& what) {
    std::string n = to_string(++g_requests), req = g_channel + "\\req." + n;
    FILE* f = std::fopen((req + ".tmp").c_str(), "wb");
    if (f == nullptr || std::fputs(what.c_str(), f) < 0 || std::fclose(f) != 0 ||
        !MoveFileA((req + ".tmp").c_str(), req.c_str())) {
        Fail("cannot write " + req);
    }
    Log("request " + what);
    for (ULONGLONG end = GetTickCount64() + 60000;
         (f = std::fopen((g_channel + "\\ack." + n).c_str(), "rb")) == nullptr; Sleep(5)) {
        if (GetTickCount64() > end) Fail("the host did not answer request " + n);
    }
    char answer[1024] = "";
    answer[std::fread(answer, 1, sizeof answer - 1, f)] = '\0';
    std::fclose(f);
    if (std::string(answer).compare(0, 2, "ok") != 0)
        Fail(std::string("the host could not: ") + answer);
}

// NtSuspendProcess or NtResumeProcess on the setup program: every thread of it.
void HoldSetup(const char* call) {
    using ProcessCall = LONG(WINAPI*)(HANDLE);
    auto f = reinterpret_cast<ProcessCall>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), call)));
    if (f == nullptr || f(g_setup.hProcess) != 0) Fail(std::string(call) + " failed");
}

// hold <shot> [<file> <bytes>]: the setup program held still for a screenshot (a page shown
// only for a moment stays drawn), at once or once the file has grown to the bytes (within
// 30 s); the log gets the file's length at the picture. It comes straight after what found the
// page: a further pause could outlast it.
void DoHold(const Words& s) {
    WIN32_FILE_ATTRIBUTE_DATA file{};
    long long bytes = Number(s, 3, 0);
    for (ULONGLONG end = GetTickCount64() + 30000; bytes > 0; Sleep(1)) {
        file.nFileSizeLow = 0;
        GetFileAttributesExA(s[2].c_str(), GetFileExInfoStandard, &file);
        if (file.nFileSizeLow >= bytes) break;
        if (GetTickCount64() > end || !Running()) Fail(s[2] + " never held the bytes");
    }
    if (!Running()) Fail("the setup program ended before the screenshot");
    HoldSetup("NtSuspendProcess");
    if (bytes > 0) GetFileAttributesExA(s[2].c_str(), GetFileExInfoStandard, &file);
    Log("held " + s.at(1) + " " + to_string(file.nFileSizeLow));
    try {
        Request("shot " + s[1]);
    } catch (...) {
        HoldSetup("NtResumeProcess");
        throw;
    }
    HoldSetup("NtResumeProcess");
}

// exit <code|any> [ms]: the setup program ends (within ms) with that exit code.
void DoExit(const Words& s) {
    for (ULONGLONG end = GetTickCount64() + Number(s, 2, 20000); Running(); Sleep(5)) {
        if (GetTickCount64() > end) Fail("the setup program is still running");
    }
    Log("exit " + to_string(ExitCode()));
    if (!g_started || (s.at(1) != "any" && ExitCode() != DWORD(Number(s, 1)))) Fail("exit code");
}

// regset <root> <key> <value> <text>: a text value as an earlier installation would leave it.
// reg <root> <key> <value> <text|-absent|*>: what it holds now (* takes any text, logged).
void DoRegistry(const Words& s) {
    HKEY root = s.at(1) == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const std::string &key = s.at(2), &value = s.at(3), &want = s.at(4);
    if (s[0] == "regset") {
        if (RegSetKeyValueA(root, key.c_str(), value.c_str(), REG_SZ, want.c_str(),
                            static_cast<DWORD>(want.size() + 1)) != ERROR_SUCCESS) {
            Fail("cannot write " + value);
        }
        return;
    }
    char buf[4096];
    DWORD size = sizeof buf;
    LONG r = RegGetValueA(root, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, buf, &size);
    std::string seen = r == ERROR_SUCCESS          ? buf
                       : r == ERROR_FILE_NOT_FOUND ? "-absent"
                                                   : "-unreadable " + to_string(r);
    Log("registry " + key + " " + value + " = " + seen);
    if (want != "*" ? seen != want : seen[0] == '-') Fail(value + " holds " + seen);
}

void RunStep(const Words& s) {
    const std::string& v = s[0];
    if (v == "start" || v == "also") return DoStart(s);
    if (v == "back" && g_first.hProcess == nullptr) Fail("no first copy");
    if (v == "back") return void((g_setup = g_first, g_first = {}, g_current = nullptr));
    if (v == "wait") return DoWait(s);
    if (v == "click") return Post(CurrentControl(s), BM_CLICK, 0, 0);
    if (v == "command") return Post(Current(), WM_COMMAND, Number(s, 1) & 0xFFFF, 0);
    if (v == "close") return Post(Current(), WM_SYSCOMMAND, SC_CLOSE, 0);
    if (v == "key") return DoKey(s);
    if (v == "gone" || v == "stays") return DoGoneOrStays(s);
    if (v == "hold") return DoHold(s);
    if (v == "exit") return DoExit(s);
    if (v == "reg" || v == "regset") return DoRegistry(s);
    if (v == "sleep") return Sleep(static_cast<DWORD>(Number(s, 1)));
    DWORD_PTR r = 0;
    if (v == "set" && !SendMessageTimeoutA(CurrentControl(s), WM_SETTEXT, 0,
                                           reinterpret_cast<LPARAM>(s.at(2).c_str()),
                                           SMTO_ABORTIFHUNG, 5000, &r)) {
        Fail("the control did not take the text");
    }
    if (v == "quit" && !PostThreadMessageA(g_setup.dwThreadId, WM_QUIT, 0, 0)) Fail("no quit");
    if (v == "set" || v == "quit") return;
    if (v != "host" && v != "shot") Fail("unknown step");
    // host <words>: a request; shot <name>: a screenshot, once the page has painted.
    std::string what = v == "shot" ? "shot " + s.at(1) : s.at(1);
    for (size_t i = 2; v == "host" && i < s.size(); ++i) what += " " + s[i];
    if (v == "shot") Sync();
    Request(what);
}

}  // namespace

int main(int argc, char** argv) {
    g_start = GetTickCount64();
    FILE* f = argc == 4 ? std::fopen(argv[3], "rb") : nullptr;
    if (f == nullptr || (g_log = std::fopen(argv[1], "wb")) == nullptr) return 2;
    g_channel = argv[2];
    std::vector<std::pair<std::string, Words>> steps;
    char buf[8192];
    for (int line = 1; std::fgets(buf, sizeof buf, f); ++line) {
        std::string raw = buf;
        raw.erase(raw.find_last_not_of("\r\n") + 1);
        Words words;
        if (const char* error = SplitWords(raw, &words)) {
            Log("FAILED line " + to_string(line) + ": " + raw + ": " + error);
            return Log("end FAILED"), 2;
        }
        if (!words.empty()) steps.push_back({to_string(line) + ": " + raw, words});
    }
    for (const auto& step : steps) {
        Log("step " + step.first);
        try {
            RunStep(step.second);
        } catch (const std::exception& e) {
            Log("FAILED line " + step.first + ": " + e.what());
            // What came next tells more than what was there at the moment of the failure.
            Sleep(1000);
            Log(Running() ? "still running" : "ended with " + to_string(ExitCode()));
            for (HWND h : Windows()) LogWindow("seen", h);
            return Log("end FAILED"), 1;
        }
    }
    return Log("end ok"), 0;
}
