#include "commands.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <system_error>

#include "core/crc32.h"
#include "core/disk_set_block.h"
#include "core/error.h"
#include "core/name_rules.h"
#include "core/profile.h"
#include "core/volume_names.h"
#include "disk_set.h"
#include "errors.h"
#include "file_io.h"
#include "floppy.h"
#include "out_folder.h"
#include "product.h"
#include "setup_program.h"
#include "stream.h"
#include "volume_plan.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "usage:\n"
    "  mkdisks build PRODUCT_DIR --setup SETUP_EXE (--disks N | --disk-size BYTES) --out DIR\n"
    "                [--main NAME] [--replace-trailer] [--images] [--one-folder] [--stream FILE]\n"
    "      stamps the disk set's numbers and fingerprints into its copy of setup.exe; DIR is new,\n"
    "      empty, or holds only what an earlier build wrote there (it keeps the list in\n"
    "      DIR/.mkdisks-written), which is replaced\n"
    "  mkdisks plan PRODUCT_DIR (--disks N | --disk-size BYTES (--setup-size BYTES |\n"
    "               --setup-size-of SETUP_EXE))\n"
    "               [--main NAME] [--images] [--stream FILE]\n"
    "      --main: the main program's name in PRODUCT_DIR, Tidemark.Exe in any letter case\n"
    "      --stream: where the compressed stream is kept; reused while it decodes to the product,\n"
    "      and replaced only by a stream of another version (one that decodes to a program)\n"
    "  mkdisks list SETUP_EXE\n"
    "  mkdisks verify DIR [--against PRODUCT_DIR] [--main NAME]\n"
    "  mkdisks pack IN OUT [--parse greedy|lazy|optimal]\n"
    "  mkdisks unpack IN OUT SIZE\n";

// ---- command line ----

struct Arguments {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Values;
    std::set<std::string> Flags;

    bool Has(const std::string& name) const { return Values.count(name) || Flags.count(name); }
    std::string Value(const std::string& name, const std::string& otherwise = "") const {
        auto it = Values.find(name);
        return it == Values.end() ? otherwise : it->second;
    }
};

Arguments ParseArguments(const std::vector<std::string>& args, size_t positionalCount,
                         const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions) {
    Arguments parsed;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            if (valueOptions.count(a)) {
                if (i + 1 >= args.size()) throw Refusal(a + " needs a value");
                parsed.Values[a] = args[++i];
            } else if (flagOptions.count(a)) {
                parsed.Flags.insert(a);
            } else {
                throw Refusal("unknown option " + a + " for " + args[0]);
            }
        } else {
            parsed.Positional.push_back(a);
        }
    }
    if (parsed.Positional.size() != positionalCount)
        throw Refusal(args[0] + " takes " + std::to_string(positionalCount) +
                      " argument(s) besides its options");
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
        throw Refusal(option + " wants a whole number from " + std::to_string(lowest) + " to " +
                      std::to_string(highest) + ", not \"" + text + "\"");
    return value;
}

DiskRequest ParseDiskRequest(const Arguments& a) {
    bool byCount = a.Has("--disks"), bySize = a.Has("--disk-size");
    if (byCount == bySize) throw Refusal("give either --disks N or --disk-size BYTES");
    DiskRequest request;
    if (byCount)
        request.DiskCount = static_cast<int>(ParseCount("--disks", a.Value("--disks"), 1, 1000));
    else
        request.DiskSize = ParseCount("--disk-size", a.Value("--disk-size"), 1, INT64_C(1) << 40);
    return request;
}

// ---- printing ----

std::string Grouped(int64_t n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string result;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) result += ',';
        result += digits[i];
    }
    return n < 0 ? "-" + result : result;
}

std::string Padded(const std::string& text, size_t width, bool right = false) {
    if (text.size() >= width) return text;
    std::string pad(width - text.size(), ' ');
    return right ? pad + text : text + pad;
}

std::string Seconds(std::chrono::steady_clock::duration d) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", std::chrono::duration<double>(d).count());
    return text;
}

std::string Hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

