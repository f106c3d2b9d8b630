// The play-field sprite sheet: frames 1 to 7 and 12 to 14; the other cells stay empty.
#include "assetgen/art.h"
#include "assetgen/sprites.h"

namespace {
enum GfxFrame {
    kShield = 1,
    kShip = 2,
    kBullet = 3,
    kSpecialRing = 4,
    kLifeIcon = 5,
    kBombCore = 6,
    kWellCore = 7,
    kFirstFliznet = 12,
    kLastFliznet = 14,
};
}  // namespace

void DrawGfxFrame(Painter& p, int frame) {
    switch (frame) {
        case kShield: DrawShield(p); break;
        case kShip: DrawShip(p); break;
        case kBullet: DrawBullet(p); break;
        case kSpecialRing: DrawSpecialRing(p); break;
        case kLifeIcon: DrawLifeIcon(p); break;
        case kBombCore: DrawBombCore(p); break;
        case kWellCore: DrawWellCore(p); break;
        default:
            if (frame >= kFirstFliznet && frame <= kLastFliznet)
                DrawFliznet(p, frame - kFirstFliznet);
            break;
    }
}
