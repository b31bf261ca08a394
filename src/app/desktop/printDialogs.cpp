#include "app/desktop/printDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontComboBox>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <string>

#include "labels/printState.h"
#include "platform/toolbox/events.h"

PrintDialogExtension gPrintExtension;

namespace {

constexpr int16_t kExtensionSizes[] = {10, 12, 14};
constexpr int16_t kOpeningSize = 12;

PrintDialogRunner gRunner;

struct NamedPaper {
    const char* name;
    QPageSize::PageSizeId id;
};
constexpr NamedPaper kPapers[] = {
    {"A4", QPageSize::A4}, {"Letter", QPageSize::Letter}, {"Legal", QPageSize::Legal},
    {"A5", QPageSize::A5}, {"A3", QPageSize::A3},
};

bool run(QDialog& dialog, QPrinter& printer, const char* who) {
    if (gRunner) return gRunner(dialog, printer);
    if (toolbox::ModalGuard())
        throw toolbox::ModalStall(std::string("the ") + who + " waits for an answer nobody gives");
    return dialog.exec() == QDialog::Accepted;
}

// The program's part of the print dialog: font, size and fractional widths.
struct Extension {
    QWidget* widget = nullptr;
    QFontComboBox* font = nullptr;
    QButtonGroup* sizes = nullptr;
    QCheckBox* fractional = nullptr;

    Extension() {
        widget = new QWidget;
        widget->setWindowTitle(QStringLiteral("Strixel"));
        auto* layout = new QVBoxLayout(widget);
        font = new QFontComboBox(widget);
        layout->addWidget(font);
        sizes = new QButtonGroup(widget);
        for (int16_t size : kExtensionSizes) {
            auto* b = new QRadioButton(QStringLiteral("%1 pt").arg(size), widget);
            b->setChecked(size == kOpeningSize);
            sizes->addButton(b, size);
            layout->addWidget(b);
        }
        fractional = new QCheckBox(QStringLiteral("Fractional widths"), widget);
        layout->addWidget(fractional);
        gPrintExtension.gFontSize = kOpeningSize;
        gPrintExtension.fractionalWidths = false;
        qd::SetFractEnable(false);
    }
    void take() const {
        const std::string family = font->currentFont().family().toStdString();
        unsigned char name[256];
        name[0] = static_cast<unsigned char>(std::min<size_t>(family.size(), 255));
        std::copy_n(family.data(), name[0], name + 1);
        qd::GetFNum(name, &gPrintExtension.gFontNumber);
        if (sizes->checkedId() > 0) gPrintExtension.gFontSize = int16_t(sizes->checkedId());
        gPrintExtension.fractionalWidths = fractional->isChecked();
        qd::SetFractEnable(gPrintExtension.fractionalWidths);
    }
};

struct DesktopDialogs : print::PrintDialogs {
    bool pageSetup(print::PageFormat& format) override {
        QPrinter printer(QPrinter::HighResolution);
        printerFromPageFormat(format, &printer);
        QPageSetupDialog dialog(&printer);
        if (!run(dialog, printer, "page setup dialog")) return false;
        format = pageFormatFromPrinter(printer);
        return true;
    }
    bool printDialog(print::PrintSettings& settings) override {
        QPrinter printer(QPrinter::HighResolution);
        printerFromSettings(settings, &printer);
        QPrintDialog dialog(&printer);
        dialog.setWindowTitle(QString::fromStdString(settings.jobName));
        dialog.setMinMax(1, std::max(settings.lastPage, 1));
        Extension extension;
        dialog.setOptionTabs({extension.widget});
        if (!run(dialog, printer, "print dialog")) return false;
        extension.take();
        settings = settingsFromPrinter(printer, settings);
        return true;
    }
};

DesktopDialogs& desktopDialogs() {
    static DesktopDialogs d;
    return d;
}

}  // namespace

void setPrintDialogRunner(PrintDialogRunner runner) { gRunner = std::move(runner); }

