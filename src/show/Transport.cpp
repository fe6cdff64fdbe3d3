#include "show/Transport.h"

namespace {

constexpr std::uint64_t kJumpMs = 10000;
// Within this long of a cue's start, "previous" goes to the cue before, as
// media players do.
constexpr std::uint64_t kPreviousGraceMs = 1000;

}  // namespace

std::uint64_t Transport::shownFrame() const { return timeline.frame() > 0 ? timeline.frame() - 1 : 0; }

void Transport::seek(std::uint64_t frame) {
    timeline.seek(frame);
    // A seek while paused shows where it landed.
    if (isPaused) timeline.runFrame(true);
}

bool Transport::command(PlayerCommand command) {
    const std::uint64_t now = shownFrame();
    const std::uint64_t frameMs = timeline.periodMs();
    switch (command) {
    case PlayerCommand::TogglePause:
        isPaused = !isPaused;
        return false;
    case PlayerCommand::Step:
        if (isPaused) runFrame(true);
        return isPaused;
    case PlayerCommand::NextCue:
        if (const Chapter* next = timeline.chapterAfter(now)) {
            seek(next->frame);
            return true;
        }
        return false;
    case PlayerCommand::PreviousCue: {
        const Chapter* at = timeline.chapterAt(now);
        if (at != nullptr && (now - at->frame) * frameMs < kPreviousGraceMs) at = timeline.chapterAt(at->frame - 1);
        seek(at != nullptr ? at->frame : 0);
        return true;
    }
    case PlayerCommand::Forward:
        seek(now + kJumpMs / frameMs);
        return true;
    case PlayerCommand::Back:
        seek(now > kJumpMs / frameMs ? now - kJumpMs / frameMs : 0);
        return true;
    case PlayerCommand::Home:
        seek(0);
        return true;
    case PlayerCommand::ToggleLoop:
        if (looping()) {
            loopEnd = 0;
        } else {
            const Chapter* at = timeline.chapterAt(now);
            const Chapter* next = timeline.chapterAfter(now);
            loopStart = at != nullptr ? at->frame : 0;
            loopEnd = next != nullptr ? next->frame : timeline.closingFrame();
        }
        return false;
    }
    return false;
}

bool Transport::runFrame(bool drawn) {
    const bool wraps = looping() && timeline.frame() >= loopEnd;
    if (wraps) timeline.seek(loopStart);
    timeline.runFrame(drawn);
    return wraps;
}