void PrintFileTable(std::ostream& out, const PayloadTrailer& trailer) {
    out << "  #  " << Padded("Name", 20) << Padded("Offset", 14, true) << Padded("Size", 14, true)
        << "\n";
    for (size_t i = 0; i < trailer.Table.size(); ++i) {
        const FileTableEntry& e = trailer.Table[i];
        out << Padded(std::to_string(i + 1), 3, true) << "  " << Padded(e.Name, 20)
            << Padded(Grouped(e.Offset), 14, true) << Padded(Grouped(e.Size), 14, true) << "\n";
    }
    out << "  " << trailer.Table.size() << " entries, unpacked size "
        << Grouped(trailer.UnpackedSize) << " bytes\n";
}

// The numbers a setup program carries in its disk set block; Found is false for a program that
// carries no block.
struct StampedSet {
    bool Found = false;
    DiskSetNumbers Numbers;
    bool Checks() const { return Found && Numbers.Stamped(); }
};

StampedSet ReadStampedSet(const std::vector<uint8_t>& setup, int64_t imageEnd) {
    int64_t at = FindDiskSetBlock(setup, imageEnd);
    if (at < 0) return {};
    return {true, DecodeDiskSetBlock(&setup[size_t(at)])};
}

void PrintStampedSet(std::ostream& out, const StampedSet& set) {
    const DiskSetNumbers& n = set.Numbers;
    if (!set.Found) {
        out << "No disk set block in this setup program\n";
        return;
    }
    out << (n.Stamped() ? "Stamped" : "Not stamped (nothing is checked)") << ": DiskCount "
        << n.DiskCount << ", ExpectedArchiveSize " << Grouped(n.ExpectedArchiveSize) << "\n";
    if (!n.Stamped()) return;
    for (int i = 0; i < n.DiskCount && i < kMaxVolumes; ++i)
        out << "  " << Padded(VolumeFileName(ProductProfile.FirstVolumeFile, i + 1), 20)
            << Padded(Grouped(n.VolumeSize[i]), 14, true) << "  CRC-32 " << Hex32(n.VolumeCrc[i])
            << "\n";
    out << "  unpacked image CRC-32 " << Hex32(n.ImageCrc) << ", file table CRC-32 "
        << Hex32(n.TableCrc) << "\n";
}

// ---- the setup program ----

struct SetupProgram {
    std::vector<uint8_t> Bytes;  // without a table mkdisks wrote earlier
    size_t Block = 0;            // where its disk set block starts
};

// The setup program's bytes ready for a disk set: refuses anything that would not take a
// trailer cleanly, and a program without its disk set block; one that carries a table or a
// stamp already only with replaceTrailer.
SetupProgram PlainSetupProgram(const fs::path& path, bool replaceTrailer) {
    SetupProgram program{ReadWholeFile(path)};
    std::vector<uint8_t>& bytes = program.Bytes;
    SetupInspection inspection = InspectSetupProgram(bytes);
    switch (inspection.Tail) {
        case SetupTail::NotAProgram:
            throw Refusal(path.string() + " is not a Windows program");
        case SetupTail::UnknownData:
            throw Refusal(path.string() + " has " +
                          std::to_string(bytes.size() - size_t(inspection.ImageEnd)) +
                          " bytes after its program image that are not a file table (" +
                          inspection.UnknownDataFault +
                          "); give the program as the linker made it");
        case SetupTail::FileTable:
            if (!replaceTrailer)
                throw Refusal(path.string() + " already carries a file table (" +
                              std::to_string(inspection.Trailer.Table.size()) +
                              " entries); give the plain program or --replace-trailer");
            bytes.resize(bytes.size() - inspection.TrailerBytes);
            break;
        case SetupTail::Plain:
            break;
    }
    int64_t block = FindDiskSetBlock(bytes, inspection.ImageEnd);
    if (block == -2)
        throw Refusal(path.string() + " holds the disk set block's marker more than once");
    if (block < 0)
        throw Refusal(path.string() +
                      " has no disk set block to stamp; give the setup.exe built from this "
                      "source");
    program.Block = size_t(block);
    if (DecodeDiskSetBlock(&bytes[program.Block]).Stamped() && !replaceTrailer)
        throw Refusal(path.string() +
                      " is stamped for a disk set already; give the plain program or "
                      "--replace-trailer");
    return program;
}

// ---- build and plan ----

struct DiskSetPlan {
    UnpackedImage Image;
    std::vector<uint8_t> Archive;
    std::vector<int64_t> Volumes;
    bool Reused = false;
    std::chrono::steady_clock::duration CompressTime{};
};

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

