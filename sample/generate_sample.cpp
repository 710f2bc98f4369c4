// Writes the sample product's files other than its two programs: libraries of machine-code-like
// bytes, a help file, a library of templates, a desktop layout file and the text documents. The
// bytes come from a fixed-seed generator of our own, so every build and every machine makes the
// same files, and they are made of what real program files are made of (instruction patterns
// with repeating registers and offsets, tables, strings, text) so that they compress about as
// well as a real product does.
//
//   generate_sample OUTPUT_FOLDER
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// SplitMix64: small, fast, and the same everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }
    uint8_t Byte() { return static_cast<uint8_t>(Next()); }
    bool Chance(uint32_t percent) { return Below(100) < percent; }
    // Small values far more often than large ones, as offsets and counts are in real code.
    uint32_t Skewed(uint32_t n) {
        uint32_t a = Below(n), b = Below(n);
        return a < b ? a : b;
    }

private:
    uint64_t state_;
};

void Put16(Bytes& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
    Put16(out, v);
    Put16(out, v >> 16);
}
void PutText(Bytes& out, const std::string& s) { out.insert(out.end(), s.begin(), s.end()); }

// ---- words and text ----

const char* const kWords[] = {
    "file",         "folder",   "archive",  "index",   "record", "tide",    "mark",
    "level",        "search",   "sort",     "copy",    "move",   "restore", "backup",
    "select",       "window",   "menu",     "option",  "dialog", "button",  "list",
    "view",         "report",   "print",    "disk",    "drive",  "network", "server",
    "user",         "setting",  "change",   "history", "undo",   "keep",    "date",
    "size",         "name",     "type",     "group",   "filter", "rule",    "schedule",
    "the",          "a",        "of",       "to",      "and",    "in",      "is",
    "for",          "with",     "on",       "that",    "you",    "your",    "each",
    "when",         "can",      "this",     "from",    "by",     "be",      "are",
    "or",           "not",      "all",      "which",   "new",    "first",   "last",
    "open",         "close",    "save",     "delete",  "press",  "choose",  "enter",
    "shows",        "keeps",    "finds",    "marks",   "sorts",  "moves",   "older",
    "recent",       "selected", "current",  "whole",   "empty",  "long",    "short",
    "FileTidemark", "Windows",  "Tidemark", "F1",      "Enter",  "Esc",     "Ctrl",
};
constexpr uint32_t kWordCount = sizeof kWords / sizeof kWords[0];

std::string Sentence(Random& r) {
    std::string s;
    uint32_t n = 5 + r.Below(12);
    for (uint32_t i = 0; i < n; ++i) {
        std::string w = kWords[r.Skewed(kWordCount)];
        if (i == 0 && w[0] >= 'a' && w[0] <= 'z') w[0] = char(w[0] - 'a' + 'A');
        if (i) s += ' ';
        s += w;
        if (i + 1 < n && r.Chance(8)) s += ',';
    }
    return s + '.';
}

std::string Paragraph(Random& r, size_t width) {
    std::string text, line;
    uint32_t sentences = 2 + r.Below(5);
    for (uint32_t i = 0; i < sentences; ++i) {
        std::string s = Sentence(r);
        size_t start = 0;
        while (start < s.size()) {
            size_t space = s.find(' ', start);
            std::string word =
                s.substr(start, space == std::string::npos ? std::string::npos : space - start);
            start = space == std::string::npos ? s.size() : space + 1;
            if (!line.empty() && line.size() + 1 + word.size() > width) {
                text += line + "\r\n";
                line.clear();
            }
            line += (line.empty() ? "" : " ") + word;
        }
    }
    return text + line + "\r\n\r\n";
}

std::string Identifier(Random& r) {
    static const char* const kParts[] = {"Tide", "Mark", "File", "Index", "Arch", "View", "Sort",
                                         "Find", "Rec",  "Buf",  "List",  "Dlg",  "Wnd",  "Str",
                                         "Get",  "Set",  "Init", "Free",  "Open", "Read", "Write"};
    std::string id;
    uint32_t n = 2 + r.Below(3);
    for (uint32_t i = 0; i < n; ++i) id += kParts[r.Skewed(sizeof kParts / sizeof kParts[0])];
    return id;
}

// ---- machine code ----

