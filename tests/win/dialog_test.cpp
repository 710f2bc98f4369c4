#include "pages/dialog.h"

#include <gtest/gtest.h>

#include "setup/steps.h"

using namespace tidemark;

// What the user sees of the pages is checked end to end; a page whose template is missing
// cannot be shown there.
TEST(RunPage, AMissingTemplateRunsNothing) {
    INT_PTR result = 42;
    EXPECT_FALSE(RunPage("NoSuchPage", GroupPageProc, &result));
    EXPECT_EQ(result, 42);
}
