#include "system/shortcut.h"

#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include "core/path.h"
#include "core/placement_texts.h"
#include "core/profile.h"
#include "core/shortcut_rules.h"
#include "runtime/install_state.h"
#include "system/registry.h"

namespace tidemark {

namespace {

// Releases an interface that was actually obtained, however the step leaves.
template <typename Interface>
class Obtained {
public:
    Obtained() = default;
    ~Obtained() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    Obtained(const Obtained&) = delete;
    Obtained& operator=(const Obtained&) = delete;

    void** Receive() { return reinterpret_cast<void**>(&pointer_); }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace

std::string ReadProgramsFolder(bool* refused) {
    RegistryAccessor registry(kExplorerKeyPath);
    return registry.ReadTextOrDefault("Shell Folders", "programs", "", refused);
}

void ShellLinkPath(const std::string& path, WCHAR (&converted)[kLinkPathUnits]) {
    // The conversion fails when the path and its terminator do not fit: a cut path could name
    // some other file, so the shell then gets an empty name.
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, converted, kLinkPathUnits) == 0)
        converted[0] = L'\0';
}

namespace {

// Makes the link; returns why it could not, or nullptr.
const char* SaveLink(const std::string& linkPath) {
    // The component system stays initialised for the rest of the process.
    CoInitialize(nullptr);

    const char* const kNotSaved = "it could not be saved";
    Obtained<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.Receive())) ||
        !link) {
        return kNotSaved;
    }
    const std::string& destination = InstallState.DestinationFolder;
    link->SetPath(JoinPath(destination, ProductProfile.MainProgramFile).c_str());
    link->SetWorkingDirectory(destination.c_str());
    link->SetShowCmd(SW_SHOWNORMAL);

    Obtained<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive())) || !file) return kNotSaved;

    WCHAR path[kLinkPathUnits];
    ShellLinkPath(linkPath, path);
    if (path[0] == L'\0') return "the path is longer than Windows allows";
    return FAILED(file->Save(path, FALSE)) ? kNotSaved : nullptr;
}

}  // namespace

// A shortcut that cannot be made is named in the closing prompt, with the reason; the run goes
// on without it.
void CreateShortcut() {
    bool refused = false;
    std::string programs = ReadProgramsFolder(&refused);
    std::string linkPath = LinkFilePath(programs, InstallState.GroupName);
    // Saved without a folder, the link would land in whatever folder is current.
    const char* fault = refused ? "the registry names no Start-menu folder" : SaveLink(linkPath);
    InstallState.ShortcutNotMade = fault ? ShortcutNotMadeLine(linkPath, fault) : std::string();
}

}  // namespace tidemark
