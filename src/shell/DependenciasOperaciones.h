#pragma once
#include <QString>
#include <QStringList>

template <typename T>
class Coleccion;
class clsOperacion;

// Which operations a terminal uses follows from the types of its providers: after the provider
// table is fetched in full, the use flags are set from these rules rather than by hand.
namespace DependenciasOperaciones {

// The codes every terminal uses.
QStringList Basicas();
// The codes a provider type character brings; any character outside the table brings the
// widest set.
QStringList DeTipo(QChar tipo);
// The codes in use for the provider type digits of `ListaIdsPrestadores`, read from the left
// while what is left of the text, trimmed, is not empty.
QStringList EnUso(const QString& listaIdsPrestadores);
// Sets every operation's `intUtiliza` to 1 exactly when its code is in use, 0 otherwise.
void Aplicar(const Coleccion<clsOperacion>& operaciones, const QString& listaIdsPrestadores);

}
