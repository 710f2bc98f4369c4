#include "core/profile.h"

namespace tidemark {

// The product's licence, shown by the licence page; paragraphs are separated by \r\n\r\n.
const char* const LicenceText =
    "FILETIDEMARK SOFTWARE LICENCE AGREEMENT\r\n\r\n"
    "This agreement is between you, the person or organisation installing FileTidemark "
    "(\"you\"), and Lanternfield Software Limited (\"Lanternfield\"). By choosing \"I Agree\" you "
    "accept every term below. If you do not accept them, choose \"Exit\" and the installation "
    "will stop without copying the product to your computer.\r\n\r\n"
    "1. GRANT OF LICENCE. Lanternfield grants you a personal, non-exclusive and "
    "non-transferable licence to install and use one copy of FileTidemark on one computer at "
    "a time. You may move the product from one computer to another, provided that it is "
    "removed from the first before it is used on the second. A second copy may be kept solely "
    "for backup or archival purposes.\r\n\r\n"
    "2. OWNERSHIP. FileTidemark, its documentation and every copy of them remain the property "
    "of Lanternfield and are protected by copyright law and international treaties. This "
    "licence is not a sale of the product or of any copy of it. All rights not expressly "
    "granted here are reserved by Lanternfield.\r\n\r\n"
    "3. RESTRICTIONS. You may not rent, lease, lend, sublicense or otherwise distribute the "
    "product or any part of it, except as this agreement allows. You may not reverse "
    "engineer, decompile or disassemble the product, except to the extent that the law "
    "applicable to you expressly permits it despite this restriction. You may not remove or "
    "alter any notice of copyright or of ownership shown by the product.\r\n\r\n"
    "4. YOUR DATA. FileTidemark reads, sorts and archives the files that you point it at. It "
    "never deletes a file without asking you first, and it keeps a record of every change it "
    "makes so that each change can be undone. You remain responsible for keeping your own "
    "copies of important data; Lanternfield recommends a regular backup of your work "
    "regardless of the software you use.\r\n\r\n"
    "5. TRANSFER. You may transfer your rights under this agreement permanently to another "
    "person, provided that you transfer every copy of the product and its documentation, keep "
    "no copy yourself, and the recipient agrees to the terms of this agreement. Any earlier "
    "version of the product is included in the transfer.\r\n\r\n"
    "6. LIMITED WARRANTY. Lanternfield warrants that the product's distribution disks are "
    "free from defects in material and workmanship under normal use for ninety (90) days from "
    "the date of purchase, and that the product will perform substantially as its "
    "documentation describes for the same period. Lanternfield's entire liability and your "
    "sole remedy under this warranty is, at Lanternfield's option, the replacement of the "
    "defective disks or the return of the price paid, when the product is returned with a "
    "copy of your receipt.\r\n\r\n"
    "7. NO OTHER WARRANTIES. Except for the limited warranty above, the product is provided "
    "\"as is\". To the fullest extent the law allows, Lanternfield disclaims all other "
    "warranties, express or implied, including implied warranties of merchantability and of "
    "fitness for a particular purpose.\r\n\r\n"
    "8. LIMITATION OF LIABILITY. To the fullest extent the law allows, in no event shall "
    "Lanternfield or its suppliers be liable for any damages whatsoever (including damages "
    "for loss of business profits, business interruption or loss of business information) "
    "arising out of the use of or inability to use the product, even if Lanternfield has been "
    "advised of the possibility of such damages. In any case Lanternfield's entire liability "
    "is limited to the amount that you actually paid for the product.\r\n\r\n"
    "9. TERMINATION. This licence lasts until it is ended. It ends automatically if you fail "
    "to comply with any of its terms; you may also end it at any time by removing the product "
    "and destroying every copy of it. On termination you must remove the product and destroy "
    "every copy of it and of its documentation.\r\n\r\n"
    "10. GENERAL. This agreement is the whole agreement between you and Lanternfield about "
    "the product and replaces every earlier communication, proposal or agreement about it. If "
    "any provision of this agreement is held unenforceable, the remaining provisions stay in "
    "full force. This agreement is governed by the laws of England and Wales.\r\n\r\n"
    "Should you have any question about this agreement, or wish to contact Lanternfield for "
    "any reason, please write to Lanternfield Software Limited, Customer Services, at the "
    "address given in the product's documentation.";

namespace {

// What the product shipped with: three disks holding 3,390,000 bytes; no fingerprints.
constexpr DiskSetNumbers ShippedNumbers() {
    DiskSetNumbers numbers;
    numbers.DiskCount = 3;
    numbers.ExpectedArchiveSize = 3390000;
    return numbers;
}

// Volatile reads: the compiler must take what the file holds, not the initializer it knows.
DiskSetNumbers StampedNumbers() {
    uint8_t bytes[kDiskSetBlockSize];
    for (size_t i = 0; i < kDiskSetBlockSize; ++i) bytes[i] = DiskSetBlock.Bytes[i];
    return DecodeDiskSetBlock(bytes);
}

}  // namespace

const volatile DiskSetBlockBytes DiskSetBlock = EncodeDiskSetBlock(ShippedNumbers());

const ProductProfileRecord ProductProfile = {
    "FileTidemark",                                        // ProductName
    "FileTidemark",                                        // DefaultGroupName
    "Tidemark.Exe",                                        // MainProgramFile
    "Tidemark.001",                                        // FirstVolumeFile
    "Tidemark._LF",                                        // CombinedArchiveFile
    "(c) 2026 Lanternfield Software Limited",              // MakerNotice
    "FileTidemark Installation",                           // BackdropTitle
    "Do you really want to terminate the Setup program?",  // ConfirmExitText
    "The Installation process has been terminated.",       // TerminatedText
    "This is not the appropriate disk.\r\nPlease insert the correct disk and Press Enter",
    "FileTidemark has been successfully installed.\r\n\r\nDo you wish to run ",  // SuccessText
    LicenceText,
    0xFF0000,  // GradientTopColour: blue
    0x000000,  // GradientBottomColour: black
    0x00FFFF,  // TitleColour: yellow
    StampedNumbers(),
};

}  // namespace tidemark
