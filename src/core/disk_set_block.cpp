#include "core/disk_set_block.h"

#include "core/little_endian.h"

namespace tidemark {

DiskSetNumbers DecodeDiskSetBlock(const uint8_t* block) {
    const uint8_t* at = block + kDiskSetMarkerSize;
    auto next = [&at] {
        int32_t value = ReadLittleEndian32(at);
        at += 4;
        return value;
    };
    DiskSetNumbers numbers;
    numbers.DiskCount = next();
    numbers.ExpectedArchiveSize = next();
    for (int32_t& size : numbers.VolumeSize) size = next();
    for (uint32_t& crc : numbers.VolumeCrc) crc = static_cast<uint32_t>(next());
    numbers.ImageCrc = static_cast<uint32_t>(next());
    numbers.TableCrc = static_cast<uint32_t>(next());
    return numbers;
}

}  // namespace tidemark
