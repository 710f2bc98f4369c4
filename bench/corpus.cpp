#include "corpus.h"

#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace tidemark {
namespace bench {

namespace {

using Bytes = std::vector<uint8_t>;

void PutLE(Bytes& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

const char* const kWords[] = {
    "the",       "to",       "of",          "and",      "a",        "file",     "in",
    "is",        "you",      "for",         "this",     "that",     "on",       "with",
    "program",   "select",   "window",      "can",      "be",       "menu",     "click",
    "text",      "are",      "or",          "folder",   "from",     "as",       "data",
    "dialog",    "box",      "list",        "option",   "each",     "name",     "disk",
    "use",       "tidemark", "when",        "it",       "command",  "which",    "new",
    "all",       "an",       "by",          "will",     "if",       "button",   "type",
    "changes",   "record",   "field",       "display",  "press",    "print",    "default",
    "directory", "search",   "character",   "help",     "current",  "settings", "previous",
    "contents",  "topic",    "information", "keyboard", "document", "table",    "column"};

}  // namespace

Bytes MakeText(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    const size_t wordCount = sizeof kWords / sizeof kWords[0];
    // Word ranks follow a Zipf-like law: rank r is picked about 1/(r+1) as often as rank 0.
    std::vector<double> weights;
    for (size_t r = 0; r < wordCount; ++r) weights.push_back(1.0 / double(r + 1));
    std::discrete_distribution<size_t> word(weights.begin(), weights.end());
    std::string text;
    bool sentenceStart = true;
    size_t lineLength = 0;
    while (text.size() < size) {
        std::string w = kWords[word(random)];
        if (sentenceStart) w[0] = static_cast<char>(w[0] - 'a' + 'A');
        text += w;
        lineLength += w.size();
        sentenceStart = random() % 11 == 0;
        if (sentenceStart) text += random() % 4 ? "." : ":";
        if (random() % 17 == 0) text += ",";
        if (lineLength > 64) {
            text += "\r\n";
            if (random() % 6 == 0) text += "\r\n";
            lineLength = 0;
        } else {
            text += " ";
            ++lineLength;
        }
    }
    text.resize(size);
    return Bytes(text.begin(), text.end());
}

Bytes MakeCode(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes out;
    uint32_t base = 0x401000;
    std::vector<uint32_t> functions;
    // A string table first, as a linker would place names of imports and messages.
    while (out.size() < size / 16) {
        size_t start = out.size();
        const char* a = kWords[random() % 40];
        const char* b = kWords[random() % 70];
        std::string name = std::string(a) + b;
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
        if (out.size() % 2) out.push_back(0);
        functions.push_back(base + static_cast<uint32_t>(start));
    }
    while (out.size() < size) {
        // One function: prologue, a body of common instruction shapes, epilogue, padding.
        functions.push_back(base + static_cast<uint32_t>(out.size()));
        out.insert(out.end(), {0x55, 0x8B, 0xEC});
        if (random() % 2)
            out.insert(out.end(), {0x83, 0xEC, static_cast<uint8_t>(4 * (random() % 16))});
        out.insert(out.end(), {0x53, 0x56, 0x57});
        int instructions = 8 + random() % 60;
        for (int i = 0; i < instructions; ++i) {
            switch (random() % 8) {
                case 0:  // mov reg, [ebp-disp]
                    out.insert(out.end(), {0x8B, static_cast<uint8_t>(0x45 + 8 * (random() % 4)),
                                           static_cast<uint8_t>(0x100 - 4 * (1 + random() % 8))});
                    break;
                case 1:  // mov [ebp+disp], reg
                    out.insert(out.end(), {0x89, static_cast<uint8_t>(0x45 + 8 * (random() % 4)),
                                           static_cast<uint8_t>(8 + 4 * (random() % 4))});
                    break;
                case 2: {  // call a known function
                    out.push_back(0xE8);
                    uint32_t target = functions[random() % functions.size()];
                    PutLE(out, target - (base + static_cast<uint32_t>(out.size()) + 4), 4);
                    break;
                }
                case 3:  // push imm8; test; jcc
                    out.insert(out.end(), {0x6A, static_cast<uint8_t>(random() % 4), 0x85, 0xC0,
                                           static_cast<uint8_t>(0x74 + random() % 2),
                                           static_cast<uint8_t>(random() % 40)});
                    break;
                case 4:  // mov eax, imm32 (addresses nearby)
                    out.push_back(0xB8);
                    PutLE(out, base + 0x20000 + 4 * (random() % 512), 4);
                    break;
                case 5:  // cmp reg, imm8
                    out.insert(out.end(), {0x83, static_cast<uint8_t>(0xF8 + random() % 4),
                                           static_cast<uint8_t>(random() % 16)});
                    break;
                case 6:  // lea, xor
                    out.insert(out.end(), {0x8D, 0x4D, static_cast<uint8_t>(0xF0 + random() % 16),
                                           0x33, 0xC0});
                    break;
                default:  // push reg; call [import]
                    out.insert(out.end(), {static_cast<uint8_t>(0x50 + random() % 8), 0xFF, 0x15});
                    PutLE(out, base + 0x30000 + 4 * (random() % 200), 4);
                    break;
            }
        }
        out.insert(out.end(), {0x5F, 0x5E, 0x5B, 0x8B, 0xE5, 0x5D, 0xC3});
        while (out.size() % 16) out.push_back(0xCC);
    }
    out.resize(size);
    return out;
}

Bytes MakeTables(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes out;
    uint32_t offset = 0;
    while (out.size() < size) {
        switch (random() % 3) {
            case 0:  // 20-byte records: id, growing offset, size, flags, padding
                for (int i = 0, n = 16 + random() % 200; i < n; ++i) {
                    PutLE(out, static_cast<uint32_t>(out.size() / 20), 4);
                    uint32_t length = 16 + random() % 3000;
                    PutLE(out, offset, 4);
                    PutLE(out, length, 4);
                    offset += length;
                    PutLE(out, random() % 8 == 0 ? 0x80000000u : 0x40u, 4);
                    PutLE(out, 0, 4);
                }
                break;
            case 1:  // a bitmap-like block: runs of a few colours
                for (int row = 0, rows = 8 + random() % 64; row < rows; ++row) {
                    uint8_t colour = static_cast<uint8_t>(random() % 16);
                    for (int x = 0; x < 64; ++x) {
                        if (random() % 12 == 0) colour = static_cast<uint8_t>(random() % 16);
                        out.push_back(colour);
                    }
                }
                break;
            default:  // 16-bit lookup values that change slowly
                for (int i = 0, n = 64 + random() % 512, v = random() % 1000; i < n; ++i) {
                    v += static_cast<int>(random() % 7) - 2;
                    PutLE(out, static_cast<uint32_t>(v), 2);
                }
                break;
        }
    }
    out.resize(size);
    return out;
}

Bytes MakeMixedCorpus() {
    Bytes out;
    unsigned seed = 1;
    // Several "files", each of one kind, as an unpacked image holds them one after another.
    const struct {
        char kind;
        size_t size;
    } files[] = {{'c', 1400000}, {'t', 300000},  {'b', 500000}, {'c', 900000}, {'t', 700000},
                 {'b', 250000},  {'c', 1200000}, {'t', 150000}, {'b', 600000}};
    for (const auto& f : files) {
        Bytes part = f.kind == 'c'   ? MakeCode(f.size, seed)
                     : f.kind == 't' ? MakeText(f.size, seed)
                                     : MakeTables(f.size, seed);
        out.insert(out.end(), part.begin(), part.end());
        ++seed;
    }
    return out;
}

Bytes MakeBinaryCorpus() {
    Bytes out = MakeCode(1300000, 101);
    Bytes tables = MakeTables(700000, 102);
    out.insert(out.end(), tables.begin(), tables.end());
    return out;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& data) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace bench
}  // namespace tidemark
