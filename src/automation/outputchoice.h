// The kind of file a command-line record makes: the --dialect and --post flags
// and the file name's extension, which must agree.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

struct Dialect {
    const char* name;
    int32_t ill;
    int32_t purePost;  // -1: as --post or the file's extension says
    const char* what;
};

struct PostKind {
    const char* name;
    const char* number;  // the purePost value, as the help shows it
    int32_t purePost;
    const char* what;
};

// A row of the output kinds that --kind names.
struct OutputKindName {
    const char* name;
    int32_t tool;
    int32_t ill;             // the text encoding of the bar-font text kinds; 0 as the flags say
    const char* extensions;  // the file name's extensions it takes, blank-separated; "" any
    const char* what;
};

// What the flags asked for; nullptr where a flag was not given.
struct OutputChoice {
    const Dialect* dialect = nullptr;
    const PostKind* post = nullptr;
    const OutputKindName* kind = nullptr;
};

// The dialect or post kind of that name (a post kind also by its number), or nullptr.
const Dialect* findDialect(const std::string& name);
const PostKind* findPostKind(const std::string& name);
// The output kind of that name or number (0 to 8), or nullptr.
const OutputKindName* findOutputKind(const std::string& name);

// Why the flags and the file's name contradict each other (or the name's
// extension is not one the program writes); empty when they agree. A path that
// names a device or a pipe needs no extension.
std::string outputKindFault(const OutputChoice& choice, const std::string& path);
// Sets the output settings for the file: the flags, else the extension (tool,
// ill, purePost).
void applyOutputChoice(const OutputChoice& choice, const std::string& path);
// The output tool that applyOutputChoice sets for the file.
int32_t outputTool(const OutputChoice& choice, const std::string& path);

// The help's lines for --kind, --dialect and --post.
void printOutputKinds(std::ostream& out);
