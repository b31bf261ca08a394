// The printer queues of the local printing system, reached through libcups.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/printing/cupsLibrary.h"
#include "platform/printing/printing.h"

namespace print {

namespace {

// Only called once an entry point has loaded the library.
const CupsLibrary& lib() { return *cupsLibrary(nullptr); }

// The queue's destination; the default queue when the name is empty.
cups_dest_t* findDest(const std::string& queue, cups_dest_t** all, int* count) {
    *count = lib().cupsGetDests2(CUPS_HTTP_DEFAULT, all);
    return lib().cupsGetDest(queue.empty() ? nullptr : queue.c_str(), nullptr, *count, *all);
}

constexpr int kConnectTimeoutMs = 5000;

// The printing system's server as the user would name it: its socket's path or
// its host and port.
std::string serverName() {
    const std::string server = lib().cupsServer();
    return server.empty() || server[0] == '/' ? server
                                              : server + ":" + std::to_string(lib().ippPort());
}

bool serverAnswers() {
    http_t* http = lib().httpConnect2(lib().cupsServer(), lib().ippPort(), nullptr, AF_UNSPEC,
                                      lib().cupsEncryption(), 1, kConnectTimeoutMs, nullptr);
    if (!http) return false;
    lib().httpClose(http);
    return true;
}

std::string unreachable() {
    return "the printing system cannot be reached at " + serverName() +
           ": start it (the CUPS service), or print to a .pdf or .ps file";
}

std::string failure(const char* what) {
    if (!serverAnswers()) return unreachable();
    std::string why = what;
    const char* detail = lib().cupsLastErrorString();
    if (detail && detail[0]) why += std::string(": ") + detail;
    return why;
}

// No queue of that name among the `count` the printing system gave.
std::string noSuchQueue(const std::string& queue, const cups_dest_t* all, int count) {
    if (!serverAnswers()) return unreachable();
    std::string why =
        queue.empty() ? "there is no default printer queue" : "no printer queue named " + queue;
    if (count == 0) return why + "; the printing system at " + serverName() + " has no queues";
    why += "; the queues there are:";
    for (int i = 0; i < count; ++i) why += std::string(i == 0 ? " " : ", ") + all[i].name;
    return why;
}

// "600dpi", "300x600dpi" or "300dpcm"; false for anything else.
bool parseResolution(const char* text, Resolution* r) {
    int x = 0, y = 0;
    char unit[8] = {};
    if (std::sscanf(text, "%dx%d%7s", &x, &y, unit) == 3) {
    } else if (std::sscanf(text, "%d%7s", &x, unit) == 2) {
        y = x;
    } else {
        return false;
    }
    if (x <= 0 || y <= 0) return false;
    const double perInch = std::strcmp(unit, "dpcm") == 0 ? 2.54 : 1;
    if (perInch == 1 && std::strcmp(unit, "dpi") != 0) return false;
    *r = {x * perInch, y * perInch};
    return true;
}

}  // namespace

bool queueCapabilities(const std::string& queue, std::vector<Resolution>* resolutions,
                       std::string* paper) {
    if (!cupsLibrary(nullptr)) return false;
    cups_dest_t* all = nullptr;
    int count = 0;
    cups_dest_t* dest = findDest(queue, &all, &count);
    if (!dest) {
        lib().cupsFreeDests(count, all);
        return false;
    }
    resolutions->clear();
    paper->clear();
    // The queue's supported values, when the printing system knows them.
    cups_dinfo_t* info = lib().cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    if (info) {
        if (ipp_attribute_t* a =
                lib().cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution")) {
            for (int i = 0; i < lib().ippGetCount(a); ++i) {
                ipp_res_t units;
                int y = 0;
                const int x = lib().ippGetResolution(a, i, &y, &units);
                const double k = units == IPP_RES_PER_CM ? 2.54 : 1;
                if (x > 0 && y > 0) resolutions->push_back({x * k, y * k});
            }
        }
        cups_size_t size;
        if (lib().cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &size))
            *paper = size.media;
        lib().cupsFreeDestInfo(info);
    }
    // Otherwise the queue's options.
    if (resolutions->empty())
        if (const char* v =
                lib().cupsGetOption("printer-resolution", dest->num_options, dest->options)) {
            Resolution r;
            if (parseResolution(v, &r)) resolutions->push_back(r);
        }
    if (paper->empty())
        if (const char* v = lib().cupsGetOption("media", dest->num_options, dest->options))
            *paper = v;
    lib().cupsFreeDests(count, all);
    return true;
}

int32_t sendToQueue(const std::string& queue, const std::string& title, int32_t copies,
                    const std::string& pdf, std::string* why) {
    if (!cupsLibrary(why)) return kPrintQueueError;
    cups_dest_t* all = nullptr;
    int count = 0;
    cups_dest_t* dest = findDest(queue, &all, &count);
    if (!dest) {
        *why = noSuchQueue(queue, all, count);
        lib().cupsFreeDests(count, all);
        return kPrintQueueError;
    }
    const std::string name = dest->name;
    lib().cupsFreeDests(count, all);

    cups_option_t* options = nullptr;
    int nOptions = lib().cupsAddOption("copies", std::to_string(copies).c_str(), 0, &options);
    const char* jobTitle = title.empty() ? "Labels" : title.c_str();
    const int job =
        lib().cupsCreateJob(CUPS_HTTP_DEFAULT, name.c_str(), jobTitle, nOptions, options);
    lib().cupsFreeOptions(nOptions, options);
    if (job == 0) {
        *why = failure("the job was refused");
        return kPrintQueueError;
    }
    bool sent = lib().cupsStartDocument(CUPS_HTTP_DEFAULT, name.c_str(), job, jobTitle,
                                        CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    constexpr size_t kChunk = 64 * 1024;
    for (size_t at = 0; sent && at < pdf.size(); at += kChunk)
        sent =
            lib().cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data() + at,
                                       std::min(kChunk, pdf.size() - at)) == HTTP_STATUS_CONTINUE;
    const ipp_status_t finished = lib().cupsFinishDocument(CUPS_HTTP_DEFAULT, name.c_str());
    if (!sent || finished > IPP_STATUS_OK_CONFLICTING) {
        *why = failure("the job could not be sent");
        lib().cupsCancelJob2(CUPS_HTTP_DEFAULT, name.c_str(), job, 0);
        return kPrintQueueError;
    }
    *why = name;
    return kPrintNoErr;
}

}  // namespace print
