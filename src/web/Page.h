// What the show asks of the page around it: the sound (a compressed copy of
// the track, played by Web Audio, whose clock the show follows), the title,
// one visible line for a message, the overlay's text and full screen. The
// page (page/index.html) answers in JavaScript.
#pragma once

#include <cstdint>
#include <string>

namespace web {

// Plays the track from `ms` of it on, at once. The clock restarts there.
void playSoundFrom(double ms);
// Pauses or resumes the sound, and its clock with it.
void pauseSound(bool paused);
// How far the track has played since playSoundFrom, by the sound's own clock.
double soundPlayedMs();

void setTitle(const std::string& title);
// One line the user sees over the canvas (a bad address, say).
void showMessage(const std::string& message);
// The overlay's lines; empty hides it.
void setOverlay(const std::string& text);
void toggleFullScreen();
// Notes, for whoever studies the page, the first frame shown of a chapter and
// where the show clock's sound was then (ms of the track).
void noteChapterShown(const std::string& name, std::uint64_t frame, double soundMs);
void noteFrameShown(std::uint64_t frame);
// The page's address asks for: "from", "to", "frame"; empty when it does not.
std::string addressValue(const char* name);

}  // namespace web
