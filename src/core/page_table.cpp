#include "core/page_table.h"

namespace tidemark {

const PageEntry kPageTable[5] = {
    {PageStep::kDestination, "Main", MissingTemplate::kEndRun, true},
    {PageStep::kLicence, "License", MissingTemplate::kSkip, true},
    {PageStep::kCopying, "IProgress", MissingTemplate::kCancel, true},
    {PageStep::kUnpacking, "Progress", MissingTemplate::kCancel, true},
    {PageStep::kGroup, "Group", MissingTemplate::kCancel, false},
};

PageTableOutcome RunPageTable(const PageRunner& runPage) {
    intptr_t pageResult = 0;
    for (const PageEntry& page : kPageTable) {
        if (!runPage(page, &pageResult)) {
            switch (page.missing) {
                case MissingTemplate::kEndRun:
                    return {RunEnd::kNeverBegan, false};
                case MissingTemplate::kSkip:
                    continue;  // pageResult keeps the previous page's 1
                case MissingTemplate::kCancel:
                    return {RunEnd::kStopped, false};
            }
        }
        if (pageResult != 1 && page.resultStopsRun) return {RunEnd::kStopped, false};
    }
    return {RunEnd::kCompleted, pageResult == 1};
}

}  // namespace tidemark
