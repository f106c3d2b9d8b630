#include "assetgen/symbols.h"

namespace {

const V2 kMid{8, 8};

Shape Arrow(float heading) {
    Shape shaft = Capsule({8, 13}, {8, 6}, 1.1f);
    Shape head = Inflate(Polygon({{8, 2.2f}, {12.6f, 7.4f}, {3.4f, 7.4f}}), 0.4f);
    return Rotated(Union(shaft, head), kMid, heading);
}

Shape Speaker() {
    return Union(RoundBox({4, 8}, {1.8f, 2.4f}, 0.5f),
                 Inflate(Polygon({{4.5f, 6}, {8.5f, 2.6f}, {8.5f, 13.4f}, {4.5f, 10}}), 0.3f));
}

Shape Design(Symbol symbol) {
    switch (symbol) {
        case Symbol::kPause:
            return Union(RoundBox({5.3f, 8}, {1.8f, 5.6f}, 0.7f),
                         RoundBox({10.7f, 8}, {1.8f, 5.6f}, 0.7f));
        case Symbol::kLeave: {
            Shape door = Subtract(Outline(RoundBox({6, 8}, {4.2f, 6}, 1), 1.6f),
                                  RoundBox({10.5f, 8}, {1.5f, 2.6f}, 0));
            Shape shaft = Capsule({6.5f, 8}, {12, 8}, 1.0f);
            Shape head = Inflate(Polygon({{15, 8}, {11.6f, 4.6f}, {11.6f, 11.4f}}), 0.3f);
            return Union({door, shaft, head});
        }
        case Symbol::kHome:
            return Union(Inflate(Polygon({{8, 2}, {14.5f, 8}, {1.5f, 8}}), 0.4f),
                         Subtract(RoundBox({8, 10.5f}, {4.5f, 3.8f}, 0.5f),
                                  RoundBox({8, 12}, {1.3f, 2.4f}, 0.4f)));
        case Symbol::kPlay:
            return Inflate(Polygon({{4.6f, 2.6f}, {13.6f, 8}, {4.6f, 13.4f}}), 0.8f);
        case Symbol::kRestart: {
            Shape arc = Arc(kMid, 5, 50, 320, 2);
            V2 tip = kMid + Dir(50) * 5;
            Shape head = Inflate(
                Polygon({tip + V2{1.8f, 1.6f}, tip + V2{-3.2f, 0.6f}, tip + V2{1.6f, -3.6f}}),
                0.3f);
            return Union(arc, head);
        }
        case Symbol::kSoundOn:
            return Union({Speaker(), Arc({8.5f, 8}, 3.2f, 45, 135, 1.2f),
                          Arc({8.5f, 8}, 5.7f, 40, 140, 1.2f)});
        case Symbol::kSoundOff:
            return Union({Speaker(), Capsule({10.5f, 5.5f}, {14.5f, 10.5f}, 0.8f),
                          Capsule({10.5f, 10.5f}, {14.5f, 5.5f}, 0.8f)});
        case Symbol::kMusic:
            return Union(
                {Ellipse({5, 12.2f}, 2.3f, 1.8f), Ellipse({11.5f, 10.7f}, 2.3f, 1.8f),
                 Capsule({6.9f, 12}, {6.9f, 3.5f}, 0.7f), Capsule({13.4f, 10.5f}, {13.4f, 2}, 0.7f),
                 Inflate(Polygon({{6.9f, 3.2f}, {13.4f, 1.7f}, {13.4f, 4}, {6.9f, 5.5f}}), 0.3f)});
        case Symbol::kTrophy: {
            Shape cup = Intersect(Circle({8, 3}, 6), RoundBox({8, 5.5f}, {5, 4.5f}, 0));
            Shape handles = Union(Ring({3, 5}, 1.8f, 1), Ring({13, 5}, 1.8f, 1));
            return Union({cup, handles, RoundBox({8, 11}, {1, 2}, 0),
                          RoundBox({8, 13.8f}, {3.6f, 1.1f}, 0.5f)});
        }
        case Symbol::kStar: return Inflate(Star(kMid + V2{0, 0.6f}, 5, 6.8f, 2.9f, 0), 0.3f);
        case Symbol::kInfo:
            return Union(Circle({8, 3.2f}, 1.5f), Union(RoundBox({8, 9.5f}, {1.3f, 4.2f}, 0.5f),
                                                        RoundBox({7, 6.2f}, {2.2f, 0.9f}, 0.4f)));
        case Symbol::kArrowLeft: return Arrow(270);
        case Symbol::kArrowRight: return Arrow(90);
        case Symbol::kArrowUp: return Arrow(0);
        case Symbol::kArrowDown: return Arrow(180);
        case Symbol::kClose:
            return Union(Capsule({3.5f, 3.5f}, {12.5f, 12.5f}, 1.3f),
                         Capsule({3.5f, 12.5f}, {12.5f, 3.5f}, 1.3f));
        case Symbol::kCheck:
            return Union(Capsule({2.8f, 8.5f}, {6.5f, 12.2f}, 1.4f),
                         Capsule({6.5f, 12.2f}, {13.5f, 3.8f}, 1.4f));
        case Symbol::kMedal:
            return Union({Subtract(Circle({8, 10}, 4.6f), Circle({8, 10}, 2.2f)),
                          Inflate(Polygon({{4, 1}, {7, 1}, {9, 5.5f}, {6.5f, 6}}), 0.3f),
                          Inflate(Polygon({{12, 1}, {9, 1}, {7, 5.5f}, {9.5f, 6}}), 0.3f)});
        case Symbol::kLightning:
            return Inflate(
                Polygon({{9.5f, 1}, {3.5f, 9}, {7.6f, 9}, {6.2f, 15}, {12.5f, 6.6f}, {8.4f, 6.6f}}),
                0.3f);
        case Symbol::kHeart:
            return Inflate(Union({Circle({5.5f, 6}, 3), Circle({10.5f, 6}, 3),
                                  Polygon({{2.6f, 7}, {13.4f, 7}, {8, 13.5f}})}),
                           0.2f);
    }
    return Circle(kMid, 4);
}

}  // namespace

Shape SymbolShape(Symbol symbol, V2 centre, float size) {
    return Moved(Scaled(Design(symbol), kMid, size / 16), centre - kMid);
}
