#include "entry/frmPrestacion.h"

#include "config/GeneralCombos.h"
#include "config/GeneralObrasSociales.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmBuscarPorAccion.h"
#include "platform/ChequeosAlSalir.h"
#include "platform/Dialogs.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "platform/ReglasEntrada.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr int kPegar = 22;
const char* const kTipos[] = {"1. Ambulatoria", "2. Clínica", "3. Quirúrgica", "4. Domiciliaria"};
const char* const kAranceles[] = {"0. Todos los honorarios que correspondan", "1. Honorarios especialista",
                                  "2. Honorarios ayudante", "3. Honorarios anestesista", "4. Gastos"};
struct Sector {
    const char* nombre;
    const char* codigo;
};
const Sector kSectores[] = {{"", ""},
                            {"Pieza", ""},
                            {"Inferior", "IN"},
                            {"Inferior Izquierdo", "II"},
                            {"Inferior Anterior", "IA"},
                            {"Inferior Derecho", "ID"},
                            {"Superior", "SU"},
                            {"Superior Izquierdo", "SI"},
                            {"Superior Anterior", "SA"},
                            {"Superior Derecho", "SD"}};
constexpr int kItemPieza = 1;
const char* const kCaras[] = {"Mesial", "Oclusal", "Distal", "Vestibular", "Lingual"};
const QString kLetrasCaras = QStringLiteral("MODVL");

QLabel* etiqueta(const QString& texto, const char* nombre, QWidget* padre)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    return l;
}

QLineEdit* caja(const char* nombre, QWidget* padre)
{
    auto* c = new QLineEdit(padre);
    c->setObjectName(QLatin1String(nombre));
    return c;
}

QPushButton* boton(const QString& texto, const char* nombre, QWidget* padre)
{
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QLatin1String(nombre));
    b->setAutoDefault(false);
    return b;
}

void Nota(const QString& texto, const QString& titulo = Dialogs::kAppTitle)
{
    Dialogs::MsgBox(texto, Vbc::vbInformation, titulo);
}

QTreeWidgetItem* NuevaFila(const FilaPrestacion& fila)
{
    auto* item = new QTreeWidgetItem;
    fila.EscribirEn(item);
    return item;
}

}

