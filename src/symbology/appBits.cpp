#include "symbology/appBits.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "symbology/host.h"
#include "symbology/panels.h"
#include "platform/textedit.h"
#include "symbology/state.h"

namespace {

struct VariantName {
    int16_t code;
    int16_t variant;  // -1: every variant without a row of its own
    const char* name;
};

// Display names whose text depends on nothing but the code type.
constexpr VariantName kNames[] = {
    {0, 0, "EAN-UCC 13"},
    {0, 1, "Littlewoods"},
    {0, 2, "Orvane 13"},
    {0, 3, "Debenhams"},
    {0, 4, "WPC 13"},
    {0, 5, "JAN 13"},
    {0, 6, "Halfords"},
    {0, 7, "Coty 5"},
    {0, 8, "Coty 6"},
    {0, 9, "CADW"},
    {0, 10, "Coty 6-2"},
    {0, 11, "EAN Text Above"},
    {0, 12, "Peacocks EAN 13"},
    {0, 255, "EAN 13 Text Below Addon"},
    {0, 256, "EAN Presscode 414"},
    {0, 257, "EAN Presscode 419"},
    {1, 1, "ISBN -OCRB Type K"},
    {1, 2, "ISMN"},
    {1, 3, "ISBN-13"},
    {1, 4, "ISBN-13-10"},
    {2, 1, "ISSN No Text"},
    {2, 255, "ISSN Text Below Addon"},
    {3, 0, "EAN-UCC 8"},
    {3, 1, "WHS 6"},
    {3, 2, "Wickes 8"},
    {3, 3, "Woolworth 8"},
    {3, 4, "ASDA 8"},
    {3, 5, "WPC 8"},
    {3, 6, "JAN 8"},
    {3, 7, "Peacocks EAN 8"},
    {3, 8, "Primark 7"},
    {4, 2, "Next"},
    {4, 3, "ITF Space"},
    {4, 4, "ITF Check"},
    {4, 5, "ITF 3551"},
    {4, 6, "Peacocks ITF"},
    {4, 7, "Accessorize10"},
    {4, 8, "Accessorize12"},
    {4, 9, "Peacocks New ITF"},
    {4, 10, "EAN14 ITF-UCC"},
    {4, 11, "SCC 14"},
    {4, 13, "ITF 12551"},
    {4, 14, "Next 9"},
    {5, 2, "M&S BOC Long"},
    {5, 3, "M&S BOC Short"},
    {5, 4, "APEX Mod 23"},
    {5, 5, "Code 128 A"},
    {5, 7, "JC Penney"},
    {5, 8, "Code 128 B"},
    {5, 13, "SICI - SISAC"},
    {5, -1, "Code 128"},
    {6, 0, "Code 39"},
    {6, 1, "Code 39"},
    {6, 2, "Code 39 Dynix"},
    {6, 3, "Code 32"},
    {6, 4, "PZN7"},
    {6, 5, "HIBC Code 39"},
    {6, 6, "Dutch Pharmaceutical"},
    {6, 7, "Portugese Pharmaceutical"},
    {6, 8, "ACT 39"},
    {6, 9, "ALICE"},
    {6, 10, "Full Ascii C39"},
    {6, 11, "RSA CARL 39"},
    {6, 12, "Code 39 Ameritech MOD 10"},
    {6, 13, "Code 39 MSI MOD 10"},
    {6, 14, "PZN8"},
    {7, 0, "GS1 128"},
    {7, 10, "EAN14 E128-UCC128"},
    {7, 11, "SSCC 14"},
    {7, 12, "SSCC 18"},
    {7, 14, "UCC/EAN128 Coupon"},
    {7, 15, "Comet EAN128"},
    {9, -1, "Small EAN"},
    {10, 0, "UPCA-UPC12-UCC12"},
    {10, 1, "UPCA-UPC12-UCC12"},
    {10, 2, "GAP"},
    {10, 3, "NDC UPC 5-3-2"},
    {10, 4, "NDC UPC 4-4-2"},
    {10, 5, "NDC UPC 5-5"},
    {10, 6, "NDC UPC 5-5 Alt"},
    {11, -1, "UPC E"},
    {12, -1, "SICK"},
    {13, -1, "M&S BEL"},
    {14, -1, "ITF6 NoCheck"},
    {16, 0, "MS 7A"},
    {16, 1, "MS 7B"},
    {16, 4, "MS 7B"},
    {16, 3, "MS 7C"},
    {16, 5, "MS 8A"},
    {16, 6, "MS 8B"},
    {16, 7, "MS 8C"},
    {17, 0, "Laetus Standard"},
    {17, 1, "Laetus Mini"},
    {17, 2, "Laetus Bar Input"},
    {18, -1, "ITF NC HALLMARK"},
    {19, -1, "Code 11"},
    {20, -1, "PLESSEY"},
    {21, 0, "2 OF 5 A"},
    {21, 1, "2 OF 5 B"},
    {21, 2, "2 OF 5 Matrix"},
    {22, -1, "ITF ICELAND"},
    {23, -1, "DUN 16"},
    {24, -1, "ITF Ethel Austin"},
    {25, -1, "MC"},
    {26, -1, "Plus Code"},
    {28, -1, "Code 93"},
    {29, -1, "IKEA"},
    {30, 0, "Royal Mail"},
    {30, 1, "KIX NL"},
    {31, -1, "Postnet ZIP 4+"},
    {32, -1, "FIM"},
    {35, 0, "MSI"},
    {35, 1, "Belgian MSI"},
    {35, 2, "MSI 10-10"},
    {37, 0, "Databar 14"},
    {37, 1, "Databar 14 Truncated"},
    {37, 2, "Databar 14 Stacked"},
    {37, 3, "Databar 14 Stacked Omnidirectional"},
    {37, 4, "Databar Limited"},
    {37, 5, "Databar Expanded"},
    {37, 6, "Databar"},
    {37, 7, "Databar Coupon"},
    {38, 0, "Datamatrix"},
    {38, 2, "EAN Datamatrix"},
    {39, -1, "Codablock F"},
    {40, -1, "QRCode"},
    {41, -1, "Micro PDF417"},
    {42, 0, "PDF417"},
    {42, 1, "PDF417 BC"},
    {42, 2, "PDF417 Trunc"},
};

const char* tableName(int32_t code, int32_t v) {
    const char* fallback = nullptr;
    for (const VariantName& n : kNames) {
        if (n.code != code) continue;
        if (n.variant == v) return n.name;
        if (n.variant == -1) fallback = n.name;
    }
    return fallback;
}

// Families that fix the data length: the length field is greyed.
bool fixesLength(int32_t c) {
    return (c >= 0 && c <= 3) || (c >= 9 && c <= 17) || c == 23 || c == 26;
}

// Families with a fixed data length in at least one variant.
bool hasLengthRule(int32_t c) {
    return (c >= 0 && c <= 4) || (c >= 6 && c <= 17) || c == 23 || c == 24 || c == 26 || c == 35 ||
           c == 36;
}

thread_local std::string composed;

void setDataField(const char* text) {
    platform::TESetText(text, static_cast<int32_t>(std::strlen(text)), &gPanels.TEH);
}

}  // namespace

