#include "system/shortcut.h"

#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include "setup/install_state.h"
#include "setup/path.h"
#include "setup/profile.h"
#include "system/registry.h"
#include "system/shortcut_rules.h"

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

std::string ReadProgramsFolder() {
    RegistryAccessor registry(kExplorerKeyPath);
    return registry.ReadText("Shell Folders", "programs", "");
}

}  // namespace

void ShellLinkPath(const std::string& path, WCHAR (&converted)[kLinkPathUnits]) {
    // The conversion fails when the path and its terminator do not fit: a cut path could name
    // some other file, so the shell then gets an empty name.
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, converted, kLinkPathUnits) == 0)
        converted[0] = L'\0';
}

void CreateShortcut() {
    std::string programs = ReadProgramsFolder();

    // The component system stays initialised for the rest of the process.
    CoInitialize(nullptr);

    Obtained<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.Receive())) ||
        !link) {
        return;
    }
    const std::string& destination = InstallState.DestinationFolder;
    link->SetPath(JoinPath(destination, ProductProfile.MainProgramFile).c_str());
    link->SetWorkingDirectory(destination.c_str());
    link->SetShowCmd(SW_SHOWNORMAL);

    Obtained<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive())) || !file) return;

    WCHAR path[kLinkPathUnits];
    ShellLinkPath(LinkFilePath(programs, InstallState.GroupName), path);
    // A shortcut that cannot be saved is simply missing; the run goes on.
    file->Save(path, FALSE);
}

}  // namespace tidemark
