#include "reports/frmMultiselect.h"

#include "platform/Twips.h"
#include "platform/ReglasEntrada.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kAnchoCodigoTw = 500;
constexpr int kAnchoDetalleTw = 1500;

QTreeWidget* NuevaLista(QWidget* padre, const QString& nombre)
{
    auto* l = new QTreeWidget(padre);
    l->setObjectName(nombre);
    l->setRootIsDecorated(false);
    l->setItemsExpandable(false);
    l->setUniformRowHeights(true);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setAllColumnsShowFocus(true);
    l->header()->setStretchLastSection(true);
    return l;
}
}

frmMultiselect::frmMultiselect(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMultiselect"));
    setWindowTitle(QStringLiteral("Selección..."));
    lvwDisponibles = NuevaLista(this, QStringLiteral("lvwDisponibles"));
    lvwSeleccionados = NuevaLista(this, QStringLiteral("lvwSeleccionados"));

    const QStringList textos = {QStringLiteral(">"), QStringLiteral(">>"), QStringLiteral("<<"), QStringLiteral("<")};
    auto* botones = new QVBoxLayout;
    botones->addStretch();
    for (int i = 0; i < textos.size(); ++i) {
        auto* b = new QPushButton(textos[i], this);
        b->setObjectName(QStringLiteral("cmdTraspaso_%1").arg(i));
        b->setFixedWidth(Twips::APixeles(600));
        connect(b, &QPushButton::clicked, this, [this, i] { cmdTraspaso_Click(i); });
        cmdTraspaso << b;
        botones->addWidget(b);
    }
    botones->addStretch();
    auto* pie = new QHBoxLayout;
    pie->addStretch();
    const QStringList pies = {QStringLiteral("&Aceptar"), QStringLiteral("&Cancelar")};
    for (int i = 0; i < pies.size(); ++i) {
        auto* b = new QPushButton(pies[i], this);
        b->setObjectName(QStringLiteral("cmdAceptar_%1").arg(i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdAceptar_Click(i); });
        cmdAceptar << b;
        pie->addWidget(b);
    }
    auto* grilla = new QGridLayout(this);
    grilla->addWidget(lvwDisponibles, 0, 0);
    grilla->addLayout(botones, 0, 1);
    grilla->addWidget(lvwSeleccionados, 0, 2);
    grilla->addLayout(pie, 1, 0, 1, 3);
    resize(Twips::APixeles(6600), Twips::APixeles(4200));

    connect(lvwDisponibles, &QTreeWidget::itemDoubleClicked, this, [this] { lvwDisponibles_DblClick(); });
    connect(lvwSeleccionados, &QTreeWidget::itemDoubleClicked, this, [this] { lvwSeleccionados_DblClick(); });
    PrepararListas();
    ReglasEntrada::PrepararVentana(this);
}

void frmMultiselect::PrepararListas()
{
    for (QTreeWidget* l : {lvwDisponibles, lvwSeleccionados}) {
        l->clear();
        l->setHeaderLabels({QStringLiteral("Código"), QStringLiteral("Detalle")});
        l->setColumnWidth(0, Twips::APixeles(kAnchoCodigoTw));
        l->setColumnWidth(1, Twips::APixeles(kAnchoDetalleTw));
    }
}

void frmMultiselect::Agregar(QTreeWidget* lista, const Item& item)
{
    lista->addTopLevelItem(new QTreeWidgetItem({item.Texto, item.Detalle}));
}

void frmMultiselect::AgregarDisponible(const Item& item) { Agregar(lvwDisponibles, item); }

QList<frmMultiselect::Item> frmMultiselect::Items(const QTreeWidget* lista)
{
    QList<Item> r;
    for (int i = 0; i < lista->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* it = lista->topLevelItem(i);
        r << Item{it->text(0), it->text(1)};
    }
    return r;
}

void frmMultiselect::Traspasar(int todos, int direccion)
{
    QTreeWidget* origen = direccion == 0 ? lvwDisponibles : lvwSeleccionados;
    QTreeWidget* destino = direccion == 0 ? lvwSeleccionados : lvwDisponibles;
    if (todos == 0) {
        QTreeWidgetItem* elegido = origen->currentItem();
        if (!elegido || !elegido->isSelected()) return;
        Agregar(destino, Item{elegido->text(0), elegido->text(1)});
        delete origen->takeTopLevelItem(origen->indexOfTopLevelItem(elegido));
        return;
    }
    for (const Item& item : Items(origen)) Agregar(destino, item);
    origen->clear();
}

void frmMultiselect::cmdTraspaso_Click(int Index)
{
    static const int kTodos[] = {0, 1, 1, 0};
    static const int kDireccion[] = {0, 0, 1, 1};
    if (Index >= 0 && Index < 4) Traspasar(kTodos[Index], kDireccion[Index]);
}

void frmMultiselect::lvwDisponibles_DblClick() { cmdTraspaso_Click(0); }
void frmMultiselect::lvwSeleccionados_DblClick() { cmdTraspaso_Click(3); }

void frmMultiselect::cmdAceptar_Click(int Index)
{
    if (Index == 0) {
        accept();
        return;
    }
    reject();
}

void frmMultiselect::reject()
{
    // Cancel and the close box return nothing chosen.
    lvwSeleccionados->clear();
    QDialog::reject();
}