frmPrestacion::frmPrestacion(QTreeWidget* lvwPrestacionesPOS, const QString& lineaObraSocial, QWidget* parent)
    : QDialog(parent), m_lista(lvwPrestacionesPOS), m_lineaObraSocial(lineaObraSocial)
{
    setObjectName(QStringLiteral("frmPrestacion"));
    setWindowTitle(QStringLiteral("Prestación"));

    lblAUPRE = etiqueta(QStringLiteral("Prestación:"), "lblAUPRE", this);
    txtAUPRE = caja("txtAUPRE", this);
    cmdBuscar = boton(QStringLiteral("..."), "cmdBuscar", this);
    lblNombre = etiqueta(QStringLiteral("Nombre:"), "lblNombre", this);
    txtNombre = caja("txtNombre", this);
    lblAUTIP = etiqueta(QStringLiteral("Tipo:"), "lblAUTIP", this);
    cmbTipo = new QComboBox(this);
    cmbTipo->setObjectName(QStringLiteral("cmbTipo"));
    for (const char* t : kTipos) cmbTipo->addItem(QString::fromUtf8(t));
    lblAUARA = etiqueta(QStringLiteral("Arancel:"), "lblAUARA", this);
    cmbArancel = new QComboBox(this);
    cmbArancel->setObjectName(QStringLiteral("cmbArancel"));
    for (const char* a : kAranceles) cmbArancel->addItem(QString::fromUtf8(a));
    lblAUCAN = etiqueta(QStringLiteral("Cantidad:"), "lblAUCAN", this);
    txtAUCAN = caja("txtAUCAN", this);
    lblAUODP = etiqueta(QStringLiteral("Pieza/Sector Dental:"), "lblAUODP", this);
    cboAUODP = new QComboBox(this);
    cboAUODP->setObjectName(QStringLiteral("cboAUODP"));
    txtAUODP = caja("txtAUODP", this);
    // The same rules as the key filter below, for a paste or a drop as a whole.
    ReglasEntrada::ReglaDeCaracteres(txtAUCAN, [](QChar c) { return General::ValidarTecla(c.unicode(), 2, QStringLiteral("-")); });
    ReglasEntrada::ReglaDeCaracteres(txtAUODP, [](QChar c) { return General::ValidarTecla(c.unicode(), 2, QString()); });
    lblAUODC = etiqueta(QStringLiteral("Cara Dental:"), "lblAUODC", this);
    for (const char* c : kCaras) {
        auto* chk = new QCheckBox(QString::fromUtf8(c), this);
        chk->setObjectName(QStringLiteral("chkCara"));
        chk->setProperty("Index", chkCara.size());
        chkCara.append(chk);
    }
    txtAUODC = caja("txtAUODC", this);
    lvwPrestaciones = new QTreeWidget(this);
    lvwPrestaciones->setObjectName(QStringLiteral("lvwPrestaciones"));
    lvwPrestaciones->setRootIsDecorated(false);
    lvwPrestaciones->setAllColumnsShowFocus(true);
    cmdOk = boton(QStringLiteral("&Agregar"), "cmdOk", this);
    cmdDel = boton(QStringLiteral("Borrar"), "cmdDel", this);
    cmdCancel = boton(QStringLiteral("&Cerrar"), "cmdCancel", this);

    auto* campos = new QGridLayout;
    campos->addWidget(lblAUPRE, 0, 0);
    campos->addWidget(txtAUPRE, 0, 1);
    campos->addWidget(cmdBuscar, 0, 2);
    campos->addWidget(lblNombre, 1, 0);
    campos->addWidget(txtNombre, 1, 1, 1, 2);
    campos->addWidget(lblAUTIP, 2, 0);
    campos->addWidget(cmbTipo, 2, 1, 1, 2);
    campos->addWidget(lblAUARA, 3, 0);
    campos->addWidget(cmbArancel, 3, 1, 1, 2);
    campos->addWidget(lblAUCAN, 4, 0);
    campos->addWidget(txtAUCAN, 4, 1);
    campos->addWidget(lblAUODP, 5, 0);
    campos->addWidget(cboAUODP, 5, 1);
    campos->addWidget(txtAUODP, 5, 2);
    auto* caras = new QHBoxLayout;
    for (QCheckBox* chk : chkCara) caras->addWidget(chk);
    caras->addWidget(txtAUODC);
    campos->addWidget(lblAUODC, 6, 0);
    campos->addLayout(caras, 6, 1, 1, 2);
    auto* botones = new QVBoxLayout;
    botones->addWidget(cmdOk);
    botones->addWidget(cmdDel);
    botones->addWidget(cmdCancel);
    botones->addStretch();
    auto* arriba = new QHBoxLayout;
    arriba->addLayout(campos, 1);
    arriba->addLayout(botones);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(arriba);
    capa->addWidget(lvwPrestaciones, 1);
    resize(620, 460);

    for (QLineEdit* w : {txtAUCAN, txtAUODP, txtAUODC}) w->installEventFilter(this);
    auto* salida = new ChequeosAlSalir(this);
    salida->Agregar(txtAUPRE, [this] { txtAUPRE_LostFocus(); });
    salida->Agregar(cboAUODP, [this] { cboAUODP_LostFocus(); });
    connect(cboAUODP, &QComboBox::activated, this, [this] { cboAUODP_Click(); });
    for (int i = 0; i < chkCara.size(); ++i)
        connect(chkCara[i], &QCheckBox::clicked, this, [this, i] { chkCara_Click(i); });
    connect(cmdBuscar, &QPushButton::clicked, this, &frmPrestacion::cmdBuscar_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmPrestacion::cmdOk_Click);
    connect(cmdDel, &QPushButton::clicked, this, &frmPrestacion::cmdDel_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrestacion::cmdCancel_Click);
    ReglasEntrada::PrepararVentana(this);
}

QString frmPrestacion::ItemPieza(const QString& nombre, const QString& codigo)
{
    return nombre + QString(20, QLatin1Char(' ')) + codigo;
}

QString frmPrestacion::CodigoRellenado(const QString& codigo)
{
    if (!Vb::IsNumeric(codigo)) return codigo;
    return Vb::Right(QStringLiteral("00000000") + Vb::Trim(codigo), 8);
}

QString frmPrestacion::PiezaDeLinea(const QString& textoSector, const QString& numeroPieza)
{
    if (Vb::Trim(textoSector).toUpper() == QLatin1String("PIEZA")) return numeroPieza;
    return Vb::Trim(Vb::Right(textoSector, 5));
}

QString frmPrestacion::CarasTrasClic(const QString& caras, int indice, bool marcada)
{
    const QChar letra = kLetrasCaras.at(indice);
    if (marcada) return caras + letra;
    QString t = Vb::Trim(caras);
    const int pos = t.indexOf(letra);
    if (pos >= 0) t.remove(pos, 1);
    return t;
}

bool frmPrestacion::DatosDentales() const { return EstadoEmuladorPOS::Instancia().DatosDentales; }

bool frmPrestacion::PiezaElegida() const
{
    return Vb::Trim(cboAUODP->currentText()).toUpper() == QLatin1String("PIEZA");
}

