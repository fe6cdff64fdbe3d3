#include "scenes/Credits.h"

#include <cstring>

#include "music/Cues.h"
#include "music/Music.h"
#include "platform/DataFiles.h"
#include "platform/ShowEnd.h"
#include "render/Picture.h"

void CreditsScene::creditsInit() {
    cast.creditsPicture.load(platform::files::kCreditsJpg.name);
    cast.salutePicture.load(platform::files::kSaluteJpg.name);
}

void CreditsScene::creditsRun() {
    // Cue names are short; a longer one is cut to the buffer, never overrun.
    char tag[260];
    std::strncpy(tag, cast.music.getTag(), sizeof tag - 1);
    tag[sizeof tag - 1] = '\0';

    state.showCredits = true;
    if (std::strcmp(tag, cue::kHandJobb) == 0) {
        state.showCredits = false;
        state.showSalute = true;
    }
    if (state.showCredits) cast.creditsPicture.draw(fadeIn(1000), kWholeScreen);
    if (state.showSalute) cast.salutePicture.draw(fadeIn(1000), kWholeScreen);

    // The frame being drawn is never shown.
    if (std::strcmp(tag, cue::kFadeToCredits) == 0) platform::endShow();
}