// One function: prologue, a body of common instruction shapes on a few registers and frame
// offsets, an epilogue. Calls go to a small set of targets, as they do in a real module.
void Function(Random& r, Bytes& out, const std::vector<uint32_t>& targets,
              const std::vector<Bytes>& idioms) {
    uint8_t frame = uint8_t(4 * (2 + r.Below(16)));
    const uint8_t prologue[] = {0x55, 0x8B, 0xEC, 0x83, 0xEC, frame, 0x53, 0x56, 0x57};
    out.insert(out.end(), prologue, prologue + sizeof prologue);
    uint32_t body = 6 + r.Skewed(40);
    for (uint32_t i = 0; i < body; ++i) {
        uint8_t reg = uint8_t(r.Skewed(8));
        uint8_t disp = uint8_t(4 * (1 + r.Skewed(frame / 4)));
        // The same few sequences recur throughout a module: macros, inlined helpers, the
        // compiler's favourite ways of doing common things.
        if (r.Chance(12)) {
            const Bytes& idiom = idioms[r.Skewed(uint32_t(idioms.size()))];
            out.insert(out.end(), idiom.begin(), idiom.end());
            continue;
        }
        switch (r.Below(12)) {
            case 0:  // mov reg, [ebp+arg]
                out.insert(out.end(),
                           {0x8B, uint8_t(0x45 | reg << 3), uint8_t(8 + 4 * r.Skewed(6))});
                break;
            case 1:  // mov [ebp-local], reg
                out.insert(out.end(), {0x89, uint8_t(0x45 | reg << 3), uint8_t(0x100 - disp)});
                break;
            case 2:  // mov reg, [ebp-local]
                out.insert(out.end(), {0x8B, uint8_t(0x45 | reg << 3), uint8_t(0x100 - disp)});
                break;
            case 3:  // push reg / push imm8
                if (r.Chance(50))
                    out.push_back(uint8_t(0x50 | reg));
                else
                    out.insert(out.end(), {0x6A, uint8_t(r.Skewed(32))});
                break;
            case 4: {  // call target
                out.push_back(0xE8);
                Put32(out, targets[r.Skewed(uint32_t(targets.size()))] - uint32_t(out.size()));
                if (r.Chance(40))
                    out.insert(out.end(), {0x83, 0xC4, uint8_t(4 * (1 + r.Skewed(4)))});
                break;
            }
            case 5:  // test / cmp and a short jump
                if (r.Chance(50))
                    out.insert(out.end(), {0x85, uint8_t(0xC0 | reg << 3 | reg)});
                else
                    out.insert(out.end(), {0x83, uint8_t(0xF8 | reg), uint8_t(r.Skewed(16))});
                out.insert(out.end(), {uint8_t(0x74 + r.Below(4)), uint8_t(2 + r.Skewed(60))});
                break;
            case 6:  // xor reg, reg
                out.insert(out.end(), {0x33, uint8_t(0xC0 | reg << 3 | reg)});
                break;
            case 7:  // mov reg, imm32 (a constant or an address in the data section)
                out.push_back(uint8_t(0xB8 | reg));
                Put32(out, r.Chance(60) ? 0x10020000u + 4 * r.Skewed(1024) : r.Skewed(4096));
                break;
            case 8:  // lea reg, [ebp-local]
                out.insert(out.end(), {0x8D, uint8_t(0x45 | reg << 3), uint8_t(0x100 - disp)});
                break;
            case 9:  // add / sub reg, imm8
                out.insert(out.end(), {0x83, uint8_t(0xC0 | (r.Chance(50) ? 0 : 5 << 3) | reg),
                                       uint8_t(1 + r.Skewed(16))});
                break;
            case 10:  // mov reg, [reg+disp8]
                out.insert(out.end(), {0x8B, uint8_t(0x40 | reg << 3 | r.Skewed(8)),
                                       uint8_t(4 * r.Skewed(16))});
                break;
            default:  // call [import]
                out.insert(out.end(), {0xFF, 0x15});
                Put32(out, 0x10030000u + 4 * r.Skewed(96));
                break;
        }
    }
    const uint8_t epilogue[] = {0x5F, 0x5E, 0x5B, 0x8B, 0xE5, 0x5D, 0xC3};
    out.insert(out.end(), epilogue, epilogue + sizeof epilogue);
    while (out.size() % 16) out.push_back(0xCC);  // padding between functions
}

