// Reading a 3DS file for a Model: the bytes are checked against what lib3ds
// can read safely before lib3ds itself is let loose on the file.
#pragma once

#include <lib3ds/file.h>

#include <string>

// The loaded file, or null when it is missing, unreadable or unsafe to read.
Lib3dsFile* loadModelFile(const std::string& path);
