#include "engine/General.h"

#include "platform/Codec1252.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace General {

QString DirectorioTrabajo;
QStringList Licencias;
QString LicenciaSeleccionada;
std::shared_ptr<clsTransaccion> TransaccionActual;
qint16 PrestadorActual = 0;
qint16 UltimoIndiceTipoMatricula = 0;
qint16 UltimoIndiceProvincia = 0;
bool HabilitarCodigoPrestacion = false;
bool HabilitarTipoArancel = false;
bool HabilitarPiezaDental = false;
bool HabilitarCaraDental = false;
QString ListaIdsPrestadores;
QString SVL1Actual;
QString SVL2Actual;
QString SVL1Anterior;
QString SVL2Anterior;
QString LineaComando;
qint16 NumeroTerminal = 0;
qint16 OperacionActual = 0;
qint16 SubModoOperacion = 0;
bool ObraSocialOnLine = false;
bool ObraSocialUtilizaCSC = false;
qint16 ActualizaNomencladores = 0;
bool ActualizaMedicos = false;
bool ActualizaEfectores = false;
bool ActualizaPrestadores = false;
bool ActualizaObrasS = false;
bool ActualizaPrestaciones = false;
bool ActualizaDiagnosticos = false;
bool TipoIngresoAutomatico = false;
std::shared_ptr<Database> ConexionBD;

void ReiniciarControlRepeticion()
{
    SVL1Actual.clear();
    SVL2Actual.clear();
    SVL1Anterior.clear();
    SVL2Anterior.clear();
}

namespace {

bool isIntegerType(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

// The number's decimal text as the runtime prints it; empty for a blank or null value.
QString numberText(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull()) return QString();
    if (isIntegerType(valor)) return valor.typeId() == QMetaType::ULongLong ? QString::number(valor.toULongLong())
                                                                              : QString::number(valor.toLongLong());
    if (valor.typeId() == QMetaType::Double || valor.typeId() == QMetaType::Float) return Vb::Str(valor.toDouble());
    if (valor.typeId() == QMetaType::Bool) return valor.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    const QString text = valor.toString();
    if (Vb::Trim(text).isEmpty()) return QString();
    if (!Vb::IsNumeric(text))
        throw VbError(VbError::TypeMismatch, QStringLiteral("General.FormatearNumero"), QStringLiteral("Type mismatch"));
    const QString digits = Vb::ValIntegerDigits(text);
    // A plain integer keeps every digit; anything else is the runtime's number.
    if (!digits.isEmpty() && Vb::Trim(text).indexOf(QLatin1Char('&')) < 0) {
        QString t = Vb::Trim(text);
        if (t.startsWith(QLatin1Char('+'))) t.remove(0, 1);
        bool plain = !t.isEmpty();
        for (int i = t.startsWith(QLatin1Char('-')) ? 1 : 0; i < t.size(); ++i)
            if (!t[i].isDigit()) plain = false;
        if (plain) return digits;
    }
    return Vb::Str(Vb::Val(text));
}

}

QString FormatearNumero(const QVariant& valor, qint16 ancho)
{
    if (ancho <= 0) {
        numberText(valor); // a non-numeric value still fails
        return QString();
    }
    QString result(ancho, QLatin1Char('0'));
    result += numberText(valor);
    return result.right(ancho);
}

QString FormatearNumeroCampo(const QVariant& valor, qint16 ancho, const QString& campo, const QString& origen)
{
    QString text;
    try {
        text = numberText(valor);
    } catch (const VbError& e) {
        throw VbError(e.number, origen,
                      QStringLiteral("El valor del campo %1 no es numérico: %2").arg(campo, valor.toString()));
    }
    if (text.size() > ancho)
        throw VbError(VbError::Overflow, origen,
                      QStringLiteral("El valor del campo %1 no cabe en %2 posiciones: %3").arg(campo).arg(ancho).arg(text));
    return FormatearNumero(text, ancho);
}

QString FormatearTexto(const QVariant& valor, qint16 ancho)
{
    if (ancho <= 0) return QString();
    QString text = (!valor.isValid() || valor.isNull()) ? QString() : Vb::CStr(valor);
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
    text = Codec1252::toRepresentable(Vb::Trim(text));
    text += QString(ancho, QLatin1Char(' '));
    return text.left(ancho);
}

std::optional<QStringList> ListarArchivos(const QString& carpeta)
{
    QStringList result;
    const QFileInfo info(carpeta);
    if (!info.exists()) return result;
    if (!info.isDir() || !info.isReadable()) return std::nullopt;
    QString folder = carpeta;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& n : names) result.append(folder + n);
    return result;
}

bool BorrarArchivos(const QStringList& archivos)
{
    bool all = true;
    for (const QString& path : archivos) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) continue;
        if (info.isDir()) { all = false; continue; }
        if (!QFile::remove(path)) all = false;
    }
    return all;
}

}
