// The encoder entries that the generation dispatcher calls. Each returns 0 when
// it built the element list and 1 when it refused the data (the user has been
// told through Message or MessageOld).
#pragma once

#include <cstdint>

// EAN, UPC, ISBN, ISSN, ISMN
int32_t EAN13();
int32_t EAN8();
int32_t UPCA();
int32_t UPCE();
int32_t UPRecon();  // 1 when the 7-digit UPC-E form cannot be expanded
int32_t ISBN();
int32_t ISSN();

// Code 128 family and Codablock F
int32_t OneTwoEight();
int32_t JCPenney();
int32_t MSBel();
int32_t MSShoe();
int32_t CodaBlock(const char* data);

// Two-dimensional symbols
int32_t Barcode2D_CreatePDF();
int32_t Barcode2D_CreatePDFByteCompaction();
int32_t Barcode2D_CreatePDFTruncated();
int32_t doDataMatrixCode(const char* data);
int32_t MicroPDF417();
int32_t QRencodeData(const char* data, int32_t length, int32_t level, int32_t minVersion,
                     int32_t autoExtend, int32_t mask);

// The linear and postal families.
int32_t Intwofive();
int32_t ITF6();
int32_t C2of5();
int32_t onLaetus();
int32_t Plessey();
int32_t MSI();
int32_t onSick();
int32_t ThirtyNine();
int32_t NinetyThree();
int32_t Codabar();
int32_t Code11();
int32_t Telepen();
int32_t RoyalMail();
int32_t Postnet();
int32_t FIM();
int32_t DataBar(int32_t symbolKind);

// Code 128 preparation: data to symbol bytes, len1 their count. The magnification
// fit runs it on a copy of the data.
int32_t Proc128();
