// The robot: starts the setup program inside Wine and acts as its user, following a step script.
// Everything it sees goes to a log, one JSON object a line; the harness reads the log and the
// robot's verdict (the last line, "end").
//
//   robot.exe <log file> <channel folder> <step file>
//
// Requests that only the host can serve (changing the disk in drive A:, taking a screenshot,
// anything a scenario defines) go through the channel folder: the robot writes req.<n> and
// waits for ack.<n>, whose first word is "ok" or the reason of a failure.
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "robot_script.h"

namespace robot {
namespace {

const int kDefaultWaitMs = 20000;
const int kPollMs = 5;
const char kErrorCaption[] = "Application Error";

struct Robot {
    FILE* log = nullptr;
    std::string channel;
    int requests = 0;
    PROCESS_INFORMATION setup{};
    bool started = false;
    HWND current = nullptr;
    std::string currentCaption;
    ULONGLONG startTick = 0;
};

Robot g;

struct StepFailed {
    std::string message;
};

[[noreturn]] void Fail(const char* format, ...) {
    char buf[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    throw StepFailed{buf};
}

long long Now() { return static_cast<long long>(GetTickCount64() - g.startTick); }

void Emit(const std::string& body) {
    std::string line = "{\"t\":" + std::to_string(Now()) + "," + body + "}\n";
    std::fputs(line.c_str(), g.log);
    std::fflush(g.log);
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

std::string Hex(const void* p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "\"0x%llx\"",
                  static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(p)));
    return buf;
}

std::string ClassOf(HWND h) {
    char buf[256] = "";
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

std::string CaptionOf(HWND h) {
    char buf[1024] = "";
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

// Edit controls keep their text to themselves, so it must be asked for; a thread that does not
// answer (busy splitting files) must not hang the robot.
std::string ControlText(HWND h) {
    if (_stricmp(ClassOf(h).c_str(), "Edit") == 0) {
        std::vector<char> buf(65536, '\0');
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutA(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                                SMTO_ABORTIFHUNG, 3000, &copied)) {
            return std::string(buf.data(), copied);
        }
    }
    return CaptionOf(h);
}

int ControlId(HWND h) { return static_cast<int>(GetWindowLongPtrA(h, GWLP_ID) & 0xFFFF); }

std::string RectJson(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

bool Running() { return g.started && WaitForSingleObject(g.setup.hProcess, 0) == WAIT_TIMEOUT; }

DWORD ExitCode() {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(g.setup.hProcess, &code);
    return code;
}

// Enumeration callbacks are named functions: only they get the system's calling convention on
// 32-bit Windows.
struct WindowSearch {
    DWORD pid;
    std::vector<HWND>* out;
};

BOOL CALLBACK CollectProcessWindow(HWND h, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == search->pid && IsWindowVisible(h)) search->out->push_back(h);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

// Top-level windows of the setup process, visible ones only.
std::vector<HWND> SetupWindows() {
    std::vector<HWND> found;
    if (!g.started) return found;
    WindowSearch search{g.setup.dwProcessId, &found};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return found;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> kids;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&kids));
    return kids;
}

// A control by id; dialog ids are 16-bit, so -1 and 65535 are the same control.
HWND Control(HWND dialog, long long id) {
    for (HWND h : Children(dialog)) {
        if (GetParent(h) == dialog && ControlId(h) == static_cast<int>(id & 0xFFFF)) return h;
    }
    return nullptr;
}

HWND FocusWindow() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(g.setup.dwThreadId, &info)) return nullptr;
    return info.hwndFocus;
}

int FocusId(HWND dialog) {
    HWND f = FocusWindow();
    if (f == nullptr) return 0;
    if (f == dialog) return -2;  // the window itself, no control
    if (GetParent(f) != dialog) return -3;
    return ControlId(f);
}

void EmitWindow(const char* event, HWND h) {
    HWND owner = GetWindow(h, GW_OWNER);
    std::string body = std::string("\"ev\":\"") + event + "\",\"hwnd\":" + Hex(h) +
                       ",\"class\":" + JsonString(ClassOf(h)) +
                       ",\"caption\":" + JsonString(CaptionOf(h)) + ",\"rect\":" + RectJson(h) +
                       ",\"owner\":" + JsonString(owner ? ClassOf(owner) : "none") +
                       ",\"focus\":" + std::to_string(FocusId(h)) + ",\"controls\":[";
    bool first = true;
    for (HWND c : Children(h)) {
        if (!first) body += ",";
        first = false;
        char style[16];
        std::snprintf(style, sizeof style, "\"0x%08lx\"",
                      static_cast<unsigned long>(GetWindowLongPtrA(c, GWL_STYLE)));
        body += "{\"id\":" + std::to_string(ControlId(c)) + ",\"class\":" + JsonString(ClassOf(c)) +
                ",\"text\":" + JsonString(ControlText(c)) + ",\"rect\":" + RectJson(c) +
                ",\"style\":" + style + ",\"visible\":" + (IsWindowVisible(c) ? "1" : "0") + "}";
    }
    Emit(body + "]");
}

