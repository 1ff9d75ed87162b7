#include "platform/FuenteFija.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace FuenteFija {

QFont Courier(int puntos)
{
    QFont f(QStringLiteral("Courier New"), puntos);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    if (QFontInfo(f).fixedPitch()) return f;
    QFont sistema = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    sistema.setPointSize(puntos);
    if (QFontInfo(sistema).fixedPitch()) return sistema;
    for (const char* otra : {"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "monospace"}) {
        QFont g(QString::fromLatin1(otra));
        g.setPointSize(sistema.pointSize());
        g.setStyleHint(QFont::TypeWriter);
        g.setFixedPitch(true);
        if (QFontInfo(g).fixedPitch()) return g;
    }
    return f;
}

}
