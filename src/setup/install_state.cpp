#include "setup/install_state.h"

namespace tidemark {

InstallStateRecord InstallState;

}  // namespace tidemark
