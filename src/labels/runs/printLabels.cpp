#include "labels/runs/printLabels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "labels/cutMarks.h"
#include "labels/importfile.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/printDefaults.h"
#include "labels/production.h"
#include "picture/PICout2.h"
#include "labels/datafields.h"
#include "picture/hooks.h"
#include "picture/outputstate.h"
#include "picture/placedPictures.h"
#include "picture/rotate.h"
#include "platform/desktop.h"
#include "platform/macroman.h"
#include "platform/questions.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/press.h"

namespace {

constexpr int32_t kLabelUnits = 10;  // the sheet's lengths are tenths of a point
constexpr uint16_t kMsgImportNotOpened = 34;
constexpr qd::Rect kPagePictureFrame{0, 0, 1728, 1728};
constexpr double kScreenResolution = 72;
constexpr const char* kGaugePrinting = "Printing";
// The thermal back end's commands besides printing a page (0).
constexpr int32_t kThermalPage = 0, kThermalCommandA = -1, kThermalCommandB = -2;

void thermal(int32_t command) {
    if (gHooks.therm_ptr) gHooks.therm_ptr(command, 0, gPrint.therPrin);
}

// A number the user is asked for, read with "%d"; false when there is no
// answer that is a number (a cancelled question among them).
bool askNumber(const char* prompt, int32_t shown, int32_t* value) {
    char answer[256];
    std::snprintf(answer, sizeof answer, "%d", shown);
    platform::LibAnswerS(prompt, answer, int32_t(sizeof answer));
    int read = 0;
    if (std::sscanf(answer, "%d", &read) != 1) return false;
    *value = read;
    return true;
}

bool isDataItem(const LabelItem& it) {
    const uint16_t kind = it.u16(item::kind);
    return kind == kKindText || kind == kKindBarcode;
}

void closeImports() {
    if (gProd.vimportRef) closeImportFile(gProd.vimportRef);
    if (gProd.vimpoRef2) closeImportFile(gProd.vimpoRef2);
    gProd.vimportRef = gProd.vimpoRef2 = 0;
    gProd.gfini[1] = 0;
}

// How many records the labels take: the answer to "Import how many?". Without
// one, each label takes the next record until the labels or the file run out,
// and the run says so.
int32_t importCountAsked() {
    constexpr const char* kQuestion = "Import how many?";
    int32_t count = 1;
    if (askNumber(kQuestion, count, &count)) return count;
    gPrint.note = std::string("no answer to \"") + kQuestion +
                  "\": each label takes the next record of the import file, until the " +
                  std::to_string(gPrint.nLabels) + " labels are printed or the file ends";
    return 0;
}

// Opens the import file and the separate file, skips to the start record and
// asks how many records to import. false after a message. A file chosen because
// the document names none becomes the document's: the next print reads it and
// Save writes it.
bool openImports() {
    std::string path = documentPath(gDocFile.impoFile);
    const bool choose = path.empty();
    if (choose && !platform::GetFileDialog("TEXT", &path)) {
        Message(kMsgImportNotOpened);
        return false;
    }
    char recordEnd = 0;
    std::string why;
    if (openImportFile(path, &gProd.vimportRef, &recordEnd, &why) != platform::noErr) {
        gProd.vimportRef = 0;
        MessageWith(kMsgImportNotOpened, why);
        return false;
    }
    if (choose) gDocFile.impoFile = path;
    gProd.importLine = 0;
    // The record end found in the file is the one its records are read by.
    gProd.gfini[1] = recordEnd;
    gProd.sepIm = gLabel.sepImp;  // loaded with the item
    if (gProd.sepIm) {
        std::string separate;
        char separateEnd = 0;
        if (!platform::GetFileDialog("TEXT", &separate) ||
            openImportFile(separate, &gProd.vimpoRef2, &separateEnd, &why) != platform::noErr) {
            gProd.vimpoRef2 = 0;
            MessageWith(kMsgImportNotOpened, why);
            return false;
        }
    }
    // The script's import request answers the two questions.
    const ExternalImport& ext = gProd.externalImport;
    int32_t start = 1;
    if (ext.countPlus1)
        start = std::max(ext.start, 1);
    else
        askNumber("What Record to Start At?", 1, &start);
    gPrint.importCount = ext.countPlus1 ? ext.countPlus1 - 1 : importCountAsked();
    // A file that ends before the start record leaves no record for the labels;
    // the walk finds that out.
    skipImportRecords(start - 1);
    return true;
}

// false, after a message, when an import item's template names no field a
// record read fills.
bool importTemplatesFit() {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = gLabel.labelParts[size_t(i)].get();
        if (!it || !isDataItem(*it) || getProMode(i) != 2) continue;
        const std::string fault = importTemplateFault(it->text(item::serPos).c_str());
        if (fault.empty()) continue;
        MessageText(("The label's import item cannot be printed: " + fault + ".").c_str());
        return false;
    }
    return true;
}

