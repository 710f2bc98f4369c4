#include "progress.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define MKDISKS_ISATTY(fd) _isatty(fd)
#define MKDISKS_FILENO(f) _fileno(f)
#else
#include <unistd.h>
#define MKDISKS_ISATTY(fd) isatty(fd)
#define MKDISKS_FILENO(f) fileno(f)
#endif

namespace tidemark::mkdisks {

ProgressBar::ProgressBar(std::string label)
    : label_(std::move(label)), enabled_(MKDISKS_ISATTY(MKDISKS_FILENO(stderr)) != 0) {}

ProgressBar::~ProgressBar() {
    if (enabled_ && lastPermille_ >= 0) std::fputs("\n", stderr);
}

void ProgressBar::Update(size_t done, size_t total) {
    if (!enabled_) return;
    int permille = total == 0 ? 1000 : static_cast<int>(done * 1000.0 / total);
    if (permille == lastPermille_) return;
    lastPermille_ = permille;
    constexpr int kWidth = 40;
    char bar[kWidth + 1];
    int filled = permille * kWidth / 1000;
    for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = 0;
    std::fprintf(stderr, "\r%-12s [%s] %5.1f%%", label_.c_str(), bar, permille / 10.0);
    std::fflush(stderr);
}

}  // namespace tidemark::mkdisks
