// The one-shot hand-over of cue names from the sound thread to the frame
// loop: the sound layer posts each cue as playback passes it, and the running
// scene takes the latest once a frame, which empties it. One lock covers both
// sides, so a half-written name is never read.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>

class SyncTag {
public:
    static constexpr std::size_t kSize = 1024;

    // A null name changes nothing; a newer name replaces an unread older one.
    // Longer names are cut to the buffer rather than overrun it.
    void post(const char* name);
    // The name posted since the previous take, or "". The text stays valid
    // until the next take.
    const char* take();

    // The name waiting to be taken ("" for none), and putting one back: a
    // show state carries its pending cue.
    std::string waiting();
    void setWaiting(const std::string& name);
    // The last name posted, taken or not ("" before the first).
    std::string lastPosted();

private:
    std::mutex lock;
    char pending[kSize] = "";
    char current[kSize] = "";
    char last[kSize] = "";
};

// The show's tag: the music's sync callback posts into it, Music::getTag
// takes from it.
SyncTag& showSyncTag();
