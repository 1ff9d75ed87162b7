#include "entry/ReglasEmuladorPOS.h"

#include "config/GeneralCombos.h"
#include "platform/Vb.h"

namespace ReglasEmuladorPOS {

namespace {
constexpr int kPegar = 22;
}

bool PegableEnTarjeta(const QString& portapapeles) { return portapapeles.size() <= kLargoPegadoTarjeta; }

std::optional<QString> CodigoSeguridad(const QString& codigo)
{
    if (codigo.isEmpty()) return std::nullopt;
    if (codigo.size() == 3) return codigo;
    return Vb::Right(QStringLiteral("000") + codigo, 3);
}

bool FechaPracticaValida(const QString& texto)
{
    const QString t = Vb::Trim(texto);
    return t.size() == 10 && Vb::ParseDate(t).isValid();
}

bool AutorizacionValida(const QString& texto)
{
    for (const QChar c : texto)
        if (!General::ValidarTecla(c.unicode(), 2, QStringLiteral("-"))) return false;
    return true;
}

QString ReferenciaRescate(const QString& texto)
{
    const QString t = Vb::Trim(texto);
    if (t.isEmpty() || !Vb::IsNumeric(t)) return texto;
    const QString digitos = Vb::ValIntegerDigits(t);
    if (digitos.isEmpty() || digitos.startsWith(QLatin1Char('-'))) return texto;
    return digitos.rightJustified(2, QLatin1Char('0'));
}

bool FiltrarTecla(Campo campo, qint16 operacion, int& keyAscii)
{
    bool acepta = true;
    switch (campo) {
    case Campo::CSC:
    case Campo::Autorizacion:
        // The paste key passes: the whole text is checked when the box is left.
        acepta = keyAscii == kPegar || General::ValidarTecla(keyAscii, 2, QStringLiteral("-"));
        break;
    case Campo::Referencia:
        acepta = operacion == 8 ? General::ValidarTecla(keyAscii, 2, QStringLiteral("-"))
                                : General::ValidarTecla(keyAscii, 1, QString());
        break;
    case Campo::Otro:
        break;
    }
    if (!acepta) keyAscii = 0;
    return acepta;
}

}
