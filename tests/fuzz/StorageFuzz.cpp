// Fuzz target of the persistent storage (built with libFuzzer by tools/fuzz-storage.sh, and as a
// replay program over its corpus by the tests). The input is a Storage.xml: it is loaded, saved,
// loaded again and saved again. The second load must hold what the first did (names beginning
// "temp:" are never written), and the second save must write the very text of the first.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "core/DataFolder.h"
#include "core/Float.h"
#include "core/Int.h"
#include "core/PermanentStorage.h"
#include "core/XmlAttribute.h"
#include "core/XmlElement.h"
#include "platform/FilePort.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
        std::fclose(f);
    }
    return bytes;
}

bool IsSpaceOnly(const std::string& text) { return text.find_first_not_of(" \t\n") == std::string::npos; }

// The element as text. The writer lays the element out with line breaks and tabs, which come
// back as space-only texts: those are left out.
std::string Describe(const XmlElement& element) {
    std::string text = "<" + element.NameRef();
    for (XmlAttribute* a = element.FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
        text += " " + a->NameRef() + "=\"" + a->ValueRef() + "\"";
    }
    text += ">";
    for (XmlNode* n = element.FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
        if (auto* child = dynamic_cast<XmlElement*>(n)) {
            text += Describe(*child);
        } else if (auto* childText = dynamic_cast<XmlText*>(n)) {
            if (!IsSpaceOnly(childText->GetValue())) text += "[" + childText->GetValue() + "]";
        }
    }
    return text + "</" + element.NameRef() + ">";
}

std::string Describe(const PermanentValue& value) {
    switch (value.GetType()) {
        case PermanentValue::INT_TYPE: return "int " + Int::ToString(value.GetInt());
        case PermanentValue::BOOL_TYPE: return value.GetBool() ? "bool true" : "bool false";
        case PermanentValue::FLOAT_TYPE: {
            const float f = value.GetFloat();
            std::uint32_t bits = 0;
            std::memcpy(&bits, &f, sizeof bits);
            return "float " + std::to_string(bits);
        }
        case PermanentValue::STRING_TYPE: return "string " + value.GetString();
        case PermanentValue::XML_TYPE: {
            const ObjectWeakPointer<XmlElement> xml = value.GetXml();
            return "xml " + (xml != NULL ? Describe(*xml.Get()) : std::string("none"));
        }
        case PermanentValue::INVALID_TYPE: break;
    }
    return "invalid";
}

// What the loaded store holds and a save writes.
std::map<std::string, std::string> Contents() {
    std::map<std::string, std::string> all;
    auto add = [&all](const std::string& scope, const PermanentVariableSet& set) {
        all[scope] = "set";
        for (const auto& entry : set.GetValues()) {
            if (entry.first.compare(0, 5, "temp:") != 0) all[scope + "\n" + entry.first] = Describe(entry.second);
        }
    };
    add("", PermanentStorage::GetGlobals());
    for (const std::string& player : PermanentStorage::GetPlayerNames()) {
        add("player " + player, *PermanentStorage::FindPlayer(player));
    }
    all["active"] = PermanentStorage::GetActivePlayerName();
    return all;
}

std::string folder;

void Setup() {
    // Every save waits for the disk: a folder in memory keeps the runs fast.
    const char* const tmp = std::getenv("TMPDIR");
    std::string pattern = FilePort::GetAttributes("/dev/shm") & FILE_ATTRIBUTE_DIRECTORY ? "/dev/shm" : "/tmp";
    if (tmp != nullptr && *tmp != 0) pattern = tmp;
    pattern += "/marivel-storage-fuzz-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) std::abort();
    folder = pattern + "/";
    dataFolder = folder;
    std::atexit([] {
        for (const FilePort::DirectoryEntry& entry : FilePort::ListDirectory(folder)) {
            std::remove((folder + entry.name).c_str());
        }
        rmdir(folder.c_str());
    });
}

// Each input starts in an empty folder but for the log of the last input.
void EmptyFolder() {
    for (const FilePort::DirectoryEntry& entry : FilePort::ListDirectory(folder)) {
        std::remove((folder + entry.name).c_str());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (folder.empty()) Setup();
    EmptyFolder();
    const std::string path = folder + "Storage.xml";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        std::abort();
    }

    PermanentStorage::Load();
    const std::map<std::string, std::string> first = Contents();
    if (!PermanentStorage::Unload()) std::abort();
    const std::string firstText = ReadBytes(path);

    PermanentStorage::Load();
    if (Contents() != first) std::abort();
    if (!PermanentStorage::Unload()) std::abort();
    if (ReadBytes(path) != firstText) std::abort();
    return 0;
}
