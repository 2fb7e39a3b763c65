#pragma once
// Files on this system for paths written the way content writes them: backslashes and any letter case.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Windows file attribute bits, as the program tests them.
constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

namespace FilePort {

// "\" becomes "/"; when a component does not exist under its exact name, the first entry of its
// folder (in byte order) that equals it ignoring ASCII case is used. Components that match nothing
// are kept as written, so a path for a new file keeps its new name.
std::string NormalizePath(const std::string& path);

// fopen through NormalizePath. A folder is never opened as a file (null with errno EISDIR).
std::FILE* Open(const std::string& path, const char* mode);

// True for a plain file or folder under the normalised path.
bool Exists(const std::string& path);

// Directory bit from the file system, hidden for a name beginning with "."; read-only when the
// process may not write it; FILE_ATTRIBUTE_NORMAL when no other bit applies.
// INVALID_FILE_ATTRIBUTES when the path does not exist.
std::uint32_t GetAttributes(const std::string& path);

// Moves a file or folder; never replaces an existing target. False with errno set on failure
// (EEXIST when the target exists).
bool Move(const std::string& from, const std::string& to);

// Every LF not already preceded by CR becomes CR LF.
std::string ToCrLf(const std::string& text);

// Writes (replacing) a text file with CR LF line ends. False when it cannot be written completely.
bool WriteTextCrLf(const std::string& path, const std::string& text);

struct DirectoryEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

// The entries of a folder, "." and ".." left out, sorted by name in byte order. Empty when the
// folder cannot be read.
std::vector<DirectoryEntry> ListDirectory(const std::string& path);

// As the system call that reports the working directory: with a buffer too small (or none) the
// length needed, terminator included; otherwise the characters copied, terminator excluded;
// 0 on failure.
std::size_t GetCurrentDirectory(char* buffer, std::size_t length);

}  // namespace FilePort
