// Times the unpacking page's decoding stage on a real archive, under Windows (or Wine): the
// archive read through the 2048-byte input block with the message queue drained at each refill,
// the image written through the output block with the meter's percentage rule, exactly the code
// setup.exe runs. Prints the seconds and MB/s of image written.
//   decode_stage.exe ARCHIVE UNPACKED_SIZE WORK_FOLDER [RUNS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "payload/unpacking_page.h"
#include "setup/install_state.h"
#include "setup/path.h"
#include "setup/profile.h"

using namespace tidemark;

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: decode_stage ARCHIVE UNPACKED_SIZE WORK_FOLDER [RUNS]\n");
        return 2;
    }
    const std::string archive = argv[1];
    const int32_t unpackedSize = std::atoi(argv[2]);
    const std::string folder = argv[3];
    const int runs = argc > 4 ? std::atoi(argv[4]) : 3;

    static uint8_t input[kWorkBufferSize], output[kWorkBufferSize];
    InstallState.WorkBuffer[0] = input;
    InstallState.WorkBuffer[1] = output;
    InstallState.DestinationFolder = folder;
    InstallState.UnpackedSize = unpackedSize;
    const std::string combined = JoinPath(folder, ProductProfile.CombinedArchiveFile);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        // The stage deletes the archive when it is done: give it a fresh copy each time.
        if (!CopyFileA(archive.c_str(), combined.c_str(), FALSE)) {
            std::fprintf(stderr, "cannot copy %s to %s\n", archive.c_str(), combined.c_str());
            return 1;
        }
        InstallState.ContinueFlag = 1;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        bool decoded = DecodeArchive();
        QueryPerformanceCounter(&end);
        if (!decoded) {
            std::fprintf(stderr, "the decoding stage stopped\n");
            return 1;
        }
        double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        if (seconds < best) best = seconds;
    }
    std::printf("decoding stage: %.3f s (best of %d), %.1f MB/s of image\n", best, runs,
                unpackedSize / best / 1e6);
    return 0;
}
