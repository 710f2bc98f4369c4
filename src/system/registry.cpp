#include "system/registry.h"

#include <vector>

#include "core/error.h"
#include "core/registry_rules.h"

namespace tidemark {

namespace {

// A section key opened by one read or write. It is closed where the operation closes it, and
// also when the operation leaves early or through an error.
class SectionKey {
public:
    SectionKey() = default;
    ~SectionKey() { Close(); }
    SectionKey(const SectionKey&) = delete;
    SectionKey& operator=(const SectionKey&) = delete;

    HKEY* Receive() { return &key_; }
    HKEY Get() const { return key_; }
    void Close() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
    }

private:
    HKEY key_ = nullptr;
};

HKEY BaseKey(const RegistryPath& path, HKEY root, HKEY current) {
    return (path.FromRoot || current == nullptr) ? root : current;
}

LONG CreateKey(HKEY base, const std::string& path, HKEY* key) {
    DWORD disposition = 0;
    return RegCreateKeyExA(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, key, &disposition);
}

LONG OpenKey(HKEY base, const std::string& path, HKEY* key) {
    return RegOpenKeyExA(base, path.c_str(), 0, KEY_ALL_ACCESS, key);
}

[[noreturn]] void RaiseRegistryError(const char* messageTemplate, const std::string& argument) {
    throw RegistryError(FormatRegistryMessage(messageTemplate, argument));
}

}  // namespace

RegistryAccessor::RegistryAccessor(const std::string& basePath) {
    // A missing base key is created here even when the accessor is then moved to another root;
    // a failure just leaves no key current.
    EnterKey(basePath, true);
}

RegistryAccessor::~RegistryAccessor() {
    if (current_ != nullptr) RegCloseKey(current_);
}

void RegistryAccessor::SelectRoot(HKEY root) {
    if (root == root_) return;
    if (current_ != nullptr) {
        RegCloseKey(current_);
        current_ = nullptr;
    }
    root_ = root;
}

bool RegistryAccessor::EnterKey(const std::string& path, bool creationAllowed) {
    RegistryPath target = ResolveRegistryPath(path);
    HKEY base = BaseKey(target, root_, current_);
    HKEY key = nullptr;
    LONG result = (creationAllowed && !target.Path.empty()) ? CreateKey(base, target.Path, &key)
                                                            : OpenKey(base, target.Path, &key);
    if (result != ERROR_SUCCESS) return false;
    if (current_ != nullptr) RegCloseKey(current_);
    current_ = key;
    return true;
}

std::string RegistryAccessor::ReadText(const std::string& section, const std::string& name,
                                       const std::string& defaultText) {
    return Read(section, name, defaultText, nullptr);
}

std::string RegistryAccessor::ReadTextOrDefault(const std::string& section, const std::string& name,
                                                const std::string& defaultText, bool* refused) {
    bool unreadable = false;
    std::string text = Read(section, name, defaultText, &unreadable);
    if (refused) *refused = unreadable;
    return text;
}

// Without `refused`, a value that cannot be read as text raises; with it, the value counts as
// absent and *refused is set.
std::string RegistryAccessor::Read(const std::string& section, const std::string& name,
                                   const std::string& defaultText, bool* refused) {
    RegistryPath target = ResolveRegistryPath(section);
    SectionKey key;
    if (OpenKey(BaseKey(target, root_, current_), target.Path, key.Receive()) != ERROR_SUCCESS) {
        return defaultText;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return defaultText;
    }
    if (size == 0) return std::string();

    std::vector<char> buffer(size);
    DWORD delivered = size;
    bool read =
        RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &delivered) == ERROR_SUCCESS;
    bool text = type == REG_SZ || type == REG_EXPAND_SZ;
    if ((!read || !text) && refused) {
        *refused = true;
        return defaultText;
    }
    if (!read) RaiseRegistryError("Failed to get data for '%s'", name);
    if (!text) RaiseRegistryError("Invalid data type for '%s'", name);
    // Text stored without its terminator ends at the stored size, inside the buffer.
    size_t length = delivered < size ? delivered : size;
    std::string value = TextFromValueData(buffer.data(), length);
    key.Close();
    return value;
}

void RegistryAccessor::WriteText(const std::string& section, const std::string& name,
                                 const std::string& text) {
    RegistryPath target = ResolveRegistryPath(section);
    HKEY base = BaseKey(target, root_, current_);
    {
        SectionKey created;
        if (CreateKey(base, target.Path, created.Receive()) != ERROR_SUCCESS) {
            RaiseRegistryError("Failed to create key %s", section);
        }
    }
    SectionKey key;
    if (OpenKey(base, target.Path, key.Receive()) != ERROR_SUCCESS) return;
    // The byte count includes the terminating zero, so an empty text stores one byte.
    if (RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS) {
        RaiseRegistryError("Failed to set data for '%s'", name);
    }
    key.Close();
}

}  // namespace tidemark