DiskSetPlan MakePlan(const Arguments& a, int64_t plainSetupSize, int64_t cluster) {
    DiskRequest request = ParseDiskRequest(a);
    // Written there, the stream would go onto the disks of the next build as a product file.
    std::string stream = a.Value("--stream");
    if (!stream.empty() && LiesIn(stream, a.Positional[0]))
        throw Refusal("--stream " + stream + " lies in the product folder " + a.Positional[0] +
                      ", every file of which goes onto the disks; keep the stream outside it");
    Product product = ReadProduct(a.Positional[0], MainName(a));
    DiskSetPlan plan;
    plan.Image = BuildImage(product);
    auto start = std::chrono::steady_clock::now();
    plan.Archive = CompressOrReuse(plan.Image.Bytes, a.Value("--stream"), &plan.Reused);
    plan.CompressTime = std::chrono::steady_clock::now() - start;
    if (plan.Archive.size() > size_t(INT32_MAX))
        throw Refusal("the archive is larger than 2,147,483,647 bytes");
    int64_t setupSize = plainSetupSize + int64_t(TrailerSize(plan.Image.Trailer.Table.size()));
    plan.Volumes = CutVolumes(int64_t(plan.Archive.size()), setupSize, request, cluster);
    return plan;
}

// What the setup program needs to know of the set: its numbers and every fingerprint.
DiskSetNumbers NumbersOf(const DiskSetPlan& plan, const std::vector<uint8_t>& trailer) {
    DiskSetNumbers numbers;
    numbers.DiskCount = int32_t(plan.Volumes.size());
    numbers.ExpectedArchiveSize = int32_t(plan.Archive.size());
    size_t place = 0;
    for (size_t i = 0; i < plan.Volumes.size(); ++i) {
        numbers.VolumeSize[i] = int32_t(plan.Volumes[i]);
        numbers.VolumeCrc[i] = Crc32(plan.Archive.data() + place, size_t(plan.Volumes[i]));
        place += size_t(plan.Volumes[i]);
    }
    numbers.ImageCrc = Crc32(plan.Image.Bytes.data(), plan.Image.Bytes.size());
    numbers.TableCrc = Crc32(trailer.data(), trailer.size());
    return numbers;
}

void PrintPlan(std::ostream& out, const DiskSetPlan& plan, const std::string& mainName) {
    const PayloadTrailer& t = plan.Image.Trailer;
    int64_t mainSize = t.Table.empty() ? t.UnpackedSize : t.Table.front().Offset;
    out << "     " << Padded("Name", 20) << Padded("Offset", 14, true) << Padded("Size", 14, true)
        << "\n";
    out << "     " << Padded(mainName, 20) << Padded("0", 14, true)
        << Padded(Grouped(mainSize), 14, true) << "  main program\n";
    for (const FileTableEntry& e : t.Table)
        out << "     " << Padded(e.Name, 20) << Padded(Grouped(e.Offset), 14, true)
            << Padded(Grouped(e.Size), 14, true) << "\n";
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.1f%%",
                  t.UnpackedSize ? 100.0 * double(plan.Archive.size()) / t.UnpackedSize : 0.0);
    out << "Files:    " << t.Table.size() + 1 << " (" << t.Table.size() << " in the file table), "
        << Grouped(t.UnpackedSize) << " bytes unpacked\n";
    out << "Archive:  " << Grouped(int64_t(plan.Archive.size())) << " bytes, " << ratio
        << " of the unpacked size" << (plan.Reused ? " (kept stream reused" : " (compressed")
        << " in " << Seconds(plan.CompressTime) << ")\n";
    out << "Volumes: ";
    for (size_t i = 0; i < plan.Volumes.size(); ++i)
        out << (i ? ", " : " ") << VolumeFileName(ProductProfile.FirstVolumeFile, int(i + 1)) << " "
            << Grouped(plan.Volumes[i]);
    out << "\nDiskCount " << plan.Volumes.size() << "\nExpectedArchiveSize " << plan.Archive.size()
        << "\n";
}