const char* codeTypeName(int32_t code, int32_t v) {
    const bool ocrB =
        gSym.fontAbove[0] > 0 && gSym.barFont[0] > 0 && gSym.fontAbove[1] == gSym.barFont[1];
    switch (code) {
        case 1:
            if (v == 0) return ocrB ? "ISBN OCR B" : "ISBN OCR A";
            break;
        case 2:
            if (v == 0) return ocrB ? "ISSN OCR B" : "ISSN OCR A";
            break;
        case 4:
            if (v == 0 || v == 1) return gSym.nCheck == 0 ? "ITF-UCC" : "ITF NC";
            break;
        case 8:
            composed = "Codabar";
            if (v == 1) composed += " Film";
            // Only the plain variant adds the library check digit; film takes the
            // data as entered whatever the check setting.
            if (v == 0 && gSym.nCheck == 0) composed += " Dynix";
            if (v == 2) composed += " Ameritech Mod10";
            if (v == 3) composed += " MSI Mod10";
            return composed.c_str();
        case 15:
            return gSym.variation < 2 ? "M&S Shoe" : "M&S T&B";
        case 36:
            composed = "Telepen";
            if (v == 2) composed += " Dynix";
            if (v == 3) composed += " Limerick";
            return composed.c_str();
        default:
            break;
    }
    return tableName(code, v);
}

