#include "support/cases.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void trim(std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    const size_t last = s.find_last_not_of(" \t");
    s = first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

// Splits at unescaped bars and trims before unescaping, so that escaped blanks stay.
std::vector<std::string> split(const std::string& line, const std::string& where) {
    std::vector<std::string> raw(1);
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            raw.back() += line.substr(i, 2);
            ++i;
        } else if (line[i] == '|') {
            raw.emplace_back();
        } else {
            raw.back() += line[i];
        }
    }
    std::vector<std::string> out;
    for (std::string& r : raw) {
        trim(r);
        std::string f;
        for (size_t i = 0; i < r.size(); ++i) {
            if (r[i] != '\\' || i + 1 >= r.size()) {
                f += r[i];
                continue;
            }
            const char e = r[++i];
            if (e == 'r') {
                f += '\r';
            } else if (e == 'n') {
                f += '\n';
            } else if (e == 't') {
                f += '\t';
            } else if (e == '0') {
                f += '\0';
            } else if (e == 'x' && i + 2 < r.size() && hexDigit(r[i + 1]) >= 0 &&
                       hexDigit(r[i + 2]) >= 0) {
                f += static_cast<char>(hexDigit(r[i + 1]) * 16 + hexDigit(r[i + 2]));
                i += 2;
            } else if (e == '\\' || e == '|') {
                f += e;
            } else {
                ADD_FAILURE() << where << ": unknown escape \\" << e;
            }
        }
        out.push_back(f);
    }
    return out;
}

}  // namespace

int CaseLine::integer(size_t i) const {
    const std::string& s = fields.at(i);
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 0);
    if (s.empty() || *end != 0) ADD_FAILURE() << where << ": \"" << s << "\" is no number";
    return static_cast<int>(v);
}

std::vector<int64_t> CaseLine::numbers(size_t i) const {
    std::vector<int64_t> v;
    std::istringstream in(fields.at(i));
    for (std::string word; in >> word;) {
        char* end = nullptr;
        v.push_back(static_cast<int64_t>(std::strtoull(word.c_str(), &end, 0)));
        if (*end != 0) ADD_FAILURE() << where << ": \"" << word << "\" is no number";
    }
    return v;
}

std::vector<CaseLine> readCases(const std::string& name, size_t fields) {
    std::vector<CaseLine> cases;
    std::ifstream in(std::string(STRIXEL_TEST_DATA) + "/" + name, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "no case file tests/data/" << name;
        return cases;
    }
    int n = 0;
    for (std::string line; std::getline(in, line);) {
        ++n;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        CaseLine c{name + ":" + std::to_string(n), split(line, name + ":" + std::to_string(n))};
        if (c.fields.size() != fields) {
            ADD_FAILURE() << c.where << ": " << c.fields.size() << " fields, not " << fields;
            continue;
        }
        cases.push_back(std::move(c));
    }
    if (cases.empty()) ADD_FAILURE() << "tests/data/" << name << " holds no case";
    return cases;
}

}  // namespace testsupport
