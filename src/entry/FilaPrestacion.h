#pragma once
#include <QString>

class QTreeWidgetItem;

// One service line as the entry window's list and the service-line dialog's list hold it: the
// row text and its six sub-items, in the order the send reads them back.
class FilaPrestacion {
public:
    QString codigo;      // row text: the service code
    QString tipo;        // sub-item 1, "1. Ambulatoria": its leading digit is the type
    QString arancel;     // sub-item 2, its leading digit is the tariff
    QString cantidad;    // sub-item 3
    QString caras;       // sub-item 4, the tooth-face letters
    QString pieza;       // sub-item 5, the tooth number or the sector code
    QString descripcion; // sub-item 6

    static constexpr int kColumnas = 7;

    bool operator==(const FilaPrestacion& o) const
    {
        return codigo == o.codigo && tipo == o.tipo && arancel == o.arancel && cantidad == o.cantidad &&
               caras == o.caras && pieza == o.pieza && descripcion == o.descripcion;
    }

    // The row of a list item, and a row written into one (every column).
    static FilaPrestacion De(const QTreeWidgetItem* item);
    void EscribirEn(QTreeWidgetItem* item) const;
};
