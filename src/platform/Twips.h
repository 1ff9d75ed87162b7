#pragma once
#include <QRect>

// Forms keep their documented geometry in twips; 15 twips make one pixel at 96 dpi.
namespace Twips {
constexpr int kPorPixel = 15;
constexpr int APixeles(int twips) { return (twips + (twips >= 0 ? kPorPixel / 2 : -(kPorPixel / 2))) / kPorPixel; }
inline QRect APixeles(const QRect& twips)
{
    return QRect(APixeles(twips.x()), APixeles(twips.y()), APixeles(twips.width()), APixeles(twips.height()));
}
}