int Build(const std::vector<std::string>& args, std::ostream& out) {
    Arguments a = ParseArguments(
        args, 1, {"--main", "--setup", "--disks", "--disk-size", "--out", "--stream"},
        {"--replace-trailer", "--images", "--one-folder"});
    if (!a.Has("--setup")) throw Refusal("build needs --setup SETUP_EXE");
    if (!a.Has("--out")) throw Refusal("build needs --out DIR");
    bool images = a.Has("--images");
    if (images && a.Has("--one-folder"))
        throw Refusal("--images makes one image per disk; it does not go with --one-folder");
    auto start = std::chrono::steady_clock::now();
    fs::path outDir = a.Value("--out");
    OutputFolder outFolder(outDir, a.Positional[0], {a.Value("--setup"), a.Value("--stream")});
    SetupProgram program = PlainSetupProgram(a.Value("--setup"), a.Has("--replace-trailer"));
    std::vector<uint8_t>& setup = program.Bytes;
    DiskSetPlan plan = MakePlan(a, int64_t(setup.size()), images ? kFloppyCluster : 1);

    std::vector<uint8_t> trailer = EncodeTrailer(plan.Image.Trailer);
    DiskSetBlockBytes block = EncodeDiskSetBlock(NumbersOf(plan, trailer));
    std::copy(block.Bytes, block.Bytes + kDiskSetBlockSize, setup.begin() + program.Block);
    setup.insert(setup.end(), trailer.begin(), trailer.end());
    if (images) {
        for (size_t i = 0; i < plan.Volumes.size(); ++i) {
            std::vector<int64_t> sizes{plan.Volumes[i]};
            if (i == 0) sizes.push_back(int64_t(setup.size()));
            if (FloppyBytesUsed(sizes) > kFloppyDataBytes)
                throw Refusal(
                    "disk " + std::to_string(i + 1) + " takes " + Grouped(FloppyBytesUsed(sizes)) +
                    " bytes, more than a 1.44 MB " + "floppy holds (" + Grouped(kFloppyDataBytes) +
                    "); use more disks or --disk-size " + std::to_string(kFloppyDataBytes));
        }
    }

    outFolder.Replace(DiskSetEntries(plan.Volumes.size(), ProductProfile.FirstVolumeFile,
                                     a.Has("--one-folder"), images));
    std::vector<DiskContents> disks =
        WriteDiskSet(outDir, setup, plan.Archive, plan.Volumes, ProductProfile.FirstVolumeFile,
                     a.Has("--one-folder"));
    if (images) {
        for (size_t i = 0; i < disks.size(); ++i) {
            std::string label = "DISK" + std::to_string(i + 1);
            MakeFloppyImage(outDir / ("disk" + std::to_string(i + 1) + ".img"), label,
                            disks[i].Folder);
        }
    }
    PrintPlan(out, plan, MainName(a));
    out << "Stamped into setup.exe with the CRC-32 of each volume, the image and the file table\n";
    out << "Disks:\n";
    for (size_t i = 0; i < disks.size(); ++i) {
        int64_t total = 0;
        out << "  "
            << (a.Has("--one-folder") ? "disk " + std::to_string(i + 1) + " (one folder)"
                                      : disks[i].Folder.filename().string())
            << ":";
        for (const fs::path& f : disks[i].Files) {
            int64_t size = int64_t(fs::file_size(f));
            total += size;
            out << " " << f.filename().string() << " " << Grouped(size) << ";";
        }
        out << " total " << Grouped(total) << "\n";
    }
    if (images) out << "Images:   disk1.img ... disk" << disks.size() << ".img\n";
    out << "Written to " << outDir.string() << " in "
        << Seconds(std::chrono::steady_clock::now() - start) << "\n";
    return kExitOk;
}

int Plan(const std::vector<std::string>& args, std::ostream& out) {
    Arguments a = ParseArguments(
        args, 1,
        {"--main", "--disks", "--disk-size", "--setup-size", "--setup-size-of", "--stream"},
        {"--images"});
    if (a.Has("--disk-size") && !a.Has("--setup-size") && !a.Has("--setup-size-of"))
        throw Refusal(
            "with --disk-size, plan needs the plain setup.exe's size: --setup-size "
            "BYTES or --setup-size-of SETUP_EXE");
    int64_t setupSize = 0;
    if (a.Has("--setup-size"))
        setupSize = ParseCount("--setup-size", a.Value("--setup-size"), 0, INT64_C(1) << 31);
    else if (a.Has("--setup-size-of"))
        setupSize = int64_t(PlainSetupProgram(a.Value("--setup-size-of"), true).Bytes.size());
    DiskSetPlan plan = MakePlan(a, setupSize, a.Has("--images") ? kFloppyCluster : 1);
    PrintPlan(out, plan, MainName(a));
    return kExitOk;
}