// The kinds of variable data on the label (importer), the import files opened
// for the first import item. false when a file cannot be opened.
bool findVariableData() {
    gProd.importer = 0;
    gProd.sepIm = 0;
    if (!importTemplatesFit()) return false;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = gLabel.labelParts[size_t(i)].get();
        if (!it) continue;
        switch (getProMode(i)) {
            case 2:
                if (!(gProd.importer & 1)) {
                    getItemData(i);
                    if (!openImports()) return false;
                }
                gProd.importer |= 1;
                break;
            case 1:
                gProd.importer |= 2;
                break;
            case 3:
                gProd.importer |= 4;
                break;
            default:
                break;
        }
    }
    return true;
}

// The digital press gets its job files first; the printer then prints one label.
bool pressBranch() {
    const std::string& doc = gDocFile.globFilS;
    if (pressExport(doc.substr(doc.rfind('/') + 1)) != 0) {
        gPrint.faultAt = gPress.faultAt;  // the label position the message is about
        return false;
    }
    gPrint.nPages = gPrint.nLabels = 1;
    return true;
}

// One walk over a page's cells in the fill order. cell(at, flag) draws the label
// at `at` and line(last, flag) follows each row or column that got a label; each
// returns false to end the run. The flags are the cut marks each draws.
struct Walk {
    int32_t across, down, c0, r0;
    int32_t originH, originV;
    int32_t gutterCol, gutter;

    qd::Point at(int32_t col, int32_t row) const {
        const LabelSheet& s = labelBack;
        int32_t h = int32_t(s.leftMargin + (s.labelWidth + s.spaceAcross) * uint32_t(col - 1)) /
                    kLabelUnits;
        if (gutterCol > 0 && col > gutterCol) h += gutter / kLabelUnits;
        const int32_t v =
            int32_t(s.topMargin + (s.labelHeight + s.spaceDown) * uint32_t(row - 1)) / kLabelUnits;
        return {v + originV, h + originH};
    }

    template <typename Cell, typename Line>
    bool run(int32_t order, Cell cell, Line line) const {
        // One row or column: cells from `from` to `to` (either way) along it.
        auto walkLine = [&](int32_t fixed, int32_t from, int32_t to, bool rows) {
            const int32_t step = from <= to ? 1 : -1;
            qd::Point last{};
            bool any = false;
            for (int32_t k = from; k != to + step; k += step) {
                last = rows ? at(k, fixed) : at(fixed, k);
                any = true;
                if (!cell(last, rows ? kCutMarkColumn : kCutMarkRow)) {
                    line(last, rows ? kCutMarkRow : kCutMarkColumn);
                    return false;
                }
            }
            return !any || line(last, rows ? kCutMarkRow : kCutMarkColumn);
        };
        if (order == 0) {
            for (int32_t r = r0; r <= down; ++r)
                if (!walkLine(r, r == r0 ? c0 : 1, across, true)) return false;
        } else if (order == 1) {
            if (c0 > across) return true;
            for (int32_t c = across; c >= 1; --c) {
                const int32_t stopRow = c == across ? r0 : 1;
                if (stopRow <= down && !walkLine(c, down, stopRow, false)) return false;
            }
        } else {
            for (int32_t c = c0; c <= across; ++c) {
                const int32_t from = c == c0 ? r0 : 1;
                if (from <= down && !walkLine(c, from, down, false)) return false;
            }
        }
        return true;
    }
};

// The walk of the run's first page: from the start cell, at the paper's corner.
Walk startWalk() {
    return Walk{sheetAcross(),
                sheetDown(),
                std::max(gPrint.startX, 1),
                std::max(gPrint.startY, 1),
                0,
                0,
                getGutterExtraCol(),
                getGutterExtraWidth()};
}

// Item data after a printed job: serial items go on from where the job ended,
// import items get their template back.
void keepItemData() {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = gLabel.labelParts[size_t(i)].get();
        if (!it || !isDataItem(*it)) continue;
        const int32_t source = getProMode(i);
        const std::string start = it->text(item::serPos);
        if ((source == 1 || source == 3) && !start.empty())
            it->setText(item::serPos, it->text(item::dataText));
        else if (source == 2)
            it->setText(item::dataText, start);
    }
}

