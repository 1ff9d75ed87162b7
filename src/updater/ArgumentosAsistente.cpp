#include "updater/ArgumentosAsistente.h"

#include "platform/Vb.h"

namespace {

constexpr int kMaximoParte = 999; // the request carries each part in three digits

std::optional<qint16> Parte(const QString& texto)
{
    if (texto.isEmpty() || texto.size() > 3) return std::nullopt;
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    const int valor = texto.toInt();
    if (valor > kMaximoParte) return std::nullopt;
    return static_cast<qint16>(valor);
}

}

std::optional<ArgumentosAsistente> ArgumentosAsistente::Leer(const QStringList& argumentos)
{
    if (argumentos.size() < 4) return std::nullopt;
    ArgumentosAsistente a;
    a.CarpetaTrabajo = Vb::Trim(argumentos.at(0));

    const QStringList partes = Vb::Trim(argumentos.at(1)).split(QLatin1Char('.'));
    if (partes.size() != 3) return std::nullopt;
    const auto major = Parte(partes.at(0));
    const auto minor = Parte(partes.at(1));
    const auto revision = Parte(partes.at(2));
    if (!major || !minor || !revision) return std::nullopt;
    a.Major = *major;
    a.Minor = *minor;
    a.Revision = *revision;

    a.RutaPrograma = argumentos.at(2);
    if (!a.RutaPrograma.startsWith(QLatin1Char('/'))) return std::nullopt;
    const QString nombre = Vb::Trim(a.RutaPrograma.mid(a.RutaPrograma.lastIndexOf(QLatin1Char('/')) + 1));
    if (nombre.size() < 4) return std::nullopt;
    return a;
}
