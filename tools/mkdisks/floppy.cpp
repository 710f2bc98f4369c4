#include "floppy.h"

#include <algorithm>
#include <cstdio>
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

int64_t FloppyTime(const char* sourceDateEpoch) {
    int64_t time = 0;
    const char* p = sourceDateEpoch;
    if (p == nullptr || *p == '\0') return kFloppyDefaultTime;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (time > kFloppyLastTime) return kFloppyDefaultTime;
        time = time * 10 + (*p - '0');
    }
    if (*p != '\0' || time < kFloppyFirstTime || time > kFloppyLastTime) return kFloppyDefaultTime;
    return time;
}

uint32_t FloppySerial(const std::string& label, int64_t time) {
    // FNV-1a over the label and the time's eight bytes: any change of either changes the serial.
    uint32_t hash = 2166136261u;
    auto mix = [&hash](uint8_t byte) { hash = (hash ^ byte) * 16777619u; };
    for (char c : label) mix(static_cast<uint8_t>(c));
    for (int i = 0; i < 8; ++i) mix(static_cast<uint8_t>(static_cast<uint64_t>(time) >> (8 * i)));
    return hash;
}

namespace {

void Run(const std::string& command, const std::string& what) {
    // mtools refuses images whose geometry it cannot check against a drive unless told not to.
    // It stamps each file and the label with SOURCE_DATE_EPOCH when set, as local time.
    std::string line = "MTOOLS_SKIP_CHECK=1 TZ=UTC SOURCE_DATE_EPOCH=" +
                       std::to_string(FloppyTime(std::getenv("SOURCE_DATE_EPOCH"))) + " " +
                       command + " >/dev/null 2>&1";
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
    // The serial number and every time come from the label and the fixed time, so the same disk
    // set makes the same images.
    int64_t time = FloppyTime(std::getenv("SOURCE_DATE_EPOCH"));
    char serial[9];
    std::snprintf(serial, sizeof serial, "%08X", FloppySerial(label, time));
    Run("mformat -C -f 1440 -N " + std::string(serial) + " -v " + label + " -i " + target + " ::",
        "format " + image.string());
    std::string sources;
    for (const fs::path& file : files) sources += " " + ShellQuote(file.string());
    Run("mcopy -i " + target + sources + " ::/", "copy files into " + image.string());
}

void ExtractFloppyImage(const fs::path& image, const fs::path& folder) {
    fs::create_directories(folder);
    Run("mcopy -n -i " + ShellQuote(image.string()) + " " + ShellQuote("::/*") + " " +
            ShellQuote(folder.string() + "/"),
        "read " + image.string());
}

}  // namespace tidemark::mkdisks