// Waits until the setup program's thread has handled everything sent before, twice, so that a
// page that has just appeared has also been painted.
void Sync() {
    if (!Running()) return;
    for (HWND h : SetupWindows()) {
        DWORD_PTR r = 0;
        SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &r);
        Sleep(50);
        SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &r);
        break;
    }
    Sleep(100);
}

struct Want {
    long long id;
    std::string text;
};

bool Matches(HWND h, const std::string& caption, const std::vector<Want>& wants) {
    if (ClassOf(h) != "#32770" || CaptionOf(h) != caption) return false;
    for (const Want& w : wants) {
        HWND c = Control(h, w.id);
        if (c == nullptr || ControlText(c) != w.text) return false;
    }
    return true;
}

HWND FindDialog(const std::string& caption, const std::vector<Want>& wants) {
    for (HWND h : SetupWindows()) {
        if (Matches(h, caption, wants)) return h;
    }
    return nullptr;
}

// An uncaught error of the setup program ends any wait for something else at once.
void FailOnErrorReport(const std::string& waitingFor) {
    if (waitingFor == kErrorCaption) return;
    HWND e = FindDialog(kErrorCaption, {});
    if (e == nullptr) return;
    EmitWindow("window", e);
    HWND text = Control(e, 0xFFFF);
    Fail("the setup program reported an error: %s", text ? ControlText(text).c_str() : "?");
}

// --- steps ------------------------------------------------------------------------------------

int WordInt(const Step& s, size_t i, const char* what) {
    long long v = 0;
    if (i >= s.words.size() || !ParseNumber(s.words[i], &v)) Fail("%s expected", what);
    return static_cast<int>(v);
}

int OptionalMs(const Step& s, size_t i, int fallback) {
    long long v = 0;
    if (i < s.words.size() && ParseNumber(s.words[i], &v)) return static_cast<int>(v);
    return fallback;
}

HWND Current() {
    if (g.current == nullptr) Fail("no current window: use wait first");
    if (!IsWindow(g.current)) Fail("the window \"%s\" is gone", g.currentCaption.c_str());
    return g.current;
}

HWND CurrentControl(long long id) {
    HWND c = Control(Current(), id);
    if (c == nullptr) Fail("no control %lld in \"%s\"", id, g.currentCaption.c_str());
    return c;
}

void DoStart(const Step& s) {
    if (Running()) Fail("the setup program is still running");
    if (g.started) {
        CloseHandle(g.setup.hProcess);
        CloseHandle(g.setup.hThread);
        g.started = false;
        g.current = nullptr;
    }
    std::string command = s.words.size() > 1 ? s.words[1] : "A:\\SETUP.EXE";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &g.setup)) {
        Fail("cannot start %s: error %lu", command.c_str(), GetLastError());
    }
    g.started = true;
    Emit("\"ev\":\"started\",\"command\":" + JsonString(command) +
         ",\"pid\":" + std::to_string(g.setup.dwProcessId));
    WaitForInputIdle(g.setup.hProcess, 10000);
}