// ---- list ----

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a = ParseArguments(args, 1, {}, {});
    fs::path path = a.Positional[0];
    std::vector<uint8_t> bytes = ReadWholeFile(path);
    SetupInspection inspection = InspectSetupProgram(bytes);
    switch (inspection.Tail) {
        case SetupTail::NotAProgram:
            err << "mkdisks: " << path.string() << " is not a Windows program\n";
            return kExitMismatch;
        case SetupTail::Plain:
            err << "mkdisks: " << path.string() << " carries no file table\n";
            return kExitMismatch;
        case SetupTail::UnknownData: {
            err << "mkdisks: the " << bytes.size() - size_t(inspection.ImageEnd)
                << " bytes after the program image of " << path.string()
                << " are not a well-formed file table: " << inspection.UnknownDataFault << "\n";
            PayloadTrailer raw;
            if (ParseTrailer(bytes.data() + bytes.size(), bytes.size(), raw)) {
                out << "What the setup program would read:\n";
                PrintFileTable(out, raw);
            }
            return kExitMismatch;
        }
        case SetupTail::FileTable:
            break;
    }
    out << path.string() << ": program image " << Grouped(inspection.ImageEnd)
        << " bytes, file table " << inspection.TrailerBytes << " bytes\n";
    PrintFileTable(out, inspection.Trailer);
    StampedSet stamped = ReadStampedSet(bytes, inspection.ImageEnd);
    PrintStampedSet(out, stamped);
    uint32_t tableCrc =
        Crc32(&bytes[bytes.size() - inspection.TrailerBytes], inspection.TrailerBytes);
    if (stamped.Checks() && tableCrc != stamped.Numbers.TableCrc) {
        err << "mkdisks: the file table's CRC-32 is " << Hex32(tableCrc)
            << ", not the one stamped: the setup program would refuse it\n";
        return kExitMismatch;
    }
    return kExitOk;
}

// ---- verify ----

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

