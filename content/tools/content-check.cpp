// content-check [--game-folder DIR] FILE...: loads resource lists (root "Resources") and template
// files (any other root) headless, the way the game does, and prints every error as
// "file:line: text". Paths in the files are resolved from the game folder, as the game resolves
// them from the folder it starts in: DIR, else the nearest folder at or above the file's own that
// holds "start.lua" or "settings.ini", else the file's own folder. A part of the file that nothing
// read (a misspelt attribute) is reported at its own line. Every texture and animation is also put
// in use once, so that missing pictures show. Exit status 1 when anything was reported or the log
// could not be written; SIGTERM and SIGINT end it at once.
#include <limits.h>
#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "content/ResourceManager.h"
#include "content/ResourceManagerServices.h"
#include "content/TemplateLib.h"
#include "core/DataFolder.h"
#include "core/HtmlLog.h"
#include "core/XmlMessages.h"
#include "core/XmlRead.h"
#include "platform/render/RecordingBackend.h"
#include "shell/RenderDevice.h"
#include "shell/RenderDeviceFonts.h"
#include "shell/SoundSystem.h"

namespace {

const char* const ERROR_START = "ERROR : </B></Font><Font Size = 2 Color = Black Face = Verdana>";
const char* const ERROR_END = "</Font><BR>";

// The file's bytes from the offset on.
std::string ReadAll(const std::string& path, long offset = 0) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        if (offset > 0 && std::fseek(f, offset, SEEK_SET) != 0) {
            std::fclose(f);
            return text;
        }
        char buffer[65536];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 5, "&amp;") == 0) {
            out += '&';
            i += 4;
        } else if (text.compare(i, 4, "&lt;") == 0) {
            out += '<';
            i += 3;
        } else if (text.compare(i, 4, "&gt;") == 0) {
            out += '>';
            i += 3;
        } else if (text[i] == '\r') {
        } else if (text[i] == '\n') {
            out += ' ';
        } else {
            out += text[i];
        }
    }
    return out;
}

// Where a start tag and each of its attributes begin.
struct TagLines {
    int line = 0;
    std::map<std::string, int> attributes;
};

// The lines of every start tag and its attributes, in document order.
std::vector<TagLines> StartTagLines(const std::string& text) {
    std::vector<TagLines> tags;
    int line = 1;
    auto skipTo = [&](std::size_t& i, const char* end) {
        const std::size_t found = text.find(end, i);
        const std::size_t stop = found == std::string::npos ? text.size() : found;
        for (; i < stop; ++i) {
            if (text[i] == '\n') ++line;
        }
    };
    auto isNameStart = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':'; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
        } else if (text[i] == '<') {
            if (text.compare(i, 4, "<!--") == 0) {
                skipTo(i, "-->");
            } else if (text.compare(i, 9, "<![CDATA[") == 0) {
                skipTo(i, "]]>");
            } else if (i + 1 < text.size() && isNameStart(text[i + 1])) {
                TagLines tag;
                tag.line = line;
                // Past the element's name, then each attribute name up to the end of the tag.
                ++i;
                while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) && text[i] != '>' &&
                       text[i] != '/') {
                    ++i;
                }
                while (i < text.size() && text[i] != '>') {
                    if (text[i] == '\n') {
                        ++line;
                        ++i;
                    } else if (text[i] == '"' || text[i] == '\'') {
                        const char quote = text[i];
                        for (++i; i < text.size() && text[i] != quote; ++i) {
                            if (text[i] == '\n') ++line;
                        }
                        ++i;
                    } else if (isNameStart(text[i])) {
                        const std::size_t begin = i;
                        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) && text[i] != '=' &&
                               text[i] != '>' && text[i] != '/') {
                            ++i;
                        }
                        tag.attributes.emplace(text.substr(begin, i - begin), line);
                    } else {
                        ++i;
                    }
                }
                tags.push_back(tag);
            }
        }
    }
    return tags;
}

// The file's path from the root: symbolic links and "." or ".." resolved where it exists.
std::string AbsolutePath(const std::string& path) {
    char buffer[PATH_MAX];
    if (realpath(path.c_str(), buffer) != nullptr) return buffer;
    if (!path.empty() && path[0] == '/') return path;
    if (getcwd(buffer, sizeof buffer) == nullptr) return path;
    return std::string(buffer) + "/" + path;
}

std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The folder the game starts in for a file of its content: the nearest one at or above the file's
// own folder with the start script or the settings file; else the file's own folder.
std::string GameFolderOf(const std::string& file) {
    const std::string own = ParentFolder(file);
    for (std::string folder = own;; folder = ParentFolder(folder)) {
        const std::string prefix = folder == "/" ? folder : folder + "/";
        if (access((prefix + "start.lua").c_str(), F_OK) == 0 || access((prefix + "settings.ini").c_str(), F_OK) == 0) {
            return folder;
        }
        if (folder == "/" || folder == ".") break;
    }
    return own;
}

