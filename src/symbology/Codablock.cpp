// Codablock F: the data stacked in rows of ten Code 128 data columns. Every row
// is START A, the code set it begins in (CODE B or CODE C), its row indicator,
// the ten columns, its own modulo-103 check character and STOP. The first row's
// indicator carries the number of rows, every other row's its row number, so a
// reader puts the stack together; the last row ends with the symbol check
// characters K1 and K2 over the whole data.
#include <array>
#include <cstring>

#include "symbology/Code128.h"
#include "symbology/encoders.h"
#include "symbology/state.h"

namespace {

constexpr int32_t kColumns = 10;
constexpr int32_t kMinRows = 2;
constexpr int32_t kMaxRows = 44;  // the symbology's own limit
constexpr int32_t kMaxChars = kMainCodeSize;
constexpr int32_t kCheckModulus = 86;
constexpr int kQuietBytes = 7;

// Code 128 values a row is written in.
constexpr int32_t kValueFNC3 = 96;
constexpr int32_t kValueFNC2 = 97;
constexpr int32_t kValueCodeC = 99;
constexpr int32_t kValueCodeB = 100;
constexpr int32_t kValueFNC1 = 102;
constexpr int32_t kValueOffsetB = 32;  // value of a code set B character: byte - 32
// Row indicators: the first row's carries rows - 2, row i's (from 0) i + 42.
constexpr int32_t kRowsBias = 2;
constexpr int32_t kRowNumberBias = 42;
// Row indicators and K1/K2 (0 to 85) in code set B leave the digits out:
// 0-31 take the values 64-95, 32-47 the values 0-15, 48-85 the values 26-63.
constexpr int32_t kLowSpan = 32;
constexpr int32_t kLowOffset = 64;
constexpr int32_t kMiddleEnd = 48;
constexpr int32_t kHighOffset = 22;
// Set C starts where at least four digits go into the row.
constexpr int32_t kDigitsForSetC = 4;

enum class Set { B, C };

// The data read as Code 128 characters: code set B, and FNC1 to FNC3 as typed
// with their markers (the check pass's ⁄, € and ‹, as in Code 128). Every row
// begins its code set afresh, so a byte that switches sets or changes the next
// character is refused, and so are the letters Ä, Å and Ü, which are the bytes
// of FNC3, FNC2 and FNC1 in the rows: drawing those would make a symbol that
// reads as something else.
struct Chars {
    std::array<unsigned char, kMaxChars> c{};
    int32_t n = 0;
    bool digit(int32_t i) const { return i < n && c[i] >= '0' && c[i] <= '9'; }
    bool fnc1(int32_t i) const { return i < n && c[i] == kFNC1; }
};

constexpr unsigned char kFirstSetB = 32;
constexpr unsigned char kLastSetB = 127;  // DEL
constexpr unsigned char kMarkFNC1 = 218;  // ⁄
constexpr unsigned char kMarkFNC2 = 219;  // €
constexpr unsigned char kMarkFNC3 = 220;  // ‹

// The character a data byte stands for, 0 for one that is refused.
unsigned char readChar(unsigned char b) {
    if (b >= kFirstSetB && b <= kLastSetB) return b;
    switch (b) {
        case kMarkFNC1:
            return kFNC1;
        case kMarkFNC2:
            return kFNC2;
        case kMarkFNC3:
            return kFNC3;
        default:
            return 0;
    }
}

int32_t valueInB(unsigned char c) {
    switch (c) {
        case kFNC1:
            return kValueFNC1;
        case kFNC2:
            return kValueFNC2;
        case kFNC3:
            return kValueFNC3;
        default:
            return c - kValueOffsetB;
    }
}

// A row indicator or symbol check character (0 to 85) in the row's code set.
int32_t indicatorValue(int32_t v, Set set) {
    if (set == Set::C) return v;
    if (v < kLowSpan) return v + kLowOffset;
    if (v < kMiddleEnd) return v - kLowSpan;
    return v - kHighOffset;
}

// The code set choices follow zint's (the outside encoder the tests hold our rows
// against), so that a symbol reads the same whichever of the two wrote it.
class Planner {
  public:
    explicit Planner(const Chars& d) : d_(d) {
        // The characters a set C run from i covers: an FNC1 counts one, a pair
        // of digits two. Past the first pair only the second character of a
        // pair is checked, as zint counts.
        for (int32_t i = 0; i < d.n; ++i) {
            run_[i] = 0;
            if (!d.digit(i) && !d.fnc1(i)) continue;
            for (int32_t r = i; r < d.n; ++r) {
                if (d.fnc1(r)) {
                    ++run_[i];
                    continue;
                }
                if (!d.digit(r + 1)) break;
                run_[i] += 2;
                ++r;
            }
        }
    }
    int32_t run(int32_t i) const { return i < d_.n ? run_[i] : 0; }
    // The digits a set C run from i puts into `columns` columns.
    int32_t digitsFitting(int32_t i, int32_t columns) const {
        int32_t digits = 0;
        for (int32_t r = i; columns > 0 && r < i + run(i); ++r, --columns)
            if (!d_.fnc1(r)) {
                digits += 2;
                ++r;
            }
        return digits;
    }
    // Whether a row starting at i starts in set C: four digits fit, and starting
    // one character later (after any FNC1) would not fit more.
    bool rowStartsInC(int32_t i) const {
        const int32_t digits = digitsFitting(i, kColumns);
        if (digits < kDigitsForSetC) return false;
        int32_t r = i, columns = kColumns;
        while (d_.fnc1(r)) {
            ++r;
            --columns;
        }
        return digits >= digitsFitting(r + 1, columns - 1);
    }
    // Whether a set B row switches to set C at i with `columns` left.
    bool switchesToC(int32_t i, int32_t columns) const {
        if (!d_.digit(i)) return false;
        const int32_t digits = digitsFitting(i, columns - 1);
        return digits >= kDigitsForSetC && digits > digitsFitting(i + 1, columns - 2);
    }

