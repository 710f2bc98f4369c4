#include "runtime/install_state.h"

namespace tidemark {

InstallStateRecord InstallState;

}  // namespace tidemark
