#include "shell/DependenciasOperaciones.h"

#include "config/Coleccion.h"
#include "config/clsOperacion.h"
#include "platform/Vb.h"

namespace DependenciasOperaciones {

QStringList Basicas() { return {QStringLiteral("03F"), QStringLiteral("04A"), QStringLiteral("01A")}; }

QStringList DeTipo(QChar tipo)
{
    switch (tipo.unicode()) {
    case '0': // doctors
    case '6': // clinics
        return {QStringLiteral("31"), QStringLiteral("02S"), QStringLiteral("02Q"), QStringLiteral("02P"),
                QStringLiteral("02D"), QStringLiteral("02A")};
    case '1': // dentists
        return {QStringLiteral("3A"), QStringLiteral("2CB"), QStringLiteral("02A")};
    case '2': // psychologists
        return {QStringLiteral("03A"), QStringLiteral("02D"), QStringLiteral("02C"), QStringLiteral("02B"),
                QStringLiteral("02A")};
    case '3': // diagnosis
        return {QStringLiteral("02L"), QStringLiteral("02D"), QStringLiteral("02A")};
    case '5': // per-session providers
        return {QStringLiteral("03A"), QStringLiteral("02D"), QStringLiteral("02C"), QStringLiteral("02A")};
    default:
        return {QStringLiteral("03A"), QStringLiteral("02D"), QStringLiteral("02C"), QStringLiteral("02A"),
                QStringLiteral("01C"), QStringLiteral("01B")};
    }
}

QStringList EnUso(const QString& listaIdsPrestadores)
{
    QStringList codigos = Basicas();
    for (int i = 0; i < listaIdsPrestadores.size() && !Vb::Trim(listaIdsPrestadores.mid(i)).isEmpty(); ++i)
        for (const QString& c : DeTipo(listaIdsPrestadores.at(i)))
            if (!codigos.contains(c)) codigos << c;
    return codigos;
}

void Aplicar(const Coleccion<clsOperacion>& operaciones, const QString& listaIdsPrestadores)
{
    const QStringList enUso = EnUso(listaIdsPrestadores);
    for (const auto& op : operaciones) op->intUtiliza = enUso.contains(op->strIdentificacion, Qt::CaseSensitive) ? 1 : 0;
}

}
