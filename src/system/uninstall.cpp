#include "system/uninstall.h"

#include <windows.h>

#include "core/launch_rules.h"
#include "core/profile.h"
#include "runtime/install_state.h"
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

}  // namespace tidemark
