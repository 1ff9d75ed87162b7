#include "txlog/frmPrestacionGenerica.h"

#include "config/GeneralCombos.h"
#include "config/GeneralObrasSociales.h"
#include "config/clsObraSocial.h"
#include "platform/ChequeosAlSalir.h"
#include "platform/VbError.h"
#include "platform/Dialogs.h"
#include "platform/Vb.h"
#include "txlog/GeneralPrestaciones.h"
#include "platform/ReglasEntrada.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct Columna {
    const char* titulo;
    int ceros; // as wide as this many "0"
};
const Columna kColumnas[] = {{"Cod. (Obra Social)", 15}, {"Cod. Prestador", 15}, {"Valor 1", 15},
                             {"Valor 2", 15},            {"Descripcion", 30},    {"Observaciones", 50}};
constexpr int kColCodigoPrestador = 1;

QLineEdit* caja(const char* nombre, QWidget* padre)
{
    auto* c = new QLineEdit(padre);
    c->setObjectName(QLatin1String(nombre));
    return c;
}

QString ceroSiVacio(const QString& texto) { return texto.isEmpty() ? QStringLiteral("0") : texto; }

}

frmPrestacionGenerica::frmPrestacionGenerica(QTreeWidget* destino, const QString& lineaObraSocial, QWidget* parent)
    : QDialog(parent), m_destino(destino), m_lineaObraSocial(lineaObraSocial)
{
    setObjectName(QStringLiteral("frmPrestacionGenerica"));
    setWindowTitle(QStringLiteral("Prestaciones"));

    fraPrestacion = new QGroupBox(this);
    fraPrestacion->setObjectName(QStringLiteral("fraPrestacion"));
    txtPrestacion = caja("txtPrestacion", fraPrestacion);
    txtAutorizacion = caja("txtAutorizacion", fraPrestacion);
    txtDiagnostico = caja("txtDiagnostico", fraPrestacion);
    const QString titulos[] = {QStringLiteral("Código Prestación:"), QStringLiteral("Código Autorización"),
                               QStringLiteral("Diagnóstico:"), QStringLiteral("Prestaciones cargadas:")};
    for (const QString& t : titulos) {
        auto* l = new QLabel(t, this);
        l->setObjectName(QStringLiteral("lblEtiqueta"));
        l->setProperty("Index", lblEtiqueta.size());
        lblEtiqueta.append(l);
    }
    lblEtiqueta[0]->setBuddy(txtPrestacion);
    lblEtiqueta[1]->setBuddy(txtAutorizacion);
    lblEtiqueta[2]->setBuddy(txtDiagnostico);

    lvwPrestaciones = new QTreeWidget(this);
    lvwPrestaciones->setObjectName(QStringLiteral("lvwPrestaciones"));
    lvwPrestaciones->setRootIsDecorated(false);
    lvwPrestaciones->setUniformRowHeights(true);
    lvwPrestaciones->setAllColumnsShowFocus(true);
    lvwPrestaciones->header()->setSectionsClickable(true);
    lblEtiqueta[3]->setBuddy(lvwPrestaciones);

    cmdOK = new QPushButton(QStringLiteral("&Agregar"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    cmdCancel = new QPushButton(QStringLiteral("&Cerrar"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto* campos = new QGridLayout(fraPrestacion);
    campos->addWidget(lblEtiqueta[0], 0, 0);
    campos->addWidget(txtPrestacion, 1, 0);
    campos->addWidget(lblEtiqueta[1], 0, 1);
    campos->addWidget(txtAutorizacion, 1, 1);
    campos->addWidget(lblEtiqueta[2], 0, 2);
    campos->addWidget(txtDiagnostico, 1, 2);
    auto* botones = new QVBoxLayout;
    botones->addWidget(cmdOK);
    botones->addWidget(cmdCancel);
    botones->addStretch();
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(fraPrestacion, 1);
    arriba->addLayout(botones);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(arriba);
    capa->addWidget(lblEtiqueta[3]);
    capa->addWidget(lvwPrestaciones, 1);
    resize(760, 420);

    connect(lvwPrestaciones->header(), &QHeaderView::sectionClicked, this,
            &frmPrestacionGenerica::lvwPrestaciones_ColumnClick);
    connect(lvwPrestaciones, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { lvwPrestaciones_ItemClick(item); });
    connect(lvwPrestaciones, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { lvwPrestaciones_DblClick(item); });
    connect(cmdOK, &QPushButton::clicked, this, &frmPrestacionGenerica::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrestacionGenerica::cmdCancel_Click);
    auto* salida = new ChequeosAlSalir(this);
    salida->AgregarValidacion(txtPrestacion, [this](bool& c) { txtPrestacion_Validate(c); });
    salida->AgregarValidacion(txtAutorizacion, [this](bool& c) { txtAutorizacion_Validate(c); });
    ReglasEntrada::PrepararVentana(this);
}

bool frmPrestacionGenerica::ValorAceptable(const QString& texto) { return texto.isEmpty() || Vb::IsNumeric(texto); }

QString frmPrestacionGenerica::CodigoComoNumero(const QString& codigo) { return Vb::Str(Vb::Val(codigo)); }

void frmPrestacionGenerica::Form_Load()
{
    QString nombre = m_lineaObraSocial;
    QString codigo;
    General::SepararCodigoParentesis(nombre, codigo);
    // An insurer that is not (or no longer) configured translates nothing.
    const auto os = General::BuscarObraSocial(nombre, codigo);
    m_utilizaCI = os && os->UtilizaCI;

    lvwPrestaciones->clear();
    QStringList titulos;
    for (const Columna& c : kColumnas) titulos << QLatin1String(c.titulo);
    lvwPrestaciones->setHeaderLabels(titulos);
    const QFontMetrics fm(lvwPrestaciones->font());
    for (int i = 0; i < int(std::size(kColumnas)); ++i)
        lvwPrestaciones->setColumnWidth(i, fm.horizontalAdvance(QString(kColumnas[i].ceros, QLatin1Char('0'))));
    General::CargarListaPrestaciones(nombre, lvwPrestaciones);
}

void frmPrestacionGenerica::lvwPrestaciones_ColumnClick(int columna)
{
    try {
        m_descendente = !m_descendente;
        const Qt::SortOrder orden = m_descendente ? Qt::DescendingOrder : Qt::AscendingOrder;
        lvwPrestaciones->header()->setSortIndicatorShown(true);
        lvwPrestaciones->header()->setSortIndicator(columna, orden);
        lvwPrestaciones->sortItems(columna, orden);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmPrestacionGenerica::lvwPrestaciones_ItemClick(QTreeWidgetItem* item)
{
    if (item) txtPrestacion->setText(CodigoComoNumero(item->text(0)));
}

void frmPrestacionGenerica::lvwPrestaciones_DblClick(QTreeWidgetItem* item)
{
    if (!item) return;
    lvwPrestaciones_ItemClick(item);
    cmdOK_Click();
}

void frmPrestacionGenerica::ValidarNumero(QLineEdit* caja, bool& Cancel)
{
    if (ValorAceptable(caja->text())) return;
    Dialogs::MsgBox(QStringLiteral("Debe ingresar un valor numérico."), Vbc::vbInformation, Dialogs::kAppTitle);
    Cancel = true;
}

void frmPrestacionGenerica::txtPrestacion_Validate(bool& Cancel) { ValidarNumero(txtPrestacion, Cancel); }

void frmPrestacionGenerica::txtAutorizacion_Validate(bool& Cancel) { ValidarNumero(txtAutorizacion, Cancel); }

void frmPrestacionGenerica::Agregar()
{
    const QString codigo = txtPrestacion->text();
    if (codigo.isEmpty()) {
        Dialogs::MsgBox(QStringLiteral("Debe ingresar al menos el Código de la Prestación"), Vbc::vbInformation,
                        Dialogs::kAppTitle);
        txtPrestacion->setFocus();
        return;
    }
    QString texto;
    if (m_utilizaCI) {
        for (int i = 0; i < lvwPrestaciones->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* fila = lvwPrestaciones->topLevelItem(i);
            if (fila->text(kColCodigoPrestador) == codigo) {
                texto = fila->text(0);
                break;
            }
        }
    }
    if (texto.isEmpty()) texto = codigo;
    m_destino->addTopLevelItem(
        new QTreeWidgetItem(QStringList{texto, ceroSiVacio(txtAutorizacion->text()), ceroSiVacio(txtDiagnostico->text())}));
    txtPrestacion->clear();
    txtAutorizacion->clear();
    txtDiagnostico->clear();
    txtPrestacion->setFocus();
}

void frmPrestacionGenerica::Modificar()
{
    const QList<QTreeWidgetItem*> elegidas = m_destino->selectedItems();
    if (elegidas.isEmpty()) return;
    QTreeWidgetItem* fila = elegidas.first();
    fila->setText(0, txtPrestacion->text());
    fila->setText(1, txtAutorizacion->text());
    fila->setText(2, txtDiagnostico->text());
}

void frmPrestacionGenerica::cmdOK_Click()
{
    try {
        if (!m_destino) return;
        if (AddNew)
            Agregar();
        else
            Modificar();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmPrestacionGenerica::cmdCancel_Click() { reject(); }
