// verify: a disk set checked as the setup program will check it, then file by file, each check
// naming what it found wrong.
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <system_error>

#include "arguments.h"
#include "core/crc32.h"
#include "core/profile.h"
#include "disk_set.h"
#include "errors.h"
#include "file_io.h"
#include "floppy.h"
#include "report.h"
#include "setup_program.h"
#include "stream.h"
#include "subcommands.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

namespace {

// A folder under the system's temporary folder, removed with everything in it at the end.
class TemporaryFolder {
public:
    TemporaryFolder() {
        path_ = fs::temp_directory_path() /
                ("mkdisks-" + std::to_string(std::random_device{}()) + "-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// What the checks have read so far, and the faults they found.
struct Check {
    Check(std::ostream& o, std::ostream& e) : out(o), err(e) {}
    std::ostream& out;
    std::ostream& err;
    int faults = 0;
    FoundDiskSet set;
    std::vector<uint8_t> setup, archive, image;
    SetupInspection inspection;
    StampedSet stamped;

    void Fault(const std::string& text) {
        err << "mkdisks: " << text << "\n";
        ++faults;
    }
    bool Stamped() const { return stamped.Checks(); }
    const DiskSetNumbers& Numbers() const { return stamped.Numbers; }
};

// The set's files: in the folder, or read from its floppy images when it holds only those.
void FindSet(Check& c, const fs::path& dir, std::unique_ptr<TemporaryFolder>& extracted) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) throw UsageError("there is no folder " + dir.string());
    std::vector<fs::path> images = FindDiskImages(dir);
    if (!images.empty() && !fs::is_directory(dir / "disk1", ec) &&
        !fs::exists(dir / kSetupFileName, ec)) {
#ifdef _WIN32
        throw UsageError(
            "reading floppy images needs mtools, which Windows lacks; verify the "
            "disk folders the images were made from");
#endif
        extracted = std::make_unique<TemporaryFolder>();
        for (size_t i = 0; i < images.size(); ++i)
            ExtractFloppyImage(images[i], extracted->Path() / ("disk" + std::to_string(i + 1)));
        c.out << "Read " << images.size() << " floppy image(s)\n";
    }
    c.set = FindDiskSet(extracted ? extracted->Path() : dir, ProductProfile.FirstVolumeFile);
}

// The setup program's table and stamp, which the disks are checked against; false when it has
// no table to check anything with.
bool CheckSetupProgram(Check& c) {
    c.setup = ReadWholeFile(c.set.Setup);
    c.inspection = InspectSetupProgram(c.setup);
    if (c.inspection.Tail != SetupTail::FileTable) {
        const std::string& why = c.inspection.UnknownDataFault;
        c.Fault("setup.exe carries no well-formed file table" + (why.empty() ? "" : ": " + why));
        return false;
    }
    const PayloadTrailer& trailer = c.inspection.Trailer;
    c.out << "File table of setup.exe: " << trailer.Table.size() << " entries, unpacked size "
          << Grouped(trailer.UnpackedSize) << "\n";
    c.stamped = ReadStampedSet(c.setup, c.inspection.ImageEnd);
    PrintStampedSet(c.out, c.stamped);
    std::string crcFault = TableCrcFault(c.setup, c.inspection, c.stamped);
    if (!crcFault.empty()) c.Fault(crcFault);
    std::string warning = UninstallerWarning(trailer);
    if (!warning.empty()) c.err << "mkdisks: " << warning << "\n";
    return true;
}

// Each volume against its stamp, joined into the archive.
void CheckVolumes(Check& c) {
    const DiskSetNumbers& n = c.Numbers();
    if (c.Stamped() && int64_t(c.set.Volumes.size()) != n.DiskCount)
        c.Fault("setup.exe asks for " + std::to_string(n.DiskCount) + " disk(s); " +
                std::to_string(c.set.Volumes.size()) + " volume(s) found");
    for (size_t i = 0; i < c.set.Volumes.size(); ++i) {
        std::string name = c.set.Volumes[i].filename().string();
        std::vector<uint8_t> volume = ReadWholeFile(c.set.Volumes[i]);
        uint32_t crc = Crc32(volume.data(), volume.size());
        c.out << "Volume " << i + 1 << ": " << name << " " << Grouped(int64_t(volume.size()))
              << " bytes, CRC-32 " << Hex32(crc) << "\n";
        if (c.Stamped() && int64_t(i) < n.DiskCount &&
            (int64_t(volume.size()) != n.VolumeSize[i] || crc != n.VolumeCrc[i]))
            c.Fault("volume " + std::to_string(i + 1) + " (" + name +
                    ") is damaged or of another set: setup.exe was stamped with " +
                    Grouped(n.VolumeSize[i]) + " bytes, CRC-32 " + Hex32(n.VolumeCrc[i]));
        c.archive.insert(c.archive.end(), volume.begin(), volume.end());
    }
    c.out << "Archive: " << Grouped(int64_t(c.archive.size())) << " bytes\n";
    if (c.Stamped() && int64_t(c.archive.size()) != n.ExpectedArchiveSize)
        c.Fault("the volumes hold " + Grouped(int64_t(c.archive.size())) +
                " bytes, but setup.exe shows " + Grouped(n.ExpectedArchiveSize) + " as 100 %");
}

// The archive decoded as the setup program decodes it; false when the table claims more than
// any archive of this size can hold.
bool CheckDecoding(Check& c) {
    int64_t unpacked = c.inspection.Trailer.UnpackedSize, archived = int64_t(c.archive.size());
    // Every symbol takes at least one bit and a match at most 60 bytes for at least ten bits
    // (its length and position), so an archive cannot decode to more than 48 bytes a byte.
    if (unpacked > 48 * (archived + 2) + 60) {
        c.Fault("the file table's unpacked size " + Grouped(unpacked) +
                " is more than an archive of " + Grouped(archived) + " bytes can hold");
        return false;
    }
    auto start = std::chrono::steady_clock::now();
    DecodeOutcome decoded = Decompress(c.archive, int32_t(unpacked));
    c.out << "Decoded in " << Seconds(std::chrono::steady_clock::now() - start) << "\n";
    c.image = std::move(decoded.Output);
    if (c.image.size() != size_t(unpacked)) {
        c.Fault("the archive decodes to " + Grouped(int64_t(c.image.size())) + " bytes, not " +
                Grouped(unpacked));
        c.image.resize(size_t(unpacked));
    }
    std::string lengthFault = ArchiveLengthFault(c.archive.size(), decoded.BytesRequested);
    if (!lengthFault.empty()) c.Fault(lengthFault);
    if (c.Stamped() && Crc32(c.image.data(), c.image.size()) != c.Numbers().ImageCrc)
        c.Fault("the unpacked image is not the one setup.exe was stamped for");
    return true;
}

struct Piece {
    std::string Name;
    size_t Offset, Size;
};

// The files the setup program will cut from the image, listed with their CRC-32.
std::vector<Piece> ListFiles(Check& c, const std::string& mainName) {
    const FileTable& table = c.inspection.Trailer.Table;
    std::vector<Piece> pieces{
        {mainName, 0, table.empty() ? c.image.size() : size_t(table.front().Offset)}};
    for (const FileTableEntry& e : table)
        pieces.push_back({e.Name, size_t(e.Offset), size_t(e.Size)});
    std::vector<TableRow> rows;
    for (const Piece& p : pieces)
        rows.push_back({p.Name, Grouped(int64_t(p.Size)),
                        "  " + Hex32(Crc32(c.image.data() + p.Offset, p.Size))});
    PrintTable(c.out, "     ", {{"Name", 20, false}, {"Size", 14, true}, {"  CRC-32", 0, false}},
               rows);
    return pieces;
}

void CheckAgainstProduct(Check& c, const std::vector<Piece>& pieces, const fs::path& product) {
    std::error_code ec;
    std::set<std::string> inSet;
    for (const Piece& p : pieces) {
        inSet.insert(p.Name);
        if (!fs::is_regular_file(product / p.Name, ec)) {
            c.Fault(p.Name + " is in the disk set but not in " + product.string());
            continue;
        }
        std::vector<uint8_t> original = ReadWholeFile(product / p.Name);
        if (original.size() != p.Size ||
            (p.Size && std::memcmp(original.data(), c.image.data() + p.Offset, p.Size) != 0))
            c.Fault(p.Name + " differs from " + (product / p.Name).string());
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(product, ec))
        if (!inSet.count(entry.path().filename().string()))
            c.Fault(entry.path().filename().string() + " of " + product.string() +
                    " is missing from the disk set");
    if (ec) c.Fault("cannot list " + product.string());
}

}  // namespace

int Verify(const Args& args, std::ostream& out, std::ostream& err) {
    Arguments a = ParseArguments(args, 1, {"--against", "--main"}, {});
    std::string mainName = a.Value("--main", ProductProfile.MainProgramFile);
    std::error_code ec;
    if (a.Has("--against") && !fs::is_directory(a.Value("--against"), ec))
        throw UsageError("there is no product folder " + a.Value("--against"));
    Check c(out, err);
    std::unique_ptr<TemporaryFolder> extracted;
    FindSet(c, a.Positional[0], extracted);
    if (!CheckSetupProgram(c)) return kExitMismatch;
    CheckVolumes(c);
    if (!CheckDecoding(c)) return kExitMismatch;
    std::vector<Piece> pieces = ListFiles(c, mainName);
    if (a.Has("--against")) CheckAgainstProduct(c, pieces, a.Value("--against"));
    out << (c.faults ? "FAILED: " + std::to_string(c.faults) + " fault(s)\n" : "OK\n");
    return c.faults ? kExitMismatch : kExitOk;
}

}  // namespace tidemark::mkdisks
