// What every picture of the pack is made with: the pack's place and seeds, a
// typesetter, and saving at the on-screen size resampled to the file size.
#pragma once

#include <string>

#include "pack/PackContext.h"
#include "pack/pictures/Canvas.h"
#include "pack/pictures/Lettering.h"
#include "pack/pictures/Noise.h"

struct PictureKit {
    explicit PictureKit(const PackContext& pack) : pack(pack) {}

    // Resamples the composed canvas to the file's power-of-two size and writes it.
    void saveJpg(const std::string& file, const Canvas& canvas, int width, int height) const;
    void saveTga(const std::string& file, const Canvas& canvas) const;

    const PackContext& pack;
    Typesetter type;
};

// The king's gold mirror ball, ting/kingThing.jpg, at any size: rows as the
// file holds them, the sky in the lower half. The program's icon is cut from it.
Canvas goldSphereMap(int size);

// Each group of pictures; `writePictures` runs them all.
void writeSurfaces(PictureKit& kit);
void writeEnvironmentMaps(PictureKit& kit);
void writeTitleCards(PictureKit& kit);
void writeComic(PictureKit& kit);
void writeClosingCards(PictureKit& kit);