void getCodeEdit(int32_t c) {
    if (fixesLength(c)) {
        gSym.canEdit3 = 1;
        return;
    }
    gSym.canEdit3 = 0;
    switch (c) {
        case 4:
        case 6:
        case 19:
        case 20:
        case 21:
        case 24:
        case 35:
        case 36:
            break;
        case 8:
            gSym.anumer = 2;
            break;
        default:
            gSym.anumer = 0;
            break;
    }
}

int32_t getCodeLen(int32_t c) {
    const int32_t v = gSym.variation1;
    int32_t n = 0;
    switch (c) {
        case 0:
        case 26:
            n = 12;
            break;
        case 1:
            n = v == 3 ? 12 : 9;
            break;
        case 2:
            n = 9;
            break;
        case 3:
            n = v == 1 ? 5 : 7;
            break;
        case 4:
            if (v == 2 || v == 14)
                n = 9;
            else if (v == 7)
                n = 10;
            else if (v == 10 || v == 11)
                n = 13;
            else
                n = 25;
            if (gSym.nCheck == 1) ++n;
            break;
        case 6:
            if (v == 6 || v == 12)
                n = 13;
            else if (v == 7)
                n = 7;
            break;
        case 7:
            if (v == 10 || v == 11)
                n = 13;
            else if (v == 12)
                n = 17;
            break;
        case 8:
            n = 13;
            break;
        case 9:
        case 12:
        case 16:
        case 17:
            n = 7;
            break;
        case 10:
        case 11:
            n = (v >= 3 && v <= 6) ? 10 : 11;
            break;
        case 13:
            n = 19;
            break;
        case 14:
            n = 5;
            break;
        case 15:
            n = 10;
            break;
        case 23:
        case 24:
            n = 15;
            break;
        case 35:
            n = v == 1 ? 6 : 0;
            break;
        case 36:
            n = v == 2 ? 13 : v == 3 ? 6 : 0;
            break;
        default:
            break;
    }
    gSym.gglen = n;
    getCodeEdit(c);
    // getCodeEdit left the length field free for every family without a fixed length.
    if (!hasLengthRule(c)) gSym.anumer = 0;
    if (c == 20 || c == 35) gSym.anumer = 2;
    return n;
}

void SetCodeLen() {
    gSym.canEdit3 = 1;
    gSym.anumer = 1;
    const int32_t n = getCodeLen(gSym.code);
    // A type without a fixed length leaves the user's length where it is: a "0"
    // there would be read back on OK as the item's length.
    if (n == 0) return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", n);
    platform::TERec* field = nullptr;
    const int32_t mode = productionEntryMode();
    if (mode == 1 || mode == 5) field = &gPanels.TEBack1[3];
    if (mode == 2) field = &gPanels.TEBack2[6];
    if (field) platform::TESetText(text, static_cast<int32_t>(std::strlen(text)), field);
}

void GetCodeActualText() {
    const char* name = codeTypeName(gSym.code, gSym.variation1);
    if (name) {
        copyBounded(gSym.TeF, name);
        platform::TESetText(name, static_cast<int32_t>(std::strlen(name)), &gPanels.TEType);
    }
    if (gSym.code == 4) gSym.ratio = 5;
}