void Code(Random& r, Bytes& out, size_t size) {
    std::vector<uint32_t> targets;
    for (int i = 0; i < 48; ++i) targets.push_back(r.Below(uint32_t(size)));
    std::vector<Bytes> idioms(24);
    for (Bytes& idiom : idioms) {
        // Made from the same instruction shapes as the rest, without prologue and epilogue.
        Bytes made;
        Function(r, made, targets, {{0x90}});
        size_t length = 8 + r.Below(24);
        idiom.assign(made.begin() + 9, made.begin() + 9 + std::min(length, made.size() - 16));
    }
    size_t end = out.size() + size;
    while (out.size() < end) Function(r, out, targets, idioms);
    out.resize(end);
}

// Already-compressed data (bitmaps and sounds packed by the product's own tools): it does not
// shrink again.
void Packed(Random& r, Bytes& out, size_t size) {
    for (size_t i = 0; i < size; ++i) out.push_back(r.Byte());
}

void Strings(Random& r, Bytes& out, size_t size) {
    size_t end = out.size() + size;
    while (out.size() < end) {
        std::string s = r.Chance(50) ? Identifier(r) : Sentence(r);
        PutText(out, s);
        out.push_back(0);
        if (r.Chance(30)) out.push_back(0);
    }
    out.resize(end);
}

// Fixed-size records with slowly changing fields: resource tables, lookup tables.
void Table(Random& r, Bytes& out, size_t size) {
    size_t end = out.size() + size;
    uint32_t base = r.Below(1 << 20), step = 1 + r.Below(64);
    for (uint32_t i = 0; out.size() < end; ++i) {
        Put32(out, base + i * step);
        Put16(out, uint16_t(r.Skewed(300)));
        Put16(out, uint16_t(i & 7));
        Put32(out, r.Chance(20) ? r.Below(1 << 16) : 0);
    }
    out.resize(end);
}

// A DOS stub and a PE-looking header, as every library of the product starts.
void LibraryHeader(Bytes& out, const std::string& name) {
    Bytes stub(0x80, 0);
    stub[0] = 'M';
    stub[1] = 'Z';
    stub[0x3C] = 0x80;
    const char* message = "This program cannot be run in DOS mode.\r\r\n$";
    std::memcpy(&stub[0x4E], message, std::strlen(message));
    out.insert(out.end(), stub.begin(), stub.end());
    PutText(out, std::string("PE\0\0", 4));
    Put16(out, 0x14C);
    Put16(out, 4);
    Bytes rest(0x400 - out.size(), 0);
    out.insert(out.end(), rest.begin(), rest.end());
    PutText(out, name);
}

struct Mix {
    uint32_t Code, Strings, Tables, Packed;  // parts per hundred
};

Bytes Library(uint64_t seed, const std::string& name, size_t size, Mix mix) {
    Random r(seed);
    Bytes out;
    LibraryHeader(out, name);
    size_t body = size - out.size();
    size_t block = 16384;
    while (out.size() < size) {
        size_t n = std::min(block, size - out.size());
        uint32_t pick = r.Below(100);
        if (pick < mix.Code)
            Code(r, out, n);
        else if (pick < mix.Code + mix.Strings)
            Strings(r, out, n);
        else if (pick < mix.Code + mix.Strings + mix.Tables)
            Table(r, out, n);
        else
            Packed(r, out, n);
    }
    (void)body;
    return out;
}

// ---- documents ----

std::string Document(uint64_t seed, const std::string& title, size_t size) {
    Random r(seed);
    std::string text = title + "\r\n" + std::string(title.size(), '=') + "\r\n\r\n";
    for (int section = 1; text.size() < size; ++section) {
        text += std::to_string(section) + ". " + Identifier(r) + "\r\n\r\n";
        uint32_t paragraphs = 1 + r.Below(4);
        for (uint32_t i = 0; i < paragraphs && text.size() < size; ++i) text += Paragraph(r, 72);
    }
    text.resize(size);
    return text;
}

