#include "engine/frmMostrarErrores.h"
#include "platform/ReglasEntrada.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmMostrarErrores::frmMostrarErrores(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMostrarErrores"));
    setWindowTitle(QStringLiteral("Errores"));
    setModal(true);
    resize(640, 300);

    lvwErrores = new QTreeWidget(this);
    lvwErrores->setObjectName(QStringLiteral("lvwErrores"));
    lvwErrores->setRootIsDecorated(false);
    lvwErrores->setHeaderLabels({QStringLiteral("Tipo"), QStringLiteral("Clave"), QStringLiteral("Numero"),
                                 QStringLiteral("Comentario")});
    lvwErrores->header()->setStretchLastSection(false);
    lvwErrores->setColumnWidth(0, 50);
    lvwErrores->setColumnWidth(1, 80);
    lvwErrores->setColumnWidth(2, 70);
    lvwErrores->setColumnWidth(3, 300);

    cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setDefault(true);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvwErrores);
    layout->addLayout(botones);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmMostrarErrores::cmdAceptar_Click);
    ReglasEntrada::PrepararVentana(this);
}

void frmMostrarErrores::CargarErrores()
{
    const QFontMetrics fm(lvwErrores->font());
    for (const clsItemError& e : colErrores) {
        auto* item = new QTreeWidgetItem(lvwErrores);
        item->setText(0, QString::number(e.Tipo));
        item->setText(1, e.Clave);
        item->setText(2, e.Error);
        item->setText(3, e.Comentario);
        const int ancho = fm.horizontalAdvance(e.Comentario);
        if (ancho > lvwErrores->columnWidth(3)) lvwErrores->setColumnWidth(3, ancho);
    }
}

void frmMostrarErrores::cmdAceptar_Click() { accept(); }
