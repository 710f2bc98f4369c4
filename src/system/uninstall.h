// The uninstall registration and the launch of the installed program; both steps are declared
// with the other steps.
#pragma once

#include "setup/steps.h"
#include "system/launch_rules.h"
