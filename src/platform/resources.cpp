#include "platform/resources.h"

#include <cstring>
#include <string>
#include <unordered_map>

namespace platform {
namespace {

constexpr int kTitleList = 139;
constexpr int kProductNameIndex = 20;
constexpr const char* kProductName = "Strixel";

}  // namespace

std::string_view embeddedResource(std::string_view name) {
    // Looked up by name for every record of a run: the table is indexed once.
    static const std::unordered_map<std::string_view, std::string_view> index = [] {
        std::unordered_map<std::string_view, std::string_view> m;
        for (const EmbeddedResource* r = kEmbeddedResources; r->name; ++r)
            m.emplace(r->name, std::string_view(reinterpret_cast<const char*>(r->bytes), r->size));
        return m;
    }();
    const auto found = index.find(name);
    return found == index.end() ? std::string_view() : found->second;
}

void StringResourceGetString(unsigned char* dest, int listID, int index) {
    dest[0] = 0;
    // The main window's title is the product's name, whatever the lists say.
    if (listID == kTitleList && index == kProductNameIndex) {
        dest[0] = static_cast<unsigned char>(std::strlen(kProductName));
        std::memcpy(dest + 1, kProductName, dest[0]);
        return;
    }
    std::string_view list = embeddedResource("strings/" + std::to_string(listID) + ".txt");
    const std::string key = std::to_string(index) + "\t";
    size_t pos = 0;
    while (pos < list.size()) {
        size_t end = list.find('\n', pos);
        if (end == std::string_view::npos) end = list.size();
        std::string_view line = list.substr(pos, end - pos);
        if (line.substr(0, key.size()) == key) {
            std::string_view text = line.substr(key.size());
            size_t n = text.size() > 255 ? 255 : text.size();
            dest[0] = static_cast<unsigned char>(n);
            std::memcpy(dest + 1, text.data(), n);
            return;
        }
        pos = end + 1;
    }
}

std::string StringResourceText(int listID, int index) {
    unsigned char p[256];
    StringResourceGetString(p, listID, index);
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

std::string_view GetTextResource(int id) {
    // Every file of a batch asks for its prolog pieces: each is found by name once.
    static std::unordered_map<int, std::string_view> found;
    const auto known = found.find(id);
    if (known != found.end()) return known->second;
    const std::string_view text = embeddedResource("prolog/" + std::to_string(id) + ".ps");
    found.emplace(id, text);
    return text;
}

}  // namespace platform
