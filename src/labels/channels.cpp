#include "labels/channels.h"

#include <string>

#include "platform/byteorder.h"

NumberedChannels gChannels;

namespace {

using platform::OSErr;

bool inRange(int32_t channel) { return channel >= 0 && channel < kChannelCount; }

// Every name is a POSIX path taken as it stands: a name from a document or the
// command line must not climb out of its folder through colons.
std::string posixName(const char* name) { return name ? std::string(name) : std::string(); }

}  // namespace

void resetChannels() {
    for (int32_t c = 0; c < kChannelCount; ++c) CLOSEDiscard(c);
    gChannels = NumberedChannels{};
}

void DEF_OPEN(uint32_t creator, uint32_t type) {
    gChannels.creatTyp = creator;
    gChannels.filTyp = type;
}

platform::FileRef channelRef(int32_t channel) {
    return inRange(channel) ? gChannels.bFil[channel] : 0;
}

OSErr OPEN(const char*, int32_t channel, const char* name) {
    if (!inRange(channel)) return platform::rfNumErr;
    if (gChannels.bFil[channel] != 0) CLOSE(channel);
    const std::string path = posixName(name);
    if (path.empty()) return platform::bdNamErr;
    platform::FileRef ref = 0;
    const OSErr err = platform::FSOpenRW(path, &ref);
    gChannels.bFil[channel] = err == platform::noErr ? ref : 0;
    return err;
}

OSErr OPENReplace(int32_t channel, const char* name) {
    if (!inRange(channel)) return platform::rfNumErr;
    if (gChannels.bFil[channel] != 0) CLOSE(channel);
    const std::string path = posixName(name);
    if (path.empty()) return platform::bdNamErr;
    platform::FileRef ref = 0;
    const OSErr err = platform::FSCreateReplacement(path, &ref);
    gChannels.bFil[channel] = err == platform::noErr ? ref : 0;
    gChannels.replacing[channel] = err == platform::noErr;
    return err;
}

OSErr CLOSE(int32_t channel) {
    const platform::FileRef ref = channelRef(channel);
    if (ref == 0) return platform::rfNumErr;
    gChannels.bFil[channel] = 0;
    const bool replacing = gChannels.replacing[channel];
    gChannels.replacing[channel] = false;
    return replacing ? platform::FSCommit(ref) : platform::FSClose(ref);
}

void CLOSEDiscard(int32_t channel) {
    const platform::FileRef ref = channelRef(channel);
    if (ref == 0) return;
    if (!gChannels.replacing[channel]) {
        CLOSE(channel);
        return;
    }
    gChannels.bFil[channel] = 0;
    gChannels.replacing[channel] = false;
    platform::FSDiscard(ref);
}

OSErr writeWholeFile(int32_t channel, const char* name, const void* bytes, int32_t n) {
    OSErr err = OPENReplace(channel, name);
    if (err != platform::noErr) return err;
    err = platform::FSWrite(channelRef(channel), &n, bytes);
    if (err != platform::noErr) {
        CLOSEDiscard(channel);
        return err;
    }
    return CLOSE(channel);
}

OSErr writeSettingsFile(int32_t channel, const char* name, const void* bytes, int32_t n) {
    const OSErr err = platform::FSSettingsTargetUsable(posixName(name));
    return err != platform::noErr ? err : writeWholeFile(channel, name, bytes, n);
}

OSErr bswrite(int32_t channel, int32_t value) {
    const platform::FileRef ref = channelRef(channel);
    if (ref == 0) return platform::rfNumErr;
    uint8_t bytes[4];
    platform::put32(bytes, static_cast<uint32_t>(value), platform::ByteOrder::big);
    int32_t count = 4;
    return platform::FSWrite(ref, &count, bytes);
}

OSErr bsread(int32_t channel, int32_t* value) {
    const platform::FileRef ref = channelRef(channel);
    if (ref == 0) return platform::rfNumErr;
    if (!value) return platform::paramErr;
    uint8_t bytes[4];
    int32_t count = 4;
    const OSErr err = platform::FSRead(ref, &count, bytes);
    if (err != platform::noErr) return err;
    *value = static_cast<int32_t>(platform::get32(bytes, platform::ByteOrder::big));
    return platform::noErr;
}

int32_t Exists(const char* name) {
    const std::string path = posixName(name);
    if (path.empty() || platform::pathKind(path) != platform::PathKind::file) return 0;
    platform::FileRef ref = 0;
    if (platform::FSOpenExisting(path, &ref) != platform::noErr) return 0;
    platform::FSClose(ref);
    return 1;
}

OSErr RECORD(int32_t channel, int32_t position) {
    const platform::FileRef ref = channelRef(channel);
    return ref == 0 ? platform::rfNumErr : platform::SetFPos(ref, position);
}

namespace {

int32_t query(int32_t channel, OSErr* status, OSErr (*ask)(platform::FileRef, int32_t*)) {
    const platform::FileRef ref = channelRef(channel);
    int32_t value = -1;
    OSErr err = ref == 0 ? platform::rfNumErr : ask(ref, &value);
    if (err != platform::noErr) value = -1;
    if (status) *status = err;
    return value;
}

}  // namespace

int32_t REC(int32_t channel, OSErr* status) { return query(channel, status, platform::GetFPos); }

int32_t LOF(int32_t channel, OSErr* status) { return query(channel, status, platform::GetEOF); }
