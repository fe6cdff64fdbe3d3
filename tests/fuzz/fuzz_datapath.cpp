// Any bytes as a data file name, looked up in a small tree of mixed-case
// names built once for the run (folders that differ only in case included).
// Every name maps to a path without backslashes, one component for each of
// the name's, each the same ignoring case; a path that exists is kept as it
// was written. Inside the tree the result is also compared with what the
// listing of the tree says: an exact component where there is one, else the
// smallest of the same ignoring case, else the component as given. The same
// name below the tree's absolute path must resolve below it the same way.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/DataPath.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// Folders end in '/'.
const char* const kTree[] = {
    "demoMesh/",
    "demoMesh/queen.3ds",
    "demoMesh/Queen.3DS",
    "demoMesh/king_h.3ds",
    "ting/",
    "ting/kingThing.jpg",
    "Ting/",
    "Ting/README",
    "transFont.tle",
    "a/",
    "a/b/",
    "a/b/Deep.TGA",
    "A.txt",
    "Empty/",
    "Ship Parts/",
    "Ship Parts/hull.TGA",
};

struct Tree {
    std::string root;  // absolute, no trailing '/'
    int startFolder = -1;
    // Each folder's entries ("" is the root).
    std::map<std::string, std::set<std::string>> entries;
};

void removeTree(const std::string& path) {
    if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") removeTree(path + "/" + name);
        }
        ::closedir(dir);
        ::rmdir(path.c_str());
    } else {
        ::unlink(path.c_str());
    }
}

const Tree& tree() {
    static const Tree built = [] {
        Tree t;
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/marrowick-datapath-XXXXXX";
        require(::mkdtemp(pattern.data()) != nullptr);
        char real[PATH_MAX];
        require(::realpath(pattern.c_str(), real) != nullptr);
        t.root = real;
        for (const std::string path : kTree) {
            const bool folder = path.back() == '/';
            const std::string name = folder ? path.substr(0, path.size() - 1) : path;
            const std::size_t slash = name.rfind('/');
            t.entries[slash == std::string::npos ? "" : name.substr(0, slash)].insert(
                slash == std::string::npos ? name : name.substr(slash + 1));
            const std::string full = t.root + "/" + name;
            if (folder) {
                require(::mkdir(full.c_str(), 0755) == 0);
                t.entries[name];
            } else {
                const int fd = ::open(full.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
                require(fd >= 0);
                ::close(fd);
            }
        }
        t.startFolder = ::open(".", O_RDONLY | O_DIRECTORY);
        require(t.startFolder >= 0);
        return t;
    }();
    static const int cleanUp = std::atexit([] { removeTree(tree().root); });
    (void)cleanUp;
    return built;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (slash > start) parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

// ASCII only: the C locale the show runs in folds nothing else.
bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string path;
    for (const std::string& part : parts) path += (path.empty() ? "" : "/") + part;
    return path;
}

// What the listing of the tree says a relative name without "." or ".."
// components resolves to, or false for such a name.
bool expectedInTree(const Tree& t, const std::vector<std::string>& wanted, std::string& expected) {
    std::vector<std::string> chosen;
    std::string folder;
    bool inTree = true;
    for (const std::string& component : wanted) {
        if (component == "." || component == "..") return false;
        std::string pick = component;
        const auto listed = t.entries.find(folder);
        if (inTree && listed != t.entries.end() && listed->second.count(component) == 0) {
            // std::set is ordered: the first match is the smallest.
            for (const std::string& entry : listed->second) {
                if (sameIgnoringCase(entry, component)) {
                    pick = entry;
                    break;
                }
            }
        }
        inTree = inTree && listed != t.entries.end() && listed->second.count(pick) != 0;
        chosen.push_back(pick);
        folder = joined(chosen);
    }
    expected = joined(chosen);
    return true;
}

void checkShape(const std::string& mapped, const std::string& resolved) {
    require(resolved.find('\\') == std::string::npos);
    if (mapped.empty() || exists(mapped)) {
        require(resolved == mapped);
        return;
    }
    require((mapped.front() == '/') == (!resolved.empty() && resolved.front() == '/'));
    const std::vector<std::string> given = components(mapped);
    const std::vector<std::string> found = components(resolved);
    require(given.size() == found.size());
    for (std::size_t i = 0; i < given.size(); ++i) require(sameIgnoringCase(given[i], found[i]));
    // No empty components and no trailing '/': the components joined again.
    require(resolved == (mapped.front() == '/' ? "/" : "") + joined(found));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 512) return 0;
    const Tree& t = tree();
    // The show's names are C strings: a NUL ends one.
    const std::string name(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    std::string mapped = name;
    std::replace(mapped.begin(), mapped.end(), '\\', '/');

    require(::chdir(t.root.c_str()) == 0);
    const std::string resolved = platform::resolveDataPath(name);
    checkShape(mapped, resolved);
    if (!mapped.empty() && mapped.front() != '/') {
        std::string expected;
        const bool known = expectedInTree(t, components(mapped), expected);
        if (known && !exists(mapped)) require(resolved == expected);
        const std::string below = platform::resolveDataPath(t.root + "/" + name);
        checkShape(t.root + "/" + mapped, below);
        if (known) require(below == t.root + "/" + (exists(mapped) ? mapped : expected));
    }
    require(::fchdir(t.startFolder) == 0);
    return 0;
}
