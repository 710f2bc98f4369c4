// Everything product-specific, fixed when the setup program is built.
#pragma once

#include <cstdint>

namespace tidemark {

using Colour = uint32_t;  // 0x00BBGGRR: red in the low byte

struct ProductProfileRecord {
    const char* ProductName;
    const char* DefaultGroupName;
    const char* MainProgramFile;
    const char* FirstVolumeFile;
    const char* CombinedArchiveFile;
    const char* MakerNotice;
    const char* BackdropTitle;
    const char* ConfirmExitText;
    const char* TerminatedText;
    const char* WrongDiskText;
    const char* SuccessText;
    const char* LicenceText;
    Colour GradientTopColour;
    Colour GradientBottomColour;
    Colour TitleColour;
    int32_t DiskCount;
    int32_t ExpectedArchiveSize;
};

// DiskCount and ExpectedArchiveSize come from the disk set the build made (disk_numbers.cpp,
// compiled once per setup program); the rest is fixed here.
extern const ProductProfileRecord ProductProfile;

extern const char* const LicenceText;

}  // namespace tidemark
