#include "platform/Codec1252.h"

#include <array>
#include <unordered_map>

namespace {
// 0x80..0x9F; the undefined positions hold the byte's own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const std::unordered_map<char16_t, unsigned char>& reverseHigh()
{
    static const std::unordered_map<char16_t, unsigned char> map = [] {
        std::unordered_map<char16_t, unsigned char> m;
        for (int i = 0; i < 32; ++i) m.emplace(kHigh[i], static_cast<unsigned char>(0x80 + i));
        return m;
    }();
    return map;
}

int byteOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    const auto& m = reverseHigh();
    auto it = m.find(u);
    return it == m.end() ? -1 : it->second;
}
}

namespace Codec1252 {

QByteArray encode(const QString& input)
{
    const QString text = toRepresentable(input);
    QByteArray out;
    out.resize(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const int b = byteOf(text.at(i));
        out[i] = static_cast<char>(b < 0 ? '?' : b);
    }
    return out;
}

QString decode(const QByteArray& bytes)
{
    QString out;
    out.resize(bytes.size());
    for (int i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes.at(i));
        out[i] = (b >= 0x80 && b <= 0x9F) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

bool representable(QChar c) { return byteOf(c) >= 0; }

int byte(QChar c) { return byteOf(c); }

QString toRepresentable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += QLatin1Char('?'); // one character outside the BMP is one field position
            ++i;
        } else {
            out += byteOf(c) < 0 ? QChar(QLatin1Char('?')) : c;
        }
    }
    return out;
}

QString sinNulos(QString text)
{
    if (text.contains(QChar(0))) text.replace(QChar(0), QLatin1Char(' '));
    return text;
}

}
