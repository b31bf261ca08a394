#include "app/desktop/icons.h"

#include <charconv>
#include <string>

#include "platform/resources.h"

namespace {

constexpr char kBlackPixel = '#';
constexpr char kClearPixel = '.';

std::string_view trimEnd(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Calls line(text) for each line of text until it answers false.
template <typename F>
void eachLine(std::string_view text, F&& line) {
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        if (!line(trimEnd(text.substr(pos, end - pos)))) return;
        pos = end + 1;
    }
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool readInt(std::string_view s, int32_t* out) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), *out);
    return ec == std::errc() && end == s.data() + s.size();
}

std::optional<qd::RGBColor> readHexColour(std::string_view s) {
    uint32_t rgb = 0;
    if (s.size() != 6) return std::nullopt;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), rgb, 16);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    auto wide = [](uint32_t byte) { return static_cast<uint16_t>(byte * 0x101); };
    return qd::RGBColor{wide((rgb >> 16) & 0xFF), wide((rgb >> 8) & 0xFF), wide(rgb & 0xFF)};
}

}  // namespace

std::optional<SmallIcon> parseSmallIcon(std::string_view text, int32_t index) {
    const std::string header = "icon " + std::to_string(index);
    SmallIcon icon{};
    int row = -1;  // -1 until the icon's header
    bool bad = false;
    eachLine(text, [&](std::string_view line) {
        if (row < 0) {
            if (line == header) row = 0;
            return true;
        }
        if (line.size() != kSmallIconSize) {
            bad = true;
            return false;
        }
        uint16_t bits = 0;
        for (int i = 0; i < kSmallIconSize; ++i) {
            if (line[i] == kBlackPixel)
                bits |= static_cast<uint16_t>(0x8000u >> i);
            else if (line[i] != kClearPixel)
                bad = true;
        }
        icon[row++] = bits;
        return !bad && row < kSmallIconSize;
    });
    if (bad || row != kSmallIconSize) return std::nullopt;
    return icon;
}

std::optional<ColourIcon> parseColourIcon(std::string_view text) {
    ColourIcon icon;
    std::optional<qd::RGBColor> palette[256];
    int32_t atH = 0, atV = 0, row = -1;  // -1 until "pixels"
    bool bad = false;
    eachLine(text, [&](std::string_view line) {
        if (row < 0) {
            if (line.empty() || line.front() == '#') return true;
            if (startsWith(line, "colour ") && line.size() > 9 && line[8] == ' ') {
                const auto c = readHexColour(line.substr(9));
                const auto key = static_cast<unsigned char>(line[7]);
                if (!c || key == kClearPixel) bad = true;
                palette[key] = c;
            } else if (startsWith(line, "at ")) {
                const size_t gap = line.find(' ', 3);
                bad = gap == std::string_view::npos || !readInt(line.substr(3, gap - 3), &atH) ||
                      !readInt(line.substr(gap + 1), &atV) || atH < 0 || atV < 0 ||
                      atH >= kColourIconSize || atV >= kColourIconSize;
            } else if (line == "pixels") {
                row = 0;
            } else {
                bad = true;
            }
            return !bad;
        }
        if (atV + row >= kColourIconSize ||
            atH + static_cast<int32_t>(line.size()) > kColourIconSize) {
            bad = !line.empty();
            return false;
        }
        for (size_t i = 0; i < line.size(); ++i) {
            const auto key = static_cast<unsigned char>(line[i]);
            if (key == kClearPixel) continue;
            if (!palette[key]) {
                bad = true;
                return false;
            }
            icon.pixels[static_cast<size_t>((atV + row) * kColourIconSize + atH) + i] =
                palette[key];
        }
        ++row;
        return true;
    });
    if (bad || row < 0) return std::nullopt;
    return icon;
}

std::optional<SmallIcon> smallIcon(int32_t id, int32_t index) {
    const std::string_view text =
        platform::embeddedResource("icons/sicn/" + std::to_string(id) + ".txt");
    if (text.empty() || index < 1) return std::nullopt;
    return parseSmallIcon(text, index);
}

std::optional<ColourIcon> colourIcon(int32_t id) {
    const std::string_view text =
        platform::embeddedResource("icons/cicn/" + std::to_string(id) + ".txt");
    if (text.empty()) return std::nullopt;
    return parseColourIcon(text);
}
