#include "entry/frmBuscarPorAccion.h"

#include "config/clsPrestacion.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "platform/ReglasEntrada.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct Columna {
    const char* titulo;
    int ceros; // as wide as this many "0"; 0 hides a column that still carries data
};
const Columna kColumnas[] = {{"Cod. Prestacion", 15}, {"Descripción", 30}, {"Cod. (Obra Social)", 0},
                             {"Valor 1", 0},          {"Valor 2", 0},      {"Observaciones", 0}};
// Result columns of clsPrestacion::Buscar.
enum { kCodigoPrestacion = 1, kCodigoInterno = 2, kValor1 = 3, kValor2 = 4, kDescripcion = 5, kObservaciones = 6 };
constexpr int kEnter = 13;

QPushButton* boton(const QString& texto, const char* nombre, const QString& ayuda, QWidget* padre)
{
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QLatin1String(nombre));
    b->setToolTip(ayuda);
    b->setAutoDefault(false);
    return b;
}

}

frmBuscarPorAccion::frmBuscarPorAccion(QLineEdit* codigoDestino, QLineEdit* nombreDestino, QWidget* parent)
    : QDialog(parent), m_codigoDestino(codigoDestino), m_nombreDestino(nombreDestino)
{
    setObjectName(QStringLiteral("frmBuscarPorAccion"));
    setWindowTitle(QStringLiteral("Buscar prestaciones"));

    cboOption = new QComboBox(this);
    cboOption->setObjectName(QStringLiteral("cboOption"));
    cmdSearchStop = boton(QStringLiteral("Detener"), "cmdSearchStop", QStringLiteral("Interrumpe la búsqueda"), this);
    cmdSearchBegin = boton(QStringLiteral("Buscar"), "cmdSearchBegin", QStringLiteral("Ejecuta la búsqueda"), this);
    cmdCancel = boton(QStringLiteral("&Cancelar"), "cmdCancel", QStringLiteral("Cancela la búsqueda"), this);
    cmdOK = boton(QStringLiteral("&Aceptar"), "cmdOK", QStringLiteral("Selecciona el registro marcado"), this);
    txtPattern = new QLineEdit(this);
    txtPattern->setObjectName(QStringLiteral("txtPattern"));
    txtPattern->installEventFilter(this);
    lvwResult = new QTreeWidget(this);
    lvwResult->setObjectName(QStringLiteral("lvwResult"));
    lvwResult->setRootIsDecorated(false);
    lvwResult->setUniformRowHeights(true);
    lvwResult->setAllColumnsShowFocus(true);
    lvwResult->header()->setSectionsClickable(true);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusBar->addWidget(new QLabel(QStringLiteral("Registros encontrados"), StatusBar), 1);

    auto* arriba = new QHBoxLayout;
    arriba->addWidget(cboOption);
    arriba->addWidget(txtPattern, 1);
    arriba->addWidget(cmdSearchBegin);
    arriba->addWidget(cmdSearchStop);
    auto* abajo = new QHBoxLayout;
    abajo->addStretch();
    abajo->addWidget(cmdOK);
    abajo->addWidget(cmdCancel);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(arriba);
    capa->addWidget(lvwResult, 1);
    capa->addLayout(abajo);
    capa->addWidget(StatusBar);
    resize(640, 400);

    connect(cmdSearchBegin, &QPushButton::clicked, this, &frmBuscarPorAccion::cmdSearchBegin_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmBuscarPorAccion::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBuscarPorAccion::cmdCancel_Click);
    connect(lvwResult, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        lvwResult_ItemClick(item);
        lvwResult_Click();
    });
    connect(lvwResult, &QTreeWidget::itemDoubleClicked, this, [this] { lvwResult_DblClick(); });
    connect(lvwResult->header(), &QHeaderView::sectionClicked, this, &frmBuscarPorAccion::lvwResult_ColumnClick);
    ReglasEntrada::PrepararVentana(this);
}

QString frmBuscarPorAccion::Plegar(const QString& texto)
{
    const QString descompuesto = texto.normalized(QString::NormalizationForm_D);
    QString plegado;
    plegado.reserve(descompuesto.size());
    for (const QChar c : descompuesto)
        if (c.category() != QChar::Mark_NonSpacing) plegado.append(c);
    return plegado.toCaseFolded();
}

bool frmBuscarPorAccion::Coincide(const QString& codigo, const QString& descripcion, const QString& patron,
                                  bool porCodigo)
{
    const QString p = Plegar(patron);
    return porCodigo ? Plegar(codigo).endsWith(p) : Plegar(descripcion).contains(p);
}