// The program's messages are single-byte Windows-1251 text; the terminal wants UTF-8.
std::string ToUtf8(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        unsigned code = c;
        if (c >= 0xC0) {
            code = 0x410 + (c - 0xC0);
        } else if (c == 0xA8) {
            code = 0x401;
        } else if (c == 0xB8) {
            code = 0x451;
        } else if (c >= 0x80) {
            code = '?';
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

class Checker {
public:
    Checker(const std::string& logFile, const std::string& gameFolder) : _logFile(logFile), _gameFolder(gameFolder) {}

    void Check(const std::string& file) {
        _file = file;
        _line = 0;
        const std::string path = AbsolutePath(file);
        const std::string folder = _gameFolder.empty() ? GameFolderOf(path) : _gameFolder;
        // The game names its files from its folder ("screens\\menu.xml"); so does the check.
        const std::string name =
            path.compare(0, folder.size() + 1, folder + "/") == 0 ? path.substr(folder.size() + 1) : path;
        char previous[4096];
        if (getcwd(previous, sizeof previous) == nullptr || chdir(folder.c_str()) != 0) {
            Print(0, "cannot enter the folder " + folder);
            return;
        }
        _lines.clear();
        _attributeLines.clear();
        _ids.clear();
        _unread.clear();
        Flush(0);
        {
            ObjectSmartPointer<XmlDocument> document(new XmlDocumentRead(name));
            ObjectWeakPointer<XmlElement> root = document->GetRoot();
            if (root != NULL) {
                std::vector<TagLines> lines = StartTagLines(ReadAll(name));
                std::size_t index = 0;
                MapLines(root.Get(), lines, index, "");
                XmlElement* rootElement = root.Get();
                GetResourceManagerServices().entryStarted = [this, rootElement](const ObjectWeakPointer<XmlElement>& element) {
                    auto found = _lines.find(element.Get());
                    Flush(_line);
                    if (found != _lines.end()) _line = found->second;
                    // The loader announces the root once more right before it checks what was read.
                    if (element.Get() == rootElement) {
                        _unread.clear();
                        CollectUnread(rootElement);
                    }
                };
                if (root->NameRef() == "Resources") {
                    ResourceManager::LoadResources(root);
                    Flush(_line);
                    UseAll();
                } else {
                    TemplateLib::LoadTemplates(root);
                }
                GetResourceManagerServices().entryStarted = nullptr;
            }
        }
        Flush(_line);
        if (chdir(previous) != 0) Print(0, "cannot return to the folder " + std::string(previous));
    }

    int ErrorCount() const { return _errors; }

private:
    void MapLines(XmlElement* element, const std::vector<TagLines>& lines, std::size_t& index,
                  const std::string& section) {
        const int line = index < lines.size() ? lines[index].line : 0;
        if (index < lines.size()) _attributeLines[element] = lines[index].attributes;
        ++index;
        _lines[element] = line;
        for (XmlAttribute* a = element->FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
            if (a->NameRef() == "id" && !section.empty()) _ids[section + ":" + a->ValueRef()] = line;
        }
        for (XmlNode* n = element->FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
            if (auto* child = dynamic_cast<XmlElement*>(n)) MapLines(child, lines, index, element->NameRef());
        }
    }

    // The places of the tree that nothing read, each at its own line, in document order.
    void CollectUnread(XmlElement* element) {
        const int line = _lines.count(element) ? _lines[element] : 0;
        const std::string name = "<" + element->NameRef() + ">";
        if (!element->IsDetached() && !element->IsVisited()) {
            _unread.push_back({line, "element " + name});
            return;
        }
        for (XmlAttribute* a = element->FirstAttributeRaw(); !a->IsBarrier(); a = a->NextRaw()) {
            if (a->IsVisited()) continue;
            const auto& attributes = _attributeLines[element];
            const auto at = attributes.find(a->NameRef());
            _unread.push_back({at != attributes.end() ? at->second : line,
                               "attribute \"" + a->NameRef() + "\" of " + name});
        }
        for (XmlNode* n = element->FirstChildRaw(); !n->IsBarrier(); n = n->NextRaw()) {
            if (auto* child = dynamic_cast<XmlElement*>(n)) {
                CollectUnread(child);
            } else if (!n->IsVisitedTree()) {
                _unread.push_back({line, "text in " + name});
            }
        }
    }

    // Puts every texture and animation in use once, so that their pictures are read.
    void UseAll() {
        for (const std::string& id : ResourceManager::GetTextureIds()) {
            _line = _ids.count("Textures:" + id) ? _ids["Textures:" + id] : 0;
            { UsingPointer<Texture> use(ResourceManager::GetTexture(id)); }
            Flush(_line);
        }
        for (const std::string& id : ResourceManager::GetAnimationIds()) {
            _line = _ids.count("Animations:" + id) ? _ids["Animations:" + id] : 0;
            { UsingPointer<Animation> use(ResourceManager::GetAnimation(id)); }
            Flush(_line);
        }
    }

    // Prints the errors logged since the last call at the line. Only the new part of the log is
    // read, so that many errors cost linear time.
    void Flush(int line) {
        const std::string log = ReadAll(_logFile, _logRead);
        std::size_t pos = 0;
        _logRead += static_cast<long>(log.size());
        while ((pos = log.find(ERROR_START, pos)) != std::string::npos) {
            pos += std::string(ERROR_START).size();
            const std::size_t end = log.find(ERROR_END, pos);
            if (end == std::string::npos) break;
            std::string text = Unescape(log.substr(pos, end - pos));
            const std::size_t source = text.find("  ");
            if (source != std::string::npos) text = text.substr(0, source) + " (" + text.substr(source + 2) + ")";
            Print(line, text);
            pos = end;
        }
    }

    void Print(int line, const std::string& text) {
        if (PrintUnread(text)) return;
        ++_errors;
        if (line > 0) {
            std::printf("%s:%d: %s\n", _file.c_str(), line, ToUtf8(text).c_str());
        } else {
            std::printf("%s: %s\n", _file.c_str(), ToUtf8(text).c_str());
        }
    }

    // The report of unread parts, given once for each place that nothing read; false for any other.
    bool PrintUnread(const std::string& text) {
        if (_unread.empty() || text.find(XmlMessages::NOT_VISITED) == std::string::npos) return false;
        const std::vector<Unread> places = std::move(_unread);
        _unread.clear();
        for (const Unread& place : places) Print(place.line, text + ": " + place.what);
        return true;
    }

    struct Unread {
        int line = 0;
        std::string what;
    };

    std::string _logFile;
    std::string _gameFolder;
    long _logRead = 0;
    std::string _file;
    int _line = 0;
    int _errors = 0;
    std::map<const XmlElement*, int> _lines;
    std::map<const XmlElement*, std::map<std::string, int>> _attributeLines;
    std::map<std::string, int> _ids;
    std::vector<Unread> _unread;
};

// The temporary log and its folder, removed when a signal ends the check.
char logDirPath[4096];
char logFilePath[4200];

void OnStopSignal(int signal) {
    unlink(logFilePath);
    rmdir(logDirPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Installed before the sound system starts, so that SDL keeps them instead of turning the
// signals into quit events that nobody reads.
void EndOnStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    std::string gameFolder;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--game-folder" && i + 1 < argc) {
            gameFolder = AbsolutePath(argv[++i]);
        } else if (arg.rfind("--", 0) == 0) {
            files.clear();
            break;
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: content-check [--game-folder DIR] FILE...\n");
        return 2;
    }
    const char* const tmp = std::getenv("TMPDIR");
    char logDir[sizeof logDirPath];
    std::snprintf(logDir, sizeof logDir, "%s/content-check-XXXXXX", tmp != nullptr && *tmp != 0 ? tmp : "/tmp");
    if (mkdtemp(logDir) == nullptr) {
        std::fprintf(stderr, "content-check: cannot make a temporary folder\n");
        return 2;
    }
    dataFolder = std::string(logDir) + "/";
    std::snprintf(logDirPath, sizeof logDirPath, "%s", logDir);
    std::snprintf(logFilePath, sizeof logFilePath, "%s", HtmlLog::FileName().c_str());
    EndOnStopSignals();
    // Every report is read back from the log and printed at its line.
    HtmlLog::SetBounded(false);
    HtmlLog::Open(true);
    render_layer::RecordingSetup setup;
    setup.modes.push_back(setup.desktop);
    auto* d3d = new render_layer::RecordingDirect3D(setup);
    Render::device.UseDirect3D(d3d);
    // Sound files are opened for real, on a device that plays nothing.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Sound::soundSystem.Init(nullptr);
    Render::device.CreateDevice(nullptr, false, 800, 600);

    Checker checker(HtmlLog::FileName(), gameFolder);
    for (const std::string& file : files) checker.Check(file);

    ResourceManager::ReleaseAll();
    Render::fonts.ReleaseAll();
    Render::device.Release();
    Sound::soundSystem.Shutdown();
    std::remove(HtmlLog::FileName().c_str());
    rmdir(logDir);
    // Errors that could not reach the log were not seen: the check has not passed.
    if (HtmlLog::FailedWrites() > 0) {
        std::fprintf(stderr, "content-check: the log could not be written; the check is incomplete\n");
        return 1;
    }
    return checker.ErrorCount() == 0 ? 0 : 1;
}
