#pragma once
#include "engine/clsItemError.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// The error items of an answer, one row each.
class frmMostrarErrores : public QDialog {
    Q_OBJECT
public:
    explicit frmMostrarErrores(QWidget* parent = nullptr);

    // Filled by the sender before CargarErrores.
    ListaErrores colErrores;

    QTreeWidget* lvwErrores;
    QPushButton* cmdAceptar;

    void CargarErrores();
    void cmdAceptar_Click();
};
