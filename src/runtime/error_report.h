// The report of an error that reached the program's entry.
#pragma once

#include "core/error.h"

namespace tidemark {

// Shows the report in a task-modal message box with no owner (stop icon, OK, caption
// "Application Error"). The caller then ends the process with exit code 1.
void ShowErrorReport(const Error& error);

}  // namespace tidemark
