#include "entry/FilaPrestacion.h"

#include <QTreeWidgetItem>

FilaPrestacion FilaPrestacion::De(const QTreeWidgetItem* item)
{
    if (!item) return {};
    return {item->text(0), item->text(1), item->text(2), item->text(3),
            item->text(4), item->text(5), item->text(6)};
}

void FilaPrestacion::EscribirEn(QTreeWidgetItem* item) const
{
    const QString columnas[kColumnas] = {codigo, tipo, arancel, cantidad, caras, pieza, descripcion};
    for (int i = 0; i < kColumnas; ++i) item->setText(i, columnas[i]);
}
