#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets, taken from the tests' cases.

Input layout (fuzz/targets/fuzz_common.h): code byte, variant byte, flag byte,
the options or add-on text, a line feed, the data. Run from the repository
root; libFuzzer's -merge=1 then keeps what adds coverage.
"""
import hashlib
import os
import sys

NO_CHECK, HIGH_VARIANT, NO_TEXT, TYPE_DEFAULTS = 1, 2, 4, 8

# (code, variant, flags, options, data)
CASES = [
    # DataMatrix: escapes, sizes, GS1, Mac Roman letters
    (38, 0, 0, "", b"123456"),
    (38, 0, 0, "10X10", b"A"),
    (38, 0, 0, "16X48", b"A" * 40),
    (38, 0, 0, "144X144", b"Hi"),
    (38, 0, 0, "10X10\r", b"A"),
    (38, 0, 0, "8X18", b"AB12"),
    (38, 0, 0, "", b"AB\\1C"),
    (38, 0, 0, "", b"\\1AB"),
    (38, 0, 0, "", b"\\\\x\\@\\M\\Z-\\1y"),
    (38, 0, 0, "", b"\\d065\\d999X\\d12"),
    (38, 0, 0, "", b"\\dAB\\4"),
    (38, 0, 0, "", b"\\7000003A\\7016383"),
    (38, 0, 0, "", b"\\2!\"#A"),
    (38, 0, 0, "", b"\\3A"),
    (38, 0, 0, "", b"\\5AB"),
    (38, 0, 0, "", b"\\6AB"),
    (38, 0, 0, "", b"Cr\x8fme br\x9el\x8ee \xe8\x8e"),
    (38, 2, 0, "", b"010950600013435210ABC123\\121XYZ"),
    (38, 2, 0, "", b"\\1\\1\\11234567890123456"),
    (38, 0, 0, "", b"Lot 7919/x; " * 20),
    # PDF417: compactions, macro headers, the character set
    (42, 0, 0, "", b"PDF417"),
    (42, 0, 0, "", b"Ab A1 aBc, x"),
    (42, 0, 0, "", b"Hello World, 2024! Mixed CASE text; a+b=c (x@y.com) ~{}|[]\\^_`<>?\"'"),
    (42, 1, 0, "", bytes(range(1, 256))),
    (42, 2, 0, "", b"Strixel prints PDF417 labels, 24 per sheet: Lot #A-17/b (ok?) " * 2),
    (42, 0, 0, "", b"*L7;12\\3*HELLO World"),
    (42, 1, 0, "", b"*3;800*part three"),
    (42, 0, 0, "", b"*5*no file ID field"),
    (42, 0, 0, "", b"*6;*empty file ID"),
    (42, 0, 0, "", b"Caf\x8e M\x9fller \xb8\xbd\xdb\xe0"),
    (42, 0, 0, "", b"X"),
    # QR Code: options, modes, Latin-1
    (40, 0, 0, "Q4", b"HELLO WORLD 0123456789"),
    (40, 0, 0, "H1", b"Caf\x8e"),
    (40, 0, 0, "M10", b"https://example.com/?a=1&b=2"),
    (40, 0, 0, "L", b"\x88\x9f\x88\xa0\x88\xa1"),
    # EAN, UPC, ISBN, ISSN
    (0, 0, 0, "", b"400638133393"),
    (0, 0, 0, "52495", b"501234567890"),
    (0, 0, 0, "12", b"4006-3813 3393"),
    (0, 6, 0, "", b"12345"),
    (0, 12, 0, "", b"12345678"),
    (0, 0, HIGH_VARIANT, "", b"414123456789"),
    (1, 0, 0, "", b"030640615"),
    (1, 3, 0, "", b"978186197271"),
    (1, 2, 0, "", b"979026000043"),
    (2, 0, 0, "05", b"031784712"),
    (3, 0, 0, "", b"9638507"),
    (3, 1, 0, "", b"12345"),
    (9, 0, 0, "", b"1234567"),
    (10, 0, 0, "52495", b"03600029145"),
    (10, 3, 0, "", b"1234567890"),
    (11, 0, 0, "", b"01234500006"),
    (11, 1, 0, "34", b"0123456"),
    (16, 0, 0, "", b"9638507"),
    (25, 0, 0, "52495", b"400638133393"),
    (26, 0, 0, "AB", b"400638133393"),
    (27, 0, 0, "1234", b"400638133393"),
    # Code 128, GS1-128, retail forms, Codablock F
    (5, 0, 0, "", b"ABC123abc"),
    (5, 0, 0, "", b"12345"),
    (5, 0, 0, "", b"A\\1B\\2C\\3D\\4E\\d065\\n\\t\\r"),
    (5, 0, 0, "", b"\xc4\xa9\xfa\xc6\x8c\xba\x8dAB12"),
    (5, 2, 0, "", b"BOC LONG 123"),
    (5, 3, 0, "", b"123456"),
    (5, 4, 0, "", b"12345678"),
    (5, 5, 0, "", b"CODE A\t123"),
    (5, 7, 0, "", b"123456"),
    (5, 8, 0, "", b"code b 1234"),
    (5, 13, 0, "", b"0361-3682(19990100)10:1<1::AID-SISAC>3.0.CO;2-V"),
    (7, 0, 0, "", b"(01)09501101530003(17)140704(10)AB1"),
    (7, 0, 0, "", b"(00)123456789012345675(21)X\\1(400)PO"),
    (7, 10, 0, "", b"950110153000"),
    (7, 12, 0, "", b"12345678901234567"),
    (7, 14, 0, "", b"8100712345123456"),
    (13, 0, 0, "", b"1234567890123456789"),
    (15, 0, 0, "", b"1234567890"),
    (34, 0, 0, "", b"1234567890"),
    (39, 0, 0, "", b"Codablock F holds several rows of Code 128, 12345678"),
    # Code 39 and its variants, Code 93, Codabar, Code 11, Telepen, postal
    (6, 0, 0, "", b"CODE39"),
    (6, 0, NO_CHECK, "3", b"CODE 39-$/+%."),
    (6, 10, 0, "", b"Full ascii \x01\x7f{}"),
    (6, 2, 0, "", b"2 1234 56789012"),
    (6, 3, 0, "", b"A01234567"),
    (6, 4, 0, "", b"PZN-1234562"),
    (6, 5, 0, "", b"+A123BJC5D6E71"),
    (6, 6, 0, "", b"12345678901234"),
    (6, 8, 0, "", b"12 4-678"),
    (6, 9, 0, "", b"X29000Z1234"),
    (6, 11, 0, "", b"123456789"),
    (6, 12, 0, "", b"91"),
    (6, 13, 0, "", b"1234567"),
    (6, 14, 0, "", b"PZN-12345678"),
    (28, 0, 0, "", b"TEST93"),
    (28, 0, 0, "", b"\xadA\xa2A AN"),
    (8, 0, NO_CHECK, "", b"A0123456789-$:/.+B"),
    (8, 1, 0, "", b"C123D"),
    (8, 0, 0, "", b"2123456789012"),
    (8, 2, 0, "", b"21234567890"),
    (8, 3, 0, "", b"1234567"),
    (19, 0, 0, "", b"*0123456789-*"),
    (36, 0, 0, "", b"Telepen AB"),
    (36, 0, 0, "4", b"12345"),
    (36, 0, 0, "2", b"1234X"),
    (36, 0, 0, "6", b"123456789"),
    (36, 0, 0, "7", b"1234567"),
    (36, 2, 0, "", b"2123456789012"),
    (36, 3, 0, "", b"000006"),
    (30, 0, 0, "", b"SN34RD1A"),
    (30, 1, 0, "", b"2500GG30250"),
    (31, 0, 0, "", b"12345"),
    (32, 0, 0, "", b"B"),
    # DataBar-14 with and without a composite component
    (37, 0, 0, "", b"2001234567890"),
    (37, 1, 0, "", b"1|(17)120331(10)ABC"),
    (37, 2, 0, "", b"501234567890|(90)12A345(21)XYZ"),
    (37, 3, 0, "", b"761234567890|(21)ABCDEFGHIJKLMNOPQRST(240)UVWXYZ01234567"),
    (37, 0, 0, "", b"12345678901234"),
    # DataBar Limited, Expanded, Expanded Stacked and coupon; MicroPDF417
    (37, 4, 0, "", b"1501234567890"),
    (37, 4, 0, "", b"2000000000000"),
    (37, 5, 0, "", b"(01)98898765432106(3202)012345(15)991231"),
    (37, 5, 0, "", b"(01)98898765432106(10)ABC-12/x(21)a b"),
    (37, 6, 0, "2", b"(01)98898765432106(3202)012345(15)991231"),
    (37, 6, 0, "abc", b"(10)12345678901234567890"),
    (37, 7, 0, "", b"(8110)106141416543213500110000310123196000"),
    (41, 0, 0, "", b"MicroPDF417 \xe9\x01" * 9),
    (41, 0, 0, "", bytes(range(1, 150))),
    # The 2 of 5 family, pharmacode, SICK, Plessey and MSI
    (4, 0, 0, "", b"1234567"),
    (4, 0, NO_CHECK, "", b"12345678901234567890123456789012345678901234"),
    (4, 1, 0, "", b"1234567"),
    (4, 2, 0, "", b"M1234567"),
    (4, 3, 0, "", b"1234567890123"),
    (4, 6, 0, "", b"0123456"),
    (4, 7, 0, "", b"1234567890"),
    (4, 10, 0, "", b"1540014128876"),
    (4, 14, TYPE_DEFAULTS, "", b"1234567"),
    (4, 13, 0, "", b"1234-5678 901"),
    (14, 0, 0, "", b"12345"),
    (18, 9, TYPE_DEFAULTS, "", b"1234567"),
    (23, 0, 0, "", b"123456789012345"),
    (24, 0, 0, "", b"12345678901234"),
    (29, 0, TYPE_DEFAULTS, "", b"12345678"),
    (21, 0, 0, "", b"12"),
    (21, 1, 0, "", b"0123456789"),
    (21, 2, 0, "", b"0"),
    (17, 0, 0, "", b"131070"),
    (17, 1, 0, "", b"21 99"),
    (17, 2, 0, "", b"0110"),
    (17, 0, 0, "4", b"3"),
    (12, 0, 0, "", b"10"),
    (12, 0, 0, "16", b"32767"),
    (20, 0, 0, "", b"1234"),
    (20, 0, NO_CHECK, "", b"1A2B3C4D5E6F"),
    (35, 0, 0, "", b"1234567"),
    (35, 1, 0, "", b"123456"),
    (35, 2, 0, "", b"98765432109876543210987"),
    # Families whose encoders come later, and no code type at all
    (6, 0, 0, "2.5", b"CODE39"),
    (8, 0, 0, "", b"A1234B"),
    (37, 0, 0, "", b"0109501101530003"),
    (43, 0, 0, "", b"123"),
    (0, 0, TYPE_DEFAULTS, "", b"400638133393"),
    (5, 0, NO_CHECK | NO_TEXT, "", b"no check"),
]

# Script records for the document target.
RECORDS = [
    '{type:"EAN 13", data:"400638133393"}',
    '{type:"EAN 13", data:"501234567890", options:"52495", size:"80", height:"20", bwr:"15"}',
    '{type:"EAN 128", data:"(01)1540014128876(17)251231(10)AB1"}',
    '{type:"Code 128", data:"ABC-123", colour:"0 100 100 0"}',
    '{type:"Code 128", data:"A\\\\1B", spotname:"PANTONE 286 C", colour:"100 60 0 0"}',
    '{type:"UPC A", data:"03600029145", size:"200"}',
    '{type:"EAN 8", data:"9638507", height:"5.5"}',
    '{type:"UPC E", data:"01234500006"}',
    '{type:"ISBN -OCRB", data:"030640615"}',
    '{type:"ISSN -OCRB", data:"03178479", options:"05"}',
    '{type:"ISMN", data:"979026000043"}',
    '{type:"Datamatrix", data:"Hello \\\\1 world", options:"24X24"}',
    '{type:"EAN Datamatrix", data:"010950600013435210ABC123"}',
    '{type:"QRCode", data:"https://example.com", options:"Q4", size:"50"}',
    '{type:"PDF417", data:"PDF417 symbol text, 2024"}',
    '{type:"PDF417 Trunc", data:"*L7;12\\\\3*HELLO"}',
    '{type:"Codablock F", data:"Codablock F rows 1234567890"}',
    '{type:"Small EAN", data:"1234567"}',
    '{type:"M&S BEL", data:"1234567890123456789"}',
    '{type:"Code 39", data:"CODE39", options:"3"}',
    '{type:"Telepen", data:"TELEPEN"}',
    '{type:"Royal Mail", data:"SN34RD1A"}',
    '{type:"KIX NL", data:"2500GG30250"}',
    '{type:"Postnet ZIP 4+", data:"12345"}',
    '{type:"FIM", data:"A"}',
    '{type:"Code 93", data:"TEST93"}',
    '{type:"Codabar", data:"A123B"}',
    '{type:"Code 11", data:"*123-45*"}',
    '{type:"Databar 14 Stacked Omnidirectional", data:"2001234567890|(10)ABC123"}',
    '{type:"Databar Limited", data:"1501234567890"}',
    '{type:"Databar Expanded", data:"(01)98898765432106(3202)012345(15)991231"}',
    '{type:"Databar", data:"(01)98898765432106(3202)012345(15)991231", options:"2"}',
    '{type:"Micro PDF417", data:"MicroPDF417 symbol text, 2024"}',
    '{type:"EAN 13", data:"400638133393", size:"10", height:"0", bwr:"-50"}',
    '{type:"EAN 13", data:"400638133393", size:"1000", height:"300", bwr:"500"}',
]


def write(folder, case):
    code, variant, flags, options, data = case
    blob = bytes([code, variant, flags]) + options.encode("latin-1") + b"\n" + data
    name = "seed-%d-%d-%s" % (code, variant, hashlib.sha1(blob).hexdigest()[:10])
    with open(os.path.join(folder, name), "wb") as f:
        f.write(blob)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "fuzz/corpus"
    for target in ("crash", "roundtrip"):
        folder = os.path.join(root, target)
        os.makedirs(folder, exist_ok=True)
        for case in CASES:
            write(folder, case)
    folder = os.path.join(root, "document")
    os.makedirs(folder, exist_ok=True)
    for record in RECORDS:
        blob = record.encode("latin-1")
        with open(os.path.join(folder, "seed-" + hashlib.sha1(blob).hexdigest()[:10]), "wb") as f:
            f.write(blob)


if __name__ == "__main__":
    main()
