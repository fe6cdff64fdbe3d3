#include "pack/pictures/Pictures.h"

#include "pack/pictures/PictureFiles.h"
#include "pack/pictures/PictureKit.h"

void PictureKit::saveJpg(const std::string& file, const Canvas& canvas, int width, int height) const {
    pack.progress("pictures: " + file);
    writeJpg(pack.file(file),
             canvas.width() == width && canvas.height() == height ? canvas : canvas.resized(width, height));
}

void PictureKit::saveTga(const std::string& file, const Canvas& canvas) const {
    pack.progress("pictures: " + file);
    writeRunLengthTga(pack.file(file), canvas);
}

void writePictures(const PackContext& pack) {
    PictureKit kit(pack);
    writeSurfaces(kit);
    writeEnvironmentMaps(kit);
    writeTitleCards(kit);
    writeComic(kit);
    writeClosingCards(kit);
}
