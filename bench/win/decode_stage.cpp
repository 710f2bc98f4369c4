// Times the copying page's and the unpacking page's work on a real disk set, under Windows (or
// Wine): the volumes joined in 2048-byte blocks with the meter's rule and the message queue
// drained after every block, then the archive decoded through the 2048-byte input and output
// blocks, exactly the code setup.exe runs. Prints the seconds of each stage and the MB/s of image
// written.
//   decode_stage.exe DISK_FOLDER UNPACKED_SIZE WORK_FOLDER [RUNS]
// DISK_FOLDER holds every volume of the set (all disks copied into one folder).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/profile.h"
#include "payload/copying_page.h"
#include "payload/decoding.h"
#include "runtime/install_state.h"

using namespace tidemark;

namespace {

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: decode_stage DISK_FOLDER UNPACKED_SIZE WORK_FOLDER [RUNS]\n");
        return 2;
    }
    const int32_t unpackedSize = std::atoi(argv[2]);
    const int runs = argc > 4 ? std::atoi(argv[4]) : 3;

    static uint8_t input[kWorkBufferSize], output[kWorkBufferSize];
    InstallState.WorkBuffer[0] = input;
    InstallState.WorkBuffer[1] = output;
    InstallState.SourceFolder = std::string(argv[1]) + "\\";
    InstallState.DestinationFolder = argv[3];
    InstallState.UnpackedSize = unpackedSize;

    double bestCopy = 1e30, bestDecode = 1e30;
    for (int run = 0; run < runs; ++run) {
        // The decoding stage deletes the archive: each run copies it afresh.
        InstallState.ContinueFlag = 1;
        LARGE_INTEGER start, copied, decodedAt;
        QueryPerformanceCounter(&start);
        GatherVolumes(nullptr, ProductProfile.DiskSet);
        QueryPerformanceCounter(&copied);
        bool decoded = InstallState.ContinueFlag != 0 && DecodeArchive(ProductProfile.DiskSet);
        QueryPerformanceCounter(&decodedAt);
        if (!decoded) {
            std::fprintf(stderr, "the copying or decoding stage stopped\n");
            return 1;
        }
        bestCopy = std::min(bestCopy, Seconds(start, copied));
        bestDecode = std::min(bestDecode, Seconds(copied, decodedAt));
    }
    std::printf("copying stage: %.3f s (best of %d)\n", bestCopy, runs);
    std::printf("decoding stage: %.3f s (best of %d), %.1f MB/s of image\n", bestDecode, runs,
                unpackedSize / bestDecode / 1e6);
    return 0;
}
