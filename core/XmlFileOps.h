#pragma once
// File operations of the XML reader and of safe saving.

#include <string>

namespace XmlFileOps {

// Deletes the file; false when it could not be deleted (also when it did not exist).
bool Delete(const std::string& path);
// Renames; never replaces an existing target. False when the move failed.
bool MoveNoReplace(const std::string& from, const std::string& to);
// Renames, replacing the target in one step: at every instant the target's name holds either the
// old or the new file. Only for a replacement whose old text is no longer needed.
bool Replace(const std::string& from, const std::string& to);
// Gives the file a second name (a hard link; a copy on the disk where links are not possible).
// Never replaces an existing target. False with errno set on failure.
bool AddName(const std::string& from, const std::string& to);
// The file's last change in nanoseconds; -1 when it does not exist.
long long ModificationTime(const std::string& path);
// Makes the renames in the folder of the file durable.
void SyncFolderOf(const std::string& path);

// Moves a file the program could not read out of the way, to the first free name
// path + ".unreadable-" + n, so that no later save replaces it; says where in the log and on
// stderr. The new name; empty when there was no such file or it could not be moved (then said too).
std::string KeepAside(const std::string& path);

}  // namespace XmlFileOps
