#pragma once
// System colours resolve to fixed values so pictures are the same on every
// desktop theme:
//   clBtnFace 240,240,240   clBtnShadow 160,160,160   clBtnHighlight 255,255,255
//   clWindow 255,255,255    clWindowText 0,0,0
// other system colours: clBtnFace's grey for faces and frames, black for texts.
// clNone and clDefault are returned unchanged; callers decide what they mean.

#include "platform/GraphicsTypes.h"

TColor ColorToRGB(TColor color);