// wait <caption> [ms] [<id>=<text>]... [!<caption that must not come first>]...
void DoWait(const Step& s) {
    if (s.words.size() < 2) Fail("caption expected");
    const std::string caption = s.words[1];
    int ms = kDefaultWaitMs;
    std::vector<Want> wants;
    std::vector<std::string> forbidden;
    for (size_t i = 2; i < s.words.size(); ++i) {
        const std::string& w = s.words[i];
        size_t eq = w.find('=');
        long long v = 0;
        if (w.size() > 1 && w[0] == '!') {
            forbidden.push_back(w.substr(1));
        } else if (eq == std::string::npos && ParseNumber(w, &v)) {
            ms = static_cast<int>(v);
        } else if (eq != std::string::npos && ParseNumber(w.substr(0, eq), &v)) {
            wants.push_back({v, w.substr(eq + 1)});
        } else {
            Fail("bad word %s", w.c_str());
        }
    }
    ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        HWND h = FindDialog(caption, wants);
        if (h != nullptr) {
            g.current = h;
            g.currentCaption = caption;
            Sync();
            // A progress page may be over by now; it was seen, which is what the wait is for.
            if (IsWindow(h)) {
                EmitWindow("window", h);
            } else {
                Emit("\"ev\":\"window\",\"gone\":1,\"caption\":" + JsonString(caption));
            }
            return;
        }
        FailOnErrorReport(caption);
        for (const std::string& other : forbidden) {
            if (HWND o = FindDialog(other, {})) {
                EmitWindow("window", o);
                Fail("\"%s\" came instead of \"%s\"", other.c_str(), caption.c_str());
            }
        }
        if (!Running()) {
            Fail("the setup program ended (exit code %lu) while waiting for \"%s\"", ExitCode(),
                 caption.c_str());
        }
        if (GetTickCount64() > deadline) Fail("no \"%s\" within %d ms", caption.c_str(), ms);
        Sleep(kPollMs);
    }
}

std::string Upper(std::string t) {
    for (char& c : t) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return t;
}

void DoText(const Step& s, bool exact, bool anyCase = false) {
    if (s.words.size() < 3) Fail("id and text expected");
    long long id = WordInt(s, 1, "control id");
    std::string seen = ControlText(CurrentControl(id));
    std::string want = s.words[2];
    if (anyCase) {
        seen = Upper(seen);
        want = Upper(want);
    }
    bool ok = exact ? seen == want : seen.find(want) != std::string::npos;
    if (!ok) {
        Fail("control %lld shows %s, expected %s%s", id, JsonString(seen).c_str(),
             exact ? "" : "it to contain ", JsonString(want).c_str());
    }
}

// inset <id> <left> <top> <right> <bottom>: a control's distances from its dialog's client edges.
void DoInset(const Step& s) {
    HWND c = CurrentControl(WordInt(s, 1, "control id"));
    RECT r{}, client{};
    GetWindowRect(c, &r);
    MapWindowPoints(HWND_DESKTOP, Current(), reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(Current(), &client);
    int want[4] = {WordInt(s, 2, "left"), WordInt(s, 3, "top"), WordInt(s, 4, "right"),
                   WordInt(s, 5, "bottom")};
    int seen[4] = {r.left, r.top, client.right - r.right, client.bottom - r.bottom};
    for (int i = 0; i < 4; ++i) {
        if (want[i] != seen[i]) {
            Fail("control inset %d,%d,%d,%d in a %ldx%ld client, expected %d,%d,%d,%d", seen[0],
                 seen[1], seen[2], seen[3], client.right, client.bottom, want[0], want[1], want[2],
                 want[3]);
        }
    }
}

void DoStyle(const Step& s) {
    HWND c = CurrentControl(WordInt(s, 1, "control id"));
    unsigned long seen = static_cast<unsigned long>(GetWindowLongPtrA(c, GWL_STYLE));
    unsigned long want = static_cast<unsigned long>(WordInt(s, 2, "style"));
    if (seen != want) Fail("style 0x%08lx, expected 0x%08lx", seen, want);
    // An optional third number: extended style bits that must be set.
    if (s.words.size() > 3) {
        unsigned long extended = static_cast<unsigned long>(GetWindowLongPtrA(c, GWL_EXSTYLE));
        unsigned long bits = static_cast<unsigned long>(WordInt(s, 3, "extended style"));
        if ((extended & bits) != bits)
            Fail("extended style 0x%08lx, expected the bits 0x%08lx", extended, bits);
    }
}

void DoClientSize() {
    RECT r{};
    GetClientRect(Current(), &r);
    Emit("\"ev\":\"client\",\"size\":[" + std::to_string(r.right) + "," + std::to_string(r.bottom) +
         "]");
}

void DoOwner(const Step& s) {
    if (s.words.size() < 2) Fail("owner class or none expected");
    HWND owner = GetWindow(Current(), GW_OWNER);
    std::string seen = owner ? ClassOf(owner) : "none";
    if (seen != s.words[1]) Fail("owner is %s, expected %s", seen.c_str(), s.words[1].c_str());
}

void DoFocus(const Step& s) {
    int want = WordInt(s, 1, "control id") & 0xFFFF;
    int seen = FocusId(Current());
    if (seen != want) Fail("focus on %d, expected %d", seen, want);
}

// The centring rule: half the screen minus half the window, both halves truncated.
void DoCentred() {
    RECT r{};
    GetWindowRect(Current(), &r);
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = sw / 2 - w / 2, y = sh / 2 - h / 2;
    Emit("\"ev\":\"placement\",\"screen\":[" + std::to_string(sw) + "," + std::to_string(sh) +
         "],\"size\":[" + std::to_string(w) + "," + std::to_string(h) + "],\"at\":[" +
         std::to_string(r.left) + "," + std::to_string(r.top) + "],\"rule\":[" + std::to_string(x) +
         "," + std::to_string(y) + "]");
    if (r.left != x || r.top != y) {
        Fail("window %dx%d at %ld,%ld; the rule puts it at %d,%d", w, h, r.left, r.top, x, y);
    }
}

void DoSet(const Step& s) {
    if (s.words.size() < 3) Fail("id and text expected");
    HWND c = CurrentControl(WordInt(s, 1, "control id"));
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.words[2].c_str()),
                             SMTO_ABORTIFHUNG, 5000, &r)) {
        Fail("the control did not take the text");
    }
}

