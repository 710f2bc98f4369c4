#include "setup/page_table.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace tidemark;

namespace {

const std::vector<std::string> kAllPages = {"Main", "License", "IProgress", "Progress", "Group"};

// Runs the table over scripted results: a page missing from the script has no template. The
// pages asked for are recorded in order.
PageTableOutcome RunScript(const std::map<std::string, intptr_t>& script,
                           std::vector<std::string>* asked) {
    return RunPageTable([&](const PageEntry& page, intptr_t* result) {
        asked->push_back(page.templateName);
        auto found = script.find(page.templateName);
        if (found == script.end()) return false;
        *result = found->second;
        return true;
    });
}

std::map<std::string, intptr_t> AllGoOnBut(const std::string& name, intptr_t value, bool missing) {
    std::map<std::string, intptr_t> script;
    for (const std::string& page : kAllPages) script[page] = 1;
    if (missing)
        script.erase(name);
    else
        script[name] = value;
    return script;
}

}  // namespace

TEST(PageTable, AllPagesRunInTheirFixedOrder) {
    std::vector<std::string> asked;
    PageTableOutcome outcome = RunScript(AllGoOnBut("", 0, false), &asked);
    EXPECT_EQ(outcome.end, RunEnd::kCompleted);
    EXPECT_TRUE(outcome.createShortcut);
    EXPECT_EQ(asked, kAllPages);
}

TEST(PageTable, AnythingButOneFromTheFirstFourPagesStopsTheRun) {
    for (size_t stopping = 0; stopping < 4; ++stopping) {
        for (intptr_t value : {0, -1, 2}) {
            std::vector<std::string> asked;
            PageTableOutcome outcome =
                RunScript(AllGoOnBut(kAllPages[stopping], value, false), &asked);
            EXPECT_EQ(outcome.end, RunEnd::kStopped) << kAllPages[stopping] << " " << value;
            EXPECT_EQ(asked.size(), stopping + 1);
        }
    }
    if (sizeof(intptr_t) > 4) {  // low 32 bits of 1 are not 1
        std::vector<std::string> asked;
        auto wide = static_cast<intptr_t>((int64_t{1} << 32) + 1);
        EXPECT_EQ(RunScript(AllGoOnBut("Main", wide, false), &asked).end, RunEnd::kStopped);
    }
}

TEST(PageTable, TheGroupPageOnlyDecidesTheShortcut) {
    std::vector<std::string> asked;
    PageTableOutcome outcome = RunScript(AllGoOnBut("Group", 0, false), &asked);
    EXPECT_EQ(outcome.end, RunEnd::kCompleted);
    EXPECT_FALSE(outcome.createShortcut);
}

TEST(PageTable, MissingTemplates) {
    std::vector<std::string> asked;
    EXPECT_EQ(RunScript(AllGoOnBut("Main", 0, true), &asked).end, RunEnd::kNeverBegan);
    EXPECT_EQ(asked, std::vector<std::string>{"Main"});

    asked.clear();  // the licence page is passed over; the first page's 1 carries the run on
    PageTableOutcome outcome = RunScript(AllGoOnBut("License", 0, true), &asked);
    EXPECT_EQ(outcome.end, RunEnd::kCompleted);
    EXPECT_TRUE(outcome.createShortcut);
    EXPECT_EQ(asked, kAllPages);

    for (const char* missing : {"IProgress", "Progress", "Group"}) {
        asked.clear();
        EXPECT_EQ(RunScript(AllGoOnBut(missing, 0, true), &asked).end, RunEnd::kStopped) << missing;
        EXPECT_EQ(asked.back(), missing);
    }
}
