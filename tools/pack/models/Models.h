// The show's six 3DS models. Each is modelled in the frame its scene sees it
// in, at the size the scene's camera needs: the chess pieces stand with their
// origin 28 units above the board, the ship is about 70 units long, the
// speaker cabinet 60 tall facing +z, the walker 28 tall walking along +x
// with +z up.
#pragma once

#include <filesystem>

struct PackContext;

void writeQueen(const std::filesystem::path& path);
void writeKing(const std::filesystem::path& path);
void writePawn(const std::filesystem::path& path);
void writeShip(const std::filesystem::path& path);
void writeSpeaker(const std::filesystem::path& path);
void writeWalker(const std::filesystem::path& path);

// All six into demoMesh/ under the pack's directory, named as the show opens them.
void writeModels(const PackContext& pack);
