#pragma once

#include "colour.h"

namespace tarnis::gifgen::transfer_colours {

// The colours the transfer picture is drawn with; its palette is built from ramps between them.
inline const Rgb kWhite = rgb(0xffffff);
inline const Rgb kOceanLight = rgb(0x9bd8ff);
inline const Rgb kOceanDeep = rgb(0x1559b3);
inline const Rgb kGlobeRim = rgb(0x0b3a7a);
inline const Rgb kLandLight = rgb(0x8fd16a);
inline const Rgb kLandDeep = rgb(0x2e7d32);
inline const Rgb kFolderFrontLight = rgb(0xffe27a);
inline const Rgb kFolderFrontDeep = rgb(0xf7b819);
inline const Rgb kFolderBackLight = rgb(0xf3b530);
inline const Rgb kFolderBackDeep = rgb(0xd98c0b);
inline const Rgb kFolderEdge = rgb(0x8f5a06);
inline const Rgb kPaperEdge = rgb(0x5f6c7d);
inline const Rgb kPaperText = rgb(0x8596b0);
inline const Rgb kPaperShade = rgb(0xdfe5ec);
inline const Rgb kShadow = rgb(0xc9ced6);

} // namespace tarnis::gifgen::transfer_colours