void Post(HWND h, UINT message, WPARAM wp, LPARAM lp) {
    if (!PostMessageA(h, message, wp, lp)) Fail("cannot post: error %lu", GetLastError());
}

void DoKey(const Step& s) {
    if (s.words.size() < 2) Fail("key name expected");
    struct Key {
        const char* name;
        WPARAM vk;
        LPARAM scan;
    } keys[] = {{"esc", VK_ESCAPE, 0x01}, {"enter", VK_RETURN, 0x1C}};
    for (const Key& k : keys) {
        if (s.words[1] != k.name) continue;
        HWND f = FocusWindow();
        if (f == nullptr) Fail("nothing has the focus");
        Post(f, WM_KEYDOWN, k.vk, 1 | (k.scan << 16));
        Post(f, WM_KEYUP, k.vk, 1 | (k.scan << 16) | (LPARAM(3) << 30));
        return;
    }
    Fail("unknown key %s", s.words[1].c_str());
}

void DoGone(const Step& s) {
    HWND h = Current();
    ULONGLONG deadline = GetTickCount64() + OptionalMs(s, 1, kDefaultWaitMs);
    while (IsWindow(h) && IsWindowVisible(h)) {
        if (GetTickCount64() > deadline) Fail("\"%s\" is still open", g.currentCaption.c_str());
        Sleep(kPollMs);
    }
    g.current = nullptr;
}

void DoStays(const Step& s) {
    HWND h = Current();
    Sleep(OptionalMs(s, 1, 500));
    Sync();
    if (!IsWindow(h) || !IsWindowVisible(h) || CaptionOf(h) != g.currentCaption) {
        Fail("\"%s\" did not stay open", g.currentCaption.c_str());
    }
    EmitWindow("window", h);
}

void DoAbsent(const Step& s) {
    if (s.words.size() < 2) Fail("caption expected");
    ULONGLONG deadline = GetTickCount64() + OptionalMs(s, 2, 1000);
    do {
        HWND h = FindDialog(s.words[1], {});
        if (h != nullptr) {
            EmitWindow("window", h);
            Fail("\"%s\" appeared", s.words[1].c_str());
        }
        Sleep(kPollMs);
    } while (GetTickCount64() < deadline && Running());
}

bool FileThere(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Asks the host to do something and waits for its answer.
void Request(const std::string& what, int ms) {
    int n = ++g.requests;
    std::string req = g.channel + "\\req." + std::to_string(n);
    std::string ack = g.channel + "\\ack." + std::to_string(n);
    FILE* f = std::fopen((req + ".tmp").c_str(), "wb");
    if (f == nullptr) Fail("cannot write %s", req.c_str());
    std::fputs(what.c_str(), f);
    std::fclose(f);
    if (!MoveFileA((req + ".tmp").c_str(), req.c_str())) Fail("cannot publish %s", req.c_str());
    Emit("\"ev\":\"request\",\"n\":" + std::to_string(n) + ",\"what\":" + JsonString(what));
    ULONGLONG deadline = GetTickCount64() + ms;
    while (!FileThere(ack)) {
        if (GetTickCount64() > deadline) Fail("the host did not answer request %d", n);
        Sleep(kPollMs);
    }
    char answer[1024] = "";
    f = std::fopen(ack.c_str(), "rb");
    if (f != nullptr) {
        size_t got = std::fread(answer, 1, sizeof answer - 1, f);
        answer[got] = '\0';
        std::fclose(f);
    }
    std::string text = answer;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    Emit("\"ev\":\"answer\",\"n\":" + std::to_string(n) + ",\"text\":" + JsonString(text));
    if (text.compare(0, 2, "ok") != 0) Fail("the host could not: %s", text.c_str());
}

void DoHost(const Step& s) {
    if (s.words.size() < 2) Fail("request expected");
    std::string what;
    for (size_t i = 1; i < s.words.size(); ++i) what += (i > 1 ? " " : "") + s.words[i];
    Request(what, 60000);
}

// Holds every thread of the setup program still, so that a page that is up for less time than a
// screenshot takes stays on the screen, drawn, until ResumeSetup.
std::vector<HANDLE> SuspendSetup() {
    std::vector<HANDLE> held;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) Fail("cannot list the setup program's threads");
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != g.setup.dwProcessId) continue;
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        if (thread == nullptr) continue;
        if (SuspendThread(thread) == static_cast<DWORD>(-1)) {
            CloseHandle(thread);
        } else {
            held.push_back(thread);
        }
    }
    CloseHandle(snapshot);
    if (held.empty()) Fail("could not hold the setup program still");
    return held;
}

