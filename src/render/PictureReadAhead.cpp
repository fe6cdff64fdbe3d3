#include "render/PictureReadAhead.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "render/JpgReader.h"

namespace {

std::atomic<PictureReadAhead*> current{nullptr};

std::shared_ptr<const DecodedPicture> decodeAhead(const std::string& fileName) {
    std::optional<ImageData> image = decodeJpgQuietly(fileName.c_str());
    if (!image) return nullptr;
    auto picture = std::make_shared<DecodedPicture>();
    picture->levels = halvedLevels(image->pixels.data(), image->width, image->height, image->components);
    picture->image = std::move(*image);
    return picture;
}

}  // namespace

PictureReadAhead::PictureReadAhead(const std::vector<std::string>& fileNames, unsigned threadCount) {
    for (const std::string& name : fileNames) {
        const auto found =
            std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.fileName == name; });
        if (found != entries.end()) {
            ++found->loadsLeft;
        } else {
            entries.push_back(Entry{name, 1, State::Waiting, nullptr});
        }
    }
    running = threadCount;
    for (unsigned i = 0; i < threadCount; ++i) std::thread([this] { work(); }).detach();
}

PictureReadAhead::~PictureReadAhead() {
    std::unique_lock<std::mutex> hold(lock);
    stopping = true;
    done.wait(hold, [this] { return running == 0; });
}

void PictureReadAhead::work() {
    std::unique_lock<std::mutex> hold(lock);
    while (!stopping) {
        while (next < entries.size() && entries[next].state != State::Waiting) ++next;
        if (next == entries.size()) break;
        decode(entries[next], hold);
    }
    // The last touch of this object: it may be gone once the lock is let go.
    --running;
    done.notify_all();
}

void PictureReadAhead::decode(Entry& entry, std::unique_lock<std::mutex>& hold) {
    entry.state = State::Decoding;
    const std::string fileName = entry.fileName;
    hold.unlock();
    std::shared_ptr<const DecodedPicture> picture = decodeAhead(fileName);
    hold.lock();
    entry.picture = std::move(picture);
    entry.state = State::Done;
    done.notify_all();
}

std::shared_ptr<const DecodedPicture> PictureReadAhead::take(const std::string& fileName) {
    std::unique_lock<std::mutex> hold(lock);
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.fileName == fileName; });
    if (found == entries.end() || found->loadsLeft == 0) {
        missed.push_back(fileName);
        return nullptr;
    }
    Entry& entry = *found;
    // Waiting on the threads when one could decode it here would only idle.
    if (entry.state == State::Waiting) decode(entry, hold);
    done.wait(hold, [&] { return entry.state == State::Done; });
    std::shared_ptr<const DecodedPicture> picture = entry.picture;
    if (--entry.loadsLeft == 0) entry.picture.reset();
    return picture;
}

std::vector<std::string> PictureReadAhead::unmatched() {
    std::lock_guard<std::mutex> hold(lock);
    std::vector<std::string> names = missed;
    for (const Entry& entry : entries) {
        if (entry.loadsLeft > 0) names.push_back(entry.fileName);
    }
    return names;
}

void setPictureReadAhead(PictureReadAhead* readAhead) { current.store(readAhead); }

PictureReadAhead* pictureReadAhead() { return current.load(); }
