// Picture items: files placed on a label through the open dialog, drawn by a
// printing pass at 0 and 90 degrees and read back as pixels, the EPS carried as
// PostScript comments, and a label with an EPS picture printed to PostScript
// and rendered by Ghostscript.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/world.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/runs/printLabels.h"
#include "pict_fixture.h"
#include "picture/PICout2.h"
#include "picture/placedPictures.h"
#include "platform/desktop.h"
#include "platform/printing/printing.h"
#include "platform/quickdraw/pict.h"
#include "platform/quickdraw/quickdraw.h"
#include "platform/resources.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// Every fixture is 40 x 20 in four quadrants: red, green / blue, black.
enum Quadrant { TopLeft, TopRight, BottomLeft, BottomRight };
constexpr uint32_t kColours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};

std::string written(const std::string& name, const std::string& options = "") {
    const std::string path = testsupport::tempPath(name);
    const testsupport::RunResult r = testsupport::runCommand(
        "/usr/bin/convert -size 40x20 xc:black -fill '#FF0000' -draw 'rectangle 0,0 19,9' "
        "-fill '#00FF00' -draw 'rectangle 20,0 39,9' -fill '#0000FF' -draw 'rectangle 0,10 19,19' "
        "-strip " +
        options + " '" + path + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    return path;
}

// The same quadrants in PostScript, padded with comment lines to `size` bytes.
std::string epsFile(const std::string& name, size_t size = 0) {
    std::string eps =
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 40 20\n%%EndComments\n"
        "%StrixelPassedThrough\n"
        "0 0 0 setrgbcolor 0 0 40 20 rectfill\n1 0 0 setrgbcolor 0 10 20 10 rectfill\n"
        "0 1 0 setrgbcolor 20 10 20 10 rectfill\n0 0 1 setrgbcolor 0 0 20 10 rectfill\n";
    const std::string end = "%%EOF\n";
    while (size > 0 && eps.size() + end.size() < size) {
        const size_t room = size - eps.size() - end.size();
        eps += room > 80 ? std::string(78, '%') + "\n" : std::string(room - 1, '%') + "\n";
    }
    eps += end;
    const std::string path = testsupport::tempPath(name);
    std::ofstream(path, std::ios::binary) << eps;
    return path;
}

// Whether the last message shown was message n (with whatever it names after it).
bool saidMessage(uint16_t n) {
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, n);
    const std::string said(reinterpret_cast<char*>(text + 1), text[0] > 40 ? 40 : text[0]);
    return !said.empty() && gMsg.last.find(said) != std::string::npos;
}

std::string gChosen;
bool answerChosen(const char*, std::string* path) {
    *path = gChosen;
    return !gChosen.empty();
}

struct PlacedPictures : picttest::LabelWorld {
    void SetUp() override {
        LabelWorld::SetUp();
        platform::SetDialogAnswers(nullptr, nullptr, answerChosen);
    }
    void TearDown() override {
        platform::SetDialogAnswers(nullptr, nullptr, nullptr);
        LabelWorld::TearDown();
    }
    static LabelItem& newPicture() {
        EXPECT_EQ(addLabelItem(), 0);
        LabelItem& it = *gLabel.labelParts[static_cast<size_t>(labelBack.lastItem)];
        it.setI16(item::kind, kKindPicture);
        return it;
    }
    static std::vector<int> rectOf(const LabelItem& it) {
        return {it.i16(item::rectTop), it.i16(item::rectLeft), it.i16(item::rectBottom),
                it.i16(item::rectRight)};
    }
};

bool near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > tolerance || -d > tolerance) return false;
    }
    return true;
}

// Quadrant centres of the picture placed at (40, 100)-(80, 180), upright and
// turned a quarter clockwise about its centre (140, 60).
struct Probe {
    int h, v;
};
constexpr Probe kUpright[] = {{120, 50}, {160, 50}, {120, 70}, {160, 70}};
constexpr Probe kTurned[] = {{150, 40}, {150, 80}, {130, 40}, {130, 80}};

