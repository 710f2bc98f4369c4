#include "payload/copying_page.h"

#include "core/crc32.h"
#include "core/error.h"
#include "core/path.h"
#include "core/profile.h"
#include "core/trailer.h"
#include "core/volume_names.h"
#include "dialogs/message_pump.h"
#include "payload/meter.h"
#include "payload/progress_page.h"
#include "payload/read_file_table.h"
#include "runtime/install_state.h"

namespace tidemark {

namespace {

void CopyingWork(HWND page) {
    PayloadTrailer trailer = ReadFileTable(ModuleFileName(), ProductProfile.DiskSet);
    InstallState.UnpackedSize = trailer.UnpackedSize;
    InstallState.Table = std::move(trailer.Table);
    GatherVolumes(page, ProductProfile.DiskSet);
}

}  // namespace

uint32_t CopyVolume(File& volume, File& archive, int32_t& bytesCopied, int volumeNumber,
                    int32_t expectedSize) {
    uint8_t block[kCopyBlockSize];
    uint32_t crc = 0;
    while (!volume.AtEnd() && InstallState.ContinueFlag != 0) {
        uint32_t count = volume.ReadSome(block, kCopyBlockSize);
        // A volume that ends before its reported length would otherwise be polled forever.
        if (count == 0) throw IoError(kReadBeyondEnd);
        archive.Write(block, count);
        crc = Crc32(crc, block, count);
        bytesCopied += static_cast<int32_t>(count);
        MeterReading reading = ReadingOnBar(bytesCopied, expectedSize);
        if (CopyingPageDraws(volumeNumber, reading.Percentage, LastDrawnPercent())) {
            DrawMeter(reading.Percentage, reading.Edge);
        }
        DrainMessages();
    }
    return crc;
}

void WaitForDisk(HWND page, int volumeNumber, const std::string& path, bool askFirst) {
    std::string prompt = "Please Insert Disk number " + std::to_string(volumeNumber);
    while ((askFirst || !FileExists(path)) && InstallState.ContinueFlag != 0) {
        int answer = MessageBoxA(page, prompt.c_str(), ProductProfile.ProductName, MB_OKCANCEL);
        // After a bad disk its file is there all along: only the answer can tell.
        if (askFirst && answer != IDOK) {
            InstallState.ContinueFlag = 0;
            break;
        }
        askFirst = false;
        if (FileExists(path)) break;  // the disk came in while the prompt was up
        if (answer == IDOK) {
            MessageBoxA(page, ProductProfile.WrongDiskText, "", MB_OK);
        } else {
            InstallState.ContinueFlag = 0;
        }
    }
}

bool CopyCheckedVolume(HWND page, int n, const DiskSetNumbers& diskSet, File& volume, File& archive,
                       int32_t& bytesCopied) {
    bool checked = diskSet.Stamped();
    // A disk of the wrong length is not worth copying.
    bool sound = !checked || volume.Size() == uint32_t(diskSet.VolumeSize[n - 1]);
    int32_t before = bytesCopied;
    if (sound) {
        uint32_t crc = CopyVolume(volume, archive, bytesCopied, n, diskSet.ExpectedArchiveSize);
        sound = !checked || InstallState.ContinueFlag == 0 || crc == diskSet.VolumeCrc[n - 1];
    }
    volume.Close();
    if (sound) return true;

    // What this disk put into the archive goes, and the meter goes back with it.
    archive.Seek(uint32_t(before));
    archive.Truncate();
    bytesCopied = before;
    MeterReading reading = ReadingOnBar(bytesCopied, diskSet.ExpectedArchiveSize);
    DrawMeter(reading.Percentage, reading.Edge);
    std::string text =
        "Disk number " + std::to_string(n) +
        " could not be read correctly.\r\nPlease insert a good copy of Disk number " +
        std::to_string(n) + ".";
    MessageBoxA(page, text.c_str(), ProductProfile.ProductName, MB_OK);
    return false;
}

void GatherVolumes(HWND page, const DiskSetNumbers& diskSet) {
    auto volumePath = [](int n) {
        return JoinPath(InstallState.SourceFolder,
                        VolumeFileName(ProductProfile.FirstVolumeFile, n));
    };
    // Before the archive is made: a missing volume 1 leaves nothing behind.
    File first = File::OpenForReading(volumePath(1));
    File archive =
        File::Create(JoinPath(InstallState.DestinationFolder, ProductProfile.CombinedArchiveFile));
    InstallState.CombinedArchiveWritten = true;

    int32_t bytesCopied = 0;
    for (int n = 1; n <= kMaxVolumes && n <= diskSet.DiskCount && InstallState.ContinueFlag != 0;
         ++n) {
        // Volume 1 lies beside the running setup program: it is asked for only after a bad copy.
        bool bad = false;
        do {
            if (n > 1 || bad) WaitForDisk(page, n, volumePath(n), bad);
            if (InstallState.ContinueFlag == 0) break;
            File volume = n == 1 && !bad ? std::move(first) : File::OpenForReading(volumePath(n));
            bad = !CopyCheckedVolume(page, n, diskSet, volume, archive, bytesCopied);
        } while (bad);
    }
    archive.Close();
}

INT_PTR CALLBACK CopyingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    return ProgressPageProc(page, message, wParam, CopyingWork);
}

}  // namespace tidemark
