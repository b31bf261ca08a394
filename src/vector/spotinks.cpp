#include "vector/spotinks.h"

#include <utility>

#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "symbology/state.h"
#include "vector/emit.h"

namespace {

constexpr uint16_t kItemSpotBit = 2;  // in an item's packed check word

std::string pascalString(const unsigned char* p) {
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

void addInk(std::vector<SpotInk>& inks, SpotInk ink) {
    // One plate per name: a name met again keeps its first process equivalent.
    for (const SpotInk& have : inks)
        if (have.name == ink.name) return;
    inks.push_back(std::move(ink));
}

bool itemKindPaintsSpot(uint16_t kind) {
    switch (kind) {
        case kKindBarcode:
        case kKindRect:
        case kKindRectFilled:
        case kKindOval:
        case kKindOvalFilled:
        case kKindLine:
            return true;
        default:
            return false;
    }
}

bool hasSpot(const LabelItem& it) { return (it.u16(item::checkPacked) & kItemSpotBit) != 0; }

}  // namespace

bool itemPaintsSpot(const LabelItem& it) {
    return hasSpot(it) && itemKindPaintsSpot(it.u16(item::kind));
}

std::vector<SpotInk> pageSpotInks() {
    std::vector<SpotInk> inks;
    // The name and flag follow the item loading: an item without a name of its
    // own paints in the name loaded before it, and a picture keeps the flag.
    std::string name = pascalString(gSym.customCol);
    bool spot = gSym.customColour == 1;
    bool anyItem = false;
    for (int i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        const LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get();
        if (!it) continue;
        anyItem = true;
        const uint16_t kind = it->u16(item::kind);
        if (kind != kKindPicture) spot = hasSpot(*it);
        if (!spot) continue;  // the batch path: most items name no ink
        const std::string above = it->text(item::fontAbove);
        if (const size_t vt = above.find(kVT, 1); vt != std::string::npos)
            name = above.substr(vt + 1);
        if (itemKindPaintsSpot(kind))
            addInk(inks, {name, it->i16(item::cyan2), it->i16(item::magenta2),
                          it->i16(item::yellow2), it->i16(item::black2)});
    }
    if (!anyItem && gSym.customColour == 1)
        addInk(inks, {name, gSym.cyan2, gSym.magenta2, gSym.yellow2, gSym.black2});
    return inks;
}

void writeSpotInkComments(const std::vector<SpotInk>& inks) {
    if (inks.empty()) return;
    Emit e;
    auto name = [&](const SpotInk& ink) {
        e.str(reinterpret_cast<const unsigned char*>(ink.name.data()), ink.name.size());
    };
    e.s("%%DocumentCustomColors: ");
    for (size_t i = 0; i < inks.size(); ++i) {
        if (i > 0) e.s("%%+ ");
        name(inks[i]);
        e.s("\r");
    }
    for (const SpotInk& ink : inks) {
        e.s("%%CMYKCustomColor: ").colour(ink.c).colour(ink.m).colour(ink.y).colour(ink.k);
        name(ink);
        e.s("\r");
    }
}
