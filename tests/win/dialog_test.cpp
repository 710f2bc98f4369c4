#include "pages/dialog.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "setup/install_state.h"
#include "setup/steps.h"

using namespace tidemark;

// What the user sees of the pages is checked end to end; a page whose template is missing
// cannot be shown there.
TEST(RunPage, AMissingTemplateRunsNothing) {
    INT_PTR result = 42;
    EXPECT_FALSE(RunPage("NoSuchPage", GroupPageProc, &result));
    EXPECT_EQ(result, 42);
}

namespace {
INT_PTR CALLBACK FailingPageProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) std::vector<int>().at(1);
    return FALSE;
}
}  // namespace

// Any exception raised in a page, not only the program's own errors, comes back out of RunPage
// (rather than through the system's dialog code) and stops work running beneath the page.
TEST(RunPage, AnExceptionInAPageEndsItAndIsRaisedAgain) {
    InstallState.ContinueFlag = 1;
    INT_PTR result = 42;
    EXPECT_THROW(RunPage("Group", FailingPageProc, &result), std::out_of_range);
    EXPECT_EQ(InstallState.ContinueFlag, 0);
}
