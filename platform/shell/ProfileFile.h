#pragma once
// Small "[section]" / "key=value" files standing in for the system's settings stores: the
// registry, "system.ini" and the desktop settings. Section and key names compare ignoring ASCII
// letter case; files are written with CR LF line ends.

#include <string>
#include <utility>
#include <vector>

class ProfileFile {
public:
    // Reads the file; a missing file gives an empty profile.
    explicit ProfileFile(std::string path);

    bool HasSection(const std::string& section) const;
    // False when the section or the key is missing.
    bool Get(const std::string& section, const std::string& key, std::string& value) const;
    // Creates the section and the key when missing.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    void AddSection(const std::string& section);
    // Writes the whole file; false when it cannot be written.
    bool Save() const;

    const std::string& GetPath() const { return _path; }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
    };
    Section* Find(const std::string& section);
    const Section* Find(const std::string& section) const;

    std::string _path;
    std::vector<Section> _sections;
};

// The program's stand-ins for the system stores, files in a folder (the data folder).
namespace SystemStores {

// The registry: "registry.ini", one section per key path such as
// "HKEY_CURRENT_USER\Software\Tornvik Entertainment\Marivel"; values are texts (REG_SZ).
std::string RegistryPath(const std::string& folder);
// "system.ini" with its sections, as the screensaver protocol keeps it.
std::string SystemIniPath(const std::string& folder);

// The desktop key that keeps the screensaver switch and time-out.
extern const char* const DESKTOP_KEY;

}  // namespace SystemStores
