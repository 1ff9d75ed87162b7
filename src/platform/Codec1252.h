#pragma once
#include <QByteArray>
#include <QString>

// Windows-1252, one byte per character, bijective: the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the code points of the same value, so any
// byte read from the client comes back unchanged when written again.
namespace Codec1252 {
QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);
// True when the character has a byte in the code page.
bool representable(QChar c);
// The character's byte, or -1 when the code page lacks it.
int byte(QChar c);
// Characters the code page lacks become "?", so a width in characters is a width in bytes.
QString toRepresentable(const QString& text);
// A NUL in a text becomes a blank: shown it hides what follows, the embedded database keeps a
// text only up to it and PostgreSQL refuses it.
QString sinNulos(QString text);
}
