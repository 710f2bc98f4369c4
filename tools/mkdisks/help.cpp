#include "help.h"

namespace tidemark::mkdisks {

namespace {

struct CommandHelp {
    const char* Name;
    const char* Synopsis;
    const char* Description;
    const char* Options;
    const char* ExitCodes;
};

const CommandHelp kCommands[] = {
    {"build",
     "mkdisks build PRODUCT_DIR --setup SETUP_EXE (--disks N | --disk-size BYTES) --out DIR\n"
     "              [--main NAME] [--stream FILE] [--replace-trailer] [--images | --one-folder]",
     "Compresses the product folder (the main program first, the other files by name), stamps\n"
     "the set's numbers and fingerprints into its copy of SETUP_EXE, appends the file table and\n"
     "writes DIR/disk1/setup.exe, DIR/disk1/<volume 1>, DIR/disk2/<volume 2>, ... DIR is new,\n"
     "empty, or holds only what an earlier build wrote there (listed in DIR/.mkdisks-written),\n"
     "which is all it replaces. Warns when the product has no UnInstal.Exe.",
     "  --setup SETUP_EXE    the setup program as built; it is never changed\n"
     "  --disks N            N disks (1 to 4) sharing the set evenly\n"
     "  --disk-size BYTES    disks of at most BYTES each; disk 1 also holds setup.exe\n"
     "  --out DIR            where the disk set goes\n"
     "  --main NAME          the main program's name in PRODUCT_DIR (Tidemark.Exe, any case)\n"
     "  --stream FILE        keeps the compressed stream there and reuses it while it decodes\n"
     "                       to the product; replaces only a stream of another version\n"
     "  --replace-trailer    accept a SETUP_EXE that carries a table or a stamp already\n"
     "  --images             also write DIR/disk<n>.img, 1.44 MB floppy images (needs mtools;\n"
     "                       not on Windows)\n"
     "  --one-folder         every disk's files in DIR itself",
     "  0  the set is written\n"
     "  2  the command line, the product or the setup program was refused, or a file could not\n"
     "     be written; nothing new is left behind"},
    {"plan",
     "mkdisks plan PRODUCT_DIR (--disks N | --disk-size BYTES (--setup-size BYTES |\n"
     "             --setup-size-of SETUP_EXE)) [--main NAME] [--images] [--stream FILE]",
     "Shows what build would make: the image's files, the archive and the volumes.",
     "  --disks, --disk-size, --main, --stream: as for build\n"
     "  --setup-size BYTES   the plain setup program's size, for --disk-size\n"
     "  --setup-size-of SETUP_EXE  the same, read from the program\n"
     "  --images             plan for 1.44 MB floppies (whole 512-byte clusters)",
     "  0  the plan is shown\n"
     "  2  the command line or the product was refused"},
    {"list", "mkdisks list SETUP_EXE",
     "Shows the file table a setup program carries and the disk set numbers stamped into it.",
     "  (none)",
     "  0  the table is well-formed and matches its stamp\n"
     "  1  no table, a damaged one, or one the stamp does not match\n"
     "  2  the command line was refused or SETUP_EXE does not exist"},
    {"verify", "mkdisks verify DIR [--against PRODUCT_DIR] [--main NAME]",
     "Joins the volumes of the set in DIR (disk<n> folders, one folder, or disk<n>.img images),\n"
     "checks them against setup.exe's stamp, decodes them as the setup program does and checks\n"
     "every file.",
     "  --against PRODUCT_DIR  also compare every file with the product folder\n"
     "  --main NAME            the main program's name there",
     "  0  the set matches\n"
     "  1  a difference: a damaged, missing or foreign volume, table or file\n"
     "  2  the command line was refused or DIR does not exist"},
    {"pack", "mkdisks pack IN OUT [--parse greedy|lazy|optimal]",
     "Compresses IN into the raw stream OUT.",
     "  --parse KIND         the encoder's parse (optimal)",
     "  0  OUT is written\n"
     "  2  the command line was refused or a file could not be read or written"},
    {"unpack", "mkdisks unpack IN OUT SIZE", "Decodes the raw stream IN into OUT, SIZE bytes.",
     "  (none)",
     "  0  OUT is written\n"
     "  1  the stream is damaged (it ends early or runs on); OUT is not written\n"
     "  2  the command line was refused or a file could not be read or written"},
};

}  // namespace

const char* MkdisksVersion() { return MKDISKS_VERSION; }

void PrintUsage(std::ostream& out) {
    out << "usage:\n";
    for (const CommandHelp& c : kCommands) out << "  " << c.Synopsis << "\n";
    out << "  mkdisks help COMMAND | mkdisks COMMAND --help | mkdisks --version\n"
           "exit codes:\n"
           "  0  done (verify: the set matches)\n"
           "  1  verify found a difference, or a file to read is damaged\n"
           "  2  the command line or an input was refused; nothing new is left behind\n";
}

bool PrintCommandHelp(std::ostream& out, const std::string& command) {
    for (const CommandHelp& c : kCommands) {
        if (command != c.Name) continue;
        out << "usage: " << c.Synopsis << "\n\n"
            << c.Description << "\n\noptions:\n"
            << c.Options << "\n\nexit codes:\n"
            << c.ExitCodes << "\n";
        return true;
    }
    return false;
}

}  // namespace tidemark::mkdisks
