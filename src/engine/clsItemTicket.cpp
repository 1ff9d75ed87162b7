#include "engine/clsItemTicket.h"

#include "engine/General.h"
#include "engine/modRegistros.h"
#include "platform/Codec1252.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

namespace {

const QString kClase = QStringLiteral("clsItemTicket");
const QString kArchivo = QStringLiteral("_svl.2");
// Answer fields: error code at 87, comment at 91.
constexpr int kPosCodigo = 87;
constexpr int kPosComentario = 91;

}

qint16 clsItemTicket::AbrirArchivo(const QString& carpetaTerminal)
{
    return modRegistros::AbrirSubida(m_archivos, carpetaTerminal, kArchivo, kClase);
}

bool clsItemTicket::CerrarArchivo(qint16 archivo)
{
    return modRegistros::CerrarSubida(m_archivos, archivo);
}

QString clsItemTicket::RegistroSVL2() const
{
    const QString origen = QStringLiteral("clsItemTicket.GrabarRegistroSVL2");
    const QString tipo = Vb::Trim(m_tipoPrestacion).isEmpty() ? QStringLiteral("01") : m_tipoPrestacion;
    QString r;
    r += QStringLiteral("FF000");
    r += General::FormatearTexto(tipo, 2);
    r += General::FormatearTexto(m_codigoPrestacion, 10);
    // A quantity or fee type cut to its width would ask for another service: refuse it.
    r += General::FormatearNumeroCampo(m_cantidad, 2, QStringLiteral("Cantidad"), origen);
    r += General::FormatearTexto(m_piezaDental, 2);
    r += General::FormatearTexto(m_caraDental, 5);
    r += General::FormatearNumeroCampo(m_tipoArancel, 1, QStringLiteral("TipoArancel"), origen);
    r += QStringLiteral("00000000000");
    r += QString(10 + 12 + 5 + 11 + 10, QLatin1Char(' '));
    r += QStringLiteral("0000");
    r += QString(40 + 30, QLatin1Char(' '));
    r += QStringLiteral("\r\n");
    return r;
}

bool clsItemTicket::GrabarRegistroSVL2(qint16 posicion, const QString& carpetaTerminal)
{
    bool resultado = false;
    try {
        if (posicion < 1) throw VbError(63, kClase, QStringLiteral("Número de registro incorrecto"));
        // The record is built before the file is touched, so a refused field writes nothing.
        const QByteArray bytes = Codec1252::encode(RegistroSVL2());
        const qint16 archivo = AbrirArchivo(carpetaTerminal);
        if (archivo)
            resultado = modRegistros::EscribirYCerrar(m_archivos, archivo, posicion, LargoSVL2, bytes, kClase);
    } catch (const VbError& e) {
        m_archivos.clear();
        throw VbError(e.number, QStringLiteral("clsItemTicket.GrabarRegistroSVL2"), e.description);
    }
    return resultado;
}

ListaErrores clsItemTicket::LeerSVL2(const QString& carpetaTerminal)
{
    try {
        QString ultimo;
        const ListaErrores resultado = modRegistros::LeerItems(
            carpetaTerminal, {kArchivo, QStringLiteral("SVL2"), LargoSVL2, kPosCodigo, kPosComentario}, kClase, &ultimo);
        if (!ultimo.isNull()) m_codigoErrorPrestacion = Vb::Right(QStringLiteral("00") + Vb::Trim(ultimo), 2);
        return resultado;
    } catch (const VbError& e) {
        throw VbError(e.number, kClase, e.description);
    }
}
