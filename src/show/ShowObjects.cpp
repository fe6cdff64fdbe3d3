#include "show/ShowObjects.h"

#include "platform/DataFiles.h"
#include "render/RenderState.h"
#include "show/StateRegistry.h"

const std::vector<std::string>& startUpPictures() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> loads;
        for (const platform::DataReader step : {platform::DataReader::Credits, platform::DataReader::Chess,
                                                platform::DataReader::Ship, platform::DataReader::Alien}) {
            for (const platform::DataFile* file : platform::kDataFiles) {
                if (file->kind != platform::DataKind::Jpg || file->readBy != step) continue;
                loads.insert(loads.end(), static_cast<std::size_t>(file->reads), file->name);
            }
        }
        return loads;
    }();
    return files;
}

ShowObjects::ShowObjects(StateRegistry& registry, std::uint32_t& lastRelease, SkyBoxScroll& skyScroll)
    : registry(registry),
      skyScroll(skyScroll),
      theDefaultMaterial(defaultMaterial()),
      frameLimiter(kShowFrameRate, lastRelease),
      credits(registry, CreditsCast{music, creditsPicture, salutePicture}),
      chess(registry, ChessCast{music, chessRoom, chessCube, queenModel, kingModel, pawnModel, smokeParticles,
                                queenPicture, kingPicture, peasantsPicture, logoPicture, chessTga, light0, light1}),
      ship(registry, ShipCast{music, shipSky, shipModel, shipTitlePicture, applausePicture, leetPicture, light0}),
      alien(registry, AlienCast{music, speakerModel, luvshakModel, alienShipModel, toon1Picture, toon2Picture,
                                toon3Picture, boomPicture}),
      intro(IntroCast{music, font14, introLogo, [this] { return chess.chessRun(); }}) {}
