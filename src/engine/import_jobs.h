// The job of a folder import: the matching files of one folder, listed the way the desktop's
// folder import (enumeration order) or the command line (by name) wants them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "controls/control_ops.h"
#include "support/file_env.h"

namespace yelian {

// The order of a folder listing: as the file system enumerates it (the desktop's folder
// import), or by name, so that a run over the same folder repeats (the command line).
enum class ListingOrder { Enumeration, ByName };

// The full paths of the files directly inside folder that match filter: "*" or "*.*" (or an
// empty filter) takes every file; "*.ext" with no other "*" compares the name's end without
// case; anything else is a file-name wildcard ("*", "?" for zero or one character, "|"
// between alternatives) that must match the whole name, case ignored. Subfolders and their
// files are never listed.
std::vector<std::string> listFolderFiles(std::string_view folder, std::string_view filter,
                                         ListingOrder order = ListingOrder::Enumeration);

// The full paths of the files directly inside folder that match the "|"-separated patterns of
// filter (empty: "*.*"), pattern after pattern, each in enumeration order; a file that matches
// two patterns is listed twice. Lets the desktop process pending events after each file.
std::vector<std::string> listFolderFilesByPattern(DesktopServices& desktop, FileEnv& files,
                                                  std::string_view folder, std::string_view filter);

// A file-name wildcard as file managers know it: "*" any run of characters, "?" exactly one
// character, ASCII letters without case; "*.*" takes names without a dot too.
bool wildcardMatches(std::string_view name, std::string_view pattern);

}  // namespace yelian
