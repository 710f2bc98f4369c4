#include "arguments.h"

#include "core/name_rules.h"
#include "core/profile.h"
#include "errors.h"

namespace tidemark::mkdisks {

std::string Arguments::Value(const std::string& name, const std::string& otherwise) const {
    auto it = Values.find(name);
    return it == Values.end() ? otherwise : it->second;
}

Arguments ParseArguments(const std::vector<std::string>& args, size_t positionalCount,
                         const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions) {
    Arguments parsed;
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            parsed.Positional.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (valueOptions.count(a)) {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
            parsed.Values[a] = args[++i];
        } else if (flagOptions.count(a)) {
            parsed.Flags.insert(a);
        } else {
            throw UsageError("unknown option " + a + " for " + args[0]);
        }
    }
    if (parsed.Positional.size() != positionalCount)
        throw UsageError(args[0] + " takes " + std::to_string(positionalCount) +
                         " argument(s) besides its options, not " +
                         std::to_string(parsed.Positional.size()));
    return parsed;
}

int64_t ParseCount(const std::string& option, const std::string& text, int64_t lowest,
                   int64_t highest) {
    size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used, 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < lowest || value > highest)
        throw UsageError(option + " wants a whole number from " + std::to_string(lowest) + " to " +
                         std::to_string(highest) + ", not \"" + text + "\"");
    return value;
}

DiskRequest ParseDiskRequest(const Arguments& a) {
    bool byCount = a.Has("--disks"), bySize = a.Has("--disk-size");
    if (byCount == bySize) throw UsageError("give either --disks N or --disk-size BYTES");
    DiskRequest request;
    if (byCount)
        request.DiskCount = static_cast<int>(ParseCount("--disks", a.Value("--disks"), 1, 1000));
    else
        request.DiskSize = ParseCount("--disk-size", a.Value("--disk-size"), 1, INT64_C(1) << 40);
    return request;
}

// The setup program installs the image under its own MainProgramFile whatever the disks were
// built from, so --main can only give that name in the letter case of the product folder.
std::string MainName(const Arguments& a) {
    std::string name = a.Value("--main", ProductProfile.MainProgramFile);
    if (FileNameKey(name) != FileNameKey(ProductProfile.MainProgramFile))
        throw Refusal("--main " + name + ": the setup program installs its main program as " +
                      ProductProfile.MainProgramFile + "; give the product's main program that " +
                      "name (letter case aside) and --main " + ProductProfile.MainProgramFile);
    return name;
}

}  // namespace tidemark::mkdisks