void frmPrestacion::Form_Load()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const EstadoEmuladorPOS& estado = EstadoEmuladorPOS::Instancia();
    QString nombre = m_lineaObraSocial;
    QString actividad;
    General::SepararCodigoParentesis(nombre, actividad);
    // An insurer no longer configured translates nothing.
    const auto os = General::BuscarObraSocial(nombre, actividad);
    m_utilizaCI = os && os->UtilizaCI;

    lvwPrestaciones->clear();
    if (m_lista) {
        QStringList titulos;
        for (int i = 0; i < m_lista->columnCount(); ++i) titulos << m_lista->headerItem()->text(i);
        lvwPrestaciones->setColumnCount(FilaPrestacion::kColumnas);
        lvwPrestaciones->setHeaderLabels(titulos);
        for (int i = 0; i < m_lista->topLevelItemCount(); ++i)
            lvwPrestaciones->addTopLevelItem(NuevaFila(FilaPrestacion::De(m_lista->topLevelItem(i))));
    }

    txtAUPRE->setEnabled(General::HabilitarCodigoPrestacion);
    lblAUPRE->setEnabled(General::HabilitarCodigoPrestacion);
    for (QWidget* w : {static_cast<QWidget*>(cmbTipo), static_cast<QWidget*>(cmbArancel),
                       static_cast<QWidget*>(lblAUTIP), static_cast<QWidget*>(lblAUARA)})
        w->setEnabled(General::HabilitarTipoArancel);
    lblAUODP->setEnabled(General::HabilitarPiezaDental);
    lblAUODC->setEnabled(General::HabilitarCaraDental);
    lblAUCAN->setEnabled(true);
    txtAUCAN->setEnabled(true);

    const bool dentales = estado.DatosDentales;
    for (QWidget* w : {static_cast<QWidget*>(lblAUODP), static_cast<QWidget*>(cboAUODP),
                       static_cast<QWidget*>(lblAUODC), static_cast<QWidget*>(txtAUODP),
                       static_cast<QWidget*>(txtAUODC)})
        w->setVisible(dentales);
    for (QCheckBox* chk : chkCara) chk->setVisible(dentales);
    cboAUODP->clear();
    if (dentales) {
        txtAUODP->setEnabled(false);
        cboAUODP->setEnabled(General::HabilitarPiezaDental);
        txtAUODC->setEnabled(General::HabilitarCaraDental);
        for (QCheckBox* chk : chkCara) chk->setEnabled(General::HabilitarCaraDental);
        for (const Sector& s : kSectores)
            cboAUODP->addItem(ItemPieza(QString::fromUtf8(s.nombre), QString::fromUtf8(s.codigo)));
    }

    if (AddNew) {
        txtAUCAN->setText(QStringLiteral("1"));
        cmbTipo->setCurrentIndex(0);
        cmbArancel->setCurrentIndex(0);
        if (dentales) {
            cboAUODP->setCurrentIndex(kItemPieza);
            cboAUODP_Click();
        }
    }
    QApplication::restoreOverrideCursor();
}

void frmPrestacion::cboAUODP_Click()
{
    txtAUODP->setEnabled(false);
    txtAUODP->setEnabled(PiezaElegida());
}

void frmPrestacion::cboAUODP_LostFocus()
{
    cboAUODP_Click();
    if (PiezaElegida()) txtAUODP->setFocus();
}

void frmPrestacion::chkCara_Click(int Index)
{
    if (Index < 0 || Index >= chkCara.size()) return;
    txtAUODC->setText(CarasTrasClic(txtAUODC->text(), Index, chkCara[Index]->isChecked()));
}

void frmPrestacion::txtAUCAN_GotFocus() { txtAUCAN->selectAll(); }

void frmPrestacion::txtAUPRE_LostFocus()
{
    if (!AddNew || txtAUPRE->text().isEmpty()) return;
    txtAUPRE->setText(CodigoRellenado(txtAUPRE->text()));
    txtAUCAN->setText(QStringLiteral("1"));
    // The description would come from a keyed catalogue of the insurer's services, which the
    // line list is not: it stays empty until a search fills it.
    txtNombre->clear();
}

