#pragma once

#include "art/ArtImage.h"

#include <cstdint>

// Road geometry shared by the pictures and the checks: the centre of a cell lies on pixel 15
// (the middle of the 31 pixels a cell shows beside its grid line), straight roads are 7 pixels
// wide and diagonal roads 7 pixel diagonals, so that a diagonal's overhang into the cells beside
// a grid corner stays within the 7 x 7 corner piece.
constexpr double RoadCentre = 15.5;
constexpr double RoadHalfWidth = 3.5;
constexpr int32_t RoadLayers = 3;
constexpr int32_t RoadArms = 8;
constexpr int32_t EndCapRow = 8;
constexpr int32_t CornerSize = 7;

// "roads": 3 layers across (road, highlight, shadow) by 8 arms and the end cap down, each piece
// 32 x 32, blended against "empty" where the game draws it.
TArtPicture DrawRoads(const TArtPicture& empty);
// "conndiag": the corner pieces, layers across, the north-east/south-west piece above the
// north-west/south-east one.
TArtPicture DrawCornerPieces(const TArtPicture& empty);
