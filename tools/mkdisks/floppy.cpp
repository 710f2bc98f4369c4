#include "floppy.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "errors.h"
#include "volume_plan.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

int64_t FloppyBytesUsed(const std::vector<int64_t>& fileSizes) {
    int64_t used = 0;
    for (int64_t size : fileSizes) used += RoundUpToCluster(size, kFloppyCluster);
    return used;
}

std::string ShellQuote(const std::string& text) {
#ifdef _WIN32
    return "\"" + text + "\"";
#else
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
#endif
}

namespace {

void Run(const std::string& command, const std::string& what) {
    // mtools refuses images whose geometry it cannot check against a drive unless told not to.
    std::string line = "MTOOLS_SKIP_CHECK=1 " + command + " >/dev/null 2>&1";
#ifdef _WIN32
    line = command + " >NUL 2>&1";
#endif
    int status = std::system(line.c_str());
    if (status != 0)
        throw FileFailure("mtools failed to " + what + " (is mtools installed? " + command + ")");
}

}  // namespace

void MakeFloppyImage(const fs::path& image, const std::string& label, const fs::path& folder) {
    std::vector<fs::path> files;
    std::vector<int64_t> sizes;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        files.push_back(entry.path());
        sizes.push_back(static_cast<int64_t>(entry.file_size()));
    }
    std::sort(files.begin(), files.end());
    int64_t used = FloppyBytesUsed(sizes);
    if (used > kFloppyDataBytes)
        throw Refusal("the files of " + folder.filename().string() + " take " +
                      std::to_string(used) + " bytes on a floppy, which holds " +
                      std::to_string(kFloppyDataBytes));
    std::error_code ec;
    fs::remove(image, ec);
    std::string target = ShellQuote(image.string());
    // A fixed serial number keeps images of the same disk set identical.
    Run("mformat -C -f 1440 -N 20250001 -v " + label + " -i " + target + " ::",
        "format " + image.string());
    std::string sources;
    for (const fs::path& file : files) sources += " " + ShellQuote(file.string());
    Run("mcopy -m -i " + target + sources + " ::/", "copy files into " + image.string());
}

void ExtractFloppyImage(const fs::path& image, const fs::path& folder) {
    fs::create_directories(folder);
    Run("mcopy -n -i " + ShellQuote(image.string()) + " " + ShellQuote("::/*") + " " +
            ShellQuote(folder.string() + "/"),
        "read " + image.string());
}

}  // namespace tidemark::mkdisks
