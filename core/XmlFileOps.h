#pragma once
// File operations of the XML reader and of safe saving.

#include <string>

namespace XmlFileOps {

// Deletes the file; false when it could not be deleted (also when it did not exist).
bool Delete(const std::string& path);
// Renames; never replaces an existing target. False when the move failed.
bool MoveNoReplace(const std::string& from, const std::string& to);
// Makes the renames in the folder of the file durable.
void SyncFolderOf(const std::string& path);

// Moves a file the program could not read out of the way, to the first free name
// path + ".unreadable-" + n, so that no later save replaces it; says where in the log and on
// stderr. The new name; empty when there was no such file or it could not be moved (then said too).
std::string KeepAside(const std::string& path);

}  // namespace XmlFileOps