// What a printing run writes into the items as labels are drawn: serial values
// and their repeat countdowns, data built from import records, print-time
// answers. A run that prints nothing puts them back.
struct KeptItemData {
    int32_t index;
    std::string data, start, longData;
    int32_t countdown;
};

std::vector<KeptItemData> variableItemData() {
    std::vector<KeptItemData> kept;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = gLabel.labelParts[size_t(i)].get();
        if (!it || !isDataItem(*it)) continue;
        kept.push_back({i, it->text(item::dataText), it->text(item::serPos), it->longDataText,
                        it->i16(item::attTopPacked)});
    }
    return kept;
}

void restoreItemData(const std::vector<KeptItemData>& kept) {
    for (const KeptItemData& k : kept) {
        LabelItem* it = gLabel.labelParts[size_t(k.index)].get();
        if (!it) continue;
        it->setText(item::dataText, k.data);
        it->setText(item::serPos, k.start);
        it->longDataText = k.longData;
        it->setI16(item::attTopPacked, k.countdown);
    }
}

}  // namespace

void resetPrintRun() {
    qd::KillPicture(gPrint.Pict2);
    gPrint = PrintRunState{};
}

int32_t cmddot() { return 0; }

int32_t firstPageCells() {
    int32_t cells = 0;
    startWalk().run(
        gPrintSwitches.iOrient,
        [&](qd::Point, int16_t) {
            ++cells;
            return true;
        },
        [](qd::Point, int16_t) { return true; });
    return cells;
}

CellsReach printedCellsReach() {
    const PrintRunState& p = gPrint;
    const LabelSheet& s = labelBack;
    CellsReach reach;
    int32_t left = p.nLabels;
    auto cell = [&](qd::Point at, int16_t) {
        reach.right = std::max(reach.right, at.h + double(s.labelWidth) / kLabelUnits);
        reach.bottom = std::max(reach.bottom, at.v + double(s.labelHeight) / kLabelUnits);
        return --left > 0;
    };
    auto line = [&](qd::Point, int16_t) { return left > 0; };
    // Every page after the first starts at the first cell: the second reaches as
    // far as any later one.
    constexpr int32_t kPagesThatDiffer = 2;
    Walk walk = startWalk();
    for (int32_t page = 1; page <= std::min(p.nPages, kPagesThatDiffer) && left > 0; ++page) {
        walk.run(gPrintSwitches.iOrient, cell, line);
        walk.c0 = walk.r0 = 1;
    }
    return reach;
}

// Counted in full: a job of more pages than a 16-bit count holds printed its first
// 32,767 and dropped the rest without a word.
int32_t doCalcNumberOfPages() { return std::max(gPrint.nPages, int32_t{1}); }

