#include "shell/RegistroConfiguracion.h"

namespace RegistroConfiguracion {

QList<QPair<QString, QString>> ValoresActualizacion(const Actualizacion& a)
{
    const bool activa = a.nomencladores == 1;
    auto valor = [activa](bool b) { return activa && b ? QStringLiteral("1") : QStringLiteral("0"); };
    QList<QPair<QString, QString>> v = {{QStringLiteral("ActualizaNomencladores"), valor(true)},
                                        {QStringLiteral("ActualizaMedicos"), valor(a.medicos)},
                                        {QStringLiteral("ActualizaEfectores"), valor(a.efectores)},
                                        {QStringLiteral("ActualizaPrestadores"), valor(a.prestadores)},
                                        {QStringLiteral("ActualizaObrasS"), valor(a.obras)},
                                        {QStringLiteral("ActualizaPrestaciones"), valor(a.prestaciones)},
                                        {QStringLiteral("ActualizaDiagnosticos"), valor(a.diagnosticos)}};
    if (!activa) v.append({QStringLiteral("FechaDruvexEmp"), QString()});
    return v;
}

}
