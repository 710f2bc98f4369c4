// Preparing the install state and putting up the backdrop before the first page.
#pragma once

namespace tidemark {

// Claims the run for this copy of the setup program, before it shows or touches anything. When
// another copy of the product's setup program runs already, says so and returns false: this
// copy then ends without a page, a file or a registry value of its own.
bool ClaimTheRun();

// Fills InstallState (own folder, work buffers, screen size, backdrop, logo, Windows folder,
// GroupName). None of the system calls is checked: a backdrop that cannot be made
// leaves the pages without an owner, a missing logo leaves LogoBitmap empty.
void StartUp();

// Releases the two work buffers at the end of the run.
void ReleaseWorkBuffers();

}  // namespace tidemark
