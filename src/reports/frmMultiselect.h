#pragma once
#include <QDialog>
#include <QList>
#include <QString>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The picker of clsMultiselec: the available rows on the left, the chosen ones on the right,
// moved one or all at a time. "Aceptar" keeps the right list, "Cancelar" and the window's
// close box empty it.
class frmMultiselect : public QDialog {
    Q_OBJECT
public:
    // One row of either list: the key column's text and the detail column's.
    struct Item {
        QString Texto;
        QString Detalle;
        bool operator==(const Item& o) const { return Texto == o.Texto && Detalle == o.Detalle; }
    };

    explicit frmMultiselect(QWidget* parent = nullptr);

    QTreeWidget* lvwDisponibles = nullptr;
    QTreeWidget* lvwSeleccionados = nullptr;
    QList<QPushButton*> cmdTraspaso; // ">", ">>", "<<", "<"
    QList<QPushButton*> cmdAceptar;  // "&Aceptar", "&Cancelar"

    void cmdTraspaso_Click(int Index);
    void cmdAceptar_Click(int Index);
    void lvwDisponibles_DblClick();
    void lvwSeleccionados_DblClick();
    // all: 0 the selected item, 1 every item; direccion: 0 to the right list, 1 back.
    void Traspasar(int todos, int direccion);

    // Sets the two columns of both lists and empties them.
    void PrepararListas();
    void AgregarDisponible(const Item& item);
    static QList<Item> Items(const QTreeWidget* lista);

    void reject() override;

private:
    static void Agregar(QTreeWidget* lista, const Item& item);
};