void ResumeSetup(std::vector<HANDLE>& held) {
    for (HANDLE thread : held) {
        ResumeThread(thread);
        CloseHandle(thread);
    }
    held.clear();
}

// shot <name> [hold]: with "hold", the setup program is held still while the host takes it.
void DoShot(const Step& s) {
    if (s.words.size() < 2) Fail("screenshot name expected");
    bool hold = s.words.size() > 2 && s.words[2] == "hold";
    // A hold comes straight after the wait that found the page (which let it draw itself): a
    // further pause could outlast the page.
    if (!hold) {
        Sync();
        return Request("shot " + s.words[1], 30000);
    }
    if (!Running()) Fail("the setup program ended before the screenshot");
    std::vector<HANDLE> held = SuspendSetup();
    // page 0: the page was over before the hold, and the picture shows what came after it.
    Emit("\"ev\":\"held\",\"threads\":" + std::to_string(held.size()) +
         ",\"page\":" + (IsWindow(g.current) ? "1" : "0"));
    try {
        Request("shot " + s.words[1], 30000);
    } catch (...) {
        ResumeSetup(held);
        throw;
    }
    ResumeSetup(held);
}

void DoExit(const Step& s) {
    if (!g.started) Fail("not started");
    int ms = OptionalMs(s, 2, kDefaultWaitMs);
    ULONGLONG deadline = GetTickCount64() + ms;
    while (Running()) {
        if (GetTickCount64() > deadline) Fail("the setup program is still running");
        Sleep(kPollMs);
    }
    DWORD code = ExitCode();
    Emit("\"ev\":\"exit\",\"code\":" + std::to_string(code));
    if (s.words.size() > 1 && s.words[1] != "any") {
        int want = WordInt(s, 1, "exit code");
        if (static_cast<int>(code) != want) Fail("exit code %lu, expected %d", code, want);
    }
}

HKEY RootOf(const std::string& name) {
    if (name == "HKCU") return HKEY_CURRENT_USER;
    if (name == "HKLM") return HKEY_LOCAL_MACHINE;
    Fail("root HKCU or HKLM expected, not %s", name.c_str());
}

// regset <root> <key> <value> <text>: a text value as an earlier installation would leave it.
void DoRegSet(const Step& s) {
    if (s.words.size() < 5) Fail("root, key, value and text expected");
    HKEY key = nullptr;
    if (RegCreateKeyExA(RootOf(s.words[1]), s.words[2].c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        Fail("cannot create %s", s.words[2].c_str());
    }
    LONG r = RegSetValueExA(key, s.words[3].c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(s.words[4].c_str()),
                            static_cast<DWORD>(s.words[4].size() + 1));
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) Fail("cannot write %s", s.words[3].c_str());
}

// reg <root> <key> <value> <text>|-absent: what the registry holds now.
void DoReg(const Step& s) {
    if (s.words.size() < 5) Fail("root, key, value and text (or -absent) expected");
    HKEY key = nullptr;
    std::string seen = "-absent";
    if (RegOpenKeyExA(RootOf(s.words[1]), s.words[2].c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char buf[4096];
        DWORD type = 0, size = sizeof buf - 1;
        if (RegQueryValueExA(key, s.words[3].c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf),
                             &size) == ERROR_SUCCESS) {
            buf[size] = '\0';
            seen = type == REG_SZ ? std::string(buf) : "-not-text";
        }
        RegCloseKey(key);
    }
    Emit("\"ev\":\"registry\",\"key\":" + JsonString(s.words[2]) +
         ",\"value\":" + JsonString(s.words[3]) + ",\"data\":" + JsonString(seen));
    if (seen != s.words[4]) {
        Fail("%s \"%s\" holds %s, expected %s", s.words[2].c_str(), s.words[3].c_str(),
             seen.c_str(), s.words[4].c_str());
    }
}

