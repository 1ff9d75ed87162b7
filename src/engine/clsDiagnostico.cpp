#include "engine/clsDiagnostico.h"

#include "engine/General.h"
#include "engine/modRegistros.h"
#include "platform/Codec1252.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

namespace {

const QString kClase = QStringLiteral("clsDiagnostico");
const QString kArchivo = QStringLiteral("_svl.4");
// Answer fields: error code at 11, comment at 15.
constexpr int kPosCodigo = 11;
constexpr int kPosComentario = 15;

}

qint16 clsDiagnostico::AbrirArchivo(const QString& carpetaTerminal)
{
    return modRegistros::AbrirSubida(m_archivos, carpetaTerminal, kArchivo, kClase);
}

bool clsDiagnostico::CerrarArchivo(qint16 archivo)
{
    return modRegistros::CerrarSubida(m_archivos, archivo);
}

QString clsDiagnostico::RegistroSVL4() const
{
    QString r;
    r += General::FormatearTexto(m_diagnostico, 10);
    r += QStringLiteral("0000");
    r += QString(40, QLatin1Char(' '));
    r += QStringLiteral("\r\n");
    return r;
}

bool clsDiagnostico::GrabarRegistroSVL4(qint16 posicion, const QString& carpetaTerminal)
{
    bool resultado = false;
    try {
        if (posicion < 1) throw VbError(63, kClase, QStringLiteral("Número de registro incorrecto"));
        // The record is built before the file is touched, so a refused field writes nothing.
        const QByteArray bytes = Codec1252::encode(RegistroSVL4());
        const qint16 archivo = AbrirArchivo(carpetaTerminal);
        if (archivo)
            resultado = modRegistros::EscribirYCerrar(m_archivos, archivo, posicion, LargoSVL4, bytes, kClase);
    } catch (const VbError& e) {
        m_archivos.clear();
        throw VbError(e.number, QStringLiteral("clsDiagnostico.GrabarRegistroSVL4"), e.description);
    }
    return resultado;
}

ListaErrores clsDiagnostico::LeerSVL4(const QString& carpetaTerminal)
{
    try {
        const ListaErrores resultado = modRegistros::LeerItems(
            carpetaTerminal, {kArchivo, QStringLiteral("Svl4"), LargoSVL4, kPosCodigo, kPosComentario}, kClase);
        return resultado;
    } catch (const VbError& e) {
        throw VbError(e.number, QStringLiteral("clsDiagnostico.LeerSVL4"), e.description);
    }
}
