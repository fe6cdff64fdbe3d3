#include "web/Page.h"

#include <emscripten/emscripten.h>

#include <cstdlib>

// The page keeps the sound in `Module.marrowickSound` (set up by index.html
// once the user has clicked): an AudioContext, the decoded track, and the
// source now playing.
// clang-format off
EM_JS(void, pagePlaySoundFrom, (double ms), {
    const sound = Module.marrowickSound;
    if (!sound) return;
    if (sound.source) { sound.source.onended = null; sound.source.stop(); }
    const source = sound.context.createBufferSource();
    source.buffer = sound.track;
    source.loop = true;
    source.connect(sound.context.destination);
    const offset = (ms / 1000) % sound.track.duration;
    source.start(0, offset);
    sound.source = source;
    sound.startedAt = sound.context.currentTime;
});

EM_JS(void, pagePauseSound, (int paused), {
    const sound = Module.marrowickSound;
    if (!sound) return;
    if (paused) sound.context.suspend(); else sound.context.resume();
});

EM_JS(double, pageSoundPlayedMs, (), {
    const sound = Module.marrowickSound;
    if (!sound || !sound.source) return 0;
    return (sound.context.currentTime - sound.startedAt) * 1000;
});

EM_JS(void, pageSetTitle, (const char* title), { document.title = UTF8ToString(title); });

EM_JS(void, pageShowMessage, (const char* message), {
    const line = document.getElementById("message");
    line.textContent = UTF8ToString(message);
    line.hidden = false;
});

EM_JS(void, pageSetOverlay, (const char* text), {
    const overlay = document.getElementById("overlay");
    overlay.textContent = UTF8ToString(text);
    overlay.hidden = overlay.textContent.length == 0;
});

EM_JS(void, pageToggleFullScreen, (), {
    if (document.fullscreenElement) document.exitFullscreen(); else document.getElementById("stage").requestFullscreen();
});

EM_JS(char*, pageAddressValue, (const char* name), {
    const value = new URLSearchParams(location.search).get(UTF8ToString(name));
    return value === null ? 0 : allocateUTF8(value);
});
EM_JS(void, pageNoteChapterShown, (const char* name, double frame, double soundMs), {
    (Module.marrowickChapters = Module.marrowickChapters || []).push({name: UTF8ToString(name), frame: frame, soundMs: soundMs});
});
EM_JS(void, pageNoteFrameShown, (double frame), { Module.marrowickFrame = frame; });
// clang-format on

namespace web {

void playSoundFrom(double ms) { pagePlaySoundFrom(ms); }
void pauseSound(bool paused) { pagePauseSound(paused ? 1 : 0); }
double soundPlayedMs() { return pageSoundPlayedMs(); }
void setTitle(const std::string& title) { pageSetTitle(title.c_str()); }
void showMessage(const std::string& message) { pageShowMessage(message.c_str()); }
void setOverlay(const std::string& text) { pageSetOverlay(text.c_str()); }
void toggleFullScreen() { pageToggleFullScreen(); }
void noteFrameShown(std::uint64_t frame) { pageNoteFrameShown(static_cast<double>(frame)); }
void noteChapterShown(const std::string& name, std::uint64_t frame, double soundMs) {
    pageNoteChapterShown(name.c_str(), static_cast<double>(frame), soundMs);
}

std::string addressValue(const char* name) {
    char* value = pageAddressValue(name);
    if (value == nullptr) return "";
    std::string text(value);
    std::free(value);
    return text;
}

}  // namespace web
