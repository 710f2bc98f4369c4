// A command's arguments: its positional ones and its options, each option known to the command.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "volume_plan.h"

namespace tidemark::mkdisks {

struct Arguments {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Values;
    std::set<std::string> Flags;

    bool Has(const std::string& name) const { return Values.count(name) || Flags.count(name); }
    std::string Value(const std::string& name, const std::string& otherwise = "") const;
};

// args[0] is the command. Throws UsageError for an option the command does not know, a value
// option without its value, and a number of positional arguments other than positionalCount.
// A word after "--" is positional whatever it looks like.
Arguments ParseArguments(const std::vector<std::string>& args, size_t positionalCount,
                         const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions);

// A whole number from lowest to highest, or UsageError naming the option.
int64_t ParseCount(const std::string& option, const std::string& text, int64_t lowest,
                   int64_t highest);

// --disks N or --disk-size BYTES, exactly one of them.
DiskRequest ParseDiskRequest(const Arguments& a);

// --main, which can only name the setup program's main program file in another letter case.
std::string MainName(const Arguments& a);

}  // namespace tidemark::mkdisks
