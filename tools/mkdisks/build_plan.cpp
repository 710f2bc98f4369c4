// build and plan: the product's image, its archive and how it is cut into volumes; build also
// stamps the set into its copy of the setup program and writes the disks.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "arguments.h"
#include "core/crc32.h"
#include "core/disk_set_block.h"
#include "core/profile.h"
#include "core/volume_names.h"
#include "disk_set.h"
#include "errors.h"
#include "floppy.h"
#include "out_folder.h"
#include "product.h"
#include "report.h"
#include "setup_program.h"
#include "stream.h"
#include "subcommands.h"

namespace tidemark::mkdisks {

namespace fs = std::filesystem;

namespace {

struct DiskSetPlan {
    UnpackedImage Image;
    std::vector<uint8_t> Archive;
    std::vector<int64_t> Volumes;
    bool Reused = false;
    std::chrono::steady_clock::duration CompressTime{};
};

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
    plan.Archive = CompressOrReuse(plan.Image.Bytes, stream, &plan.Reused);
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
    std::vector<TableRow> rows{{mainName, "0", Grouped(mainSize), "  main program"}};
    for (const FileTableEntry& e : t.Table)
        rows.push_back({e.Name, Grouped(e.Offset), Grouped(e.Size)});
    PrintTable(out, "     ",
               {{"Name", 20, false}, {"Offset", 14, true}, {"Size", 14, true}, {"", 0, false}},
               rows);
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

// The copy of the setup program that goes on disk 1: stamped, with the file table appended.
std::vector<uint8_t> StampedSetupProgram(PlainProgram program, const DiskSetPlan& plan) {
    std::vector<uint8_t> trailer = EncodeTrailer(plan.Image.Trailer);
    DiskSetBlockBytes block = EncodeDiskSetBlock(NumbersOf(plan, trailer));
    std::copy(block.Bytes, block.Bytes + kDiskSetBlockSize, program.Bytes.begin() + program.Block);
    program.Bytes.insert(program.Bytes.end(), trailer.begin(), trailer.end());
    return std::move(program.Bytes);
}

void PrintDisks(std::ostream& out, const std::vector<DiskContents>& disks, bool oneFolder) {
    out << "Disks:\n";
    for (size_t i = 0; i < disks.size(); ++i) {
        int64_t total = 0;
        out << "  "
            << (oneFolder ? "disk " + std::to_string(i + 1) + " (one folder)"
                          : disks[i].Folder.filename().string())
            << ":";
        for (const fs::path& f : disks[i].Files) {
            int64_t size = int64_t(fs::file_size(f));
            total += size;
            out << " " << f.filename().string() << " " << Grouped(size) << ";";
        }
        out << " total " << Grouped(total) << "\n";
    }
}

Arguments BuildArguments(const Args& args) {
    Arguments a = ParseArguments(
        args, 1, {"--main", "--setup", "--disks", "--disk-size", "--out", "--stream"},
        {"--replace-trailer", "--images", "--one-folder"});
    if (!a.Has("--setup")) throw UsageError("build needs --setup SETUP_EXE");
    if (!a.Has("--out")) throw UsageError("build needs --out DIR");
    if (a.Has("--images") && a.Has("--one-folder"))
        throw UsageError("--images makes one image per disk; it does not go with --one-folder");
#ifdef _WIN32
    // The images are made with mtools, which Windows does not have.
    if (a.Has("--images"))
        throw UsageError(
            "--images needs mtools, which Windows lacks; build the disk folders here and make "
            "the images with mkdisks on Linux, or copy each disk folder onto a floppy");
#endif
    return a;
}

void WriteSet(const Arguments& a, const std::vector<uint8_t>& setup, const DiskSetPlan& plan,
              std::ostream& out) {
    fs::path outDir = a.Value("--out");
    bool oneFolder = a.Has("--one-folder");
    std::vector<DiskContents> disks = WriteDiskSet(outDir, setup, plan.Archive, plan.Volumes,
                                                   ProductProfile.FirstVolumeFile, oneFolder);
    if (a.Has("--images"))
        for (size_t i = 0; i < disks.size(); ++i)
            MakeFloppyImage(outDir / ("disk" + std::to_string(i + 1) + ".img"),
                            "DISK" + std::to_string(i + 1), disks[i].Folder);
    PrintPlan(out, plan, MainName(a));
    out << "Stamped into setup.exe with the CRC-32 of each volume, the image and the file table\n";
    PrintDisks(out, disks, oneFolder);
    if (a.Has("--images")) out << "Images:   disk1.img ... disk" << disks.size() << ".img\n";
}

}  // namespace

int FirstOverfullFloppy(const std::vector<int64_t>& volumes, int64_t setupSize) {
    for (size_t i = 0; i < volumes.size(); ++i) {
        std::vector<int64_t> sizes{volumes[i]};
        if (i == 0) sizes.push_back(setupSize);
        if (FloppyBytesUsed(sizes) > kFloppyDataBytes) return int(i + 1);
    }
    return 0;
}

int Build(const Args& args, std::ostream& out, std::ostream& err) {
    Arguments a = BuildArguments(args);
    bool images = a.Has("--images");
    auto start = std::chrono::steady_clock::now();
    fs::path outDir = a.Value("--out");
    OutputFolder outFolder(outDir, a.Positional[0], {a.Value("--setup"), a.Value("--stream")});
    PlainProgram program = PlainSetupProgram(a.Value("--setup"), a.Has("--replace-trailer"));
    DiskSetPlan plan = MakePlan(a, int64_t(program.Bytes.size()), images ? kFloppyCluster : 1);
    std::vector<uint8_t> setup = StampedSetupProgram(std::move(program), plan);
    if (int disk = images ? FirstOverfullFloppy(plan.Volumes, int64_t(setup.size())) : 0)
        throw Refusal("disk " + std::to_string(disk) + " takes more than a 1.44 MB floppy holds (" +
                      Grouped(kFloppyDataBytes) + " bytes); use more disks or --disk-size " +
                      std::to_string(kFloppyDataBytes));
    outFolder.Replace(DiskSetEntries(plan.Volumes.size(), ProductProfile.FirstVolumeFile,
                                     a.Has("--one-folder"), images));
    try {
        WriteSet(a, setup, plan, out);
    } catch (...) {
        outFolder.Discard();
        throw;
    }
    std::string warning = UninstallerWarning(plan.Image.Trailer);
    if (!warning.empty()) err << "mkdisks: " << warning << "\n";
    out << "Written to " << outDir.string() << " in "
        << Seconds(std::chrono::steady_clock::now() - start) << "\n";
    return kExitOk;
}

int Plan(const Args& args, std::ostream& out, std::ostream& err) {
    Arguments a = ParseArguments(
        args, 1,
        {"--main", "--disks", "--disk-size", "--setup-size", "--setup-size-of", "--stream"},
        {"--images"});
    if (a.Has("--disk-size") && !a.Has("--setup-size") && !a.Has("--setup-size-of"))
        throw UsageError(
            "with --disk-size, plan needs the plain setup.exe's size: --setup-size "
            "BYTES or --setup-size-of SETUP_EXE");
    int64_t setupSize = 0;
    if (a.Has("--setup-size"))
        setupSize = ParseCount("--setup-size", a.Value("--setup-size"), 0, INT64_C(1) << 31);
    else if (a.Has("--setup-size-of"))
        setupSize = int64_t(PlainSetupProgram(a.Value("--setup-size-of"), true).Bytes.size());
    DiskSetPlan plan = MakePlan(a, setupSize, a.Has("--images") ? kFloppyCluster : 1);
    PrintPlan(out, plan, MainName(a));
    std::string warning = UninstallerWarning(plan.Image.Trailer);
    if (!warning.empty()) err << "mkdisks: " << warning << "\n";
    return kExitOk;
}

}  // namespace tidemark::mkdisks
