#include "platform/shell/ProfileFile.h"

#include <cctype>
#include <cstdio>

#include "platform/FilePort.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : _path(std::move(path)) {
    std::FILE* f = FilePort::Open(_path, "rb");
    if (!f) return;
    std::string text;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    Section* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[' && line.back() == ']') {
            const std::string name = line.substr(1, line.size() - 2);
            current = Find(name);
            if (!current) {
                _sections.push_back(Section{name, {}});
                current = &_sections.back();
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string::npos) continue;
        current->values.emplace_back(Trim(line.substr(0, eq)), line.substr(eq + 1));
    }
}

ProfileFile::Section* ProfileFile::Find(const std::string& section) {
    for (Section& s : _sections) {
        if (SameName(s.name, section)) return &s;
    }
    return nullptr;
}

const ProfileFile::Section* ProfileFile::Find(const std::string& section) const {
    for (const Section& s : _sections) {
        if (SameName(s.name, section)) return &s;
    }
    return nullptr;
}

bool ProfileFile::HasSection(const std::string& section) const { return Find(section) != nullptr; }

bool ProfileFile::Get(const std::string& section, const std::string& key, std::string& value) const {
    const Section* s = Find(section);
    if (!s) return false;
    for (const auto& entry : s->values) {
        if (SameName(entry.first, key)) {
            value = entry.second;
            return true;
        }
    }
    return false;
}

void ProfileFile::AddSection(const std::string& section) {
    if (!Find(section)) _sections.push_back(Section{section, {}});
}

void ProfileFile::Set(const std::string& section, const std::string& key, const std::string& value) {
    AddSection(section);
    Section* s = Find(section);
    for (auto& entry : s->values) {
        if (SameName(entry.first, key)) {
            entry.second = value;
            return;
        }
    }
    s->values.emplace_back(key, value);
}

bool ProfileFile::Save() const {
    std::string text;
    for (const Section& s : _sections) {
        text += "[" + s.name + "]\n";
        for (const auto& entry : s.values) text += entry.first + "=" + entry.second + "\n";
    }
    return FilePort::WriteTextCrLf(_path, text);
}

namespace SystemStores {

const char* const DESKTOP_KEY = "HKEY_CURRENT_USER\\Control Panel\\Desktop";

std::string RegistryPath(const std::string& folder) { return folder + "registry.ini"; }

std::string SystemIniPath(const std::string& folder) { return folder + "system.ini"; }

}  // namespace SystemStores
