#include "engine/RegistroActualizacion.h"

#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "platform/Codec1252.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

const QString RegistroActualizacion::kArchivo = QStringLiteral("_druvex.upg");
const QByteArray RegistroActualizacion::kControl = QByteArrayLiteral("V1009990");

namespace {

QString Numero(qint32 valor, qint16 ancho, const QString& campo, const QString& origen)
{
    if (valor < 0)
        throw VbError(VbError::Overflow, origen, QStringLiteral("Desbordamiento en el campo %1: %2").arg(campo).arg(valor));
    return General::FormatearNumeroCampo(valor, ancho, campo, origen);
}

qint32 LeerNumero(const QString& campo)
{
    qint64 valor = 0;
    for (const QChar c : campo) {
        if (c == QLatin1Char(' ')) continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        valor = valor * 10 + (c.unicode() - '0');
        if (valor > 99999999) break; // wider than any field
    }
    return static_cast<qint32>(valor);
}

}

RegistroActualizacion RegistroActualizacion::Pedido(qint32 tipo, qint32 major, qint32 minor, qint32 revision)
{
    RegistroActualizacion r;
    r.TipoRegistro = tipo;
    r.Major = major;
    r.Minor = minor;
    r.Revision = revision;
    return r;
}

QByteArray RegistroActualizacion::Bytes(const QString& origen) const
{
    const QString texto = Numero(TipoRegistro, 3, QStringLiteral("tipo"), origen) +
                          Numero(Major, 3, QStringLiteral("major"), origen) +
                          Numero(Minor, 3, QStringLiteral("minor"), origen) +
                          Numero(Revision, 3, QStringLiteral("revision"), origen) +
                          General::FormatearTexto(NombreArchivo, 64) +
                          Numero(CodigoResultado, 4, QStringLiteral("codigo"), origen) +
                          General::FormatearTexto(Descripcion, 30) + QStringLiteral("\r\n");
    return Codec1252::encode(texto);
}

RegistroActualizacion RegistroActualizacion::Leer(const QByteArray& registro)
{
    const QString t = Codec1252::decode(registro);
    RegistroActualizacion r;
    r.TipoRegistro = LeerNumero(t.mid(0, 3));
    r.Major = LeerNumero(t.mid(3, 3));
    r.Minor = LeerNumero(t.mid(6, 3));
    r.Revision = LeerNumero(t.mid(9, 3));
    r.NombreArchivo = Vb::Trim(t.mid(12, 64));
    r.CodigoResultado = LeerNumero(t.mid(76, 4));
    r.Descripcion = Vb::Trim(t.mid(80, 30));
    return r;
}

QList<RegistroActualizacion> RegistroActualizacion::LeerArchivo(const QByteArray& datos)
{
    QList<RegistroActualizacion> registros;
    for (qsizetype i = 0; i + kLargo <= datos.size(); i += kLargo) registros << Leer(datos.mid(i, kLargo));
    return registros;
}

void RegistroActualizacion::GrabarPedido(const CarpetaTerminal& terminal, const RegistroActualizacion& pedido,
                                         const QString& origen)
{
    const QByteArray registro = pedido.Bytes(origen);
    terminal.Crear();
    CarpetaTerminal::BorrarEstadoDeBase(terminal.CarpetaBase());
    terminal.BorrarEstado();
    // Each file whole: no byte of an older, longer one may go out with the request.
    terminal.GrabarArchivo(kArchivo, registro, origen);
    terminal.GrabarArchivo(QStringLiteral("_svl.0"), kControl, origen);
}
