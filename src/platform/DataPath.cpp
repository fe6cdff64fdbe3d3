#include "platform/DataPath.h"
#include "platform/DataFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Empty: the current folder. Threads that decode pictures ahead resolve
// names with it, and a fatal exit at start-up ends the process under them:
// it lives in storage that exit() never destroys.
std::string& dataFolder() {
    static std::string* const folder = new std::string;
    return *folder;
}

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

bool isFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

void setDataFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    dataFolder() = std::move(folder);
}

std::string resolveDataPath(std::string_view name) {
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty()) return path;
    const bool absolute = path.front() == '/';
    // The folder is the user's, spelled as given; only the show's names are
    // matched regardless of case.
    const std::string full = absolute ? path : dataFolder() + path;
    if (exists(full)) return full;

    std::string resolved = absolute ? "/" : dataFolder();
    for (const std::string& component : splitComponents(path)) {
        std::string next = resolved + component;
        if (!exists(next)) next = resolved + findIgnoringCase(resolved, component);
        resolved = next + '/';
    }
    resolved.pop_back();
    return resolved;
}

bool holdsShowData(const std::string& folder) {
    const std::string directory = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    for (const char* name : {files::kMusic.name, files::kFont.name}) {
        if (isFile(directory + name) || isFile(directory + findIgnoringCase(directory, name))) return true;
    }
    return false;
}

std::string findDataFolder(const std::string& named, const std::string& executable) {
    if (!named.empty() || holdsShowData("") || executable.empty()) return named;
    const std::string installed =
        (std::filesystem::path(executable).parent_path() / ".." / "share" / "marrowick").lexically_normal();
    return holdsShowData(installed) ? installed : "";
}

std::string executablePath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::optional<std::vector<std::uint8_t>> readDataFile(std::string_view name) {
    const int fd = ::open(resolveDataPath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    ssize_t got = 0;
    while ((got = ::read(fd, chunk, sizeof chunk)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    ::close(fd);
    if (got < 0) return std::nullopt;
    return bytes;
}

}  // namespace platform
