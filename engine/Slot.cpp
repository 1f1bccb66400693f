#include "engine/Slot.h"

#include <cmath>
#include <ctime>

Slot::Slot() : Slot(RandomSource{}) {
    Random_.Seed(static_cast<std::uint32_t>(std::time(nullptr)));
}

Slot::Slot(RandomSource source) : Random_(source) {
    SinceHit = PlayNo = Balls = Chain = 0;
    Mode = ToInt(HitState::None);
    HitTable.assign(1, HitWeight);
    EntryTable.assign(1, EntryWeight);
    ContinueTable.assign(1, ContinueWeight);
    ChanceHitTable.assign(1, ChanceHitWeight);
}

int Slot::BorderWeight(double border) {
    // The two divisions in this order; the order shows in the truncated result.
    const double perBall = 250.0 / border;
    const double weight = 65536.0 / perBall;
    if (std::isnan(weight) || weight >= MaxBorderWeight + 1.0) {
        return MaxBorderWeight;
    }
    if (weight <= 0.0) {
        return 0;
    }
    return static_cast<int>(weight); // truncation toward zero
}

void Slot::SetBorder(double border) {
    PocketTable.clear();
    PocketTable.push_back(BorderWeight(border));
    PocketTable.push_back(AttackerWeight);
    PocketTable.push_back(ExtraPocketWeight);
}

void Slot::Reset() {
    SinceHit = 0;
    PlayNo = 0;
    Balls = 0;
    Chain = 0;
    SetBorder(DefaultBorder);
    Mode = ToInt(HitState::None);
}
