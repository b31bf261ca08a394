// The print platform: print sessions, page formats, print settings and their
// destinations (a PDF file, a PostScript file, or a printer queue of the local
// printing system). A job's pages are drawn through QuickDraw ports whose unit is
// one printer dot, so the program's integer coordinates keep the quantisation
// they have on the printer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/quickdraw/quickdraw.h"

namespace print {

// Statuses of the printing system; 0 is success.
constexpr int32_t kPrintNoErr = 0;
constexpr int32_t kPrintCancel = 128;           // the user cancelled a dialog
constexpr int32_t kPrintGeneralError = -30870;  // no page format, a bad job
constexpr int32_t kPrintOutOfScope = -30871;    // a page call outside a document or page
constexpr int32_t kPrintIOError = -30872;       // the output could not be written
constexpr int32_t kPrintQueueError = -30873;    // the printing system refused the job

constexpr double kPointsPerInch = 72;
constexpr double kDefaultResolution = 1200;  // when nothing better is known

struct Resolution {
    double h = kDefaultResolution;
    double v = kDefaultResolution;
    bool operator==(const Resolution&) const = default;
};

enum class Orientation : int16_t { portrait = 1, landscape = 2 };

// Lengths in points. The imageable rectangle is the part of the paper the
// printer can mark, relative to the paper's top-left corner, as laid out for the
// orientation.
struct PageFormat {
    std::string paperName = "A4";
    double paperWidth = 595.276;  // as the paper lies in portrait
    double paperHeight = 841.89;
    Orientation orientation = Orientation::portrait;
    double imageTop = 0, imageLeft = 0, imageBottom = 841.89, imageRight = 595.276;
    double scale = 100;  // percent
    Resolution resolution;
    // The paper as the page is laid out (width and height swapped in landscape).
    double pageWidth() const;
    double pageHeight() const;
    bool operator==(const PageFormat&) const = default;
};
// Paper and imageable rectangle of a named paper ("A4", "Letter", "Legal", "A5",
// "A3"), in portrait; false when the name is unknown.
bool paperFormat(const std::string& name, PageFormat* format);

enum class Destination : int16_t { printer = 1, file = 2, fax = 3, preview = 4 };
enum class FileFormat : int16_t { pdf, postscript };

struct PrintSettings {
    std::string jobName;
    int32_t copies = 1;
    // The pages that reach the file or queue; the others are drawn and dropped.
    int32_t firstPage = 1;
    int32_t lastPage = INT32_MAX;  // the largest page number: all pages
    Destination destination = Destination::file;
    FileFormat fileFormat = FileFormat::pdf;
    std::string target;  // the file's path, or the queue's name (empty: the default queue)
};
// A file destination from a path (".ps" gives PostScript, anything else PDF) or
// a queue from any other name.
PrintSettings settingsFor(const std::string& printerOrFile);

// Dots per point of a resolution: how many port units make one point.
double dotsPerPoint(const Resolution& r);

// The resolutions a destination supports (queues: as the printing system reports
// them; none when unknown), sorted on horizontal times vertical, ascending.
std::vector<Resolution> GetSupportedResolutions(const PrintSettings& settings);
// The resolution a job prints at: the printer's (and fax's) largest, any other
// destination 1200 dpi; below 300 dpi across, 1200 dpi instead.
Resolution chooseResolution(Destination destination, const std::vector<Resolution>& supported);

// One print job. Pages are drawn into the port beginPage returns (current when it
// returns); nothing reaches a file or queue before endDocument succeeds, and a
// session ended or destroyed early leaves no output behind.
class PrintSession {
  public:
    PrintSession();
    ~PrintSession();
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

    int32_t beginDocument(const PrintSettings& settings, const PageFormat& format);
    // A port over the page in dots (the paper's top-left corner is 0, 0); null on
    // failure (status() says why).
    qd::GrafPort* beginPage();
    int32_t endPage();
    // Writes the file or sends the job; on failure nothing is left half-written
    // or half-sent.
    int32_t endDocument();
    void cancel();
    int32_t status() const;
    double thermScale() const;  // dots per point of the job
    // What the last queue job was given to (for messages); empty otherwise.
    const std::string& detail() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// The queue back end: sends a finished PDF document to a queue as one job with
// its copies and title. Returns 0 or kPrintQueueError with *why filled; a job
// that fails part-way is cancelled.
int32_t sendToQueue(const std::string& queue, const std::string& title, int32_t copies,
                    const std::string& pdf, std::string* why);
// The resolutions and paper a queue reports; false when the queue is unknown.
bool queueCapabilities(const std::string& queue, std::vector<Resolution>* resolutions,
                       std::string* paper);

// The page format kept between runs: "print.prt" in the user's preferences
// folder, in a small versioned format of our own. A missing, damaged or foreign
// file gives the defaults.
std::string pageFormatPath();
int32_t savePageFormat(const PageFormat& format);
PageFormat loadPageFormat();
// The bytes of the file and back (false: not a page format of ours).
std::string flattenPageFormat(const PageFormat& format);
bool unflattenPageFormat(const std::string& bytes, PageFormat* format);

// The page setup and print dialogs. Headless, nobody is asked: the script's
// values stand and the dialog is accepted.
struct PrintDialogs {
    virtual ~PrintDialogs() = default;
    // true when accepted; the format or settings may have been changed.
    virtual bool pageSetup(PageFormat& format) { return true; }
    virtual bool printDialog(PrintSettings& settings) { return true; }
};
PrintDialogs& dialogs();
void setDialogs(PrintDialogs* d);  // null restores the headless ones

}  // namespace print