void frmBuscarPorAccion::Form_Load()
{
    cboOption->clear();
    cboOption->addItems({QStringLiteral("Descripción"), QStringLiteral("Código")});
    cboOption->setCurrentIndex(0);

    lvwResult->clear();
    lvwResult->setColumnCount(0);
    QStringList titulos;
    for (const Columna& c : kColumnas) titulos << QString::fromUtf8(c.titulo);
    lvwResult->setHeaderLabels(titulos);
    const QFontMetrics fm(font());
    for (int i = 0; i < int(std::size(kColumnas)); ++i) {
        lvwResult->setColumnWidth(i, fm.horizontalAdvance(QString(kColumnas[i].ceros, QLatin1Char('0'))));
        lvwResult->setColumnHidden(i, kColumnas[i].ceros == 0);
    }
}

void frmBuscarPorAccion::cmdSearchBegin_Click()
{
    QApplication::processEvents();
    const QString patron = Vb::Trim(txtPattern->text());
    txtPattern->setSelection(0, patron.size());
    if (patron.isEmpty()) return;
    lvwResult->clear();
    try {
        // The whole table is read and matched here: no engine compares accented letters
        // without regard to case the way the other does, and the typed text never becomes SQL.
        clsPrestacion prestacion;
        const auto rs = prestacion.Buscar(CondicionSQL{});
        const bool porCodigo = cboOption->currentIndex() != 0;
        for (const QVariantList& fila : rs ? rs->Rows() : QList<QVariantList>{}) {
            const auto texto = [&](int i) { return Vb::CStr(fila.value(i)); };
            if (!Coincide(texto(kCodigoPrestacion), texto(kDescripcion), patron, porCodigo)) continue;
            lvwResult->addTopLevelItem(new QTreeWidgetItem(
                QStringList{texto(kCodigoPrestacion), texto(kDescripcion), texto(kCodigoInterno), texto(kValor1),
                            texto(kValor2), texto(kObservaciones)}));
        }
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Se produjo el siguiente error: ") + DescripcionError(e), Vbc::vbOKOnly,
                        Dialogs::kAppTitle);
    }
    txtPattern->setReadOnly(false);
}

void frmBuscarPorAccion::txtPattern_KeyPress(int& KeyAscii)
{
    if (KeyAscii != kEnter) return;
    if (cmdSearchBegin->isEnabled()) cmdSearchBegin_Click();
    KeyAscii = 0;
}

void frmBuscarPorAccion::txtPattern_GotFocus() { cmdOK->setEnabled(false); }

void frmBuscarPorAccion::lvwResult_ItemClick(QTreeWidgetItem* item) { cmdOK->setEnabled(item && item->isSelected()); }

void frmBuscarPorAccion::lvwResult_Click() { cmdOK->setEnabled(!lvwResult->selectedItems().isEmpty()); }

void frmBuscarPorAccion::lvwResult_DblClick()
{
    if (!lvwResult->selectedItems().isEmpty()) cmdOK_Click();
}

void frmBuscarPorAccion::lvwResult_ColumnClick(int columna)
{
    m_descendente = columna == m_columnaOrden ? !m_descendente : false;
    m_columnaOrden = columna;
    const Qt::SortOrder orden = m_descendente ? Qt::DescendingOrder : Qt::AscendingOrder;
    lvwResult->header()->setSortIndicatorShown(true);
    lvwResult->header()->setSortIndicator(columna, orden);
    lvwResult->sortItems(columna, orden);
}

void frmBuscarPorAccion::cmdOK_Click()
{
    for (int i = 0; i < lvwResult->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* fila = lvwResult->topLevelItem(i);
        if (!fila->isSelected()) continue;
        if (m_codigoDestino) m_codigoDestino->setText(fila->text(0));
        if (m_nombreDestino) m_nombreDestino->setText(fila->text(1));
        break;
    }
    accept();
}

void frmBuscarPorAccion::cmdCancel_Click() { reject(); }

bool frmBuscarPorAccion::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == txtPattern) {
        if (evento->type() == QEvent::FocusIn) {
            txtPattern_GotFocus();
        } else if (evento->type() == QEvent::KeyPress) {
            const auto* tecla = static_cast<QKeyEvent*>(evento);
            if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
                int ascii = kEnter;
                txtPattern_KeyPress(ascii);
                return true;
            }
        }
    }
    return QDialog::eventFilter(objeto, evento);
}
