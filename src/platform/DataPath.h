// Data files are named as the show has always named them ("demoMesh\queen.3ds"),
// written for a case-insensitive file system with backslashes. Opening maps
// them onto the local file system; messages keep the name as given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Where the data files are: the current folder until this names another.
// Decided once, before the first file is read.
void setDataFolder(std::string folder);

// The real path of a data file: '\' becomes '/', the name is taken under the
// data folder (unless absolute) and, when the exact path does not exist,
// each component of the name is matched case-insensitively against the
// directory that holds it. Returns the mapped path even when nothing
// matches, so that opening it fails.
std::string resolveDataPath(std::string_view name);

// The whole of a data file, found as above; nothing when it cannot be opened
// or read. Plain reads, no stdio stream: safe on any thread, also while the
// process ends and the C library closes its streams.
std::optional<std::vector<std::uint8_t>> readDataFile(std::string_view name);

}  // namespace platform
