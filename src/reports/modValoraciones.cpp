#include "reports/modValoraciones.h"

#include "platform/Codec1252.h"
#include "platform/ArchivosPropios.h"
#include "platform/EscrituraSegura.h"
#include "platform/Paths.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kSeparador(100, QLatin1Char(' '));
const QString kTodas = QStringLiteral("TODAS");
const QString kFuente = QStringLiteral("frmValoraciones");
}

namespace modValoraciones {

QString ItemTodas() { return kTodas + kSeparador; }

QString ItemObraSocial(const QString& nombre, qint32 empresa)
{
    return nombre + kSeparador + QString::number(empresa);
}

bool Ofrecida(const QString& nombre) { return nombre.toUpper() != QStringLiteral("JWK"); }

QString CodigoElegido(const QString& textoCombo)
{
    if (Vb::Trim(textoCombo) == kTodas) return QString();
    return Vb::Trim(textoCombo.right(5));
}

QString ArchivoReporte(const QDate& hoy)
{
    return Paths::Join(Paths::Join(Paths::DataDir(), QStringLiteral("Valoraciones")),
                       hoy.toString(QStringLiteral("ddMMyyyy")) + QStringLiteral(".txt"));
}

void EscribirReporte(const QString& ruta, QString texto)
{
    texto.chop(2);
    texto += QStringLiteral("\r\n");
    const QString carpeta = QFileInfo(ruta).path();
    if (!ArchivosPropios::CrearCarpeta(carpeta))
        throw VbError(VbError::PathNotFound, kFuente, QStringLiteral("No se pudo crear la carpeta ") + carpeta);
    QString error;
    if (!EscrituraSegura::EscribirArchivo(ruta, Codec1252::encode(texto), &error, false,
                                          EscrituraSegura::Modo::Propio))
        throw VbError(VbError::PathFileAccess, kFuente, ruta + QStringLiteral(": ") + error);
}

}