int Verify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a = ParseArguments(args, 1, {"--against", "--main"}, {});
    fs::path dir = a.Positional[0];
    std::string mainName = a.Value("--main", ProductProfile.MainProgramFile);
    int faults = 0;
    auto fault = [&](const std::string& text) {
        err << "mkdisks: " << text << "\n";
        ++faults;
    };

    std::error_code ec;
    std::unique_ptr<TemporaryFolder> extracted;
    std::vector<fs::path> images = FindDiskImages(dir);
    if (!images.empty() && !fs::is_directory(dir / "disk1", ec) &&
        !fs::exists(dir / kSetupFileName, ec)) {
        extracted = std::make_unique<TemporaryFolder>();
        for (size_t i = 0; i < images.size(); ++i)
            ExtractFloppyImage(images[i], extracted->Path() / ("disk" + std::to_string(i + 1)));
        out << "Read " << images.size() << " floppy image(s)\n";
    }
    FoundDiskSet set;
    try {
        set = FindDiskSet(extracted ? extracted->Path() : dir, ProductProfile.FirstVolumeFile);
    } catch (const Refusal& e) {
        err << "mkdisks: " << e.what() << "\n";
        return kExitMismatch;
    }

    std::vector<uint8_t> setup = ReadWholeFile(set.Setup);
    SetupInspection inspection = InspectSetupProgram(setup);
    if (inspection.Tail != SetupTail::FileTable) {
        err << "mkdisks: setup.exe carries no well-formed file table"
            << (inspection.UnknownDataFault.empty() ? "" : ": " + inspection.UnknownDataFault)
            << "\n";
        return kExitMismatch;
    }
    const PayloadTrailer& trailer = inspection.Trailer;
    out << "File table of setup.exe: " << trailer.Table.size() << " entries, unpacked size "
        << Grouped(trailer.UnpackedSize) << "\n";
    // The disks are checked against what the setup program will check them against.
    StampedSet stamped = ReadStampedSet(setup, inspection.ImageEnd);
    PrintStampedSet(out, stamped);
    const DiskSetNumbers& n = stamped.Numbers;
    uint32_t tableCrc =
        Crc32(&setup[setup.size() - inspection.TrailerBytes], inspection.TrailerBytes);
    if (stamped.Checks() && tableCrc != n.TableCrc)
        fault("the file table's CRC-32 is " + Hex32(tableCrc) + ", setup.exe was stamped with " +
              Hex32(n.TableCrc));
    if (stamped.Checks() && int64_t(set.Volumes.size()) != n.DiskCount)
        fault("setup.exe asks for " + std::to_string(n.DiskCount) + " disk(s); " +
              std::to_string(set.Volumes.size()) + " volume(s) found");

    std::vector<uint8_t> archive;
    for (size_t i = 0; i < set.Volumes.size(); ++i) {
        std::vector<uint8_t> volume = ReadWholeFile(set.Volumes[i]);
        uint32_t crc = Crc32(volume.data(), volume.size());
        out << "Volume " << i + 1 << ": " << set.Volumes[i].filename().string() << " "
            << Grouped(int64_t(volume.size())) << " bytes, CRC-32 " << Hex32(crc) << "\n";
        if (stamped.Checks() && int64_t(i) < n.DiskCount &&
            (int64_t(volume.size()) != n.VolumeSize[i] || crc != n.VolumeCrc[i]))
            fault("volume " + std::to_string(i + 1) + " (" + set.Volumes[i].filename().string() +
                  ") is damaged or of another set: setup.exe was stamped with " +
                  Grouped(n.VolumeSize[i]) + " bytes, CRC-32 " + Hex32(n.VolumeCrc[i]));
        archive.insert(archive.end(), volume.begin(), volume.end());
    }
    out << "Archive: " << Grouped(int64_t(archive.size())) << " bytes\n";
    if (stamped.Checks() && int64_t(archive.size()) != n.ExpectedArchiveSize)
        fault("the volumes hold " + Grouped(int64_t(archive.size())) +
              " bytes, but setup.exe shows " + Grouped(n.ExpectedArchiveSize) + " as 100 %");

    // Every symbol takes at least one bit and a match at most 60 bytes for at least ten bits
    // (its length and position), so an archive cannot decode to more than 48 bytes a byte; a
    // table that claims more is not worth decoding for.
    if (int64_t(trailer.UnpackedSize) > 48 * (int64_t(archive.size()) + 2) + 60) {
        err << "mkdisks: the file table's unpacked size " << Grouped(trailer.UnpackedSize)
            << " is more than an archive of " << Grouped(int64_t(archive.size()))
            << " bytes can hold\n";
        return kExitMismatch;
    }
    auto start = std::chrono::steady_clock::now();
    DecodeOutcome decoded = Decompress(archive, trailer.UnpackedSize);
    out << "Decoded in " << Seconds(std::chrono::steady_clock::now() - start) << "\n";
    std::vector<uint8_t>& image = decoded.Output;
    if (image.size() != size_t(trailer.UnpackedSize)) {
        fault("the archive decodes to " + Grouped(int64_t(image.size())) + " bytes, not " +
              Grouped(trailer.UnpackedSize));
        image.resize(size_t(trailer.UnpackedSize));
    }
    std::string lengthFault = ArchiveLengthFault(archive.size(), decoded.BytesRequested);
    if (!lengthFault.empty()) fault(lengthFault);
    if (stamped.Checks() && Crc32(image.data(), image.size()) != n.ImageCrc)
        fault("the unpacked image is not the one setup.exe was stamped for");

    struct Piece {
        std::string Name;
        size_t Offset, Size;
    };
    std::vector<Piece> pieces;
    pieces.push_back(
        {mainName, 0, trailer.Table.empty() ? image.size() : size_t(trailer.Table.front().Offset)});
    for (const FileTableEntry& e : trailer.Table)
        pieces.push_back({e.Name, size_t(e.Offset), size_t(e.Size)});
    out << "     " << Padded("Name", 20) << Padded("Size", 14, true) << "  CRC-32\n";
    for (const Piece& p : pieces)
        out << "     " << Padded(p.Name, 20) << Padded(Grouped(int64_t(p.Size)), 14, true) << "  "
            << Hex32(Crc32(image.data() + p.Offset, p.Size)) << "\n";

    if (a.Has("--against")) {
        fs::path product = a.Value("--against");
        std::set<std::string> inSet;
        for (const Piece& p : pieces) {
            inSet.insert(p.Name);
            if (!fs::is_regular_file(product / p.Name, ec)) {
                fault(p.Name + " is in the disk set but not in " + product.string());
                continue;
            }
            std::vector<uint8_t> original = ReadWholeFile(product / p.Name);
            if (original.size() != p.Size ||
                (p.Size && std::memcmp(original.data(), image.data() + p.Offset, p.Size) != 0))
                fault(p.Name + " differs from " + (product / p.Name).string());
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(product, ec))
            if (!inSet.count(entry.path().filename().string()))
                fault(entry.path().filename().string() + " of " + product.string() +
                      " is missing from the disk set");
        if (ec) fault("cannot list " + product.string());
    }
    out << (faults ? "FAILED: " + std::to_string(faults) + " fault(s)\n" : "OK\n");
    return faults ? kExitMismatch : kExitOk;
}