  private:
    const Chars& d_;
    std::array<int32_t, kMaxChars> run_{};
};

// One row's values after START A: code set, row indicator, the ten columns.
struct Row {
    std::array<int32_t, 2 + kColumns> v{};
    int32_t used = 0;
    Set first = Set::B;
    Set set = Set::B;  // the set in use at the last value
    void put(int32_t value) { v[used++] = value; }
    int32_t columnsLeft() const { return 2 + kColumns - used; }
    // Switches between set C and set B until `keep` columns are left.
    void fill(int32_t keep) {
        while (columnsLeft() > keep) {
            put(set == Set::C ? kValueCodeB : kValueCodeC);
            set = set == Set::C ? Set::B : Set::C;
        }
    }
};

void beginRow(Row& row, Set set) {
    row.first = row.set = set;
    row.put(set == Set::C ? kValueCodeC : kValueCodeB);
    row.put(0);  // the row indicator, once the row count is known
}

// Lays the data into rows; false when it takes more than kMaxRows rows.
bool layRows(const Chars& d, std::array<Row, kMaxRows>& rows, int32_t& count) {
    const Planner plan(d);
    count = 0;
    int32_t i = 0;
    while (i < d.n) {
        if (count == kMaxRows) return false;
        Row& row = rows[count++];
        row = Row{};
        beginRow(row, plan.rowStartsInC(i) ? Set::C : Set::B);
        bool first = true;
        while (row.columnsLeft() > 0 && i < d.n) {
            if (row.set == Set::B) {
                if (!first && plan.switchesToC(i, row.columnsLeft())) {
                    row.put(kValueCodeC);
                    row.set = Set::C;
                } else {
                    row.put(valueInB(d.c[i++]));
                }
            } else if (plan.run(i) > 0) {
                if (d.fnc1(i)) {
                    row.put(kValueFNC1);
                    ++i;
                } else {
                    row.put((d.c[i] - '0') * 10 + (d.c[i + 1] - '0'));
                    i += 2;
                }
            } else if (row.columnsLeft() == 1) {
                break;  // no room for CODE B and a character: filled below
            } else {
                row.put(kValueCodeB);
                row.set = Set::B;
            }
            first = false;
        }
    }
    // K1 and K2 go at the end of the last row when they fit and the symbol has
    // two rows; else a row of filler carries them.
    constexpr int32_t kChecks = 2;
    if (count < kMinRows || rows[count - 1].columnsLeft() < kChecks) {
        if (count == kMaxRows) return false;
        Row& row = rows[count++];
        row = Row{};
        beginRow(row, Set::B);
    }
    for (int32_t r = 0; r < count - 1; ++r) rows[r].fill(0);
    rows[count - 1].fill(kChecks);
    return true;
}

// K1 and K2 weigh the data characters (not the function characters) by their
// place from 1 and from 0.
void symbolChecks(const Chars& d, int32_t& k1, int32_t& k2) {
    k1 = k2 = 0;
    int32_t place = 0;
    for (int32_t i = 0; i < d.n; ++i) {
        if (d.c[i] > 127) continue;
        k1 = (k1 + d.c[i] * (place + 1)) % kCheckModulus;
        k2 = (k2 + d.c[i] * place) % kCheckModulus;
        ++place;
    }
}

}  // namespace

int32_t CodaBlock(const char* data) {
    const int32_t n = static_cast<int32_t>(strnlen(data, kMainCodeSize - 1));
    if (n == 0) return refuse128(msg128::kEmpty);

    // Copied first, as data may be chMainCode.
    Chars d;
    for (int32_t i = 0; i < n; ++i) {
        const unsigned char c = readChar(static_cast<unsigned char>(data[i]));
        if (c == 0) return refuse128(msg128::kCodablockChar);
        d.c[d.n++] = c;
    }
    std::array<Row, kMaxRows> rows;
    int32_t count = 0;
    if (!layRows(d, rows, count)) return refuse128(msg128::kCodablockTooLong);
    int32_t k1 = 0, k2 = 0;
    symbolChecks(d, k1, k2);
    Row& last = rows[count - 1];
    last.put(indicatorValue(k1, last.set));
    last.put(indicatorValue(k2, last.set));

    gEl.clear();
    for (int32_t r = 0; r < count; ++r) {
        Row& row = rows[r];
        row.v[1] = indicatorValue(r == 0 ? count - kRowsBias : r + kRowNumberBias, row.first);
        unsigned char* s = reinterpret_cast<unsigned char*>(gData.chMainCode);
        s[0] = kStartA;
        for (int32_t k = 0; k < row.used; ++k)
            s[1 + k] = static_cast<unsigned char>(row.v[k] + kValueOffsetB);
        s[1 + row.used] = 0;
        gData.len1 = 1 + row.used;
        OTE();
        for (int i = 0; i < kQuietBytes; ++i) gEl.put(';');
        C128Symbols();
        for (int i = 0; i < kQuietBytes; ++i) gEl.put(';');
        gEl.put(13);
    }
    return gEl.overflow ? 1 : 0;
}