print::PageFormat pageFormatFromPrinter(const QPrinter& printer) {
    print::PageFormat f;
    const QPageLayout layout = printer.pageLayout();
    const QPageSize size = layout.pageSize();
    bool named = false;
    for (const NamedPaper& p : kPapers)
        if (size.id() == p.id) named = print::paperFormat(p.name, &f);
    if (!named) {
        const QSizeF points = size.size(QPageSize::Point);
        f.paperName = size.name().toStdString();
        f.paperWidth = std::min(points.width(), points.height());
        f.paperHeight = std::max(points.width(), points.height());
    }
    f.orientation = layout.orientation() == QPageLayout::Landscape ? print::Orientation::landscape
                                                                   : print::Orientation::portrait;
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    f.imageTop = paint.top();
    f.imageLeft = paint.left();
    f.imageBottom = paint.bottom();
    f.imageRight = paint.right();
    const double dpi = printer.resolution() > 0 ? printer.resolution() : print::kDefaultResolution;
    f.resolution = {dpi, dpi};
    f.scale = 100;
    return f;
}

void printerFromPageFormat(const print::PageFormat& format, QPrinter* printer) {
    QPageSize size(QSizeF(format.paperWidth, format.paperHeight), QPageSize::Point,
                   QString::fromStdString(format.paperName), QPageSize::FuzzyMatch);
    for (const NamedPaper& p : kPapers)
        if (format.paperName == p.name) size = QPageSize(p.id);
    const bool landscape = format.orientation == print::Orientation::landscape;
    const QMarginsF margins(std::max(format.imageLeft, 0.0), std::max(format.imageTop, 0.0),
                            std::max(format.pageWidth() - format.imageRight, 0.0),
                            std::max(format.pageHeight() - format.imageBottom, 0.0));
    QPageLayout layout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                       QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode);
    printer->setPageLayout(layout);
}

print::PrintSettings settingsFromPrinter(const QPrinter& printer, print::PrintSettings base) {
    print::PrintSettings s = base;
    s.copies = std::max(printer.copyCount(), 1);
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        s.firstPage = printer.fromPage();
        s.lastPage = std::max(printer.toPage(), printer.fromPage());
    }
    const std::string file = printer.outputFileName().toStdString();
    if (!file.empty()) {
        const print::PrintSettings chosen = print::settingsFor(file);
        s.destination = chosen.destination;
        s.fileFormat = chosen.fileFormat;
        s.target = file;
    } else {
        s.destination = print::Destination::printer;
        s.target = printer.printerName().toStdString();
    }
    return s;
}

void printerFromSettings(const print::PrintSettings& settings, QPrinter* printer) {
    if (settings.destination == print::Destination::file) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(settings.target));
    } else if (!settings.target.empty()) {
        printer->setPrinterName(QString::fromStdString(settings.target));
    }
    printer->setCopyCount(std::max(settings.copies, 1));
    if (settings.lastPage != INT32_MAX && settings.firstPage >= 1) {
        printer->setPrintRange(QPrinter::PageRange);
        printer->setFromTo(settings.firstPage, std::max(settings.lastPage, settings.firstPage));
    }
}

void useDesktopPrintDialogs(bool on) { print::setDialogs(on ? &desktopDialogs() : nullptr); }

int32_t doPageSetUpDialog(toolbox::WindowPtr) {
    print::PageFormat format = print::loadPageFormat();
    gPrintExtension.gDrawPrintSettingsStuff = 0;
    if (!print::dialogs().pageSetup(format)) return print::kPrintCancel;
    return print::savePageFormat(format);
}

int32_t doPrintSettingsDialog(toolbox::WindowPtr window) {
    print::PrintSettings settings = gPrint.destination;
    settings.jobName = window ? window->title : std::string("Untitled");
    settings.firstPage = 1;
    settings.lastPage = gPrint.gRunningOnX ? std::max(gPrint.nPages, 1) : INT32_MAX;
    const bool accepted = print::dialogs().printDialog(settings);
    gPrintExtension.gDrawPrintSettingsStuff = accepted ? 1 : 0;
    if (!accepted) return print::kPrintCancel;
    gPrint.destination = settings;
    return print::kPrintNoErr;
}
