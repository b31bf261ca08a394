#include "app/defaultsFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "app/preferences.h"
#include "automation/options.h"
#include "labels/channels.h"
#include "labels/labelDoc.h"
#include "picture/PICout2.h"
#include "platform/byteorder.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/units.h"

namespace {

constexpr uint16_t kMsgDefaultsNotSaved = 1610;
constexpr uint16_t kMsgDefaultsDamaged = 1611;
constexpr uint16_t kMsgDefaultsUnreadable = 1612;
constexpr const char* kDamagedSuffix = ".damaged";

constexpr double kInchesPerMillimetre = 0.03937007874015748;
constexpr int32_t kPackedShift = 16;  // two settings packed as high * 16 + low
constexpr int32_t kPackedLowMask = 15;
constexpr int32_t kHundredths = 100;
constexpr int32_t kTenThousandths = 10000;
constexpr double kSmallestLaidOutSize = 10;
constexpr double kLaidOutSizeStandIn = 100;
constexpr int32_t kMostBW = 5;  // the widest bar-font width step
// Code and variant come first: a record without them says nothing.
constexpr size_t kFewestFields = 3;

// Field numbers (from 1) of the texts, with the most bytes each may hold; a
// Pascal slot is stored as its bytes up to the first zero, without a zero.
struct TextField {
    int number;
    int32_t most;
    bool pascal = false;
};
constexpr int kFontField = 36;
constexpr int kFontAboveField = 58;
constexpr int kSpotNameField = 59;
constexpr TextField kTextFields[] = {{1, kMostNameBytes},
                                     {27, kMostDataBytes},
                                     {35, kMostAddOnBytes},
                                     {kFontField, kMostFontBytes, true},
                                     {kFontAboveField, kMostFontBytes, true},
                                     {kSpotNameField, kMostFontBytes, true}};
constexpr int kCodeNameField = 28;  // shows the code type's name again

// The values the main window, the command line and a layout's items can set; a
// record holding anything else was not written by them, and ends there as damaged.
struct Range {
    int32_t least, most;
    bool holds(int32_t w) const { return w >= least && w <= most; }
};
// A layout leaves the sizes of its items in the settings, and they are saved as
// they are: size and height are held only to what makes a symbol at all (a size
// of 0 or less makes none; a height of 0 is the type's own).
constexpr int32_t kMostStoredMeasure = 0x7FFF;
constexpr Range kSizeRange{1, kMostStoredMeasure};
constexpr Range kHeightRange{0, kMostStoredMeasure};
constexpr Range kHundredthsRange{0, kHundredths - 1};
constexpr int32_t kMostPercent = 100;
constexpr Range kPercentRange{0, kMostPercent};
constexpr Range kReductionRange{kMostSpread, kMostReduction};
// The text pane takes up to 50; the cut marks and some types add their own.
constexpr int32_t kMostPaneInset = 50, kCutMarksInset = 10, kTypesOwnInset = 2;
constexpr Range kInsetRange{0, kMostPaneInset + kCutMarksInset + kTypesOwnInset};
constexpr Range kExtraMarginRange{0, kMostPaneInset};
constexpr Range kSwitchRange{0, 1};

const TextField* textField(int number) {
    for (const TextField& t : kTextFields)
        if (t.number == number) return &t;
    return nullptr;
}

DefaultsShownHook gShownHook = nullptr;

// The whole part of v as a word, toward zero; out-of-range values saturate and
// a value that is no number is 0.
int32_t wholeWord(double v) {
    if (std::isnan(v)) return 0;
    const double t = std::trunc(v);
    if (t >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (t <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return int32_t(t);
}

// The first two decimals of v as a whole number. The tiny nudge keeps 26.29
// from being stored as 28 hundredths through the binary fraction's error.
int32_t hundredthsOf(double v) {
    if (!std::isfinite(v)) return 0;
    const double cents = (v - std::trunc(v)) * kHundredths;
    return wholeWord(cents + std::copysign(1e-6, cents));
}

int32_t scaledWord(double v, int32_t scale) { return wholeWord(v * scale); }

DefaultsField word(int32_t w) { return DefaultsField{w, {}}; }
DefaultsField text(std::string t) { return DefaultsField{0, std::move(t)}; }

// The bytes of a Pascal slot (a font or the spot colour's name) before its
// first zero byte.
std::string fontSlotBytes(const unsigned char* slot) {
    size_t n = 0;
    while (n < sizeof(Str255) && slot[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(slot), n);
}

// Stored slot bytes back into a slot; its Pascal length may not reach past the
// bytes stored.
void takeSlot(unsigned char* slot, const std::string& bytes) {
    std::memset(slot, 0, sizeof(Str255));
    std::memcpy(slot, bytes.data(), std::min(bytes.size(), sizeof(Str255) - 1));
    if (!bytes.empty()) slot[0] = uint8_t(std::min<size_t>(slot[0], bytes.size() - 1));
}

// A field's text cut to what its length word may say (the main window's data
// field holds more than a symbol's data can).
std::string bounded(const std::string& t, int32_t mostWithZero) {
    return t.substr(0, size_t(mostWithZero - 1));
}

void showField(platform::TERec& field, long value) {
    char buf[32];
    platform::formatInt(buf, sizeof buf, value);
    platform::TESetText(buf, int32_t(std::strlen(buf)), &field);
}

void showFixed(platform::TERec& field, double value) {
    char buf[352];  // "%.2f" of the largest double
    platform::formatFixed(buf, sizeof buf, value, 2);
    platform::SetWindowText(&field, buf);
}

void setText(platform::TERec& field, const std::string& t) {
    platform::TESetText(t.data(), int32_t(t.size()), &field);
}

// The size and height fields in the units they are shown in.
void showSizeAndHeight() {
    const double shownHeight = gSym.hMode == 2 ? gSym.Hei * kInchesPerMillimetre : gSym.Hei;
    showFixed(gPanels.TEHeight, shownHeight);
    showFixed(gPanels.TESize, gSym.spec & 2 ? gSym.Siz * kInchesPerMillimetre : gSym.Siz);
}

// The BW rule: the stored step is scaled back by half the whole size, except
// for vector output of a symbol whose text is not drawn as outlines.
int32_t storedBW(int32_t stored) {
    const int64_t d = wholeWord(gSym.Siz * 0.5);
    const bool vector = gOut.tool == 2 || gOut.tool == 3;
    if (d == 0 || (vector && gEps.non_drawn != 1)) return 0;
    return int32_t(std::clamp<int64_t>(int64_t(stored) / d, 0, kMostBW));
}

// What reading one record carries from field to field.
struct Reading {
    bool isCustom = false;
    std::string name;
    // The code type's own texts put the bar font below the symbol.
    bool typeTextInBarFont = false;
};

// The code type's own texts; notes whether they set the text below in the bar font.
void applyCodeTypeTexts(Reading& r) {
    SymbolSettings& s = gSym;
    Str255 before;
    pstrCopy(before, s.fontBelow);
    s.fontBelow[0] = 0;
    GetCodeText();
    r.typeTextInBarFont = samePstr(s.fontBelow, s.barFont);
    if (s.fontBelow[0] == 0) pstrCopy(s.fontBelow, before);
}

// An earlier start took Helvetica for the bar font and saved it as the text
// font of types whose own text is in the bar font, though the user chose no
// other font (that sets textAsFont): such a font is that start's, not the user's.
bool helveticaLeftByAnEarlierStart(const Reading& r) {
    const SymbolSettings& s = gSym;
    return !r.isCustom && r.typeTextInBarFont && s.textAsFont != 1 &&
           samePstr(s.fontBelow, s.gHelvetica);
}

// Applies field `number` (from 1); false when its value cannot be taken, which
// ends the record there.
bool applyField(int number, const DefaultsField& f, Reading& r) {
    const int32_t w = f.word;
    SymbolSettings& s = gSym;
    switch (number) {
        case 1:
            break;
        case 2:
            if (w < 0 || w > kLastFamily) return false;
            s.code = w;
            break;
        case 3:
            s.variation1 = w;
            if (r.isCustom) {
                // The code-type name box is narrower than a custom name may be.
                const std::string shown = r.name.substr(0, kTeFSize - 1);
                std::memcpy(s.TeF, shown.c_str(), shown.size() + 1);
                setText(gPanels.TEType, r.name);
            } else {
                applyCodeTypeTexts(r);
            }
            break;
        case 4:
            gEps.non_drawn = w;
            break;
        case 5:
            gOut.purePost = w / kPackedShift;
            gOut.tool = w & kPackedLowMask;
            break;
        case 6:
            gDriver.showSpecs = w / kPackedShift;
            s.human = w & kPackedLowMask;
            break;
        case 7:
            s.flushBars = w;
            break;
        case 8:
            s.Hgauge = w;
            break;
        case 9:
            gOut.outToFile = w;
            break;
        case 10:
            s.chSpace = w;
            break;
        case 11:
            s.ratio = w;
            break;
        case 12:
            if (!kSizeRange.holds(w)) return false;
            s.Siz = w;
            break;
        case 13:
            if (!kHeightRange.holds(w)) return false;
            s.Hei = w;
            break;
        case 14:
            s.BW = storedBW(w);
            break;
        case 15:
            if (!kPercentRange.holds(w)) return false;
            s.black2 = w, showField(gPanels.TEBlac, w);
            break;
        case 16:
            if (!kPercentRange.holds(w)) return false;
            s.yellow2 = w, showField(gPanels.TEYell, w);
            break;
        case 17:
            if (!kPercentRange.holds(w)) return false;
            s.cyan2 = w, showField(gPanels.TECyan, w);
            break;
        case 18:
            if (!kPercentRange.holds(w)) return false;
            s.magenta2 = w, showField(gPanels.TEMage, w);
            break;
        case 19:
            if (!kReductionRange.holds(w)) return false;
            s.BWidthRed = w;
            platform::SetWindowText(&gPanels.TEBWR, std::to_string(w).c_str());
            break;
        case 20:
            gOut.showDia = w;
            break;
        case 21:
            s.textAsFont = w;
            break;
        case 22:
            s.cutMarks = w;
            break;
        case 23:
            s.transpar_ent = w;
            break;
        case 24:
            s.non_light = w;
            break;
        case 25:
            if (!kInsetRange.holds(w)) return false;
            s.insetAmount = w;
            break;
        case 26:
            s.grip = w;
            break;
        case 27:
            setText(gPanels.TEH, f.text);
            break;
        case 28:
            s.nCheck = w;
            if (!r.isCustom) GetCodeActualText();
            break;
        case 29:
            s.customTeSize = w;
            break;
        case 30:
            gOut.appID = w;
            break;
        case 31:
            gOut.ill = w;
            break;
        case 32:
            gOut.fileTyp = w;
            break;
        case 33:
            s.line = s.gline = w;
            break;
        case 34:
            s.AboveHu = w;
            break;
        case 35:
            setText(gPanels.TEX, f.text);
            break;
        case kFontField:
            takeSlot(s.fontBelow, f.text);
            if (helveticaLeftByAnEarlierStart(r)) pstrCopy(s.fontBelow, s.barFont);
            break;
        case 37:
            s.smallFirstChar = w;
            break;
        case 38:
            s.lMode = w;
            break;
        case 39:
            if (!kHeightRange.holds(w)) return false;
            s.cuHei = w;
            break;
        case 40:
            s.cLength = w;
            break;
        case 41:
            s.drawExtraText = w;
            break;
        case 42:
            if (!kHundredthsRange.holds(w)) return false;
            s.Hei += w * 0.01;
            break;
        case 43:
            if (!kHundredthsRange.holds(w)) return false;
            s.cuHei += w * 0.01;
            break;
        case 44:
            if (!kHundredthsRange.holds(w)) return false;
            s.Siz += w * 0.01;
            showFixed(gPanels.TESize, s.Siz);
            break;
        case 45:
            s.strip_extra = w;
            break;
        case 46:
            s.gBaseAdjust = w * 0.0001;
            break;
        case 47:
            if (!kExtraMarginRange.holds(w)) return false;
            s.extraMargin = w;
            break;
        case 48:
            s.para = w;
            break;
        case 49:
            s.end_bars = w;
            break;
        case 50:
            s.gTrackAdjust = w / kTenThousandths;
            break;
        case 51:
            s.hMode = w;
            break;
        case 52:
            s.spec = w;
            break;
        case 53:
            gOut.features = w;
            break;
        case 54:
            gPrefs.iLock = w;
            break;
        case 55:
            gPrefs.iBrow = w;
            break;
        // Appended after the first design's last field, which older readers stop at.
        case 56:
            if (!kSwitchRange.holds(w)) return false;
            s.attTop = w;
            break;
        case 57:
            s.variation = w;
            break;
        case kFontAboveField:
            takeSlot(s.fontAbove, f.text);
            break;
        case kSpotNameField:
            takeSlot(s.customCol, f.text);
            break;
        case 60:
            if (!kSwitchRange.holds(w)) return false;
            s.customColour = w;
            break;
        default:
            break;
    }
    return true;
}

}  // namespace

std::vector<DefaultsField> currentDefaultsRecord(const char* name) {
    SymbolSettings& s = gSym;
    if (s.Siz < kSmallestLaidOutSize && labelBack.labelHeight != 0) s.Siz = kLaidOutSizeStandIn;
    const std::string nameText(name, strnlen(name, kMostNameBytes - 1));
    return {
        text(nameText),
        word(s.code),
        word(s.variation1),
        word(gEps.non_drawn),
        word(gOut.purePost * kPackedShift + gOut.tool),
        word(gDriver.showSpecs * kPackedShift + s.human),
        word(s.flushBars),
        word(s.Hgauge),
        word(gOut.outToFile),
        word(s.chSpace),
        word(s.ratio),
        word(wholeWord(s.Siz)),
        word(wholeWord(s.Hei)),
        word(s.BW),
        word(s.black2),
        word(s.yellow2),
        word(s.cyan2),
        word(s.magenta2),
        word(s.BWidthRed),
        word(gOut.showDia),
        word(s.textAsFont),
        word(s.cutMarks),
        word(s.transpar_ent),
        word(s.non_light),
        word(s.insetAmount),
        word(s.grip),
        text(bounded(gPanels.TEH.text, kMostDataBytes)),
        word(s.nCheck),
        word(s.customTeSize),
        word(gOut.appID),
        word(gOut.ill),
        word(gOut.fileTyp),
        word(wholeWord(s.line)),
        word(s.AboveHu),
        text(bounded(gPanels.TEX.text, kMostAddOnBytes)),
        text(fontSlotBytes(s.fontBelow)),
        word(s.smallFirstChar),
        word(s.lMode),
        word(wholeWord(s.cuHei)),
        word(s.cLength),
        word(s.drawExtraText),
        word(hundredthsOf(s.Hei)),
        word(hundredthsOf(s.cuHei)),
        word(hundredthsOf(s.Siz)),
        word(s.strip_extra),
        word(scaledWord(s.gBaseAdjust, kTenThousandths)),
        word(s.extraMargin),
        word(s.para),
        word(s.end_bars),
        word(scaledWord(s.gTrackAdjust, kTenThousandths)),
        // Heights are stored in millimetres: a unit other than that is not kept.
        word(s.hMode > 0 ? 0 : s.hMode),
        word(s.spec),
        word(gOut.features),
        word(gPrefs.iLock),
        word(gPrefs.iBrow),
        word(s.attTop),
        word(s.variation),
        text(fontSlotBytes(s.fontAbove)),
        text(fontSlotBytes(s.customCol)),
        word(s.customColour),
    };
}

std::string encodeDefaultsRecord(const std::vector<DefaultsField>& fields) {
    std::string out;
    auto put = [&out](int32_t w) {
        uint8_t b[4];
        platform::put32(b, uint32_t(w), platform::ByteOrder::big);
        out.append(reinterpret_cast<const char*>(b), 4);
    };
    for (size_t i = 0; i < fields.size(); ++i) {
        const int number = int(i) + 1;
        const TextField* t = textField(number);
        if (!t) {
            put(fields[i].word);
        } else if (t->pascal) {
            put(int32_t(fields[i].text.size()));
            out += fields[i].text;
        } else {
            put(int32_t(fields[i].text.size() + 1));
            out += fields[i].text;
            out += '\0';
        }
    }
    return out;
}

DefaultsParse parseDefaultsRecord(const std::string& bytes) {
    DefaultsParse result;
    size_t at = 0;
    auto take = [&](int32_t* w) {
        if (bytes.size() - at < 4) return false;
        *w = int32_t(platform::get32(reinterpret_cast<const uint8_t*>(bytes.data() + at),
                                     platform::ByteOrder::big));
        at += 4;
        return true;
    };
    for (int number = 1; number <= kDefaultsRecordFields && at < bytes.size(); ++number) {
        DefaultsField f;
        if (!take(&f.word)) {
            result.damaged = true;
            break;
        }
        if (const TextField* t = textField(number)) {
            const int32_t n = f.word;
            if (n < 0 || n > t->most || size_t(n) > bytes.size() - at) {
                result.damaged = true;
                break;
            }
            const size_t kept = t->pascal ? size_t(n) : size_t(std::max(n - 1, 0));
            f.text = bytes.substr(at, kept);
            f.word = 0;
            at += size_t(n);
        }
        result.fields.push_back(std::move(f));
    }
    if (result.fields.size() < kFewestFields) result.damaged = true;
    return result;
}

bool applyDefaultsRecord(const std::vector<DefaultsField>& fields, bool isCustom) {
    Reading r{isCustom, fields.empty() ? std::string() : fields[0].text};
    // A record without a spot colour (an older one) means process colours, not
    // the colour of the type chosen before.
    gSym.customColour = 0;
    gSym.customCol[0] = 0;
    for (size_t i = 0; i < fields.size(); ++i)
        if (!applyField(int(i) + 1, fields[i], r)) return false;
    return true;
}

std::string defaultsFilePath() {
    return platform::userPreferencesFolder() + "/" + kDefaultsFileName;
}

void setDefaultsShownHook(DefaultsShownHook hook) { gShownHook = hook; }

int16_t SetAsDefault(const char* path, const char* name, int32_t /*spare*/) {
    const std::string target = path ? path : "";
    const std::string bytes = encodeDefaultsRecord(currentDefaultsRecord(name ? name : ""));
    platform::OSErr err = platform::bdNamErr;
    if (!target.empty()) {
        const size_t slash = target.rfind('/');
        err = slash == std::string::npos || slash == 0
                  ? platform::noErr
                  : platform::createFolder(target.substr(0, slash));
    }
    if (err == platform::noErr) {
        const uint32_t oldType = gChannels.filTyp;
        DEF_OPEN(gChannels.creatTyp, fourCC("pdef"));
        err = writeSettingsFile(kSettingsChannel, target.c_str(), bytes.data(),
                                int32_t(bytes.size()));
        gChannels.filTyp = oldType;
    }
    if (err != platform::noErr) {
        const std::string why = platform::FSFailureText();
        MessageWith(kMsgDefaultsNotSaved, why.empty() ? target : why);
    }
    return err;
}

namespace {

// The program's settings file is written over at quit: one it could not use
// whole is first set aside under its name and ".damaged", so that what it held
// is not lost. The detail of the message names the copy.
std::string setAsideDamaged(const std::string& source, const std::string& reason) {
    const std::string detail = reason.empty() ? source : reason;
    if (source != defaultsFilePath() || platform::FSSettingsTargetUsable(source) != platform::noErr)
        return detail;
    const std::string copy = source + kDamagedSuffix;
    std::error_code ec;
    std::filesystem::rename(source, copy, ec);
    if (ec) return detail;
    return (reason.empty() ? "" : reason + "; ") + "the file is kept as " + copy;
}

}  // namespace

void showSymbolSettings() {
    setText(gPanels.TEH, std::string(gData.chMainCode2, strnlen(gData.chMainCode2, kMainCodeSize)));
    setText(gPanels.TEX, std::string(gData.chAddCode2, strnlen(gData.chAddCode2, kAddCodeSize)));
    showSizeAndHeight();
    platform::SetWindowText(&gPanels.TEBWR, std::to_string(gSym.BWidthRed).c_str());
    showField(gPanels.TECyan, gSym.cyan2);
    showField(gPanels.TEMage, gSym.magenta2);
    showField(gPanels.TEYell, gSym.yellow2);
    showField(gPanels.TEBlac, gSym.black2);
    if (gShownHook) gShownHook();
}

int32_t GetTheDefault(const char* path, char* nameOut, size_t nameSize, int32_t isCustom) {
    const std::string source = path ? path : "";
    if (source.empty() || platform::pathKind(source) == platform::PathKind::missing) return 0;
    std::string bytes, why;
    if (!platform::readRegularFile(source, kMostDefaultsFileBytes, &bytes, &why)) {
        MessageWith(kMsgDefaultsUnreadable, setAsideDamaged(source, why));
        return 0;
    }
    const DefaultsParse parsed = parseDefaultsRecord(bytes);
    // A record whose code type is not one of ours ends there as well.
    bool damaged = parsed.damaged;
    const bool codeOk = parsed.fields.size() >= 2 && parsed.fields[1].word >= 0 &&
                        parsed.fields[1].word <= kLastFamily;
    if (parsed.fields.size() >= 2 && !codeOk) damaged = true;
    if (nameOut && nameSize > 0) {
        const std::string name = parsed.fields.empty() ? std::string() : parsed.fields[0].text;
        const size_t n = std::min(name.size(), nameSize - 1);
        std::memcpy(nameOut, name.data(), n);
        nameOut[n] = 0;
    }
    const bool usable = parsed.fields.size() >= kFewestFields && codeOk;
    if (usable) {
        if (!applyDefaultsRecord(parsed.fields, isCustom != 0)) damaged = true;
        // A shorter record (an older version's) ends before the fields that show
        // the size and the type's name: the fields show what the outputs will use.
        if (!isCustom && parsed.fields.size() < size_t(kCodeNameField)) GetCodeActualText();
        showSizeAndHeight();
        if (gShownHook) gShownHook();
    }
    if (damaged) MessageWith(kMsgDefaultsDamaged, setAsideDamaged(source, ""));
    return usable ? 1 : 0;
}
