#include "setup/page_table.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace tidemark;

namespace {

// A scripted run: each template name maps to the page's result; names not in the script have
// no template.
struct ScriptedRun {
    ScriptedRun() = default;
    explicit ScriptedRun(std::map<std::string, intptr_t> script) : results(std::move(script)) {}

    std::map<std::string, intptr_t> results;
    std::vector<std::string> asked;

    PageTableOutcome Run() {
        return RunPageTable([this](const PageEntry& page, intptr_t* result) {
            asked.push_back(page.templateName);
            auto found = results.find(page.templateName);
            if (found == results.end()) return false;
            *result = found->second;
            return true;
        });
    }
};

const std::vector<std::string> kAllPages = {"Main", "License", "IProgress", "Progress", "Group"};

}  // namespace

TEST(PageTable, AllPagesGoOnInTheirFixedOrder) {
    ScriptedRun run({{"Main", 1}, {"License", 1}, {"IProgress", 1}, {"Progress", 1}, {"Group", 1}});
    PageTableOutcome outcome = run.Run();
    EXPECT_EQ(outcome.end, RunEnd::kCompleted);
    EXPECT_TRUE(outcome.createShortcut);
    EXPECT_EQ(run.asked, kAllPages);
}

TEST(PageTable, AStopFromOneOfTheFirstFourPagesEndsThePages) {
    for (size_t stopping = 0; stopping < 4; ++stopping) {
        for (intptr_t value : {intptr_t{0}, intptr_t{-1}, intptr_t{2}}) {
            ScriptedRun run;
            for (const std::string& name : kAllPages) run.results[name] = 1;
            run.results[kAllPages[stopping]] = value;
            PageTableOutcome outcome = run.Run();
            EXPECT_EQ(outcome.end, RunEnd::kStopped) << kAllPages[stopping] << " " << value;
            EXPECT_EQ(run.asked.size(), stopping + 1) << "no later page runs";
        }
    }
}

TEST(PageTable, TheGroupPageOnlyDecidesTheShortcut) {
    for (intptr_t value : {intptr_t{0}, intptr_t{-1}}) {
        ScriptedRun run(
            {{"Main", 1}, {"License", 1}, {"IProgress", 1}, {"Progress", 1}, {"Group", value}});
        PageTableOutcome outcome = run.Run();
        EXPECT_EQ(outcome.end, RunEnd::kCompleted);
        EXPECT_FALSE(outcome.createShortcut);
    }
}

TEST(PageTable, MissingTemplates) {
    ScriptedRun noMain({{"License", 1}, {"IProgress", 1}, {"Progress", 1}, {"Group", 1}});
    EXPECT_EQ(noMain.Run().end, RunEnd::kNeverBegan);
    EXPECT_EQ(noMain.asked, std::vector<std::string>{"Main"});

    // The licence page is passed over; the first page's 1 carries the run on.
    ScriptedRun noLicence({{"Main", 1}, {"IProgress", 1}, {"Progress", 1}, {"Group", 1}});
    PageTableOutcome outcome = noLicence.Run();
    EXPECT_EQ(outcome.end, RunEnd::kCompleted);
    EXPECT_TRUE(outcome.createShortcut);
    EXPECT_EQ(noLicence.asked, kAllPages);

    for (const char* missing : {"IProgress", "Progress", "Group"}) {
        ScriptedRun run;
        for (const std::string& name : kAllPages) run.results[name] = 1;
        run.results.erase(missing);
        EXPECT_EQ(run.Run().end, RunEnd::kStopped) << missing;
        EXPECT_EQ(run.asked.back(), missing);
    }
}

TEST(PageTable, OnlyExactlyOneGoesOn) {
    // A value whose low 32 bits are 1 is still not 1.
    if (sizeof(intptr_t) > 4) {
        ScriptedRun run({{"Main", static_cast<intptr_t>((int64_t{1} << 32) + 1)}});
        EXPECT_EQ(run.Run().end, RunEnd::kStopped);
    }
}
