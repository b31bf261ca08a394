#include "QRCode/QREncode.h"

#include <array>
#include <climits>
#include <cstdio>
#include <cstring>

#include "QRCode/QRCharset.h"
#include "QRCode/QRMask.h"
#include "pdf417/block_letters.h"
#include "platform/macroman.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"

namespace qrencode {

QRState gQR;
QRDataOrigin gQROrigin;

namespace {

using qrtables::byRSExp;
using qrtables::kGalois;

// Version bands 1-9, 10-26 and 27-40 share their character-count widths and
// segmentation thresholds.
constexpr int32_t kBandCount = 3;
constexpr int32_t kBandFirstVersion[kBandCount] = {1, 10, 27};
constexpr int32_t kBandLastVersion[kBandCount] = {9, 26, 40};

constexpr int32_t nIndicatorLenNumeral[kBandCount] = {10, 12, 14};
constexpr int32_t nIndicatorLenAlphabet[kBandCount] = {9, 11, 13};
constexpr int32_t nIndicatorLen8Bit[kBandCount] = {8, 16, 16};
constexpr int32_t nIndicatorLenKanji[kBandCount] = {8, 10, 12};

// Segmentation thresholds.
constexpr int32_t kDigitsEndingByte[kBandCount] = {6, 8, 9};
constexpr int32_t kAlphanumsEndingByte[kBandCount] = {11, 15, 16};
constexpr int32_t kDigitsEndingAlphabet[kBandCount] = {13, 15, 17};
constexpr int32_t kLookAheadLetterStart[kBandCount] = {6, 7, 8};
constexpr int32_t kLookAheadDigitStartBytes[kBandCount] = {4, 4, 5};
constexpr int32_t kLookAheadDigitStartLetters[kBandCount] = {7, 8, 9};

constexpr int32_t kModeIndicator[4] = {0x1, 0x2, 0x4, 0x8};  // numeric, alpha, byte, Kanji
constexpr int32_t kModeECI = 0x7;

constexpr uint8_t kPadCodeWords[2] = {236, 17};
constexpr int32_t kFormatGenerator = 0x537;
constexpr int32_t kFormatXorMask = 0x5412;
constexpr int32_t kVersionGenerator = 0x1F25;
constexpr int32_t kLevelCode[4] = {1, 0, 3, 2};  // L 01, M 00, Q 11, H 10

constexpr const char* kLevelName[4] = {"L", "M", "Q", "H"};

int32_t bandOf(int32_t version) {
    return version <= kBandLastVersion[0] ? 0 : (version <= kBandLastVersion[1] ? 1 : 2);
}

// ---------------------------------------------------------------- characters

bool IsNumeralData(uint8_t c) { return c >= '0' && c <= '9'; }

// The alphanumeric set: digits 0-9, letters 10-35, then space $ % * + - . / : as
// 36 to 44; -1 outside it.
constexpr std::array<int8_t, 256> makeAlphabetValues() {
    std::array<int8_t, 256> v{};
    v.fill(-1);
    for (int32_t c = '0'; c <= '9'; ++c) v[c] = static_cast<int8_t>(c - '0');
    for (int32_t c = 'A'; c <= 'Z'; ++c) v[c] = static_cast<int8_t>(c - 'A' + 10);
    const char symbols[] = " $%*+-./:";
    for (int32_t i = 0; symbols[i] != 0; ++i)
        v[static_cast<uint8_t>(symbols[i])] = static_cast<int8_t>(36 + i);
    return v;
}
constexpr std::array<int8_t, 256> kAlphabetValue = makeAlphabetValues();

bool IsAlphabetData(uint8_t c) { return kAlphabetValue[c] >= 0; }
int32_t AlphabetToBinary(uint8_t c) { return kAlphabetValue[c]; }

// Only in data that reads as Shift-JIS: Mac Roman accented letters are bytes.
bool IsKanjiData(uint8_t c1, uint8_t c2) {
    return gQR.m_bShiftJis && qrcharset::isShiftJisKanji(c1, c2);
}

bool kanjiAt(const uint8_t* d, int32_t length) { return length >= 2 && IsKanjiData(d[0], d[1]); }

int32_t KanjiToBinary(int32_t code) {
    code -= code <= 0x9FFC ? 0x8140 : 0xC140;
    return (code >> 8) * 0xC0 + (code & 0xFF);
}

// Characters of one mode in a row from d; for Kanji the number of bytes.
int32_t GetContinueCount(const uint8_t* d, int32_t length, int32_t mode) {
    int32_t n = 0;
    switch (mode) {
        case QR_MODE_NUMERAL:
            while (n < length && IsNumeralData(d[n])) ++n;
            break;
        case QR_MODE_ALPHABET:
            while (n < length && IsAlphabetData(d[n])) ++n;
            break;
        case QR_MODE_KANJI:
            while (kanjiAt(d + n, length - n)) n += 2;
            break;
        default:
            break;
    }
    return n;
}

// Whether at least `threshold` characters of the mode follow each other from d.
bool runReaches(const uint8_t* d, int32_t length, int32_t mode, int32_t threshold) {
    return GetContinueCount(d, length < threshold ? length : threshold, mode) >= threshold;
}

bool anyInFirst(const uint8_t* d, int32_t length, int32_t lookAhead, bool (*test)(uint8_t)) {
    const int32_t n = lookAhead < length ? lookAhead : length;
    for (int32_t i = 0; i < n; ++i)
        if (test(d[i])) return true;
    return false;
}

bool outsideAlphabet(uint8_t c) { return !IsAlphabetData(c); }
bool letterOrSymbol(uint8_t c) { return IsAlphabetData(c) && !IsNumeralData(c); }

int32_t getInitDataMode(const uint8_t* d, int32_t length, int32_t band) {
    if (kanjiAt(d, length)) return QR_MODE_KANJI;
    if (!IsAlphabetData(d[0])) return QR_MODE_8BIT;
    if (IsNumeralData(d[0])) {
        if (anyInFirst(d, length, kLookAheadDigitStartBytes[band], outsideAlphabet))
            return QR_MODE_8BIT;
        if (anyInFirst(d, length, kLookAheadDigitStartLetters[band], letterOrSymbol))
            return QR_MODE_ALPHABET;
        return QR_MODE_NUMERAL;
    }
    if (anyInFirst(d, length, kLookAheadLetterStart[band], outsideAlphabet)) return QR_MODE_8BIT;
    return QR_MODE_ALPHABET;
}

// The length in bytes of the segment of `mode` that starts at d. The first
// character always belongs to it, so every segment moves the data on.
int32_t segmentLength(const uint8_t* d, int32_t length, int32_t mode, int32_t band) {
    if (mode == QR_MODE_NUMERAL || mode == QR_MODE_KANJI) return GetContinueCount(d, length, mode);
    int32_t i = 1;
    for (; i < length; ++i) {
        const uint8_t* p = d + i;
        const int32_t rest = length - i;
        if (mode == QR_MODE_8BIT) {
            if (kanjiAt(p, rest) || runReaches(p, rest, QR_MODE_NUMERAL, kDigitsEndingByte[band]) ||
                runReaches(p, rest, QR_MODE_ALPHABET, kAlphanumsEndingByte[band]))
                break;
        } else if (!IsAlphabetData(*p) ||
                   runReaches(p, rest, QR_MODE_NUMERAL, kDigitsEndingAlphabet[band])) {
            break;
        }
    }
    return i;
}

// ---------------------------------------------------------------- bit stream

void setBitStream(int32_t value, int32_t bits) {
    QRState& q = gQR;
    if (q.m_ncDataCodeWordBit < 0) return;
    if (q.m_ncDataCodeWordBit + bits > MAX_DATACODEWORD * 8) {
        q.m_ncDataCodeWordBit = -1;
        return;
    }
    for (int32_t i = bits - 1; i >= 0; --i) {
        const int32_t pos = q.m_ncDataCodeWordBit++;
        if ((value >> i) & 1)
            q.m_byDataCodeWord[pos >> 3] |= static_cast<uint8_t>(0x80 >> (pos & 7));
    }
}

// A count that does not fit its indicator cannot be written; the band fails.
void setCountIndicator(int32_t count, int32_t bits) {
    if (count >= (1 << bits)) {
        gQR.m_ncDataCodeWordBit = -1;
        return;
    }
    setBitStream(count, bits);
}

void writeSegment(const uint8_t* d, int32_t n, int32_t mode, int32_t band) {
    setBitStream(kModeIndicator[mode], 4);
    switch (mode) {
        case QR_MODE_NUMERAL: {
            setCountIndicator(n, nIndicatorLenNumeral[band]);
            int32_t i = 0;
            for (; i + 3 <= n; i += 3)
                setBitStream((d[i] - '0') * 100 + (d[i + 1] - '0') * 10 + (d[i + 2] - '0'), 10);
            if (n - i == 2) setBitStream((d[i] - '0') * 10 + (d[i + 1] - '0'), 7);
            if (n - i == 1) setBitStream(d[i] - '0', 4);
            break;
        }
        case QR_MODE_ALPHABET: {
            setCountIndicator(n, nIndicatorLenAlphabet[band]);
            int32_t i = 0;
            for (; i + 2 <= n; i += 2)
                setBitStream(AlphabetToBinary(d[i]) * 45 + AlphabetToBinary(d[i + 1]), 11);
            if (i < n) setBitStream(AlphabetToBinary(d[i]), 6);
            break;
        }
        case QR_MODE_8BIT:
            setCountIndicator(n, nIndicatorLen8Bit[band]);
            for (int32_t i = 0; i < n; ++i) setBitStream(d[i], 8);
            break;
        default:
            setCountIndicator(n / 2, nIndicatorLenKanji[band]);
            for (int32_t i = 0; i + 1 < n; i += 2)
                setBitStream(KanjiToBinary(d[i] << 8 | d[i + 1]), 13);
            break;
    }
}

bool encodeSourceData(const uint8_t* data, int32_t length, int32_t band) {
    QRState& q = gQR;
    std::memset(q.m_byDataCodeWord, 0, sizeof q.m_byDataCodeWord);
    q.m_ncDataCodeWordBit = 0;
    if (q.m_bUtf8ECI) {
        setBitStream(kModeECI, 4);
        setBitStream(platform::kEciUtf8, 8);
    }
    for (int32_t i = 0; i < length && q.m_ncDataCodeWordBit >= 0;) {
        const int32_t mode = getInitDataMode(data + i, length - i, band);
        const int32_t n = segmentLength(data + i, length - i, mode, band);
        writeSegment(data + i, n, mode, band);
        i += n;
    }
    return q.m_ncDataCodeWordBit >= 0;
}

// The smallest version from minVersion's band on whose data capacity at the
// level holds the data; 0 when none does. Leaves the data bits of that band.
int32_t getEncodeVersion(int32_t minVersion, const uint8_t* data, int32_t length) {
    for (int32_t band = bandOf(minVersion); band < kBandCount; ++band) {
        if (!encodeSourceData(data, length, band)) continue;
        const int32_t bytes = (gQR.m_ncDataCodeWordBit + 7) / 8;
        for (int32_t v = kBandFirstVersion[band]; v <= kBandLastVersion[band]; ++v)
            if (QR_VersonInfo[v].ncDataCodeWord[gQR.m_nLevel] >= bytes) return v;
    }
    return 0;
}

// ---------------------------------------------------------------- codewords

void addTerminatorAndPads(int32_t ncDataCodeWord) {
    QRState& q = gQR;
    const int32_t room = ncDataCodeWord * 8 - q.m_ncDataCodeWordBit;
    setBitStream(0, room < 4 ? room : 4);
    for (int32_t i = (q.m_ncDataCodeWordBit + 7) / 8, k = 0; i < ncDataCodeWord; ++i, k ^= 1)
        q.m_byDataCodeWord[i] = kPadCodeWords[k];
}

// Cuts the data codewords into blocks, adds each block's error correction and
// interleaves both into m_byAllCodeWord.
void makeAllCodeWords() {
    QRState& q = gQR;
    const QR_VERSIONINFO& vi = QR_VersonInfo[q.m_nVersion];
    const RS_BLOCKINFO& kind1 = vi.RS_BlockInfo1[q.m_nLevel];
    const RS_BLOCKINFO& kind2 = vi.RS_BlockInfo2[q.m_nLevel];
    const int32_t blocks = kind1.ncRSBlock + kind2.ncRSBlock;
    const int32_t ncData = vi.ncDataCodeWord[q.m_nLevel];
    const int32_t ecCount = kind1.ncAllCodeWord - kind1.ncDataCodeWord;
    int32_t pos = 0;
    for (int32_t b = 0; b < blocks; ++b) {
        const int32_t dc = b < kind1.ncRSBlock ? kind1.ncDataCodeWord : kind2.ncDataCodeWord;
        for (int32_t j = 0; j < dc; ++j) {
            const uint8_t cw = q.m_byDataCodeWord[pos + j];
            const int32_t at = j < kind1.ncDataCodeWord
                                   ? blocks * j + b
                                   : blocks * kind1.ncDataCodeWord + (b - kind1.ncRSBlock);
            q.m_byAllCodeWord[at] = cw;
            q.m_byRSWork[j] = cw;
        }
        GetRSCodeWord(q.m_byRSWork, dc, ecCount);
        for (int32_t j = 0; j < ecCount; ++j)
            q.m_byAllCodeWord[ncData + blocks * j + b] = q.m_byRSWork[dc + j];
        pos += dc;
    }
    q.m_ncAllCodeWord = vi.ncAllCodeWord;
}

// ---------------------------------------------------------------- module matrix

void setModule(int32_t x, int32_t y, bool dark) {
    gQR.m_byModuleData[x][y] = dark ? (kModuleFunction | kModuleFunctionDark) : kModuleFunction;
}

void setFinderPatternAtX(int32_t x, int32_t y) {
    for (int32_t i = 0; i < 7; ++i)
        for (int32_t j = 0; j < 7; ++j) {
            const bool ring = i == 0 || i == 6 || j == 0 || j == 6;
            const bool core = i >= 2 && i <= 4 && j >= 2 && j <= 4;
            setModule(x + i, y + j, ring || core);
        }
}

void setAlignmentPatternAtX(int32_t x, int32_t y) {
    if (gQR.m_byModuleData[x][y] & kModuleFunction) return;  // inside a finder pattern
    for (int32_t i = -2; i <= 2; ++i)
        for (int32_t j = -2; j <= 2; ++j)
            setModule(x + i, y + j, i == -2 || i == 2 || j == -2 || j == 2 || (i == 0 && j == 0));
}

int32_t versionInfoBits(int32_t version) {
    int32_t rem = version << 12;
    for (int32_t i = 17; i >= 12; --i)
        if (rem & (1 << i)) rem ^= kVersionGenerator << (i - 12);
    return (version << 12) | rem;
}

int32_t formatInfoBits(int32_t level, int32_t mask) {
    const int32_t data = (kLevelCode[level] << 3) | mask;
    int32_t rem = data << 10;
    for (int32_t i = 14; i >= 10; --i)
        if (rem & (1 << i)) rem ^= kFormatGenerator << (i - 10);
    return ((data << 10) | rem) ^ kFormatXorMask;
}

void setVersionPattern() {
    const int32_t size = gQR.m_nSymbolSize;
    if (gQR.m_nVersion < 7) return;
    const int32_t bits = versionInfoBits(gQR.m_nVersion);
    for (int32_t i = 0; i < 18; ++i) {
        const bool dark = (bits >> i) & 1;
        setModule(size - 11 + i % 3, i / 3, dark);
        setModule(i / 3, size - 11 + i % 3, dark);
    }
}

void setFunctionModule() {
    QRState& q = gQR;
    const int32_t size = q.m_nSymbolSize;
    setFinderPatternAtX(0, 0);
    setFinderPatternAtX(size - 7, 0);
    setFinderPatternAtX(0, size - 7);
    for (int32_t i = 0; i < 8; ++i) {  // separators
        setModule(7, i, false);
        setModule(i, 7, false);
        setModule(size - 8, i, false);
        setModule(size - 8 + i, 7, false);
        setModule(i, size - 8, false);
        setModule(7, size - 8 + i, false);
    }
    for (int32_t i = 0; i < 9; ++i) {  // format information, written after the mask choice
        setModule(8, i, false);
        setModule(i, 8, false);
    }
    for (int32_t i = 0; i < 8; ++i) {
        setModule(size - 8 + i, 8, false);
        setModule(8, size - 8 + i, false);
    }
    setVersionPattern();
    const QR_VERSIONINFO& vi = QR_VersonInfo[q.m_nVersion];
    int32_t centres[7] = {6};
    for (int32_t i = 0; i < vi.ncAlignPoint; ++i) centres[i + 1] = vi.nAlignPoint[i];
    const int32_t nCentres = vi.ncAlignPoint + 1;
    for (int32_t i = 0; i < nCentres; ++i)
        for (int32_t j = 0; j < nCentres; ++j)
            if (i != 0 || j != 0) setAlignmentPatternAtX(centres[i], centres[j]);
    // Timing patterns last: they cross the format columns at index 8 and agree
    // with the alignment patterns that they meet.
    for (int32_t i = 8; i <= size - 9; ++i) {
        setModule(i, 6, i % 2 == 0);
        setModule(6, i, i % 2 == 0);
    }
}

// Codeword bits, most significant first, in the two-module zigzag from the
// bottom-right corner; modules left over (remainder bits) stay 0.
void setCodeWordPattern() {
    QRState& q = gQR;
    const int32_t size = q.m_nSymbolSize;
    const int32_t totalBits = q.m_ncAllCodeWord * 8;
    int32_t bit = 0;
    bool upward = true;
    for (int32_t right = size - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;  // the vertical timing pattern
        for (int32_t step = 0; step < size; ++step) {
            const int32_t y = upward ? size - 1 - step : step;
            for (int32_t x = right; x >= right - 1; --x) {
                uint8_t& m = q.m_byModuleData[x][y];
                if (m & kModuleFunction) continue;
                const bool one =
                    bit < totalBits && ((q.m_byAllCodeWord[bit >> 3] << (bit & 7)) & 0x80);
                m = one ? kModuleData : 0;
                ++bit;
            }
        }
        upward = !upward;
    }
}

void setMaskingPattern(int32_t mask) {
    QRState& q = gQR;
    const int32_t size = q.m_nSymbolSize;
    for (int32_t x = 0; x < size; ++x)
        for (int32_t y = 0; y < size; ++y) {
            uint8_t& m = q.m_byModuleData[x][y];
            if (m & kModuleFunction) continue;
            const bool dark = ((m & kModuleData) != 0) != qrmask::maskCondition(mask, y, x);
            m = static_cast<uint8_t>((m & ~kModuleMasked) | (dark ? kModuleMasked : 0));
        }
}

void setFormatInfoPattern(int32_t mask) {
    const int32_t size = gQR.m_nSymbolSize;
    const int32_t bits = formatInfoBits(gQR.m_nLevel, mask);
    for (int32_t i = 0; i < 15; ++i) {
        const bool dark = (bits >> i) & 1;
        if (i < 6) {
            setModule(8, i, dark);
        } else if (i < 8) {
            setModule(8, i + 1, dark);  // row 6 is the timing pattern
        } else if (i == 8) {
            setModule(7, 8, dark);
        } else {
            setModule(14 - i, 8, dark);
        }
        if (i < 8) {
            setModule(size - 1 - i, 8, dark);
        } else {
            setModule(8, size - 15 + i, dark);
        }
    }
    setModule(8, size - 8, true);  // the dark module
}

void formatModule() {
    QRState& q = gQR;
    const int32_t size = q.m_nSymbolSize;
    for (int32_t x = 0; x < size; ++x)
        std::memset(q.m_byModuleData[x], 0, static_cast<size_t>(size));
    setFunctionModule();
    setCodeWordPattern();
    if (q.m_nMaskingNo < 0) {
        int32_t best = 0;
        int32_t bestPenalty = INT_MAX;
        qrmask::loadMatrix(q.m_byModuleData, size);
        for (int32_t mask = 0; mask < 8; ++mask) {
            const int32_t penalty = qrmask::countPenalty(mask);
            if (penalty < bestPenalty) {  // a tie keeps the lower mask
                bestPenalty = penalty;
                best = mask;
            }
        }
        q.m_nMaskingNo = best;
    }
    setMaskingPattern(q.m_nMaskingNo);
    setFormatInfoPattern(q.m_nMaskingNo);
    for (int32_t x = 0; x < size; ++x)
        for (int32_t y = 0; y < size; ++y) {
            uint8_t& m = q.m_byModuleData[x][y];
            m = (m & (kModuleFunctionDark | kModuleMasked)) ? 1 : 0;
        }
}

bool outputarray() {
    return writeBlockLetters(gQR.m_byModuleData, gQR.m_nSymbolSize, gQR.m_nSymbolSize);
}

// ---------------------------------------------------------------- refusals

int32_t refuse(const char* text) {
    MessageText(text);
    return 0;
}

// The bytes to encode, into m_bySource; their count, 0 after a message.
int32_t prepareSource(const uint8_t* data, int32_t length) {
    QRState& q = gQR;
    q.m_bShiftJis = gQROrigin.foreignBytes && qrcharset::readsAsShiftJis(data, length);
    q.m_bUtf8ECI = false;
    if (q.m_bShiftJis) {
        std::memcpy(q.m_bySource, data, static_cast<size_t>(length));
        return length;
    }
    const platform::SymbolBytes text = platform::macRomanToSymbolBytes(
        std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(length)));
    if (text.bytes.size() > sizeof q.m_bySource) {
        MessageText("The data is too long for a QR Code. Shorten it and try again.");
        return 0;
    }
    std::memcpy(q.m_bySource, text.bytes.data(), text.bytes.size());
    q.m_bUtf8ECI = text.utf8;
    return static_cast<int32_t>(text.bytes.size());
}

}  // namespace

