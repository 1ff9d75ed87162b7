#include "shell/modImpresoras.h"

#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "platform/ValoresBD.h"
#include "platform/VbError.h"

#include <QListWidget>

namespace modImpresoras {

namespace {
constexpr int kTamanoCourier = 10;
}

int CargarImpresoras(QListWidget* lista)
{
    lista->clear();
    int elegida = 0;
    const QString activa = Printing::ImpresoraActiva();
    try {
        Printers::Recorrer([&](const QString& nombre) {
            lista->addItem(nombre);
            if (nombre == activa) elegida = lista->count() - 1;
        });
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Imposible consultar las impresoras instaladas.\r\n") + DescripcionError(e),
                        Vbc::vbCritical, Dialogs::kAppTitle);
        lista->setCurrentRow(-1);
        return lista->count();
    }
    if (lista->count() > 0) lista->setCurrentRow(elegida);
    return lista->count();
}

QString BuscarImpresora(const QString& texto)
{
    for (const QString& nombre : Printers::Names())
        if (nombre.toUpper() == texto.toUpper()) return nombre;
    return QString();
}

QString ActivarImpresora(const QString& texto)
{
    const QString nombre = BuscarImpresora(texto);
    if (nombre.isEmpty()) return nombre;
    Printing::setImpresoraActiva(nombre);
    for (const QString& fuente : Printers::Fuentes(nombre)) {
        if (fuente.toUpper() == QLatin1String("COURIER")) {
            Printing::setFuenteActiva(fuente, kTamanoCourier);
            break;
        }
    }
    return nombre;
}

bool GuardarImpresora(qint16 idTerminal, bool imprimir, const QString& impresora)
{
    Database cn;
    cn.Open();
    // Both engines count the rows the condition matched, changed or not.
    return cn.Execute(QStringLiteral("UPDATE Parametros SET Imprimir = ?, Impresora = ? WHERE IdTerminal = ?"),
               {ValoresBD::Bandera(imprimir), ValoresBD::TextoParaGuardar(impresora), int(idTerminal)}) > 0;
}

}
