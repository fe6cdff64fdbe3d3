#include "pack/Generators.h"

#include "pack/PackContext.h"
#include "pack/font/FontGenerator.h"
#include "pack/models/Models.h"
#include "pack/music/MusicGenerator.h"
#include "pack/pictures/Pictures.h"

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