void GetRSCodeWord(uint8_t* block, int32_t dataCount, int32_t ecCount) {
    // Only the generators the tables hold; a count of 0 has nothing to write.
    if (ecCount < 1 || ecCount > MAX_RSCODEWORD || dataCount < 0) return;
    uint8_t* ec = block + dataCount;
    std::memset(ec, 0, static_cast<size_t>(ecCount));
    const auto& g = byRSExp[ecCount];
    for (int32_t i = 0; i < dataCount; ++i) {
        const uint8_t factor = block[i] ^ ec[0];
        std::memmove(ec, ec + 1, static_cast<size_t>(ecCount - 1));
        ec[ecCount - 1] = 0;
        if (factor == 0) continue;
        const int32_t lf = kGalois.byIntToExp[factor];
        for (int32_t k = 0; k < ecCount; ++k) ec[k] ^= kGalois.byExpToInt[(g[k] + lf) % 255];
    }
}

int32_t encodeData(const char* data, int32_t length, int32_t level, int32_t minVersion,
                   int32_t autoExtend, int32_t mask) {
    QRState& q = gQR;
    if (data == nullptr || length <= 0)
        return refuse("There is no data for the QR Code. Type the data and try again.");
    if (length > static_cast<int32_t>(kMainCodeSize))
        return refuse("The data is too long for a QR Code. Shorten it and try again.");
    if (level < 0 || level > 3)
        return refuse("The QR Code error-correction level must be L, M, Q or H.");
    if (minVersion > QR_VERSION_MAX) return refuse("The QR Code version must be between 1 and 40.");
    if (mask < -1 || mask > 7) return refuse("The QR Code mask must be between 0 and 7.");
    if (minVersion < 1) minVersion = 1;
    q.m_nLevel = level;
    q.m_nMaskingNo = mask;
    length = prepareSource(reinterpret_cast<const uint8_t*>(data), length);
    if (length == 0) return 0;

    int32_t version = getEncodeVersion(minVersion, q.m_bySource, length);
    if (version == 0) {
        char text[240];
        std::snprintf(text, sizeof text,
                      "The data is too long for a QR Code at error-correction level %s: even "
                      "the largest symbol (version 40) cannot hold it. %s",
                      kLevelName[level],
                      level == 0 ? "Shorten the data."
                                 : "Shorten the data or choose a lower level (L holds the most).");
        return refuse(text);
    }
    if (version <= minVersion) {
        version = minVersion;
    } else if (!autoExtend) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "The data does not fit a version %d QR Code at level %s. Shorten the data "
                      "or allow a larger version.",
                      static_cast<int>(minVersion), kLevelName[level]);
        return refuse(text);
    }
    q.m_nVersion = version;
    q.m_nSymbolSize = 4 * version + 17;
    addTerminatorAndPads(QR_VersonInfo[version].ncDataCodeWord[level]);
    makeAllCodeWords();
    formatModule();
    return 1;
}

}  // namespace qrencode

int32_t QRencodeData(const char* data, int32_t length, int32_t level, int32_t minVersion,
                     int32_t autoExtend, int32_t mask) {
    gEl.clear();
    if (!qrencode::encodeData(data, length, level, minVersion, autoExtend, mask)) return 1;
    if (!qrencode::outputarray()) {
        gEl.clear();
        MessageText("The QR Code does not fit the element list.");
        return 1;
    }
    return 0;
}
