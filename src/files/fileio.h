// Whole-file reads and crash-safe writes, and where the settings files live.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

struct AppState;

// Reads at most MaxBytes of the file into Out. False when the file cannot be
// opened or read (missing, a folder, no permission).
bool ReadFileBytes(const std::string& Path, std::string& Out, size_t MaxBytes = size_t(1) << 30);

// Writes Bytes as the whole new content of Path, never leaving a half-written
// file under its name:
//  - a symbolic link at Path is followed (links to links too): the file it
//    names is written and the link stays;
//  - an existing file that the user may not open for writing is never
//    replaced (false, the file untouched);
//  - a new file, or an existing file of the user's own with no other name, is
//    written into a temporary file beside it, flushed to disk and renamed
//    over it, with the old file's permission bits and group;
//  - where no file can be made beside it (a folder the user may not write)
//    or renaming would lose its owner or other names, the file is written in
//    place: the room for the new contents is claimed first, and should the
//    write still fail the old contents are written back.
// False after any failure, with the old contents kept.
bool WriteFileReplacing(const std::string& Path, const std::string& Bytes);

// The path of one of the settings files (DefaultDir.bin, ...): in
// S.Ui.SettingsPath, or in S.Ui.AppPath while no settings folder is set.
std::string SettingsFile(const AppState& S, const char* Name);

}  // namespace qv
