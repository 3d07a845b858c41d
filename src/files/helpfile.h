// Where the program's manual is, for the Help commands and for the install
// check.
#pragma once

#include <string>

namespace qv {

// The manual's front page: "help/index.html" beside the program first (a
// build folder, or a program folder carried with its help), then
// "../share/quorvane/help/index.html" from it (the installed layout,
// <prefix>/bin beside <prefix>/share). Empty when neither exists.
std::string FindHelpIndex(const std::string& AppPath);

// "file://" and the absolute path, every byte that is not a letter, digit,
// '/', '-', '.', '_' or '~' written as %XX, so any file name makes a valid URL.
std::string FileUrl(const std::string& path);

}  // namespace qv
