// Data files are named as the show has always named them ("demoMesh\queen.3ds"),
// written for a case-insensitive file system with backslashes. Opening maps
// them onto the local file system; messages keep the name as given.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

// Maps '\' to '/' and, when the exact path does not exist, matches each path
// component case-insensitively against the directory that holds it. Returns
// the mapped path even when nothing matches, so that opening it fails.
std::string resolveDataPath(std::string_view name);

// fopen on the resolved path.
std::FILE* openDataFile(std::string_view name, const char* mode);

}  // namespace platform
