#include "txlog/GeneralPrestaciones.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsPrestacion.h"
#include "config/clsPrestaciones.h"
#include "engine/General.h"
#include "platform/VbError.h"
#include "platform/Dialogs.h"
#include "platform/RelojDeArena.h"

#include <QTreeWidget>

namespace General {

void CargarListaPrestaciones(const QString& nombre, QTreeWidget* lista)
{
    if (!lista) return;
    RelojDeArena reloj;
    QList<QTreeWidgetItem*> filas;
    try {
        lista->clear();
        if (!gConfig || !gConfig->Prestaciones())
            throw VbError(91, QStringLiteral("General"), QStringLiteral("No hay configuración cargada"));
        const auto catalogo = gConfig->Prestaciones();
        catalogo->strArchivoPrestaciones = nombre;
        const auto prestaciones = catalogo->Load();
        filas.reserve(prestaciones->Count());
        // No key per row: two services may share an internal code (or both have none).
        for (const auto& p : *prestaciones)
            filas.append(new QTreeWidgetItem(
                QStringList{p->CodigoInterno, p->CodigoPrestacion, p->Valor1, p->Valor2, p->Descripcion, p->Observaciones}));
        lista->addTopLevelItems(filas);
    } catch (const std::exception& e) {
        lista->addTopLevelItems(filas);
        Dialogs::MsgBox(QStringLiteral("Error al cargar prestaciones\n") + DescripcionError(e), Vbc::vbInformation,
                        Dialogs::kAppTitle);
    }
}

}
