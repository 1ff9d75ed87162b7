#include "engine/clsCierres.h"

#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "engine/modRegistros.h"
#include "platform/Codec1252.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

namespace {

const QString kClase = QStringLiteral("clsCierres");
const QString kArchivo = QStringLiteral("_sal.0");
// Answer fields: error code at 41, comment at 45.
constexpr int kPosCodigo = 41;
constexpr int kPosComentario = 45;

// The client knows the values 1 and 2; any way of writing them ("01", " 1") is that digit.
QString valorActualiza(const QString& value)
{
    if (Vb::IsNumeric(value)) {
        const double v = Vb::Val(value);
        if (v == 1) return QStringLiteral("1");
        if (v == 2) return QStringLiteral("2");
    }
    return QStringLiteral("0");
}

// The first five flags go out as "0" when never set.
QString banderaOCero(const QString& value) { return value.isEmpty() ? QStringLiteral("0") : value; }

}

void clsCierres::setActualizaPlanes(const QString& value) { m_actualizaPlanes = valorActualiza(value); }
void clsCierres::setActualizaMedicos(const QString& value) { m_actualizaMedicos = valorActualiza(value); }
void clsCierres::setActualizaMedicamentos(const QString& value) { m_actualizaMedicamentos = valorActualiza(value); }
void clsCierres::setActualizaDiagnosticos(const QString& value) { m_actualizaDiagnosticos = valorActualiza(value); }
void clsCierres::setActualizaPracticas(const QString& value) { m_actualizaPracticas = valorActualiza(value); }
void clsCierres::setActualizarPrestadores(const QString& value) { m_actualizarPrestadores = valorActualiza(value); }
void clsCierres::setActualizarEfectores(const QString& value) { m_actualizarEfectores = valorActualiza(value); }

QString clsCierres::RegistroSAL0() const
{
    // The close number is placed as text, but cutting it would close another batch.
    const QString numero = Vb::Trim(m_numeroCierre);
    if (numero.size() > 9)
        throw VbError(VbError::Overflow, kClase,
                      QStringLiteral("El valor del campo NumeroCierre no cabe en 9 posiciones: %1").arg(numero));
    QString r;
    r += General::FormatearTexto(m_operacion, 2);
    r += General::FormatearTexto(numero, 9);
    r += QString(8, QLatin1Char(' '));
    r += General::FormatearTexto(m_fechaDesde, 8);
    r += General::FormatearTexto(m_fechaHasta, 8);
    r += banderaOCero(m_actualizaPlanes);
    r += banderaOCero(m_actualizaMedicos);
    r += banderaOCero(m_actualizaMedicamentos);
    r += banderaOCero(m_actualizaDiagnosticos);
    r += banderaOCero(m_actualizaPracticas);
    r += QStringLiteral("0000");
    r += QString(40, QLatin1Char(' '));
    r += General::FormatearTexto(m_cuit, 11);
    r += General::FormatearTexto(m_actualizarPrestadores, 1);
    r += General::FormatearTexto(m_actualizarEfectores, 1);
    r += QStringLiteral("   2") + QString(13, QLatin1Char(' '));
    r += QStringLiteral("\r\n");
    return r;
}

bool clsCierres::GrabarSAL0(const QString& carpetaTerminal)
{
    try {
        m_existo = true;
        const QByteArray bytes = Codec1252::encode(RegistroSAL0());
        CarpetaTerminal(carpetaTerminal).GrabarArchivo(kArchivo, bytes, kClase, true);
        return true;
    } catch (const VbError& e) {
        throw VbError(e.number, kClase, e.description);
    }
}

clsItemError clsCierres::LeerSAL0(const QString& carpetaTerminal)
{
    clsItemError resultado;
    try {
        resultado = modRegistros::ErrorRespuesta(carpetaTerminal, kArchivo, LargoSAL0, kPosCodigo, kPosComentario, kClase);
    } catch (const VbError& e) {
        throw VbError(e.number, kClase, e.description);
    }
    return resultado;
}
