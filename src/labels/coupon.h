// The data check of a GS1 DataBar coupon (application identifier 8110): its
// fields in fixed 10-byte slots, checked and assembled into the symbol's data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kCouponSlot = 10;
constexpr size_t kCouponFieldsBytes = 310;  // slots at offsets 0 to 300
constexpr size_t kCouponMostCharacters = 70;

// fields holds kCouponFieldsBytes bytes. Returns 1 with the data in *result when
// every field given is right and the data has at most 70 characters; else 0
// after the message that says why (*result then holds what was assembled).
int32_t verifycoupon(const char* fields, std::string* result);
// Appends the length digit of text ('0' + its length) and text; returns text.
const std::string& strcatlen(std::string* destination, const std::string& text);
