#include "engine/clsVademecum.h"

#include "engine/General.h"
#include "engine/modRegistros.h"
#include "platform/Codec1252.h"
#include "platform/Vb.h"
#include "platform/VbError.h"


namespace {

const QString kClase = QStringLiteral("clsVademecum");
const QString kArchivo = QStringLiteral("_svl.7");
// Answer fields: error code at 273, comment at 277.
constexpr int kPosCodigo = 273;
constexpr int kPosComentario = 277;

}

void clsVademecum::setTarjeta(const QString& value) { m_tarjeta = Vb::Trim(value); }
void clsVademecum::setOperacion(const QString& value) { m_operacion = General::FormatearTexto(value, 2); }
void clsVademecum::setNombreMedicamento(const QString& value) { m_nombreMedicamento = General::FormatearTexto(value, 30); }
void clsVademecum::setAccion(const QString& value) { m_accion = General::FormatearTexto(value, 35); }
void clsVademecum::setMonodroga(const QString& value) { m_monodroga = General::FormatearTexto(value, 40); }

qint16 clsVademecum::AbrirArchivo(const QString& carpetaTerminal)
{
    return modRegistros::AbrirSubida(m_archivos, carpetaTerminal, kArchivo, kClase);
}

bool clsVademecum::CerrarArchivo(qint16 archivo)
{
    return modRegistros::CerrarSubida(m_archivos, archivo);
}

QString clsVademecum::RegistroSVL7() const
{
    QString r;
    r += m_operacion;
    r += General::FormatearTexto(m_tarjeta, 100);
    r += m_nombreMedicamento + QString(30, QLatin1Char(' '));
    r += QString(7 + 13, QLatin1Char(' '));
    r += m_accion;
    r += m_monodroga;
    r += QString(9 + 5 + 1, QLatin1Char(' '));
    r += QStringLiteral("0000");
    r += QString(40, QLatin1Char(' '));
    r += QStringLiteral("\r\n");
    return r;
}

bool clsVademecum::GrabarSVL7(const QString& carpetaTerminal)
{
    bool resultado = false;
    try {
        const QByteArray bytes = Codec1252::encode(RegistroSVL7());
        const qint16 archivo = AbrirArchivo(carpetaTerminal);
        if (archivo) resultado = modRegistros::EscribirYCerrar(m_archivos, archivo, 1, LargoSVL7, bytes, kClase);
    } catch (const VbError& e) {
        m_archivos.clear();
        throw VbError(e.number, QStringLiteral("clsVademecum.GrabarSVL7"), e.description);
    }
    return resultado;
}

clsItemError clsVademecum::LeerSVL7(const QString& carpetaTerminal)
{
    clsItemError resultado;
    try {
        resultado = modRegistros::ErrorRespuesta(carpetaTerminal, kArchivo, LargoSVL7, kPosCodigo, kPosComentario, kClase);
    } catch (const VbError& e) {
        throw VbError(e.number, kClase, e.description);
    }
    return resultado;
}
