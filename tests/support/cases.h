// Golden values kept as plain text under tests/data/: one case a line, its
// fields split by '|' and trimmed of blanks. Blank lines and lines starting
// with '#' are comments. In a field, \| is a bar, \\ a backslash, \r \n \t \0
// and \xHH the bytes they name (\x20 keeps a blank at a field's edge).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct CaseLine {
    std::string where;  // "file:line", for failure messages
    std::vector<std::string> fields;
    const std::string& operator[](size_t i) const { return fields.at(i); }
    int integer(size_t i) const;  // the field as a decimal or 0x number
    // The field as blank-separated decimal or 0x numbers ("12 0x1F"), 64 bits each.
    std::vector<int64_t> numbers(size_t i) const;
};

// The cases of tests/data/<name>; fails the current test when the file is
// missing, holds no case, or a line has other than `fields` fields.
std::vector<CaseLine> readCases(const std::string& name, size_t fields);

}  // namespace testsupport
