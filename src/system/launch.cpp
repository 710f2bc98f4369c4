#include "system/launch.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "core/launch_rules.h"
#include "core/profile.h"
#include "runtime/install_state.h"

namespace tidemark {

void LaunchProduct() {
    const std::string& destination = InstallState.DestinationFolder;
    std::string file = LaunchPath(destination, ProductProfile.MainProgramFile);
    ShellExecuteA(InstallState.BackdropWindow, nullptr, file.c_str(), nullptr, destination.c_str(),
                  SW_SHOW);
}

}  // namespace tidemark
