#pragma once

#include "colour.h"

namespace tarnis::gifgen::skeleton_colours {

inline const Rgb kWhite = rgb(0xffffff);
inline const Rgb kBone = rgb(0xf7f2e1);
inline const Rgb kBoneShade = rgb(0xd9cfb4);
inline const Rgb kOutline = rgb(0x2b2a33);
inline const Rgb kFloorShadow = rgb(0xd4d6dc);

} // namespace tarnis::gifgen::skeleton_colours
