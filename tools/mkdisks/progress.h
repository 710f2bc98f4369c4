// A one-line progress bar on stderr, drawn only when stderr is a terminal.
#pragma once

#include <cstddef>
#include <string>

namespace tidemark::mkdisks {

class ProgressBar {
public:
    explicit ProgressBar(std::string label);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Update(size_t done, size_t total);

private:
    std::string label_;
    bool enabled_;
    int lastPermille_ = -1;
};

}  // namespace tidemark::mkdisks
