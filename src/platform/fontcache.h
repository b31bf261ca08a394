// Where installed fonts were found, kept between runs. Reading the font
// configuration costs more than everything else a one-symbol run does; while
// the font folders and the configuration stay as they were, the files found
// last time are used without it.
#pragma once

#include <optional>
#include <string>

namespace platform {

struct RememberedFont {
    std::string path;
    int index = 0;
};

// The file remembered for key, when it is still there and the font folders and
// configuration have not changed since it was remembered.
std::optional<RememberedFont> rememberedFont(const std::string& key);
// Remembers the file found for key (written to the cache at once).
void rememberFont(const std::string& key, const RememberedFont& font);

// The cache file: $XDG_CACHE_HOME/strixel/fonts, or ~/.cache/strixel/fonts;
// empty when there is no home.
std::string fontCachePath();

}  // namespace platform
