#include "labels/coupon.h"

#include <cstring>

#include "symbology/messages.h"

namespace {

// A reader takes the fields by position, so fixed-length fields must be exactly
// their length and variable ones carry a length indicator it can trust.
constexpr size_t kPrefixLeast = 6;  // at most a slot: 10 of the 12 digits allowed
constexpr size_t kOfferDigits = 6;
constexpr size_t kValueMost = 5;   // save value and purchase requirements
constexpr size_t kCodeDigits = 1;  // purchase requirement codes and the rules code
constexpr size_t kFamilyDigits = 3;
constexpr size_t kDateLength = 6;  // YYMMDD
constexpr size_t kSerialLeast = 6, kSerialMost = 15;
constexpr int kDecimal = 10, kMonths = 12, kFebruary = 2, kLeapEvery = 4;
constexpr int kMonthDays[kMonths] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Offsets of the slots.
constexpr size_t kLead = 0, kPrefix = 10, kOffer = 20, kSaveValue = 30, kRequirement = 40,
                 kRequirementCode = 50, kFamily = 60;
constexpr size_t kSecondRules = 80, kSecondRequirement = 90, kSecondCode = 100, kSecondFamily = 110,
                 kSecondPrefix = 120;
constexpr size_t kThirdRequirement = 140, kThirdCode = 150, kThirdFamily = 160, kThirdPrefix = 170;
constexpr size_t kExpiry = 190, kStart = 210, kSerial = 230;
constexpr size_t kRetailer[] = {270, 280, 290, 300};

struct Fields {
    const char* p;
    // A slot's text: at most its 10 bytes, up to its NUL.
    std::string at(size_t offset) const {
        return std::string(p + offset, strnlen(p + offset, kCouponSlot));
    }
    bool given(size_t offset) const { return p[offset] != 0; }
};

bool badValue(const std::string& v) { return v.empty() || v.size() > kValueMost; }

bool badCode(const std::string& code) { return code.size() != kCodeDigits; }

bool allDigits(const std::string& text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int twoDigits(const std::string& text, size_t at) {
    return (text[at] - '0') * kDecimal + (text[at + 1] - '0');
}

// YYMMDD with a month from 01 to 12 and a day of that month; years are those
// of this century, where every fourth is a leap year.
bool realDate(const std::string& date) {
    if (date.size() != kDateLength || !allDigits(date)) return false;
    const int year = twoDigits(date, 0), month = twoDigits(date, 2), day = twoDigits(date, 4);
    if (month < 1 || month > kMonths || day < 1) return false;
    const bool shortFebruary = month == kFebruary && year % kLeapEvery != 0;
    return day <= kMonthDays[month - 1] - (shortFebruary ? 1 : 0);
}

int32_t refuse(const char* text) {
    MessageText(text);
    return 0;
}

// A company prefix or serial number preceded by its length indicator: the
// length less the 6 digits both have at least.
void appendAboveSix(std::string* out, const std::string& text) {
    *out += static_cast<char>('0' + (text.size() - kPrefixLeast));
    *out += text;
}

}  // namespace

const std::string& strcatlen(std::string* destination, const std::string& text) {
    *destination += static_cast<char>('0' + text.size());
    *destination += text;
    return text;
}

int32_t verifycoupon(const char* fieldBytes, std::string* result) {
    const Fields f{fieldBytes};
    std::string& out = *result;
    out.clear();
    const std::string prefix = f.at(kPrefix), offer = f.at(kOffer), save = f.at(kSaveValue);
    const std::string requirement = f.at(kRequirement), family = f.at(kFamily);
    if (prefix.size() < kPrefixLeast)
        return refuse("You need at least 6 digits in your Company Prefix");
    if (offer.size() != kOfferDigits) return refuse("You need 6 digits in your Offer Code");
    if (badValue(save))
        return refuse("You need less then 5 digits and more than 0 in your Save value");
    if (badValue(requirement))
        return refuse(
            "You need less then 5 digits and more than 0 in your Primary Purchase Requirement");
    if (!f.given(kRequirementCode))
        return refuse("You need to choose a Primary Purchase Requirement code");
    if (badCode(f.at(kRequirementCode)))
        return refuse("You need 1 digit in your Primary Purchase Requirement code");
    if (family.size() != kFamilyDigits)
        return refuse("You need 3 digits in your primary purchase Family Code");

    out = f.at(kLead);
    appendAboveSix(&out, prefix);
    out += offer;
    strcatlen(&out, save);
    strcatlen(&out, requirement);
    out += f.at(kRequirementCode);
    out += family;

    if (f.given(kSecondRules) && f.given(kSecondRequirement) && f.given(kSecondCode) &&
        f.given(kSecondFamily) && f.given(kSecondPrefix)) {
        if (badValue(f.at(kSecondRequirement)))
            return refuse(
                "You need less then 5 digits and more than 0 in your 2nd Purchase Requirement");
        if (badCode(f.at(kSecondRules)))
            return refuse("You need 1 digit in your 2nd purchase rules code");
        if (badCode(f.at(kSecondCode)))
            return refuse("You need 1 digit in your 2nd Purchase Requirement code");
        if (f.at(kSecondFamily).size() != kFamilyDigits)
            return refuse("You need 3 digits in your Optional Data Field 1 Family Code");
        if (f.at(kSecondPrefix).size() < kPrefixLeast)
            return refuse("You need at least 6 digits in your 2nd Company Prefix");
        out += "1";
        out += f.at(kSecondRules);
        strcatlen(&out, f.at(kSecondRequirement));
        out += f.at(kSecondCode);
        out += f.at(kSecondFamily);
        appendAboveSix(&out, f.at(kSecondPrefix));
    }
    if (f.given(kThirdRequirement) && f.given(kThirdCode) && f.given(kThirdFamily) &&
        f.given(kThirdPrefix)) {
        if (badValue(f.at(kThirdRequirement)))
            return refuse(
                "You need less then 5 digits and more than 0 in your 3rd Purchase Requirement");
        if (badCode(f.at(kThirdCode)))
            return refuse("You need 1 digit in your 3rd Purchase Requirement code");
        if (f.at(kThirdFamily).size() != kFamilyDigits)
            return refuse("You need 3 digits in your Optional Data Field 2 Family Code");
        if (f.at(kThirdPrefix).size() < kPrefixLeast)
            return refuse("You need at least 6 digits in your 3rd Company Prefix");
        out += "2";
        strcatlen(&out, f.at(kThirdRequirement));
        out += f.at(kThirdCode);
        out += f.at(kThirdFamily);
        appendAboveSix(&out, f.at(kThirdPrefix));
    }
    if (f.given(kExpiry)) {
        if (f.at(kExpiry).size() != kDateLength)
            return refuse("You need 6 digits in your expiry date");
        if (!realDate(f.at(kExpiry)))
            return refuse("You need a real date (YYMMDD) in your expiry date");
        out += "3";
        out += f.at(kExpiry);
    }
    if (f.given(kStart)) {
        if (f.at(kStart).size() != kDateLength)
            return refuse("You need 6 digits in your start date");
        if (!realDate(f.at(kStart)))
            return refuse("You need a real date (YYMMDD) in your start date");
        out += "4";
        out += f.at(kStart);
    }
    if (f.given(kSerial)) {
        const std::string serial = f.at(kSerial);
        if (serial.size() < kSerialLeast || serial.size() > kSerialMost)
            return refuse("You need 6 to 15 digits in your serial number");
        out += "5";
        appendAboveSix(&out, serial);
    }
    bool retailer = true;
    for (size_t r : kRetailer) retailer = retailer && f.given(r);
    if (retailer) {
        out += "9";
        strcatlen(&out, f.at(kRetailer[0]));
        out += f.at(kRetailer[1]);
        out += f.at(kRetailer[2]);
        strcatlen(&out, f.at(kRetailer[3]));
    }
    if (out.size() > kCouponMostCharacters)
        return refuse("You need less than 70 characters in the whole code");
    return 1;
}
