// The uninstall registration, the last system step of a completed run.
#pragma once

namespace tidemark {

// Writes the product's entry under the machine's Uninstall key; without rights to it, nothing.
void RegisterUninstall();

}  // namespace tidemark
