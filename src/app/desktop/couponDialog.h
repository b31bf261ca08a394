// The DataBar coupon dialog: a modal window asking the coupon's fields, whose
// data, once the coupon check passes, becomes the main window's data and is
// made at once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The fields the dialog asks, by their slot in the coupon check's field block.
struct CouponField {
    size_t slot;  // byte offset
    const char* label;
};
inline constexpr CouponField kCouponFields[] = {
    {10, "Company prefix"},
    {20, "Offer code"},
    {30, "Save value"},
    {40, "Primary purchase requirement"},
    {50, "Requirement code"},
    {60, "Family code"},
    {80, "2nd purchase rules code"},
    {90, "2nd purchase requirement"},
    {100, "2nd requirement code"},
    {110, "2nd family code"},
    {120, "2nd company prefix"},
    {140, "3rd purchase requirement"},
    {150, "3rd requirement code"},
    {160, "3rd family code"},
    {170, "3rd company prefix"},
    {190, "Expiry date (YYMMDD)"},
    {210, "Start date (YYMMDD)"},
    {230, "Serial number"},
    {270, "Retailer company prefix"},
    {280, "Retailer field 2"},
    {290, "Retailer field 3"},
    {300, "Retailer field 4"},
};
inline constexpr size_t kCouponFieldCount = std::size(kCouponFields);
using CouponTexts = std::array<std::string, kCouponFieldCount>;

// The coupon's data from the typed fields (each at most one 10-byte slot),
// behind the application identifier; 1 when the check passes, else 0 after the
// check's message.
int32_t assembleCoupon(const CouponTexts& texts, std::string* data);

// Runs the dialog until OK with a coupon that passes the check, or Cancel.
// Data longer than 15 characters becomes the data field's text, the add-on
// field gets "8" (segments per row) and OK runs.
void DataBarCouponDialog();