void frmPrestacion::cmdBuscar_Click()
{
    try {
        frmBuscarPorAccion buscar(txtAUPRE, txtNombre, this);
        buscar.Form_Load();
        Dialogs::ExecModal(&buscar);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

FilaPrestacion frmPrestacion::Fila() const
{
    FilaPrestacion f;
    f.codigo = txtAUPRE->text();
    f.tipo = cmbTipo->currentText();
    f.arancel = cmbArancel->currentText();
    f.cantidad = txtAUCAN->text();
    f.caras = txtAUODC->text();
    if (!cboAUODP->currentText().isEmpty()) f.pieza = PiezaDeLinea(cboAUODP->currentText(), txtAUODP->text());
    f.descripcion = txtNombre->text();
    return f;
}

void frmPrestacion::Agregar()
{
    if (EstadoEmuladorPOS::Instancia().TipoPrestador == 2 && m_lista->topLevelItemCount() == 1) {
        accept();
        return;
    }
    const QString pieza = Vb::Trim(txtAUODP->text());
    if (!pieza.isEmpty()) {
        const double numero = std::trunc(Vb::Val(pieza));
        if (numero < 11 || numero > 85) {
            Nota(QStringLiteral("No es un valor válido de pieza. Rango entre 11 y 85"), QStringLiteral("Valor inválido"));
            txtAUODP->setFocus();
            return;
        }
    }
    if (txtAUPRE->text().isEmpty()) {
        Nota(QStringLiteral("Debe ingresar al menos el Código de la Prestación"));
        txtAUPRE->setFocus();
        return;
    }
    if (PiezaElegida() && pieza.isEmpty()) {
        Nota(QStringLiteral("Debe ingresar el número de la pieza dental"));
        txtAUODP->setFocus();
        return;
    }
    if (txtAUCAN->text().isEmpty()) txtAUCAN->setText(QStringLiteral("1"));
    const FilaPrestacion fila = Fila();
    m_lista->addTopLevelItem(NuevaFila(fila));
    lvwPrestaciones->addTopLevelItem(NuevaFila(fila));
    Limpiar();
}

void frmPrestacion::Limpiar()
{
    txtAUPRE->clear();
    txtNombre->clear();
    txtAUCAN->clear();
    txtAUODC->clear();
    txtAUODP->clear();
    cmbTipo->setCurrentIndex(0);
    cmbArancel->setCurrentIndex(0);
    if (DatosDentales()) {
        cboAUODP->setCurrentIndex(0);
        cboAUODP_Click();
        for (QCheckBox* chk : chkCara) chk->setChecked(false);
    }
    txtAUCAN->setText(QStringLiteral("1"));
    txtAUPRE->setFocus();
}

void frmPrestacion::Modificar()
{
    // Checked before anything is written: a refused change leaves the line as it was.
    if (PiezaElegida() && Vb::Trim(txtAUODP->text()).isEmpty()) {
        Nota(QStringLiteral("Debe ingresar el número de la pieza dental"));
        txtAUODP->setFocus();
        return;
    }
    QTreeWidgetItem* destino = m_lista->currentItem();
    if (!destino || !destino->isSelected()) {
        const QList<QTreeWidgetItem*> elegidas = m_lista->selectedItems();
        destino = elegidas.isEmpty() ? nullptr : elegidas.first();
    }
    if (destino) {
        FilaPrestacion fila = Fila();
        if (cboAUODP->currentText().isEmpty()) fila.pieza = destino->text(5);
        fila.EscribirEn(destino);
    }
    accept();
}

void frmPrestacion::cmdOk_Click()
{
    try {
        if (!m_lista) return;
        if (AddNew)
            Agregar();
        else
            Modificar();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmPrestacion::cmdDel_Click()
{
    QTreeWidgetItem* elegida = lvwPrestaciones->currentItem();
    if (!elegida || !elegida->isSelected()) {
        const QList<QTreeWidgetItem*> elegidas = lvwPrestaciones->selectedItems();
        elegida = elegidas.isEmpty() ? nullptr : elegidas.first();
    }
    if (!elegida) return;
    const int i = lvwPrestaciones->indexOfTopLevelItem(elegida);
    delete lvwPrestaciones->takeTopLevelItem(i);
    if (m_lista && i < m_lista->topLevelItemCount()) delete m_lista->takeTopLevelItem(i);
}

void frmPrestacion::cmdCancel_Click() { reject(); }

bool frmPrestacion::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::FocusIn && objeto == txtAUCAN) {
        // After the focus has settled, or the click that gave it would undo the selection.
        QMetaObject::invokeMethod(this, [this] { txtAUCAN_GotFocus(); }, Qt::QueuedConnection);
    } else if (evento->type() == QEvent::KeyPress) {
        const int caracter = ReglasEntrada::CaracterTecleado(static_cast<QKeyEvent*>(evento));
        int tipo = 0;
        QString rechazados;
        if (objeto == txtAUCAN) {
            tipo = 2;
            rechazados = QStringLiteral("-");
        } else if (objeto == txtAUODP) {
            tipo = 2;
        } else if (objeto == txtAUODC) {
            tipo = 1;
        }
        // A paste is held to the box's rule whole, by the paste rule.
        if (tipo != 0 && caracter != 0 && caracter != kPegar && !General::ValidarTecla(caracter, tipo, rechazados)) {
            QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}
