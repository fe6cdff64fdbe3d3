#include "platform/DataPath.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::vector<std::string> splitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

// The entry of `directory` equal to `wanted` ignoring case; the smallest such
// name when several differ only in case, so the choice does not depend on
// the order the file system lists them.
std::string findIgnoringCase(const std::string& directory, const std::string& wanted) {
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) return wanted;
    std::string best;
    while (const dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, wanted.c_str()) == 0 && (best.empty() || entry->d_name < best)) {
            best = entry->d_name;
        }
    }
    ::closedir(dir);
    return best.empty() ? wanted : best;
}

}  // namespace

std::string resolveDataPath(std::string_view name) {
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || exists(path)) return path;

    const bool absolute = path.front() == '/';
    std::string resolved = absolute ? "/" : "";
    for (const std::string& component : splitComponents(path)) {
        std::string next = resolved + component;
        if (!exists(next)) next = resolved + findIgnoringCase(resolved, component);
        resolved = next + '/';
    }
    resolved.pop_back();
    return resolved;
}

std::FILE* openDataFile(std::string_view name, const char* mode) {
    return std::fopen(resolveDataPath(name).c_str(), mode);
}

}  // namespace platform
