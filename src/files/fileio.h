// Whole-file reads and crash-safe writes, and where the settings files live.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

struct AppState;

// Reads at most MaxBytes of the file into Out. False when the file cannot be
// opened or read (missing, a folder, no permission).
bool ReadFileBytes(const std::string& Path, std::string& Out, size_t MaxBytes = size_t(1) << 30);

// Writes Bytes as the whole new content of Path: first into a temporary file
// in the same folder, flushed to disk, then renamed over Path. On any failure
// the temporary file is removed and Path keeps its old content. A symbolic
// link at Path is followed, so the file it names is the one replaced.
bool WriteFileReplacing(const std::string& Path, const std::string& Bytes);

// The path of one of the settings files (DefaultDir.bin, ...): in
// S.Ui.SettingsPath, or in S.Ui.AppPath while no settings folder is set.
std::string SettingsFile(const AppState& S, const char* Name);

}  // namespace qv