TEST_F(PlacedPictures, PlacedScaledToTheLabelWidth) {
    // A wide picture is scaled down to the label's width; the click becomes the
    // top-left corner (view offsets 32 and 32 below the 20-pixel bar).
    gChosen = written("wide.png", "-resize 1000x500!");
    LabelItem& it = newPicture();
    doPictTool(1, kKindPicture, &it, {92, 132});
    EXPECT_EQ(rectOf(it), (std::vector<int>{40, 100, 190, 400}));
    EXPECT_EQ(it.text(item::dataText), gChosen);
    EXPECT_EQ(it.u16(item::hei), kLinkedImage);
    EXPECT_EQ(it.i16(item::aboveHu), 1000);
    EXPECT_EQ(it.i16(item::checkPacked), 500);
    // A narrower one keeps its size; without a label width nothing is divided.
    gChosen = epsFile("small.eps");
    doPictTool(1, kKindPicture, &it, {92, 132});
    EXPECT_EQ(rectOf(it), (std::vector<int>{40, 100, 60, 140}));
    labelBack.labelWidth = 0;
    gChosen = written("wide.jpg", "-resize 1000x500!");
    doPictTool(1, kKindPicture, &it, {32, 32});
    EXPECT_EQ(rectOf(it), (std::vector<int>{-20, 0, 480, 1000}));
}

TEST_F(PlacedPictures, RefusedChoicesLeaveTheItem) {
    LabelItem& it = newPicture();
    gChosen = written("first.png");
    doPictTool(1, kKindPicture, &it, {92, 132});
    const LabelItem before = it;

    gChosen.clear();  // cancelled
    doPictTool(1, kKindPicture, &it, {0, 0});
    EXPECT_EQ(it.rec, before.rec);

    gChosen = "/" + std::string(260, 'd') + "/x.png";  // longer than the item keeps
    doPictTool(1, kKindPicture, &it, {0, 0});
    EXPECT_EQ(it.rec, before.rec);
    EXPECT_TRUE(saidMessage(1441)) << gMsg.last;
    gMsg.inerror = 0;  // the layout shows one message at a time

    const std::string whole = testsupport::slurp(written("damaged.png"));
    gChosen = testsupport::tempPath("cut.png");
    std::ofstream(gChosen, std::ios::binary) << whole.substr(0, whole.size() / 2);
    doPictTool(1, kKindPicture, &it, {0, 0});
    EXPECT_EQ(it.rec, before.rec);
    EXPECT_TRUE(saidMessage(1440)) << gMsg.last;

    // A damaged file already on the label is not drawn, and said so.
    gMsg.last.clear();
    gMsg.inerror = 0;
    it.setText(item::dataText, gChosen);
    print();
    EXPECT_TRUE(saidMessage(1440)) << gMsg.last;
}

TEST_F(PlacedPictures, EveryKindDrawnUprightAndTurned) {
    const std::vector<std::pair<std::string, int>> files = {
        {written("q.png"), 0},
        {written("q.jpg", "-quality 98"), 40},
        {written("q.tif", "-type TrueColor -depth 8 -compress RLE"), 0},
        {epsFile("q.eps"), 40},
    };
    for (const auto& [path, tolerance] : files) {
        for (int orient : {0, 90}) {
            initLabelItems();
            labelBack.labelWidth = 3000;
            labelBack.labelHeight = 2000;
            LabelItem& it = newPicture();
            gChosen = path;
            doPictTool(1, kKindPicture, &it, {92, 132});
            it.setI16(item::rectBottom, 80);  // twice the natural size
            it.setI16(item::rectRight, 180);
            it.setI16(item::orientPacked, orient * 2);
            print();
            const Probe* probes = orient == 0 ? kUpright : kTurned;
            for (int q = 0; q < 4; ++q)
                EXPECT_TRUE(near(rgb(probes[q].h, probes[q].v), kColours[q], tolerance))
                    << path << " at " << orient << " quadrant " << q << std::hex << " got "
                    << rgb(probes[q].h, probes[q].v);
        }
    }
}

TEST_F(PlacedPictures, EpsWithoutGhostscriptIsAFramedPlaceholder) {
    LabelItem& it = newPicture();
    gChosen = epsFile("alone.eps", 400);  // unlike the others: no raster kept from them
    doPictTool(1, kKindPicture, &it, {92, 132});
    const std::string path = std::getenv("PATH");
    setenv("PATH", "/nonexistent", 1);
    print();
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(rgb(100, 40), 0x000000u);  // the frame's corners and its diagonal
    EXPECT_EQ(rgb(139, 59), 0x000000u);
    EXPECT_EQ(rgb(115, 57), 0xFFFFFFu);  // no raster inside
}

