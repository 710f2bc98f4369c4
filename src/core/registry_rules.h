// Platform-free rules of the registry accessor: where a key path starts, and how a stored text
// value becomes a string.
#pragma once

#include <cstddef>
#include <string>

namespace tidemark {

struct RegistryPath {
    bool FromRoot = false;  // taken from the root key rather than the current key
    std::string Path;       // the path handed to the registry
};

// A path that begins with a backslash is taken from the root key, with that one backslash
// removed; any other path is taken from the current key (or the root when none is current).
RegistryPath ResolveRegistryPath(const std::string& path);

// The text of a value's data: up to the first zero byte, and never beyond `size` bytes, since
// the registry does not promise that stored text carries its terminator.
std::string TextFromValueData(const char* data, size_t size);

// "<template with %s replaced by the argument>" for the accessor's error messages; only the
// first %s is replaced, and any other % in the argument stays as it is.
std::string FormatRegistryMessage(const std::string& messageTemplate, const std::string& argument);

}  // namespace tidemark
