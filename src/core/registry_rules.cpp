#include "core/registry_rules.h"

#include <cstring>

namespace tidemark {

RegistryPath ResolveRegistryPath(const std::string& path) {
    RegistryPath result;
    if (!path.empty() && path[0] == '\\') {
        result.FromRoot = true;
        result.Path = path.substr(1);
    } else {
        result.Path = path;
    }
    return result;
}

std::string TextFromValueData(const char* data, size_t size) {
    if (data == nullptr) return std::string();
    const void* zero = std::memchr(data, 0, size);
    size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - data) : size;
    return std::string(data, length);
}

std::string FormatRegistryMessage(const std::string& messageTemplate, const std::string& argument) {
    size_t slot = messageTemplate.find("%s");
    if (slot == std::string::npos) return messageTemplate;
    return messageTemplate.substr(0, slot) + argument + messageTemplate.substr(slot + 2);
}

}  // namespace tidemark