using StepAction = void (*)(const Step&);

void DoQuit(const Step&) {
    if (!PostThreadMessageA(g.setup.dwThreadId, WM_QUIT, 0, 0)) Fail("cannot post WM_QUIT");
}

// The step language: each step's first word and what it does.
const std::pair<const char*, StepAction> kSteps[] = {
    {"start", DoStart},
    {"wait", DoWait},
    {"text", [](const Step& s) { DoText(s, true); }},
    {"has", [](const Step& s) { DoText(s, false); }},
    {"itext", [](const Step& s) { DoText(s, true, true); }},
    {"inset", DoInset},
    {"style", DoStyle},
    {"client", [](const Step&) { DoClientSize(); }},
    {"owner", DoOwner},
    {"focus", DoFocus},
    {"centred", [](const Step&) { DoCentred(); }},
    {"set", DoSet},
    {"click",
     [](const Step& s) { Post(CurrentControl(WordInt(s, 1, "control id")), BM_CLICK, 0, 0); }},
    {"command",
     [](const Step& s) { Post(Current(), WM_COMMAND, WordInt(s, 1, "command") & 0xFFFF, 0); }},
    {"key", DoKey},
    {"close", [](const Step&) { Post(Current(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"gone", DoGone},
    {"stays", DoStays},
    {"absent", DoAbsent},
    {"host", DoHost},
    {"shot", DoShot},
    {"quit", DoQuit},
    {"exit", DoExit},
    {"regset", DoRegSet},
    {"reg", DoReg},
    {"sleep", [](const Step& s) { Sleep(WordInt(s, 1, "milliseconds")); }},
};

void RunStep(const Step& s) {
    for (const auto& step : kSteps) {
        if (s.words[0] == step.first) return step.second(s);
    }
    Fail("unknown step %s", s.words[0].c_str());
}

// What the robot saw last, for the failure report.
void EmitEverything() {
    for (HWND h : SetupWindows()) EmitWindow("seen", h);
}

bool ReadWhole(const char* path, std::string* text) {
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return false;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text->append(buf, n);
    std::fclose(f);
    return true;
}

int Main(int argc, char** argv) {
    g.startTick = GetTickCount64();
    if (argc != 4) {
        std::fprintf(stderr, "usage: robot <log> <channel folder> <step file>\n");
        return 2;
    }
    g.log = std::fopen(argv[1], "wb");
    if (g.log == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 2;
    }
    g.channel = argv[2];
    std::string script;
    std::vector<Step> steps;
    std::string error;
    if (!ReadWhole(argv[3], &script) || !ParseScript(script, &steps, &error)) {
        Emit("\"ev\":\"end\",\"ok\":false,\"msg\":" +
             JsonString("cannot read the steps: " + error));
        return 2;
    }
    Emit("\"ev\":\"screen\",\"size\":[" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "," +
         std::to_string(GetSystemMetrics(SM_CYSCREEN)) + "]");
    for (const Step& s : steps) {
        Emit("\"ev\":\"step\",\"line\":" + std::to_string(s.line) +
             ",\"text\":" + JsonString(s.text));
        try {
            RunStep(s);
        } catch (const StepFailed& f) {
            Emit("\"ev\":\"fail\",\"line\":" + std::to_string(s.line) +
                 ",\"step\":" + JsonString(s.text) + ",\"msg\":" + JsonString(f.message));
            EmitEverything();
            // What came next tells more than what was there at the moment of the failure.
            Sleep(1000);
            Emit(std::string("\"ev\":\"after\",\"running\":") + (Running() ? "1" : "0") +
                 ",\"exit\":" + std::to_string(g.started ? ExitCode() : 0));
            EmitEverything();
            Emit("\"ev\":\"end\",\"ok\":false");
            return 1;
        }
    }
    Emit("\"ev\":\"end\",\"ok\":true");
    return 0;
}

}  // namespace
}  // namespace robot

int main(int argc, char** argv) { return robot::Main(argc, argv); }
