#include "payload/copying_page.h"

#include "payload/drain.h"
#include "payload/meter.h"
#include "payload/progress_page.h"
#include "payload/read_file_table.h"
#include "payload/trailer.h"
#include "runtime/error.h"
#include "setup/install_state.h"
#include "setup/path.h"
#include "setup/profile.h"
#include "setup/steps.h"

namespace tidemark {

namespace {

void CopyingWork(HWND page) {
    PayloadTrailer trailer = ReadFileTable(ModuleFileName());
    InstallState.UnpackedSize = trailer.UnpackedSize;
    InstallState.Table = std::move(trailer.Table);
    GatherVolumes(page, ProductProfile.DiskSet);
}

}  // namespace

void CopyVolume(File& volume, File& archive, int32_t& bytesCopied, int volumeNumber,
                int32_t expectedSize) {
    uint8_t block[kCopyBlockSize];
    while (!volume.AtEnd() && InstallState.ContinueFlag != 0) {
        uint32_t count = volume.ReadSome(block, kCopyBlockSize);
        // A volume that ends before its reported length would otherwise be polled forever.
        if (count == 0) throw IoError(kReadBeyondEnd);
        archive.Write(block, count);
        bytesCopied += static_cast<int32_t>(count);
        MeterReading reading = MeterPosition(bytesCopied, expectedSize);
        if (CopyingPageDraws(volumeNumber, reading.Percentage, ProgressMeter.LastDrawnPercent)) {
            DrawMeter(reading.Percentage, reading.Edge);
        }
        DrainMessages();
    }
}

void WaitForDisk(HWND page, int volumeNumber, const std::string& path) {
    std::string prompt = "Please Insert Disk number " + std::to_string(volumeNumber);
    while (!FileExists(path) && InstallState.ContinueFlag != 0) {
        int answer = MessageBoxA(page, prompt.c_str(), ProductProfile.ProductName, MB_OKCANCEL);
        if (FileExists(path)) break;  // the disk came in while the prompt was up
        if (answer == IDOK) {
            MessageBoxA(page, ProductProfile.WrongDiskText, "", MB_OK);
        } else {
            InstallState.ContinueFlag = 0;
        }
    }
}

void GatherVolumes(HWND page, const DiskSetNumbers& diskSet) {
    int32_t expectedSize = diskSet.ExpectedArchiveSize;
    // Volume 1 lies beside the running setup program: it is never prompted for.
    File volume =
        File::OpenForReading(JoinPath(InstallState.SourceFolder, ProductProfile.FirstVolumeFile));
    File archive =
        File::Create(JoinPath(InstallState.DestinationFolder, ProductProfile.CombinedArchiveFile));
    InstallState.CombinedArchiveWritten = true;

    int32_t bytesCopied = 0;
    CopyVolume(volume, archive, bytesCopied, 1, expectedSize);
    volume.Close();

    for (int n = 2; n <= kMaxVolumes && n <= diskSet.DiskCount && InstallState.ContinueFlag != 0;
         ++n) {
        std::string path =
            JoinPath(InstallState.SourceFolder, VolumeFileName(ProductProfile.FirstVolumeFile, n));
        WaitForDisk(page, n, path);
        if (InstallState.ContinueFlag == 0) break;
        File next = File::OpenForReading(path);
        CopyVolume(next, archive, bytesCopied, n, expectedSize);
        next.Close();
    }
    archive.Close();
}

INT_PTR CALLBACK CopyingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    return ProgressPageProc(page, message, wParam, CopyingWork);
}

}  // namespace tidemark
