#include "platform/fontcache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace platform {

namespace {

constexpr char kCacheHeader[] = "strixel font cache 1";
constexpr size_t kMostEntries = 256;  // a run names a handful of fonts

std::string envOr(const char* name, const std::string& otherwise) {
    const char* v = std::getenv(name);
    return v && v[0] == '/' ? std::string(v) : otherwise;
}

std::string home() {
    const char* h = std::getenv("HOME");
    return h && h[0] == '/' ? std::string(h) : std::string();
}

// What the answers depend on: the configuration and the folders fonts are
// installed into, by their modification times, and the variables that point
// fontconfig elsewhere.
std::string signature() {
    const std::string h = home();
    const std::string dataHome = envOr("XDG_DATA_HOME", h.empty() ? "" : h + "/.local/share");
    std::ostringstream s;
    for (const std::string& path :
         {std::string("/etc/fonts/fonts.conf"), std::string("/etc/fonts/conf.d"),
          std::string("/usr/share/fonts"), std::string("/usr/local/share/fonts"),
          dataHome.empty() ? std::string() : dataHome + "/fonts",
          h.empty() ? std::string() : h + "/.fonts"}) {
        struct stat st {};
        if (path.empty() || stat(path.c_str(), &st) != 0) {
            s << "-;";
            continue;
        }
        s << st.st_mtim.tv_sec << '.' << st.st_mtim.tv_nsec << ';';
    }
    for (const char* var : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT"}) {
        const char* v = std::getenv(var);
        s << (v ? v : "") << ';';
    }
    return s.str();
}

struct Cache {
    bool loaded = false;
    std::string signature;
    std::map<std::string, RememberedFont> fonts;
};
Cache cache;

void load() {
    if (cache.loaded) return;
    cache.loaded = true;
    cache.signature = signature();
    const std::string path = fontCachePath();
    if (path.empty()) return;
    std::ifstream in(path);
    std::string line;
    if (!std::getline(in, line) || line != kCacheHeader) return;
    if (!std::getline(in, line) || line != cache.signature) return;  // stale: start afresh
    // key \t index \t path
    while (std::getline(in, line) && cache.fonts.size() < kMostEntries) {
        const size_t a = line.find('\t');
        const size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
        if (b == std::string::npos) continue;
        RememberedFont f;
        f.index = std::atoi(line.substr(a + 1, b - a - 1).c_str());
        f.path = line.substr(b + 1);
        if (f.path.empty() || f.path[0] != '/') continue;
        cache.fonts[line.substr(0, a)] = f;
    }
}

void save() {
    const std::string path = fontCachePath();
    if (path.empty()) return;
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string parent = folder.substr(0, folder.rfind('/'));
    mkdir(parent.c_str(), 0700);
    mkdir(folder.c_str(), 0700);
    const std::string temp = path + "." + std::to_string(getpid());
    {
        std::ofstream out(temp, std::ios::trunc);
        out << kCacheHeader << '\n' << cache.signature << '\n';
        for (const auto& [key, f] : cache.fonts)
            out << key << '\t' << f.index << '\t' << f.path << '\n';
        if (!out.flush()) {
            std::remove(temp.c_str());
            return;
        }
    }
    // Whole or not at all: another run may be reading it.
    if (std::rename(temp.c_str(), path.c_str()) != 0) std::remove(temp.c_str());
}

bool usable(const std::string& text) {
    return text.find('\t') == std::string::npos && text.find('\n') == std::string::npos;
}

}  // namespace

std::string fontCachePath() {
    const std::string h = home();
    const std::string base = envOr("XDG_CACHE_HOME", h.empty() ? "" : h + "/.cache");
    return base.empty() ? "" : base + "/strixel/fonts";
}

std::optional<RememberedFont> rememberedFont(const std::string& key) {
    load();
    const auto it = cache.fonts.find(key);
    if (it == cache.fonts.end() || access(it->second.path.c_str(), R_OK) != 0) return std::nullopt;
    return it->second;
}

void rememberFont(const std::string& key, const RememberedFont& font) {
    load();
    if (!usable(key) || !usable(font.path) || font.path.empty()) return;
    const auto it = cache.fonts.find(key);
    if (it != cache.fonts.end() && it->second.path == font.path && it->second.index == font.index)
        return;
    if (cache.fonts.size() >= kMostEntries) cache.fonts.clear();
    cache.fonts[key] = font;
    save();
}

}  // namespace platform
