#pragma once

// Window geometry is kept in twips, the unit the forms were laid out in: 15 twips are one
// pixel at 96 dpi.
namespace Twips {

constexpr int kPorPixel = 15;

inline int DePixeles(int pixeles) { return pixeles * kPorPixel; }
inline int APixeles(int twips) { return (twips + kPorPixel / 2) / kPorPixel; }

}
