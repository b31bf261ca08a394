// Numbered file channels: the program's own files (label documents, the
// settings files) are opened on a small channel number and then addressed by it
// alone. Integers travel as 32-bit big-endian words.
//
// An existing file is opened without being shortened: a settings file rewritten
// with fewer words keeps the old tail after them, and its readers read only the
// words they know. Every operation returns its status; a channel outside
// 0..kChannelCount-1, or one that is not open, gives rfNumErr.
#pragma once

#include <cstdint>

#include "platform/files.h"

constexpr int32_t kChannelCount = 104;
constexpr int32_t kDocumentChannel = 1;    // label documents
constexpr int32_t kSettingsChannel = 101;  // the settings files

constexpr uint32_t fourCC(const char (&c)[5]) {
    return uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 |
           uint32_t(uint8_t(c[2])) << 8 | uint32_t(uint8_t(c[3]));
}

struct NumberedChannels {
    platform::FileRef bFil[kChannelCount] = {};  // 0: the channel is not open
    bool replacing[kChannelCount] = {};          // opened by OPENReplace
    // Given to the files a channel creates. Linux keeps no creator or type with a
    // file, so they are state only.
    uint32_t creatTyp = fourCC("SXLD");
    uint32_t filTyp = fourCC("TEXT");
};
extern NumberedChannels gChannels;

void resetChannels();  // closes every open channel; unfinished documents are dropped

void DEF_OPEN(uint32_t creator, uint32_t type);
// Opens name (a POSIX path, taken as it stands) for reading and writing on
// channel, creating it when missing. A channel still open is closed first. On
// failure the channel's entry is 0. mode ("O" or "I") is not read.
platform::OSErr OPEN(const char* mode, int32_t channel, const char* name);
// Opens a new version of name on channel, for a document written whole: the bytes
// go to a temporary file beside it, which CLOSE puts in place only when every
// write succeeded; until then, and after any failure, name is as it was.
platform::OSErr OPENReplace(int32_t channel, const char* name);
// Closes the channel; a channel opened by OPENReplace is put in place here.
platform::OSErr CLOSE(int32_t channel);
// Closes a channel opened by OPENReplace without putting it in place (a writer
// that gave up); any other channel is closed as by CLOSE.
void CLOSEDiscard(int32_t channel);
platform::OSErr bswrite(int32_t channel, int32_t value);
// Fewer than 4 bytes left: *value stays as it was and the result is eofErr.
platform::OSErr bsread(int32_t channel, int32_t* value);
// 1 when name exists and opens for reading and writing, else 0.
int32_t Exists(const char* name);
platform::OSErr RECORD(int32_t channel, int32_t position);
// The current position and the length; -1 when the channel is not open (status,
// when given, says why).
int32_t REC(int32_t channel, platform::OSErr* status = nullptr);
int32_t LOF(int32_t channel, platform::OSErr* status = nullptr);
// Writes n bytes as the whole new contents of name through channel: opened by
// OPENReplace, written once and put in place by CLOSE, or dropped on any failure
// (name stays as it was). The first failure's status, or noErr.
platform::OSErr writeWholeFile(int32_t channel, const char* name, const void* bytes, int32_t n);
// writeWholeFile for the program's own settings files: a target that exists and
// is not a regular file is refused (paramErr, FSFailureText() says why) and left
// untouched, where a user's chosen output would be written in place.
platform::OSErr writeSettingsFile(int32_t channel, const char* name, const void* bytes, int32_t n);
// The file reference of an open channel, for the callers that write texts with
// FSWrite; 0 when the channel is not open.
platform::FileRef channelRef(int32_t channel);