// A help file: a header, a topic index, then topics of text with packed pictures among them.
Bytes HelpFile(uint64_t seed, size_t size) {
    Random r(seed);
    Bytes out;
    Put32(out, 0x00035F3F);
    Put32(out, 0x10);
    Put32(out, 0);
    Put32(out, uint32_t(size));
    std::vector<std::string> topics;
    for (int i = 0; i < 400; ++i) topics.push_back(Identifier(r));
    for (size_t i = 0; i < topics.size(); ++i) {
        PutText(out, topics[i]);
        out.push_back(0);
        Put32(out, uint32_t(i * 1733));
    }
    while (out.size() < size) {
        if (r.Chance(3)) {
            Packed(r, out, 1024 + r.Below(2048));
            continue;
        }
        PutText(out, topics[r.Below(uint32_t(topics.size()))]);
        out.push_back(0);
        PutText(out, Paragraph(r, 60));
        out.push_back(0);
    }
    out.resize(size);
    return out;
}

// A library of document templates: named records of fields and sample text.
Bytes TemplateLibrary(uint64_t seed, size_t size) {
    Random r(seed);
    Bytes out;
    PutText(out, "TMLIB 3.1\x1A");
    while (out.size() < size) {
        std::string name = Identifier(r);
        out.push_back(uint8_t(name.size()));
        PutText(out, name);
        uint32_t fields = 2 + r.Below(10);
        Put16(out, fields);
        for (uint32_t i = 0; i < fields; ++i) {
            Put16(out, uint16_t(r.Skewed(40)));
            Put16(out, uint16_t(8 * r.Skewed(32)));
            std::string label = kWords[r.Skewed(kWordCount)];
            out.push_back(uint8_t(label.size()));
            PutText(out, label);
        }
        if (r.Chance(50)) PutText(out, Sentence(r));
        if (r.Chance(10)) Code(r, out, 256 + r.Below(1024));
        if (r.Chance(5)) Packed(r, out, 256 + r.Below(1024));
    }
    out.resize(size);
    return out;
}

// The desktop layout: window places and colours per view, as fixed records.
Bytes DesktopLayout(uint64_t seed, size_t size) {
    Random r(seed);
    Bytes out;
    PutText(out, "TMDTP\x01\x00\x00");
    while (out.size() < size) {
        Put16(out, uint16_t(r.Skewed(640)));
        Put16(out, uint16_t(r.Skewed(480)));
        Put16(out, uint16_t(200 + r.Skewed(440)));
        Put16(out, uint16_t(100 + r.Skewed(380)));
        Put32(out, r.Chance(70) ? 0x00C0C0C0u : 0x00800000u | r.Below(256));
        std::string title = Identifier(r);
        title.resize(24, '\0');
        PutText(out, title);
    }
    out.resize(size);
    return out;
}

bool Write(const std::string& folder, const std::string& name, const Bytes& bytes) {
    std::string path = folder + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "generate_sample: cannot create %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "generate_sample: cannot write %s\n", path.c_str());
    return ok;
}

bool WriteText(const std::string& folder, const std::string& name, const std::string& text) {
    return Write(folder, name, Bytes(text.begin(), text.end()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_sample OUTPUT_FOLDER\n");
        return 2;
    }
    std::string out = argv[1];
    bool ok = true;
    ok &= Write(out, "TMCORE.DLL", Library(11, "TMCORE.DLL", 1540000, {70, 15, 10, 5}));
    ok &= Write(out, "TMVIEW.DLL", Library(12, "TMVIEW.DLL", 1150000, {64, 18, 10, 8}));
    ok &= Write(out, "TMARCH.DLL", Library(13, "TMARCH.DLL", 860000, {72, 10, 14, 4}));
    ok &= Write(out, "TMNET.DLL", Library(14, "TMNET.DLL", 540000, {68, 20, 8, 4}));
    ok &= Write(out, "TMFONTS.DLL", Library(15, "TMFONTS.DLL", 420000, {0, 10, 60, 30}));
    ok &= Write(out, "FILETIDE.HLP", HelpFile(21, 1300000));
    ok &= Write(out, "TIDEMARK.LIB", TemplateLibrary(22, 640000));
    ok &= Write(out, "TIDEMARK.DTP", DesktopLayout(23, 210000));
    ok &= WriteText(out, "README.TXT", Document(31, "FileTidemark - read me first", 38000));
    ok &= WriteText(out, "WHATSNEW.TXT", Document(32, "What is new in FileTidemark", 26000));
    ok &= WriteText(out, "LICENSE.TXT", Document(33, "FileTidemark licence", 14000));
    ok &= WriteText(out, "ORDER.TXT", Document(34, "Ordering FileTidemark", 9000));
    return ok ? 0 : 1;
}
