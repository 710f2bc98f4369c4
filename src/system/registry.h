// The registry accessor: a root key (HKEY_CURRENT_USER from creation) and one current key,
// through which text values of sections are read and written.
#pragma once

#include <windows.h>

#include <string>

namespace tidemark {

class RegistryAccessor {
public:
    // Root HKEY_CURRENT_USER, then EnterKey(basePath, creation allowed); its result is not
    // reported.
    explicit RegistryAccessor(const std::string& basePath);
    ~RegistryAccessor();  // release: closes the current key
    RegistryAccessor(const RegistryAccessor&) = delete;
    RegistryAccessor& operator=(const RegistryAccessor&) = delete;

    void SelectRoot(HKEY root);
    bool EnterKey(const std::string& path, bool creationAllowed);
    std::string ReadText(const std::string& section, const std::string& name,
                         const std::string& defaultText);
    // ReadText for a value that a step can do without: one that cannot be read as text (of
    // another type, or its data unreadable) counts as absent, and the default is returned;
    // *refused (when given) tells the caller.
    std::string ReadTextOrDefault(const std::string& section, const std::string& name,
                                  const std::string& defaultText, bool* refused = nullptr);
    void WriteText(const std::string& section, const std::string& name, const std::string& text);

private:
    std::string Read(const std::string& section, const std::string& name,
                     const std::string& defaultText, bool* refused);

    HKEY root_ = HKEY_CURRENT_USER;
    HKEY current_ = nullptr;
};

}  // namespace tidemark
