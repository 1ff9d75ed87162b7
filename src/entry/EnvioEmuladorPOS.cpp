#include "entry/EnvioEmuladorPOS.h"

#include "platform/Vb.h"

#include <cmath>

namespace EnvioEmuladorPOS {

std::optional<Operacion> DeOperacion(qint16 operacionActual)
{
    static const struct {
        qint16 op;
        quint8 clase;
        const char* letra;
        qint16 codigo;
    } kTabla[] = {{1, 1, "A", 5},   {2, 1, "B", 6},   {3, 1, "C", 11},  {4, 2, "A", 1},   {5, 2, "B", 12},
                  {6, 2, "C", 3},   {7, 2, "D", 2},   {8, 3, "A", 16},  {9, 4, "A", 4},   {11, 2, "I", 7},
                  {12, 2, "E", 7},  {13, 2, "P", 8},  {14, 2, "Q", 15}, {15, 2, "C", 17}, {16, 2, "C", 18},
                  {17, 3, "A", 19}, {18, 2, "L", 14}, {19, 2, "S", 20}, {97, 2, "P", 8}};
    for (const auto& f : kTabla)
        if (f.op == operacionActual) return Operacion{f.clase, QLatin1String(f.letra), f.codigo};
    return std::nullopt;
}

QString FechaMensaje(const QString& texto)
{
    auto cifras = [](const QString& parte, int ancho) {
        const QString t = Vb::Trim(parte);
        return Vb::IsNumeric(t) ? QString::number(qint64(Vb::Val(t))).rightJustified(ancho, QLatin1Char('0')) : t;
    };
    return cifras(Vb::Right(texto, 4), 4) + cifras(Vb::Mid(texto, 4, 2), 2) + cifras(Vb::Left(texto, 2), 2);
}

QString TarjetaEnvio(const QString& texto)
{
    const QString tarjeta = Vb::Trim(texto);
    if (tarjeta.size() > 25 && tarjeta.startsWith(QLatin1String("123"))) return tarjeta.mid(3);
    return tarjeta;
}

QString TicketReferencia(const QString& nombreObraSocial, const QString& referencia, qint32 autorizacion,
                         const QString& autorizacionTecleada)
{
    if (!nombreObraSocial.contains(QLatin1String("OSDE"), Qt::CaseInsensitive))
        return referencia + QString::number(autorizacion);
    return referencia + Vb::Right(QStringLiteral("000000") + autorizacionTecleada, 6);
}

QString DocumentacionExtra(qint16 operacionActual, bool informeMedico)
{
    if (operacionActual == 19 || operacionActual == 13) return informeMedico ? QStringLiteral("C") : QStringLiteral("I");
    if (operacionActual == 97) return QStringLiteral("D");
    return QString();
}

QString CodigoFinal(const QString& item)
{
    if (Vb::Trim(item).isEmpty() || item.size() <= 100) return QString();
    return Vb::Trim(Vb::Right(item, item.size() - 100));
}

std::optional<qint16> EspecialidadElegida(const QString& item)
{
    if (Vb::Trim(item).isEmpty()) return std::nullopt;
    const qint16 especialidad = Vb::CInt(Vb::Val(Vb::Right(item, 5)));
    if (especialidad == 0) return std::nullopt;
    return especialidad;
}

QString NumeroReferencia(double azar) { return QString::number(qint64(std::llround(azar * 1001))); }

}
