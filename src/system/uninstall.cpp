#include "system/uninstall.h"

#include <shellapi.h>
#include <windows.h>

#include "setup/install_state.h"
#include "setup/profile.h"
#include "system/registry.h"

namespace tidemark {

void RegisterUninstall() {
    RegistryAccessor registry(kUninstallKeyPath);
    registry.SelectRoot(HKEY_LOCAL_MACHINE);
    // Without rights to the machine's uninstall key nothing is written and the run goes on:
    // the product is installed, only not listed. A write the registry refuses raises.
    if (!registry.EnterKey(kUninstallKeyPath, true)) return;
    const char* product = ProductProfile.ProductName;
    registry.WriteText(product, "DisplayName", product);
    registry.WriteText(product, "UnInstallString", UninstallerPath(InstallState.DestinationFolder));
}

void LaunchProduct() {
    const std::string& destination = InstallState.DestinationFolder;
    std::string file = LaunchPath(destination, ProductProfile.MainProgramFile);
    ShellExecuteA(InstallState.BackdropWindow, nullptr, file.c_str(), nullptr, destination.c_str(),
                  SW_SHOW);
}

}  // namespace tidemark
