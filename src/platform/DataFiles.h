// Every data file the show reads, as the show names them, with its kind and
// who reads it: one table that the loaders, the start-up read-ahead, the
// data-folder search and the tests all take their names from.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

enum class DataKind { Music, Font, Model, Jpg, Tga };

// Who reads a file: the objects built before the window, or a start-up step
// after it (each scene's init function in the order start-up runs them).
enum class DataReader { Objects, Credits, Chess, Ship, Alien, Intro };

struct DataFile {
    const char* name;  // as the show spells it: "ting\\queen.jpg"
    DataKind kind;
    DataReader readBy;
    int reads;  // how many times start-up reads it
};

namespace files {
// clang-format off
inline constexpr DataFile kMusic        {"demot.wav",              DataKind::Music, DataReader::Objects, 1};
inline constexpr DataFile kFont         {"transFont.tle",          DataKind::Font,  DataReader::Objects, 2};
inline constexpr DataFile kQueenModel   {"demoMesh\\queen.3ds",    DataKind::Model, DataReader::Objects, 1};
inline constexpr DataFile kKingModel    {"demoMesh\\king_h.3ds",   DataKind::Model, DataReader::Objects, 1};
inline constexpr DataFile kPawnModel    {"demoMesh\\pawn.3ds",     DataKind::Model, DataReader::Objects, 1};
inline constexpr DataFile kShipModel    {"demoMesh\\ship_adv.3ds", DataKind::Model, DataReader::Objects, 2};
inline constexpr DataFile kSpeakerModel {"demoMesh\\spheaker.3ds", DataKind::Model, DataReader::Objects, 1};
inline constexpr DataFile kWalkerModel  {"demoMesh\\luvshak.3ds",  DataKind::Model, DataReader::Objects, 1};
inline constexpr DataFile kCreditsJpg   {"ting\\credits.jpg",      DataKind::Jpg,   DataReader::Credits, 1};
inline constexpr DataFile kSaluteJpg    {"ting\\salute.jpg",       DataKind::Jpg,   DataReader::Credits, 1};
inline constexpr DataFile kBlackJpg     {"black.jpg",              DataKind::Jpg,   DataReader::Chess,   5};
inline constexpr DataFile kChessJpg     {"chess.jpg",              DataKind::Jpg,   DataReader::Chess,   7};
inline constexpr DataFile kSmokeJpg     {"smoke.jpg",              DataKind::Jpg,   DataReader::Chess,   1};
inline constexpr DataFile kQueenJpg     {"ting\\queen.jpg",        DataKind::Jpg,   DataReader::Chess,   1};
inline constexpr DataFile kKingJpg      {"ting\\king.jpg",         DataKind::Jpg,   DataReader::Chess,   1};
inline constexpr DataFile kBoardTga     {"ting\\watgsg512_inv.tga", DataKind::Tga,  DataReader::Chess,   1};
inline constexpr DataFile kKingThingJpg {"ting\\kingThing.jpg",    DataKind::Jpg,   DataReader::Chess,   1};
inline constexpr DataFile kPeasantsJpg  {"ting\\peasants.jpg",     DataKind::Jpg,   DataReader::Chess,   1};
inline constexpr DataFile kBlodJpg      {"ting\\blod.jpg",         DataKind::Jpg,   DataReader::Chess,   1};
inline constexpr DataFile kQuilloryJpg  {"ting\\quillory.jpg",     DataKind::Jpg,   DataReader::Chess,   1};
inline constexpr DataFile kEnvJpg       {"env1.jpg",               DataKind::Jpg,   DataReader::Ship,    5};
inline constexpr DataFile kSkyJpg       {"sky.jpg",                DataKind::Jpg,   DataReader::Ship,    1};
inline constexpr DataFile kGrassJpg     {"grass.jpg",              DataKind::Jpg,   DataReader::Ship,    1};
inline constexpr DataFile kGsgJpg       {"ting\\gsg.jpg",          DataKind::Jpg,   DataReader::Ship,    1};
inline constexpr DataFile kApplauseJpg  {"ting\\applause.jpg",     DataKind::Jpg,   DataReader::Ship,    1};
inline constexpr DataFile kLeetJpg      {"ting\\1337.jpg",         DataKind::Jpg,   DataReader::Ship,    1};
inline constexpr DataFile kAlienEnvJpg  {"env1.jpg",               DataKind::Jpg,   DataReader::Alien,   2};
inline constexpr DataFile kToon1Jpg     {"ting\\toon1.jpg",        DataKind::Jpg,   DataReader::Alien,   1};
inline constexpr DataFile kToon2Jpg     {"ting\\toon2.jpg",        DataKind::Jpg,   DataReader::Alien,   1};
inline constexpr DataFile kToon3Jpg     {"ting\\toon3.jpg",        DataKind::Jpg,   DataReader::Alien,   1};
inline constexpr DataFile kBoomJpg      {"ting\\boom.jpg",         DataKind::Jpg,   DataReader::Alien,   1};
inline constexpr DataFile kLogoJpg      {"cockAttack.jpg",         DataKind::Jpg,   DataReader::Intro,   0};  // only the intro's own frames, never run
// clang-format on
}  // namespace files

// In the order start-up first reads them; env1.jpg twice, as the ship and the
// alien each read it.
inline constexpr const DataFile* kDataFiles[] = {
    &files::kMusic,     &files::kFont,         &files::kQueenModel,  &files::kKingModel,  &files::kPawnModel,
    &files::kShipModel, &files::kSpeakerModel, &files::kWalkerModel, &files::kCreditsJpg, &files::kSaluteJpg,
    &files::kBlackJpg,  &files::kChessJpg,     &files::kSmokeJpg,    &files::kQueenJpg,   &files::kKingJpg,
    &files::kBoardTga,  &files::kKingThingJpg, &files::kPeasantsJpg, &files::kBlodJpg,    &files::kQuilloryJpg,
    &files::kEnvJpg,    &files::kSkyJpg,       &files::kGrassJpg,    &files::kGsgJpg,     &files::kApplauseJpg,
    &files::kLeetJpg,   &files::kAlienEnvJpg,  &files::kToon1Jpg,    &files::kToon2Jpg,   &files::kToon3Jpg,
    &files::kBoomJpg,   &files::kLogoJpg,
};

}  // namespace platform
