#include "reports/clsMsgReporte.h"

#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "platform/Codec1252.h"
#include "platform/Dialogs.h"
#include "platform/Lineas.h"
#include "platform/Vb.h"
#include "platform/VbError.h"


namespace {
const QString kOrigen = QStringLiteral("clsMsgReporte");
const QString kCrLf = QStringLiteral("\r\n");
constexpr int kLargoRegistro = 116;
constexpr int kLargoTransaccion = 133;
constexpr int kLargoItem = 36;

// Left-aligned, cut or blank-filled to the width.
QString Fijo(const QString& texto, int ancho) { return texto.left(ancho).leftJustified(ancho, QLatin1Char(' ')); }

// A text through a format of zeros: the number rounded and zero-filled; a text that is not
// a number stays as it is.
QString Ceros(const QString& texto, int ancho)
{
    const QString t = Vb::Trim(texto);
    if (!Vb::IsNumeric(t)) return t;
    QString digitos = Vb::ValIntegerDigits(t);
    if (digitos.isEmpty()) digitos = QString::number(qRound64(Vb::Val(t)));
    const bool negativo = digitos.startsWith(QLatin1Char('-'));
    if (negativo) digitos.remove(0, 1);
    return (negativo ? QStringLiteral("-") : QString()) + digitos.rightJustified(ancho, QLatin1Char('0'));
}

const QString& Titulos()
{
    static const QString t = QString(84, QLatin1Char('_')) + kCrLf + kCrLf +
                             QStringLiteral("    Trx      Prescriptor   Efector      Asociado                 Monto") + kCrLf +
                             QStringLiteral("      Prestación     Cant.  Arancel") + kCrLf + QString(84, QLatin1Char('_')) +
                             kCrLf;
    return t;
}
}

CarpetaTerminal clsMsgReporte::Carpeta(const QString& sTermtemp) const
{
    return CarpetaTerminal(General::DirectorioTrabajo, sTermtemp);
}

QByteArray clsMsgReporte::Registro() const
{
    QString r;
    r += Fijo(QStringLiteral("08"), 2);
    r += Fijo(QStringLiteral("000000000"), 9);
    r += Fijo(QString(), 8);
    r += Fijo(Ceros(FechaDesde, 8), 8);
    r += Fijo(Ceros(FechaHasta, 8), 8);
    r += Fijo(QStringLiteral("00000"), 5);
    r += Fijo(QStringLiteral("0000"), 4);
    r += Fijo(QString(36, QLatin1Char('0')), 40);
    r += Fijo(Ceros(QString::number(qRound64(Vb::Val(Cuit))), 11), 11);
    r += Fijo(QString(19, QLatin1Char('0')), 19);
    r += kCrLf;
    return Codec1252::encode(Codec1252::toRepresentable(r)).left(kLargoRegistro);
}

void clsMsgReporte::EscribirArchivo(const QString& strFileName, const QString& sTermtemp)
{
    Carpeta(sTermtemp).GrabarArchivo(strFileName, Registro(), kOrigen);
}

void clsMsgReporte::LimpiarRespuesta(const QString& sTermtemp)
{
    const CarpetaTerminal carpeta = Carpeta(sTermtemp);
    QStringList borrados;
    if (!carpeta.BorrarEstado() || !carpeta.VaciarDescarga(borrados))
        throw VbError(75, kOrigen, QStringLiteral("Error de acceso a la ruta o el archivo: ") + carpeta.Ruta());
}

bool clsMsgReporte::EnviarTransaccion(qint32 sinUso, const QString& sTermtemp, bool& SAL0)
{
    Q_UNUSED(sinUso);
    const CarpetaTerminal carpeta = Carpeta(sTermtemp);
    try {
        LimpiarRespuesta(sTermtemp);
        carpeta.GrabarArchivo(QStringLiteral("_svl.0"), SAL0 ? QByteArrayLiteral("V2501101") : QByteArrayLiteral("V1051101"),
                              kOrigen);
        CarpetaTerminal::AsegurarCarpetaDisparo(carpeta.CarpetaBase());
        QString motivo;
        if (!carpeta.AsegurarDisparador(false, &motivo))
            throw VbError(75, kOrigen,
                          motivo.isEmpty() ? QStringLiteral("Error de acceso a la ruta o el archivo: ") +
                                                 carpeta.ArchivoDisparador()
                                           : motivo);
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("%1 : %2").arg(e.number).arg(e.description), Vbc::vbCritical);
        return false;
    }
    return true;
}

void clsMsgReporte::Respuesta(const QString& sTermtemp, bool& resultado)
{
    // A status that is missing or cannot be opened reads as an empty line; one that is a link,
    // not a regular file or too large is a failure that names it. A report only asks, so there
    // is no operation to check.
    QString falla;
    const std::optional<QByteArray> datos = Carpeta(sTermtemp).LeerEstado(&falla, true);
    const QString linea = datos ? Lineas::Separar(Codec1252::decode(*datos)).value(0) : falla;
    if (falla.isEmpty() && Vb::Val(Vb::Left(linea, 4)) == 0) {
        resultado = true;
        return;
    }
    Dialogs::MsgBox(linea, Vbc::vbCritical);
    resultado = false;
}

QString clsMsgReporte::Campo(int posicion, int largo) const { return Fijo(Vb::Mid(m_Linea, posicion, largo), largo); }

void clsMsgReporte::ArmarLineaRespuesta(qint16 tipo)
{
    if (tipo == 1) {
        Msg_respuesta += kCrLf + Campo(1, 6) + QStringLiteral("  ") + Campo(45, 1) + Campo(43, 2) + QStringLiteral("  ") +
                         Campo(55, 2) + QStringLiteral(" ") + Campo(57, 6) + QStringLiteral("     ") + Campo(84, 11) +
                         QStringLiteral("  ") + Campo(29, 2) + Campo(31, 7) + Campo(38, 2) + Campo(40, 1) +
                         QStringLiteral("  ") + Campo(131, 1) + QStringLiteral(" ") + Campo(126, 5) +
                         QStringLiteral("  ") + Campo(115, 11) + kCrLf;
        return;
    }
    Msg_respuesta += QStringLiteral("      ") + Campo(18, 6) + QStringLiteral("   ") + Campo(24, 1) +
                     QStringLiteral("      ") + Campo(26, 2) + QStringLiteral("      ") + Campo(25, 1) + kCrLf;
}

void clsMsgReporte::LeerArchivos(const QString& sTermtemp)
{
    const std::optional<QByteArray> datos = Carpeta(sTermtemp).LeerRespuesta(QStringLiteral("_sal.1"), kOrigen);
    Msg_respuesta = Titulos();
    if (!datos) return;
    // Every line that ends in CR LF, however long the answer; what follows the last one is
    // not a whole line.
    const QStringList partes = Codec1252::decode(*datos).split(kCrLf);
    for (int i = 0; i + 1 < partes.size(); ++i) {
        const QString& linea = partes.at(i);
        const bool transaccion = Vb::Mid(linea, 10, 1) == QLatin1String("1");
        m_Linea = Fijo(linea, transaccion ? kLargoTransaccion : kLargoItem);
        ArmarLineaRespuesta(transaccion ? 1 : 2);
    }
}
