// String lists and TEXT resources, compiled into the binary from resources/.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

struct EmbeddedResource {
    const char* name;  // path below resources/
    const unsigned char* bytes;
    size_t size;
};
extern const EmbeddedResource kEmbeddedResources[];

// The bytes of resources/<name>, or an empty view when there is none.
std::string_view embeddedResource(std::string_view name);

// String `index` (from 1) of list `listID` as a Pascal string; empty when missing.
// Lists live in resources/strings/<listID>.txt, one "index<TAB>text" a line;
// item 20 of list 139, the main window's title, is always the product name.
void StringResourceGetString(unsigned char* dest, int listID, int index);
// The same string's text.
std::string StringResourceText(int listID, int index);

// TEXT resource `id` (resources/prolog/<id>.ps), carriage-return line ends.
std::string_view GetTextResource(int id);

}  // namespace platform
