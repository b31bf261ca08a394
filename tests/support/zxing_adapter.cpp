// The one place that speaks to zxing-cpp (Debian 12 ships 1.4).
#define ZX_USE_UTF8 1
#include <ZXing/BarcodeFormat.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>

#include "support/reader.h"

namespace testsupport {

namespace {

Decoded decodeWith(const Bitmap& bmp, const std::string& format, bool eanAddOn,
                   const ReadOptions& opt) {
    Decoded d;
    if (bmp.width <= 0 || bmp.height <= 0) {
        d.error = "empty bitmap";
        return d;
    }
    ZXing::DecodeHints hints;
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    hints.setBinarizer(ZXing::Binarizer::FixedThreshold);
    if (!format.empty()) hints.setFormats(ZXing::BarcodeFormatsFromString(format));
    if (eanAddOn) hints.setEanAddOnSymbol(ZXing::EanAddOnSymbol::Require);
    hints.setTryCode39ExtendedMode(opt.code39FullAscii);
    hints.setValidateCode39CheckSum(opt.code39Check);
    hints.setReturnCodabarStartEnd(opt.codabarStartStop);
    ZXing::ImageView view(bmp.pixels.data(), bmp.width, bmp.height, ZXing::ImageFormat::Lum);
    ZXing::Result r = ZXing::ReadBarcode(view, hints);
    if (!r.isValid()) {
        d.error = r.error() ? r.error().msg() : std::string("nothing found");
        return d;
    }
    d.ok = true;
    d.format = ZXing::ToString(r.format());
    d.text = r.text();
    d.bytes.assign(r.bytes().begin(), r.bytes().end());
    d.symbologyId = r.symbologyIdentifier();
    d.sequenceIndex = r.sequenceIndex();
    d.sequenceId = r.sequenceId();
    d.lastInSequence = r.isLastInSequence();
    return d;
}

}  // namespace

Decoded decode(const Bitmap& bmp, const std::string& format, const ReadOptions& opt) {
    return decodeWith(bmp, format, false, opt);
}

Decoded decodeWithAddOn(const Bitmap& bmp, const std::string& format) {
    return decodeWith(bmp, format, true, {});
}

}  // namespace testsupport
