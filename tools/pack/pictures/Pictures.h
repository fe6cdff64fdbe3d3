// The pictures of the data pack: every JPG the show loads and its one TGA.
#pragma once

struct PackContext;

void writePictures(const PackContext& pack);
