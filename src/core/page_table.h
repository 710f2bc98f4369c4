// The fixed order of the setup run's pages and what a missing template or a page's result means.
#pragma once

#include <cstdint>
#include <functional>

namespace tidemark {

enum class PageStep { kDestination, kLicence, kCopying, kUnpacking, kGroup };

// What happens when a page's template is not in the program's resources.
enum class MissingTemplate {
    kEndRun,  // the run ends at once: no later page, no clean-up, no message
    kSkip,    // the page is passed over and the run goes on
    kCancel,  // the run stops as if the page had been cancelled
};

struct PageEntry {
    PageStep step;
    const char* templateName;  // resource names match without regard to case
    MissingTemplate missing;
    bool resultStopsRun;  // a result other than 1 stops the run (all but the group page)
};

extern const PageEntry kPageTable[5];

enum class RunEnd {
    kNeverBegan,  // the first page's template is missing
    kStopped,     // a page stopped the run: clean-up and the terminated message follow
    kCompleted,   // the group page has run: shortcut (if OK), registration, closing prompt
};

struct PageTableOutcome {
    RunEnd end;
    bool createShortcut;  // the group page ended with 1
};

// Runs one page. Returns false when its template is missing; otherwise stores the value with
// which the page ended (any value but 1, among them a platform failure, counts as stop).
using PageRunner = std::function<bool(const PageEntry& page, intptr_t* result)>;

// Runs the pages in their fixed order, each at most once, and says how the run goes on.
PageTableOutcome RunPageTable(const PageRunner& runPage);

}  // namespace tidemark
