// JPG pictures decoded ahead of their upload, on threads of their own, with
// their mipmaps built, so that the thread that owns the OpenGL context is
// left only the uploads. Start-up names the files in the order it will load
// them; each load takes its picture from here, waiting for it if need be, or
// decoding it itself when no thread has begun it yet. A file read ahead
// without a hitch is the picture loadJpg would give; any other (missing,
// corrupt, even one warning) is left to loadJpg at its usual time, so that
// its message and its end of the process come exactly where they always did.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "render/ImageData.h"
#include "render/Mipmaps.h"

struct DecodedPicture {
    ImageData image;
    std::vector<MipLevel> levels;  // halvedLevels() of the image: empty unless its sides are powers of two
};

class PictureReadAhead {
public:
    // `fileNames` as the loads will spell them, a file once for every load
    // of it; each distinct file is decoded once. `threads` decode in order.
    PictureReadAhead(const std::vector<std::string>& fileNames, unsigned threads);
    // Waits for the pictures being decoded; those not begun are dropped.
    ~PictureReadAhead();
    PictureReadAhead(const PictureReadAhead&) = delete;
    PictureReadAhead& operator=(const PictureReadAhead&) = delete;

    // The picture for one load of `fileName`, or null when the file was not
    // named (or not as often) or could not be read ahead without a hitch.
    // The last load of a file takes the picture out of here.
    std::shared_ptr<const DecodedPicture> take(const std::string& fileName);

    // For holding a list against the loads it is for: the loads that found
    // no file named for them, then the files named for more loads than came.
    std::vector<std::string> unmatched();

private:
    enum class State { Waiting, Decoding, Done };
    struct Entry {
        std::string fileName;
        std::size_t loadsLeft = 0;
        State state = State::Waiting;
        std::shared_ptr<const DecodedPicture> picture;
    };

    void work();
    // Decodes the entry with the lock released; the lock is held on entry and on return.
    void decode(Entry& entry, std::unique_lock<std::mutex>& hold);

    std::mutex lock;
    std::condition_variable done;
    std::vector<Entry> entries;  // in first-load order; never resized once threads run
    std::vector<std::string> missed;
    std::size_t next = 0;  // the first entry no one has begun
    bool stopping = false;
    // The threads are detached, so that a process that ends in the middle
    // (a missing file) owes them nothing; the destructor waits for this to
    // fall to 0 instead of joining them.
    unsigned running = 0;
};

// The read-ahead that texture loads consult; none (null) unless start-up set one.
void setPictureReadAhead(PictureReadAhead* readAhead);
PictureReadAhead* pictureReadAhead();