int32_t PrintLabels2(int32_t mode, print::PrintSession* session) {
    PrintRunState& p = gPrint;
    p.note.clear();
    p.serialEnded = false;
    // A picture that cannot be read is known before anything is drawn or asked.
    const bool printing = mode != 0;
    if (printing && !PictureFilesReadable()) return 1;
    if (gOut.tool == kOutVector && gOut.purePost == 0 && gOut.ill == kIllPress && !pressBranch())
        return 1;
    const int32_t pictureMode = mode == 1 ? 1 : mode == 0 ? 2 : -1;
    const std::vector<KeptItemData> itemsBefore = variableItemData();
    if (!findVariableData()) {
        closeImports();
        return 1;
    }
    if (mode != 1 && p.printScreen != 1) p.startX = p.startY = 1;
    p.laserWriter = 0;
    // The page picture shows one sheet.
    const int32_t pages = mode == 0 ? 1 : std::max(p.nPages, 1);

    Walk walk = startWalk();
    LabelSheet kept = labelBack;
    const int32_t keptOrder = gPrintSwitches.iOrient;
    if (mode == 0) {
        p.thermScale = 1;
        qd::KillPicture(p.Pict2);
        p.Pict2 = qd::OpenPicture(kPagePictureFrame);
        const LabelSheet& s = labelBack;
        const qd::Rect sheet{0, 0, int32_t(walk.down * (s.labelHeight + s.spaceDown) / kLabelUnits),
                             int32_t(walk.across * (s.labelWidth + s.spaceAcross) / kLabelUnits)};
        qd::EraseRect(sheet);
        qd::FrameRect(sheet);
    } else if (mode == 2) {
        const std::string& doc = gDocFile.globFilS;
        platform::ShowGauge("Thermal Printing");
        // The gauge shows Mac OS Roman; the file's name is UTF-8.
        const std::string title =
            platform::utf8ToMacRomanShown(doc.substr(doc.rfind('/') + 1)) + "_1";
        platform::SetGaugeText(title.c_str(), int32_t(title.size()));
        labelBack2 = labelBack;
        labelBack.leftMargin = labelBack.topMargin = 0;
        gPrintSwitches.iOrient = 0;
    }
    // A page at the sheet's origin: the port's origin is the paper's corner.

    const bool cutMarks = gPrintSwitches.pCutMarks != 0 && p.thermalPrint == 0;
    const bool thermalPlain = p.thermalPrint == 1 && p.thermalType == 0;
    p.nnLabels = 0;
    p.curLab = 0;
    gDriver.iRepeat2 = std::max(p.iRepeats, 1);
    bool stop = false;
    bool refused = false;       // nothing of the job may print
    bool pageOpen = mode == 1;  // doPrinting began the first page
    // Any message while labels are printed (an import record cut short, a
    // serial number refused, a picture or symbol that cannot be drawn) means a
    // label is not what the document asks for: the run fails and prints nothing.
    const int32_t shownBefore = gMsg.shown;
    bool failed = false;
    gPrint.faultAt.clear();
    auto faulted = [&] {
        const bool now = !failed && printing && gMsg.shown != shownBefore;
        if (now) {  // where the job stopped, for a message that names neither
            gPrint.faultAt = "label " + std::to_string(p.nnLabels + 1);
            if (gProd.importer & 1)
                gPrint.faultAt += " (import file line " + std::to_string(gProd.importLine) + ")";
        }
        return failed = failed || now;
    };
    auto cell = [&](qd::Point at, int16_t labelFlag) {
        if ((gProd.importer & 1) && gDriver.iRepeat2 == std::max(p.iRepeats, 1) &&
            (p.nnLabels < p.importCount || p.importCount == 0)) {
            // A blank line is no record: the label takes the next one.
            bool ended = false;
            do {
                ended = GetImportItems() == 1;
            } while (!ended && !gProd.importRecordBad && importRecordBlank());
            if (faulted() ||
                gProd.importRecordBad) {  // reported; a label of other data must not print
                refused = true;
                return false;
            }
            if (ended && importRecordBlank()) return false;  // no record left for this label
            if (ended) stop = true;
        }
        qd::PenNormal();
        PICout2(at.h, at.v, pictureMode);
        if (faulted() || gDriver.jobCancelled) {  // or a print-time question went unanswered
            refused = true;
            return false;
        }
        ++p.nnLabels;
        if (p.nLabels > 0 && p.nnLabels >= p.nLabels) stop = true;
        // A label after the serial numbers' end would repeat a number already printed.
        if (p.serialEnded && !stop) {
            stop = true;
            if (p.note.empty())
                p.note = "the serial numbers reached their end value on label " +
                         std::to_string(p.nnLabels) + "; no label was printed after it";
        }
        if (--gDriver.iRepeat2 <= 0) gDriver.iRepeat2 = std::max(p.iRepeats, 1);
        if (cutMarks) DrawPageCutMarks(at, labelFlag, walk.originH, walk.originV, p.thermScale);
        return !stop;
    };
    auto line = [&](qd::Point last, int16_t lineFlag) {
        if (cutMarks) DrawPageCutMarks(last, lineFlag, walk.originH, walk.originV, p.thermScale);
        // A thermal printer without variable data prints one row or column.
        if (thermalPlain && gProd.importer == 0) stop = true;
        return !stop;
    };

    for (int32_t page = 1; page <= pages && !stop && !failed; ++page) {
        p.currPage = page;
        if (mode == 1 && !pageOpen && !p.formsPrint) {
            if (!session->beginPage()) break;
            pageOpen = true;
        }
        // The start cell holds for the first page of the run only.
        Walk w = walk;
        if (page > 1 || p.nnLabels > 0) w.c0 = w.r0 = 1;
        if (!w.run(gPrintSwitches.iOrient, cell, line)) stop = true;
        // The import file's last record may fill the page: no page follows for
        // labels that have no record (unless that record repeats on them).
        const bool readsRecords =
            (gProd.importer & 1) && (p.nnLabels < p.importCount || p.importCount == 0);
        if (!stop && readsRecords && gDriver.iRepeat2 == std::max(p.iRepeats, 1) &&
            !importRecordsLeft())
            stop = true;
        const bool last = page == pages || stop;
        if (mode == 1) {
            if (!p.formsPrint) {
                if (!last) {
                    if (session->endPage() != print::kPrintNoErr) break;
                    pageOpen = false;
                }
            } else {
                FormsCopyPage();
                if (gPrintSwitches.fourSheet != 0 && page + 1 == gPrintSwitches.fourSheet && !last)
                    FormsCopyPage();
            }
            if (!last && cmddot()) break;
        }
        if (mode == 2) {
            thermal(kThermalPage);
            platform::SetGaugeText(kGaugePrinting, int32_t(std::strlen(kGaugePrinting)));
            if (thermalPlain && p.rnLabels > 1) {
                thermal(kThermalCommandA);
                thermal(kThermalCommandB);
                thermal(kThermalPage);
            }
        }
        if (page == pages && p.printForever == 1 && !stop && !failed) {
            if (cmddot()) break;
            if (mode == 2) {
                thermal(kThermalCommandA);
                thermal(kThermalCommandB);
            }
            page = 0;
            p.nnLabels = 0;
        }
    }
    if (mode == 0) qd::ClosePicture();
    p.currPage = 1;
    if (mode != 0 && !refused && (gProd.importer & 1) && p.nnLabels == 0) {
        MessageText(
            "The import file holds no record for the labels from the start record on. Check the "
            "import file and the start record.");
        refused = true;
    }
    // A failed run printed nothing: the serial numbers stay where they were.
    if (refused)
        restoreItemData(itemsBefore);
    else if (mode != 0)
        keepItemData();
    if (mode == 2) {
        platform::KillGauge();
        labelBack = kept;
        gPrintSwitches.iOrient = keptOrder;
    }
    closeImports();
    p.laserWriter = 0;
    return refused ? 1 : 0;
}