// Ghostscript stopping on a PostScript error or `quit` is the file's fault:
// the printed label would hold the placeholder, so the run hears of it.
TEST_F(PlacedPictures, EpsGhostscriptCannotRunIsReported) {
    if (!testsupport::requireProgram("gs", "ghostscript")) return;
    LabelItem& it = newPicture();
    for (const char* body : {"nosuchoperator\n", "quit\n"}) {
        const std::string path = testsupport::tempPath("bad.eps");
        std::ofstream(path, std::ios::binary)
            << "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 40 20\n"
            << body << "%%EOF\n";
        gChosen = path;
        doPictTool(1, kKindPicture, &it, {92, 132});
        gMsg.last.clear();
        gMsg.inerror = 0;
        print();
        EXPECT_TRUE(saidMessage(1440)) << body << gMsg.last;
        EXPECT_NE(gMsg.last.find("bad.eps"), std::string::npos) << gMsg.last;
    }
}

// A picture the document keeps that is damaged, cut short or empty is refused
// before the run, or said while drawing, never printed as a blank label.
TEST_F(PlacedPictures, DamagedKeptPicturesAreReported) {
    qd::Picture* pic = picttest::recordPicture({0, 0, 20, 40}, [] {
        qd::ForeColor(qd::blackColor);
        qd::PaintRect({0, 0, 20, 40});
    });
    const std::string good = qd::WritePict(*pic);
    qd::KillPicture(pic);
    LabelItem& it = newPicture();
    it.setI16(item::rectTop, 40);
    it.setI16(item::rectLeft, 100);
    it.setI16(item::rectBottom, 80);
    it.setI16(item::rectRight, 180);
    it.hasDataHandle = true;
    for (const std::string& kept :
         {good, std::string(good.size(), '\x5A'), good.substr(0, good.size() / 2), std::string()}) {
        it.dataHandle = kept;
        const bool whole = kept == good, empty = kept.empty();
        gMsg.last.clear();
        gMsg.inerror = 0;
        EXPECT_EQ(PictureFilesReadable(), whole || empty) << kept.size();
        EXPECT_EQ(unreadablePicture().find("item 1") != std::string::npos, !whole && !empty);
        if (!whole && !empty) {
            EXPECT_TRUE(saidMessage(1442)) << gMsg.last;
        }
        gMsg.last.clear();
        gMsg.inerror = 0;
        const int32_t shown = gMsg.shown;
        print();
        EXPECT_EQ(gMsg.shown != shown, !whole) << kept.size() << ": " << gMsg.last;
        if (whole) {
            EXPECT_EQ(rgb(140, 60), 0x000000u);
        }
    }
}

// A placed EPS item (folder and name) in the picture: the picture drawing and
// the PostScript between comments 190 and 191, the file in chunks of 8192.
TEST_F(PlacedPictures, EpsCarriedAsPostScriptComments) {
    const std::string path = epsFile("exact.eps", 8192);
    ASSERT_EQ(testsupport::slurp(path).size(), 8192u);
    const std::string folder = path.substr(0, path.rfind('/') + 1), name = "exact.eps";
    LabelItem& it = newPicture();
    it.setI16(item::hei, kPostScriptPicture);
    it.setText(item::addCode, std::string(1, char(folder.size())) + folder);
    it.setText(item::dataText, std::string(1, char(name.size())) + name);
    it.setI16(item::aboveHu, 200);
    it.setI16(item::checkPacked, 100);
    it.setI16(item::rectTop, 40);
    it.setI16(item::rectLeft, 100);
    it.setI16(item::rectBottom, 90);
    it.setI16(item::rectRight, 200);
    PICout2(0, 0, 0);
    ASSERT_NE(gDriver.Pict, nullptr);
    std::vector<int> kinds;
    std::vector<std::string> data;
    for (const qd::PicOp& op : gDriver.Pict->ops)
        if (op.op == qd::Op::Comment) kinds.push_back(op.a[0]), data.push_back(op.bytes);
    const auto want = testsupport::readCases("picture/eps_comments.txt", 2);
    ASSERT_EQ(kinds.size(), want.size());
    for (size_t k = 0; k < want.size(); ++k) {
        const std::string& bytes =
            want[k][1] == "<the file>" ? testsupport::slurp(path) : want[k][1];
        if (want[k][0] != "-") {
            EXPECT_EQ(kinds[k], want[k].integer(0)) << want[k].where;
        }
        if (bytes != "-") {
            EXPECT_EQ(data[k], bytes) << want[k].where;
        }
    }
}

