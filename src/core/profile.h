// Everything product-specific, fixed when the setup program is built.
#pragma once

#include <cstdint>

#include "core/disk_set_block.h"

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
    // DiskCount, ExpectedArchiveSize and the fingerprints of the disk set, as mkdisks stamped
    // them into the program's file (DiskSetBlock); unstamped, the shipped numbers.
    DiskSetNumbers DiskSet;
};

extern const ProductProfileRecord ProductProfile;

// The reserved block that mkdisks stamps. Read once at start-up, never written.
extern const volatile DiskSetBlockBytes DiskSetBlock;

extern const char* const LicenceText;

}  // namespace tidemark
