#include "core/volume_names.h"

#include "core/path.h"

namespace tidemark {

std::string VolumeFileName(const std::string& firstVolumeFile, int volume) {
    if (volume <= 1) return firstVolumeFile;
    return ReplaceExtension(firstVolumeFile, ".00" + std::to_string(volume));
}

}  // namespace tidemark
