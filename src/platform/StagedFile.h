// A file written whole or not at all: its bytes go into a file of its own
// beside where it is going, created under a name no file had, and only a
// complete file is put in place. A full disk, a failed write or a process
// that ends half way never leaves a partial file under the name asked for,
// and never touches a file the user keeps there.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

class StagedFile {
public:
    // Creates `<destination>.XXXXXX`, empty, in the destination's folder
    // (mode 0666 less the umask, as any new file). created() tells whether
    // it could be; error() then says why.
    explicit StagedFile(const std::string& destination);
    // Removes the staged file unless it was put in place.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    bool created() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // The errno of the last thing that failed; 0 when nothing has.
    int error() const { return error_; }

    // Appends every byte; false once anything has failed.
    bool write(const void* bytes, std::size_t size);
    // Puts what is written on the disk and closes the file, so that a disk
    // too full for it says so here; false once anything has failed.
    bool close();

    // Closes the file, then renames it to `destination`, replacing any file
    // there. False (with error()) when it cannot.
    bool replace(const std::string& destination);
    // Closes the file, then gives it the name `destination` only if no file
    // has that name: false with error() EEXIST when one has. Tried again
    // under another name, the file is the same.
    bool placeAsNew(const std::string& destination);

private:
    bool fail(int error);

    std::string path_;  // empty when it could not be created
    int descriptor_ = -1;
    bool broken_ = false;   // a write or the close failed: the file is not whole
    bool renamed_ = false;  // the staged name is gone
    int error_ = 0;
};

}  // namespace platform