int32_t doPrinting(int32_t mode, print::PrintSettings settings, print::PageFormat format) {
    PrintRunState& p = gPrint;
    p.gFirstPage = settings.firstPage;
    p.gLastPage = std::min<int32_t>(settings.lastPage, doCalcNumberOfPages());
    p.gCopies = settings.copies;
    if (p.gRunningOnX) {
        settings.firstPage = p.gFirstPage;
        settings.lastPage = p.gLastPage;
    }
    format.resolution =
        print::chooseResolution(settings.destination, print::GetSupportedResolutions(settings));
    p.thermScale = print::dotsPerPoint(format.resolution);

    // A job the printer or the file does not take printed nothing either.
    const std::vector<KeptItemData> itemsBefore = variableItemData();
    // The labels are drawn through the current settings, each item's scaled to the
    // printer's dots; the main window's own come back afterwards, or the next save
    // of the defaults would keep the last item's printer sizes.
    const SymbolSettings settingsBefore = gSym;
    print::PrintSession session;
    int32_t status = session.beginDocument(settings, format);
    if (status == print::kPrintNoErr) {
        qd::GrafPort* keep = qd::GetPort();
        if (!session.beginPage()) {
            status = session.status();
        } else {
            const int32_t run = PrintLabels2(mode, &session);
            if (session.status() != print::kPrintNoErr) {
                status = session.status();
                session.cancel();
            } else if (run != 0) {
                // Nothing is printed; the reason has been shown.
                session.cancel();
                status = print::kPrintCancel;
            } else {
                status = session.endPage();
                if (status == print::kPrintNoErr) status = session.endDocument();
            }
        }
        qd::SetPort(keep);
    }
    if (status != print::kPrintNoErr) restoreItemData(itemsBefore);
    gSym = settingsBefore;
    p.thermScale = 1;
    format.resolution = {kScreenResolution, kScreenResolution};
    print::savePageFormat(format);
    p.lastStatus = status;
    p.lastDetail = session.detail();
    return status;
}

void doErrorAlert(int32_t status, const std::string& detail) {
    std::string text = "Carbon Printing Manager Error " + std::to_string(status);
    if (!detail.empty()) text += " (" + detail + ")";
    MessageText(text.c_str());
}

int32_t PrintLabels(int32_t mode) {
    PrintRunState& p = gPrint;
    p.gRunningOnX = 1;
    print::PrintSettings settings = p.destination;
    const std::string& doc = gDocFile.globFilS;
    settings.jobName = doc.empty() ? "Untitled" : doc.substr(doc.rfind('/') + 1);
    settings.copies = std::max(p.iCopies, 1);
    settings.firstPage = 1;
    settings.lastPage = p.nPages;
    print::PageFormat format = print::loadPageFormat();
    // A cancelled print dialog prints nothing and shows nothing.
    if (!print::dialogs().printDialog(settings)) return print::kPrintCancel;
    const int32_t status = doPrinting(mode, settings, format);
    if (status != print::kPrintNoErr && status != print::kPrintCancel)
        doErrorAlert(status, p.lastDetail);
    return status;
}
