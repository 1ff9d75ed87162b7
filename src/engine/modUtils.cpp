#include "engine/modUtils.h"

#include "platform/Dialogs.h"
#include "platform/VbError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace modUtils {

QString BytesAHex(const QByteArray& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    QString out(bytes.size() * 2, Qt::Uninitialized);
    QChar* p = out.data();
    for (const char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        *p++ = QLatin1Char(kDigits[b >> 4]);
        *p++ = QLatin1Char(kDigits[b & 0x0F]);
    }
    return out;
}

QString LeerArchivoComoHex(const QString& ruta)
{
    static const QString kOrigen = QStringLiteral("modUtils.LeerArchivoComoHex");
    const QFileInfo info(ruta);
    if (ruta.isEmpty() || !info.exists() || info.isDir()) {
        Dialogs::MsgBox(QStringLiteral("No encuento archivo"), Vbc::vbCritical, QStringLiteral("Error"));
        throw VbError(VbError::FileNotFound, kOrigen, QStringLiteral("No encuento archivo: %1").arg(ruta));
    }
    QFile file(ruta);
    if (!file.open(QIODevice::ReadOnly)) {
        Dialogs::MsgBox(QStringLiteral("No puedo abrir archivo"), Vbc::vbCritical, QStringLiteral("Error"));
        throw VbError(VbError::PathNotFound, kOrigen, QStringLiteral("No puedo abrir archivo: %1").arg(ruta));
    }
    return BytesAHex(file.readAll());
}

void ConvertirArchivoAHex(const QString& origen, const QString& destino)
{
    const QString hex = LeerArchivoComoHex(origen);
    QSaveFile out(destino);
    if (!out.open(QIODevice::WriteOnly) || out.write(hex.toLatin1()) < 0 || !out.commit())
        throw VbError(VbError::PathNotFound, QStringLiteral("modUtils.ConvertirArchivoAHex"),
                      QStringLiteral("No se pudo escribir %1").arg(destino));
}

}
