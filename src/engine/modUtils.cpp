#include "engine/modUtils.h"

#include "platform/Dialogs.h"
#include "platform/EscrituraSegura.h"
#include "platform/ValoresBD.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QFile>
#include <QFileInfo>

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
    if (!EscrituraSegura::EscribirArchivo(destino, hex.toLatin1()))
        throw VbError(VbError::PathNotFound, QStringLiteral("modUtils.ConvertirArchivoAHex"),
                      QStringLiteral("No se pudo escribir %1").arg(destino));
}

QString NuloATexto(const QVariant& valor) { return ValoresBD::NuloATexto(valor); }

qint32 NuloANumero(const QVariant& valor) { return ValoresBD::NuloANumero(valor); }

QString EscaparBarras(const QString& texto, const QString& motorBD)
{
    if (motorBD.toLower() != QLatin1String("postgresql"))
        return texto;
    QString out;
    out.reserve(texto.size() + 8);
    for (const QChar c : texto) {
        out += c;
        if (c == QLatin1Char('\\'))
            out += c;
    }
    return out;
}

QString NormalizarCodigo(const QString& codigo)
{
    for (const QChar c : codigo)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Vb::Trim(codigo);
    // Digits only: the number's decimal text, kept as text so that a long code keeps all its
    // digits instead of passing through a double.
    int i = 0;
    while (i < codigo.size() - 1 && codigo.at(i) == QLatin1Char('0'))
        ++i;
    return codigo.isEmpty() ? QStringLiteral("0") : codigo.mid(i);
}

}
