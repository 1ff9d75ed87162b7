#pragma once
#include <QRect>

// Window geometry is kept in twips, the unit the forms were laid out in: 15 twips are one
// pixel at 96 dpi.
namespace Twips {
constexpr int kPorPixel = 15;
constexpr int DePixeles(int pixeles) { return pixeles * kPorPixel; }
constexpr int APixeles(int twips) { return (twips + (twips >= 0 ? kPorPixel / 2 : -(kPorPixel / 2))) / kPorPixel; }
inline QRect APixeles(const QRect& twips)
{
    return QRect(APixeles(twips.x()), APixeles(twips.y()), APixeles(twips.width()), APixeles(twips.height()));
}
}
