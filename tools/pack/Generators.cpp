#include "Generators.h"

#include "PackContext.h"
#include "font/FontGenerator.h"
#include "models/Models.h"
#include "music/MusicGenerator.h"
#include "pictures/Pictures.h"

// Each part of the pack lives in its own folder beside this file and adds
// one line here.
const std::vector<Generator>& generators() {
    static const std::vector<Generator> all = {
        {"music", writeMusic},
        {"pictures", writePictures},
        {"font", writeFont},
        {"models", writeModels},
    };
    return all;
}