void copeWithCutMarks() { gSym.insetAmount = gSym.cutMarks == 1 ? 10 : 0; }

void GetCodeText() {
    platform::TESetText("", 0, &gPanels.TEX);
    platform::TESetText("", 0, &gPanels.TEH);
    defaults();
    getCodeLen(gSym.code);
    GetCodeActualText();

    const int32_t v = gSym.variation1;
    switch (gSym.code) {
        case 0:
            if (v == 1) {
                gSym.insetAmount += 2;
            } else if (v == 2) {
                pstrSet(gSym.fontBelow, "Helvetica-Bold");
            } else if (v == 3) {
                gSym.insetAmount += 2;
                pstrCopy(gSym.fontBelow, gSym.gHelvetica);
                setDataField("2200");
            } else {
                pstrCopy(gSym.fontBelow, gSym.defFont);
            }
            if (v == 256) setDataField("414");
            if (v == 257) setDataField("419");
            break;
        case 1:
        case 2:
            if (v > 0) pstrCopy(gSym.fontAbove, gSym.defFont);
            break;
        case 3:
            if (v == 4) {
                pstrCopy(gSym.fontBelow, gSym.gHelvetica);
            } else {
                if (v == 2) setDataField("2");
                pstrCopy(gSym.fontBelow, gSym.defFont);
            }
            break;
        case 4:
        case 22:
        case 23:
            gSym.chSpace = 0;
            if (gSym.code == 4) {
                if (v == 2 || v == 7 || v == 14) pstrCopy(gSym.fontBelow, gSym.gHelvetica);
                if (v == 5) gSym.chSpace = 1;
                if (v == 6) setDataField("0");
                if (v == 11) pstrCopy(gSym.fontBelow, gSym.defFont);
            }
            gSym.ratio = 5;
            gSym.code = 4;
            break;
        case 5:
        case 7:
            if (v == 15)
                pstrSet(gSym.fontBelow, "OCRB");
            else
                pstrCopy(gSym.fontBelow, gSym.gHelvetica);
            break;
        case 6:
            if (v == 3) {
                setDataField("A");
                pstrSet(gSym.fontBelow, "OCR-ANormal");
                break;
            }
            if (v == 4 || v == 14) {
                setDataField("PZN-");
                pstrSet(gSym.fontBelow, "Courier-New-Bold");
                break;
            }
            if (v == 5) setDataField("+");
            pstrCopy(gSym.fontBelow, gSym.gHelvetica);
            break;
        case 10:
            if (v >= 2 && v <= 5)
                pstrCopy(gSym.fontBelow, gSym.gHelvetica);
            else
                pstrCopy(gSym.fontBelow, gSym.defFont);
            break;
        case 14:
            gSym.ratio = 5;
            pstrCopy(gSym.fontAbove, gSym.defFont);
            gSym.chSpace = 0;
            break;
        case 18:
            if (v == 6) setDataField("0");
            gSym.nCheck = (v == 6 || v == 9) ? 0 : 1;
            gSym.ratio = 5;
            gSym.chSpace = 0;
            gSym.code = 4;
            gSym.variation1 = 0;
            gSym.human = 0;
            break;
        case 24:
            gSym.ratio = 5;
            gSym.nCheck = 1;
            gSym.chSpace = 0;
            break;
        case 29:
            gSym.ratio = 5;
            gSym.chSpace = 0;
            gSym.code = 4;
            gSym.variation1 = 14;
            gSym.nCheck = 1;
            gSym.human = 0;
            gSym.non_light = 0;
            break;
        case 30:
            if (v == 1)
                pstrCopy(gSym.fontBelow, gSym.gHelvetica);
            else
                pstrCopy(gSym.fontBelow, gSym.defFont);
            break;
        case 35:
            if (v == 1) pstrCopy(gSym.fontBelow, gSym.gHelvetica);
            break;
        case 37:
            pstrCopy(gSym.fontBelow, gSym.gHelvetica);
            break;
        default:
            break;
    }
}
