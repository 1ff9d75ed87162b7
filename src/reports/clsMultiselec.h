#pragma once
#include "platform/Database.h"
#include "reports/frmMultiselect.h"

#include <QList>
#include <QString>
#include <memory>

class clsLog;

// A reusable picker: the rows of a query are offered in frmMultiselect and the ones the
// user moved to the right are returned, in the order of that list. Use: create, set the
// public variables, Seleccionar, release.
class clsMultiselec {
public:
    clsMultiselec();
    ~clsMultiselec();

    QString sTitulo;
    QString sql_Disponibles;
    qint32 int_CampoDetalle = 0;
    qint32 int_CampoClave = 0;
    DbResult rs_Seleccionados;

    // Shows the dialog modally (through the dialogs facade) and returns the chosen items;
    // empty when cancelled or closed. A failing query is raised to the caller.
    QList<frmMultiselect::Item> Seleccionar();

private:
    void CargarDisponibles(frmMultiselect& form);
    std::shared_ptr<clsLog> m_Log;
};
