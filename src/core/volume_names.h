// The names of the volumes a disk set carries.
#pragma once

#include <string>

namespace tidemark {

// Volume n (1 to 4): the first volume's name, or its extension replaced by ".00n".
std::string VolumeFileName(const std::string& firstVolumeFile, int volume);

}  // namespace tidemark