// ---- pack and unpack ----

int Pack(const std::vector<std::string>& args, std::ostream& out) {
    Arguments a = ParseArguments(args, 2, {"--parse"}, {});
    std::string parseName = a.Value("--parse", "optimal");
    LzhParse parse = LzhParse::Optimal;
    if (parseName == "greedy")
        parse = LzhParse::Greedy;
    else if (parseName == "lazy")
        parse = LzhParse::Lazy;
    else if (parseName != "optimal")
        throw Refusal("--parse is greedy, lazy or optimal");
    std::vector<uint8_t> data = ReadWholeFile(a.Positional[0]);
    if (data.size() > size_t(INT32_MAX)) throw Refusal("the input is larger than 2 GB - 1");
    auto start = std::chrono::steady_clock::now();
    std::vector<uint8_t> stream = Compress(data, parse);
    auto elapsed = std::chrono::steady_clock::now() - start;
    WriteWholeFile(a.Positional[1], stream);
    out << Grouped(int64_t(data.size())) << " -> " << Grouped(int64_t(stream.size()))
        << " bytes in " << Seconds(elapsed) << "; unpack with size " << data.size() << "\n";
    return kExitOk;
}

int Unpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a = ParseArguments(args, 3, {}, {});
    int32_t size = int32_t(ParseCount("SIZE", a.Positional[2], 0, INT32_MAX));
    std::vector<uint8_t> stream = ReadWholeFile(a.Positional[0]);
    DecodeOutcome decoded = Decompress(stream, size);
    decoded.Output.resize(size_t(size));
    WriteWholeFile(a.Positional[1], decoded.Output);
    out << Grouped(int64_t(stream.size())) << " -> " << Grouped(size) << " bytes\n";
    std::string lengthFault = ArchiveLengthFault(stream.size(), decoded.BytesRequested);
    if (!lengthFault.empty()) {
        err << "mkdisks: " << lengthFault << "\n";
        return kExitMismatch;
    }
    return kExitOk;
}

}  // namespace

int RunMkdisks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? kExitRefused : kExitOk;
    }
    const std::string& command = args[0];
    // A disk set that cannot even be read does not check out; elsewhere a failure stops the
    // request before anything is written.
    int failure = (command == "verify" || command == "list") ? kExitMismatch : kExitRefused;
    try {
        if (command == "build") return Build(args, out);
        if (command == "plan") return Plan(args, out);
        if (command == "list") return List(args, out, err);
        if (command == "verify") return Verify(args, out, err);
        if (command == "pack") return Pack(args, out);
        if (command == "unpack") return Unpack(args, out, err);
        err << "mkdisks: unknown command " << command << "\n" << kUsage;
        return kExitRefused;
    } catch (const Refusal& e) {
        err << "mkdisks: " << e.what() << "\n";
    } catch (const FileFailure& e) {
        err << "mkdisks: " << e.what() << "\n";
    } catch (const Error& e) {
        err << "mkdisks: " << e.ClassName() << ": " << e.Message() << "\n";
    } catch (const std::exception& e) {
        err << "mkdisks: " << e.what() << "\n";
    }
    return failure;
}

}  // namespace tidemark::mkdisks