// Places the EPS file at `eps` on the label, 180 x 80, and prints the label
// into the PostScript file `ps`. Cairo 1.16 keeps two copies of an embedded
// EPS's parameters for good, so the job runs in a child that ends without the
// leak check; a job that does not end within a minute fails.
::testing::AssertionResult placedAndPrinted(LabelItem& it, const std::string& eps,
                                            const std::string& ps) {
    constexpr unsigned kMostSeconds = 60;
    gChosen = eps;
    doPictTool(1, kKindPicture, &it, {92, 132});
    it.setI16(item::rectBottom, 80);
    it.setI16(item::rectRight, 180);
    const pid_t child = fork();
    if (child < 0) return ::testing::AssertionFailure() << "no child";
    if (child == 0) {
        alarm(kMostSeconds);
        print::PrintSession s;
        bool ok = s.beginDocument(print::settingsFor(ps), print::PageFormat{}) == 0 &&
                  s.beginPage() != nullptr;
        gPrint.thermScale = s.thermScale();
        if (ok) PICout2(0, 0, 1);
        ok = ok && s.endPage() == 0 && s.endDocument() == 0;
        _exit(ok ? 0 : 1);
    }
    int status = -1;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return ::testing::AssertionFailure() << "the print job ended with " << status;
    return ::testing::AssertionSuccess();
}

TEST_F(PlacedPictures, EpsInPostScriptOutputRendersInPlace) {
    if (!testsupport::requireProgram("gs", "ghostscript")) return;
    const std::string ps = testsupport::tempPath("label.ps");
    ASSERT_TRUE(placedAndPrinted(newPicture(), epsFile("through.eps"), ps));
    EXPECT_NE(testsupport::slurp(ps).find("%StrixelPassedThrough"), std::string::npos);
    const testsupport::Rendered page = testsupport::renderWithGhostscript(ps, 72, false);
    ASSERT_TRUE(page.ok) << page.err;
    // Ghostscript's greys of the quadrants: green lightest, then red, blue, black.
    auto grey = [&](Quadrant q) { return page.bitmap.at(kUpright[q].h, kUpright[q].v); };
    EXPECT_LT(grey(TopRight), 240);
    EXPECT_GT(grey(TopRight), grey(TopLeft) + 30);
    EXPECT_GT(grey(TopLeft), grey(BottomLeft) + 30);
    EXPECT_GT(grey(BottomLeft), grey(BottomRight) + 30);
    EXPECT_GT(page.bitmap.at(100, 120), 240);  // white below the picture
}

// Cairo never finishes embedding an EPS file holding a '|' that begins no
// "|EOD|" marker (binary image data often does): such a file prints as
// Ghostscript's raster of it.
TEST_F(PlacedPictures, EpsThatCairoCannotEmbedPrintsAsARaster) {
    if (!testsupport::requireProgram("gs", "ghostscript")) return;
    const std::string path = epsFile("bar.eps");
    std::string eps = testsupport::slurp(path);
    eps.insert(eps.find("%%EOF"), "% a|b and |EOD|\n");
    std::ofstream(path, std::ios::binary) << eps;
    const std::string ps = testsupport::tempPath("bar.ps");
    ASSERT_TRUE(placedAndPrinted(newPicture(), path, ps));
    EXPECT_EQ(testsupport::slurp(ps).find("%StrixelPassedThrough"), std::string::npos);
    const testsupport::Rendered page = testsupport::renderWithGhostscript(ps, 72, false);
    ASSERT_TRUE(page.ok) << page.err;
    auto grey = [&](Quadrant q) { return page.bitmap.at(kUpright[q].h, kUpright[q].v); };
    EXPECT_GT(grey(TopRight), grey(BottomRight) + 30);
}

}  // namespace
