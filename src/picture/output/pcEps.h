// EPS files for PC programs: a binary header giving the places of the PostScript
// and of a TIFF preview, then the EPS, then the preview.
#pragma once

#include <cstdint>
#include <string>

#include "platform/quickdraw/quickdraw.h"

constexpr size_t kPcEpsHeaderBytes = 30;
constexpr int32_t kPcEpsMostPreviewPoints = 600;  // larger symbols get no preview

// True when a preview of that size in points is made.
bool pcEpsPreviewFits(const qd::Rect& points);
// The whole file: header, EPS and preview, with the header's offsets and lengths.
std::string pcEpsFile(const std::string& eps, const std::string& tiffPreview);
