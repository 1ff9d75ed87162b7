#include "engine/clsItemMedicamento.h"

#include "engine/General.h"
#include "engine/modRegistros.h"
#include "platform/Codec1252.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

namespace {

const QString kClase = QStringLiteral("clsItemMedicamento");
const QString kArchivo = QStringLiteral("_svl.3");
// Answer fields: error code at 171, comment at 175.
constexpr int kPosCodigo = 171;
constexpr int kPosComentario = 175;

}

qint16 clsItemMedicamento::AbrirArchivo(const QString& carpetaTerminal)
{
    return modRegistros::AbrirSubida(m_archivos, carpetaTerminal, kArchivo, kClase);
}

bool clsItemMedicamento::CerrarArchivo(qint16 archivo)
{
    return modRegistros::CerrarSubida(m_archivos, archivo);
}

QString clsItemMedicamento::RegistroSVL3() const
{
    // The quantity is placed as text, but cutting it would ask for another quantity.
    const QString cantidad = Vb::Trim(m_cantidad);
    if (cantidad.size() > 2)
        throw VbError(VbError::Overflow, QStringLiteral("clsItemMedicamento.GrabarRegistroSVL3"),
                      QStringLiteral("El valor del campo Cantidad no cabe en 2 posiciones: %1").arg(cantidad));
    QString r;
    r += QStringLiteral("FF000");
    r += General::FormatearTexto(m_troquel, 7);
    r += QString(13 + 7, QLatin1Char(' '));
    r += General::FormatearTexto(cantidad, 2);
    r += QString(1 + 11 + 10 + 1 + 12 + 5 + 11 + 10 + 50 + 25, QLatin1Char(' '));
    r += QString(4 + 40, QLatin1Char(' '));
    r += QString(1 + 1 + 28, QLatin1Char(' '));
    r += QStringLiteral("\r\n");
    return r;
}

bool clsItemMedicamento::GrabarRegistroSVL3(qint16 posicion, const QString& carpetaTerminal)
{
    bool resultado = false;
    try {
        if (posicion < 1) throw VbError(63, kClase, QStringLiteral("Número de registro incorrecto"));
        // The record is built before the file is touched, so a refused field writes nothing.
        const QByteArray bytes = Codec1252::encode(RegistroSVL3());
        const qint16 archivo = AbrirArchivo(carpetaTerminal);
        if (archivo)
            resultado = modRegistros::EscribirYCerrar(m_archivos, archivo, posicion, LargoSVL3, bytes, kClase);
    } catch (const VbError& e) {
        m_archivos.clear();
        throw VbError(e.number, QStringLiteral("clsItemMedicamento.GrabarRegistroSVL3"), e.description);
    }
    return resultado;
}

ListaErrores clsItemMedicamento::LeerSVL3(const QString& carpetaTerminal)
{
    try {
        QString ultimo;
        const ListaErrores resultado = modRegistros::LeerItems(
            carpetaTerminal, {kArchivo, QStringLiteral("SVL3"), LargoSVL3, kPosCodigo, kPosComentario}, kClase, &ultimo);
        if (!ultimo.isNull()) m_codigoErrorPrescripcion = Vb::Right(QStringLiteral("00") + Vb::Trim(ultimo), 2);
        return resultado;
    } catch (const VbError& e) {
        throw VbError(e.number, kClase, e.description);
    }
}
