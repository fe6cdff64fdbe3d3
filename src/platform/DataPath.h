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

// Where the show's data is, looked for in this order: the folder --data
// names (`named`, taken as given); else the current folder when it holds the
// show's data, as it always has; else the pack installed with the program,
// `<folder of executable>/../share/marrowick`, so that a menu entry or any
// other folder plays the show too. When none holds it, the current folder
// all the same (""): the show then names the first file it misses, as it
// always has.
std::string findDataFolder(const std::string& named, const std::string& executable);

// Whether `folder` holds the show's data: its music (demot.wav) or its font
// (transFont.tle), the two files it opens first, matched as every data name
// is, regardless of case. Either is enough, so that a pack missing one file
// is still the show's, and the show names the missing file as it always has.
bool holdsShowData(const std::string& folder);

// This program's own file, from /proc/self/exe (links resolved); empty when
// it cannot be read.
std::string executablePath();

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
