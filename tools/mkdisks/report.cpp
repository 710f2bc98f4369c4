#include "report.h"

#include <cstdio>

#include "core/launch_rules.h"
#include "core/name_rules.h"
#include "core/profile.h"
#include "core/volume_names.h"

namespace tidemark::mkdisks {

std::string Grouped(int64_t n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string result;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) result += ',';
        result += digits[i];
    }
    return n < 0 ? "-" + result : result;
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

namespace {

std::string Padded(const std::string& text, size_t width, bool right) {
    if (text.size() >= width) return text;
    std::string pad(width - text.size(), ' ');
    return right ? pad + text : text + pad;
}

void PrintLine(std::ostream& out, const std::string& indent, const std::vector<Column>& columns,
               const TableRow& cells) {
    std::string line = indent;
    for (size_t i = 0; i < columns.size() && i < cells.size(); ++i)
        line += Padded(cells[i], columns[i].Width, columns[i].Right);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << "\n";
}

}  // namespace

void PrintTable(std::ostream& out, const std::string& indent, const std::vector<Column>& columns,
                const std::vector<TableRow>& rows) {
    TableRow headings;
    for (const Column& c : columns) headings.push_back(c.Heading);
    PrintLine(out, indent, columns, headings);
    for (const TableRow& row : rows) PrintLine(out, indent, columns, row);
}

void PrintFileTable(std::ostream& out, const PayloadTrailer& trailer) {
    std::vector<TableRow> rows;
    for (size_t i = 0; i < trailer.Table.size(); ++i) {
        const FileTableEntry& e = trailer.Table[i];
        rows.push_back({std::to_string(i + 1), "  " + e.Name, Grouped(e.Offset), Grouped(e.Size)});
    }
    PrintTable(out, "",
               {{"#", 3, true}, {"  Name", 22, false}, {"Offset", 14, true}, {"Size", 14, true}},
               rows);
    out << "  " << trailer.Table.size() << " entries, unpacked size "
        << Grouped(trailer.UnpackedSize) << " bytes\n";
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
    std::vector<TableRow> rows;
    for (int i = 0; i < n.DiskCount && i < kMaxVolumes; ++i)
        rows.push_back({VolumeFileName(ProductProfile.FirstVolumeFile, i + 1),
                        Grouped(n.VolumeSize[i]), "  " + Hex32(n.VolumeCrc[i])});
    PrintTable(out, "  ", {{"Volume", 20, false}, {"Size", 14, true}, {"  CRC-32", 0, false}},
               rows);
    out << "  unpacked image CRC-32 " << Hex32(n.ImageCrc) << ", file table CRC-32 "
        << Hex32(n.TableCrc) << "\n";
}

std::string UninstallerWarning(const PayloadTrailer& trailer) {
    for (const FileTableEntry& e : trailer.Table)
        if (FileNameKey(e.Name) == FileNameKey(kUninstallerFile)) return "";
    return std::string("warning: the product has no ") + kUninstallerFile +
           ", which the uninstall entry the setup program registers names; without it the "
           "product cannot be removed from the control panel";
}

}  // namespace tidemark::mkdisks
