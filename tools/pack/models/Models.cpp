#include "pack/models/Models.h"

#include "pack/PackContext.h"

void writeModels(const PackContext& pack) {
    writeQueen(pack.file("demoMesh/queen.3ds"));
    writeKing(pack.file("demoMesh/king_h.3ds"));
    writePawn(pack.file("demoMesh/pawn.3ds"));
    writeShip(pack.file("demoMesh/ship_adv.3ds"));
    writeSpeaker(pack.file("demoMesh/spheaker.3ds"));
    writeWalker(pack.file("demoMesh/luvshak.3ds"));
}
