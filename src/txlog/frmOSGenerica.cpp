#include "txlog/frmOSGenerica.h"

#include "config/GeneralCombos.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "platform/ChequeosAlSalir.h"
#include "platform/VbError.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "txlog/CajaNumerica.h"
#include "txlog/clsLog.h"
#include "txlog/frmPrestacionGenerica.h"
#include "platform/ReglasEntrada.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

template <class T>
T* control(T* c, const char* nombre)
{
    c->setObjectName(QLatin1String(nombre));
    return c;
}

QLabel* etiqueta(const QString& texto, const char* nombre, QWidget* padre, QWidget* compania = nullptr)
{
    auto* l = control(new QLabel(texto, padre), nombre);
    if (compania) l->setBuddy(compania);
    return l;
}

void mostrarError(const std::exception& e) { Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle); }

// The whole number a box begins with, as the log stores it: error 6 beyond 32 bits.
qint32 numero(const QString& texto) { return Vb::CLng(Vb::Val(texto)); }

}

frmOSGenerica::frmOSGenerica(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmOSGenerica"));
    setWindowTitle(QStringLiteral("Obra Social Off-Line"));

    cboNombre = control(new QComboBox(this), "cboNombre");
    lblNombrePrestador = etiqueta(QStringLiteral("&Prestador:"), "lblNombrePrestador", this, cboNombre);
    optBanda = control(new QRadioButton(QStringLiteral("&Banda"), this), "optBanda");
    optManual = control(new QRadioButton(QStringLiteral("&Manual"), this), "optManual");
    txtBanda = control(new QLineEdit(this), "txtBanda");
    fraManual = control(new QGroupBox(this), "fraManual");
    txtNombre = control(new QLineEdit(fraManual), "txtNombre");
    lblNombre = etiqueta(QStringLiteral("Nombre Afiliado:"), "lblNombre", fraManual, txtNombre);
    txtNumeroAfiliado = control(new QLineEdit(fraManual), "txtNumeroAfiliado");
    lblNumeroAfiliado = etiqueta(QStringLiteral("Número Afiliado:"), "lblNumeroAfiliado", fraManual, txtNumeroAfiliado);
    txtNumeroAutorizacion = control(new QLineEdit(this), "txtNumeroAutorizacion");
    lblAUNREF = etiqueta(QString(), "lblAUNREF", this, txtNumeroAutorizacion);
    txtTipoMatricula = control(new QLineEdit(this), "txtTipoMatricula");
    lblTipoMatricula = etiqueta(QStringLiteral("Tipo Matrícula:"), "lblTipoMatricula", this, txtTipoMatricula);
    txtNumeroMatricula = control(new QLineEdit(this), "txtNumeroMatricula");
    lblMatricula = etiqueta(QStringLiteral("Matrícula:"), "lblMatricula", this, txtNumeroMatricula);
    txtNombreMedico = control(new QLineEdit(this), "txtNombreMedico");
    lblNombreMedico = etiqueta(QStringLiteral("Nombre Médico"), "lblNombreMedico", this, txtNombreMedico);
    lvwPrestaciones = control(new QTreeWidget(this), "lvwPrestaciones");
    lvwPrestaciones->setRootIsDecorated(false);
    lvwPrestaciones->setAllColumnsShowFocus(true);
    cmdAdd = control(new QPushButton(QStringLiteral("&Agregar"), this), "cmdAdd");
    cmdMod = control(new QPushButton(QStringLiteral("Modificar"), this), "cmdMod");
    cmdDel = control(new QPushButton(QStringLiteral("Borrar"), this), "cmdDel");
    cmdAceptar = control(new QPushButton(QStringLiteral("Aceptar"), this), "cmdAceptar");
    cmdCancelar = control(new QPushButton(QStringLiteral("Cancelar"), this), "cmdCancelar");
    for (QLineEdit* caja : {txtNumeroAutorizacion, txtTipoMatricula, txtNumeroMatricula}) CajaNumerica::Aplicar(caja);
    optManual->setChecked(true);
    cmdMod->setEnabled(false);
    cmdDel->setEnabled(false);

    auto* manual = new QGridLayout(fraManual);
    manual->addWidget(lblNombre, 0, 0);
    manual->addWidget(txtNombre, 0, 1);
    manual->addWidget(lblNumeroAfiliado, 1, 0);
    manual->addWidget(txtNumeroAfiliado, 1, 1);

    auto* datos = new QGridLayout;
    datos->addWidget(lblNombrePrestador, 0, 0);
    datos->addWidget(cboNombre, 0, 1, 1, 3);
    datos->addWidget(optBanda, 1, 0);
    datos->addWidget(txtBanda, 1, 1, 1, 3);
    datos->addWidget(optManual, 2, 0, Qt::AlignTop);
    datos->addWidget(fraManual, 2, 1, 1, 3);
    datos->addWidget(lblAUNREF, 3, 0);
    datos->addWidget(txtNumeroAutorizacion, 3, 1);
    datos->addWidget(lblTipoMatricula, 4, 0);
    datos->addWidget(txtTipoMatricula, 4, 1);
    datos->addWidget(lblMatricula, 4, 2);
    datos->addWidget(txtNumeroMatricula, 4, 3);
    datos->addWidget(lblNombreMedico, 5, 0);
    datos->addWidget(txtNombreMedico, 5, 1, 1, 3);
    datos->setColumnStretch(1, 1);
    datos->setColumnStretch(3, 1);

    auto* filas = new QVBoxLayout;
    filas->addWidget(cmdAdd);
    filas->addWidget(cmdMod);
    filas->addWidget(cmdDel);
    filas->addStretch();
    auto* lista = new QHBoxLayout;
    lista->addWidget(lvwPrestaciones, 1);
    lista->addLayout(filas);
    auto* pie = new QHBoxLayout;
    pie->addStretch();
    pie->addWidget(cmdAceptar);
    pie->addWidget(cmdCancelar);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(datos);
    capa->addLayout(lista, 1);
    capa->addLayout(pie);

    connect(cboNombre, &QComboBox::currentIndexChanged, this, [this] { cboNombre_Click(); });
    connect(optBanda, &QRadioButton::clicked, this, &frmOSGenerica::optBanda_Click);
    connect(optManual, &QRadioButton::clicked, this, &frmOSGenerica::optManual_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmOSGenerica::cmdAdd_Click);
    connect(cmdMod, &QPushButton::clicked, this, &frmOSGenerica::cmdMod_Click);
    connect(cmdDel, &QPushButton::clicked, this, &frmOSGenerica::cmdDel_Click);
    connect(lvwPrestaciones, &QTreeWidget::itemSelectionChanged, this, &frmOSGenerica::lvwPrestaciones_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmOSGenerica::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmOSGenerica::cmdCancelar_Click);
    // "Aceptar" asks for the member number itself, and a card read needs none.
    (new ChequeosAlSalir(this))
        ->AgregarValidacion(txtNumeroAfiliado, [this](bool& c) { txtNumeroAfiliado_Validate(c); }, {cmdAceptar, optBanda});
    ReglasEntrada::PrepararVentana(this);
}

QRect frmOSGenerica::GeometriaCarga() { return QRect(1365, 0, 7800, 6900); }

QString frmOSGenerica::CodigoTransaccion(qint16 operacion)
{
    switch (operacion) {
    case 4: return QStringLiteral("2A");
    case 5: return QStringLiteral("2B");
    case 7: return QStringLiteral("2D");
    case 9: return QStringLiteral("4A");
    default: return QString();
    }
}

std::optional<frmOSGenerica::Falla> frmOSGenerica::VerificarCaptura(const Captura& c)
{
    if (auto falla = VerificarDatos(c)) return falla;
    // Read as numbers when stored: "MP" or "12A" would be logged as 0 and 12 without a word.
    const std::pair<QString, const char*> numeros[] = {{c.numeroAutorizacion, "txtNumeroAutorizacion"},
                                                       {c.tipoMatricula, "txtTipoMatricula"},
                                                       {c.numeroMatricula, "txtNumeroMatricula"}};
    for (const auto& [texto, control] : numeros)
        if (!CajaNumerica::SoloDigitos(texto))
            return Falla{QStringLiteral("Debe ingresar un valor numérico."), QLatin1String(control)};
    return std::nullopt;
}

std::optional<frmOSGenerica::Falla> frmOSGenerica::VerificarDatos(const Captura& c)
{
    if (EsAnulacion(c.operacion)) {
        if (c.numeroAutorizacion.isEmpty())
            return Falla{QStringLiteral("Debe ingresar el número de transacción a anular"),
                         QStringLiteral("txtNumeroAutorizacion")};
        return std::nullopt;
    }
    if (c.banda) {
        if (c.textoBanda.isEmpty())
            return Falla{QStringLiteral("Falta la lectura de la banda"), QStringLiteral("txtBanda")};
        return std::nullopt;
    }
    if (c.numeroAfiliado.isEmpty())
        return Falla{QStringLiteral("Debe ingresar el Número de Afiliado"), QStringLiteral("txtNumeroAfiliado")};
    if (c.filas == 0) return Falla{QStringLiteral("Debe informar alguna prestación"), QStringLiteral("lvwPrestaciones")};
    return std::nullopt;
}

QWidget* frmOSGenerica::marco()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

QString frmOSGenerica::Linea() const { return LineaObraSocial ? LineaObraSocial() : QString(); }

QTreeWidgetItem* frmOSGenerica::FilaSeleccionada() const
{
    const QList<QTreeWidgetItem*> elegidas = lvwPrestaciones->selectedItems();
    return elegidas.isEmpty() ? nullptr : elegidas.first();
}

void frmOSGenerica::Form_Load()
{
    try {
        marco()->setGeometry(Twips::APixeles(GeometriaCarga()));
        {
            const QSignalBlocker bloqueo(cboNombre);
            General::CargarComboPrestadores(cboNombre);
            if (cboNombre->count() > 0) cboNombre->setCurrentIndex(0);
        }
        if (cboNombre->count() > 0) cboNombre_Click();

        lvwPrestaciones->clear();
        const QString titulos[] = {QStringLiteral("Prestación"), QStringLiteral("Autorización"),
                                   QStringLiteral("Diagnóstico")};
        const QString medidas[] = {QStringLiteral("Prestacion"), QStringLiteral("Autorizacion"),
                                   QStringLiteral("Diagnostico")};
        lvwPrestaciones->setHeaderLabels(QStringList(std::begin(titulos), std::end(titulos)));
        const QFontMetrics fm(font());
        // Wide enough for the heading too.
        for (int i = 0; i < 3; ++i)
            lvwPrestaciones->setColumnWidth(
                i, qMax(fm.horizontalAdvance(medidas[i]), lvwPrestaciones->header()->sectionSizeHint(i)));

        txtBanda->setEnabled(false);
        DisponerPorOperacion(General::OperacionActual);
        if (MDIForm_Resize) MDIForm_Resize();
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

void frmOSGenerica::DisponerPorOperacion(qint16 operacion)
{
    const bool captura = !EsAnulacion(operacion);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdAdd, lblNombre, txtNombre, lblNumeroAfiliado, txtNumeroAfiliado,
                                                      lblTipoMatricula, txtTipoMatricula, lblMatricula,
                                                      txtNumeroMatricula, optBanda, lblNombreMedico, txtNombreMedico})
        w->setEnabled(captura);
    if (!captura) txtBanda->setEnabled(false);
    txtNumeroAutorizacion->setEnabled(true);
    lblAUNREF->setText(captura ? QStringLiteral("Nº Autorización") : QStringLiteral("Transacción:"));
}

void frmOSGenerica::cboNombre_Click()
{
    try {
        const int indice = cboNombre->currentIndex();
        if (indice < 0 || !General::gConfig) return;
        const qint32 id = cboNombre->itemData(indice).toInt();
        const auto prestadores = General::gConfig->Prestadores();
        if (!prestadores) return;
        for (const auto& p : *prestadores)
            if (p->idPrestador == id) {
                m_cuitPrestador = p->Cuit;
                return;
            }
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

void frmOSGenerica::optBanda_Click()
{
    fraManual->setEnabled(false);
    txtBanda->setEnabled(optBanda->isEnabled());
    txtBanda->clear();
    txtBanda->setFocus();
}

void frmOSGenerica::optManual_Click()
{
    txtBanda->setEnabled(false);
    fraManual->setEnabled(optManual->isChecked());
    txtNombre->setFocus();
}

void frmOSGenerica::txtNumeroAfiliado_Validate(bool& Cancel)
{
    if (!txtNumeroAfiliado->text().isEmpty()) return;
    Dialogs::MsgBox(QStringLiteral("Número de afiliado inválido."), Vbc::vbInformation, Dialogs::kAppTitle);
    Cancel = true;
}

void frmOSGenerica::cmdAdd_Click()
{
    try {
        frmPrestacionGenerica dialogo(lvwPrestaciones, Linea(), this);
        dialogo.Form_Load();
        dialogo.AddNew = true;
        Dialogs::ExecModal(&dialogo);
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

void frmOSGenerica::cmdMod_Click()
{
    try {
        const QTreeWidgetItem* fila = FilaSeleccionada();
        if (!fila) return;
        frmPrestacionGenerica dialogo(lvwPrestaciones, Linea(), this);
        dialogo.Form_Load();
        dialogo.txtPrestacion->setText(fila->text(0));
        dialogo.txtAutorizacion->setText(fila->text(1));
        dialogo.txtDiagnostico->setText(fila->text(2));
        dialogo.AddNew = false;
        dialogo.cmdOK->setText(QStringLiteral("Modificar"));
        Dialogs::ExecModal(&dialogo);
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

void frmOSGenerica::cmdDel_Click()
{
    try {
        if (QTreeWidgetItem* fila = FilaSeleccionada()) delete fila;
        lvwPrestaciones_Click();
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

void frmOSGenerica::lvwPrestaciones_Click()
{
    const bool hay = FilaSeleccionada() != nullptr;
    cmdDel->setEnabled(hay);
    cmdMod->setEnabled(hay);
}

frmOSGenerica::Captura frmOSGenerica::CapturaActual() const
{
    Captura c;
    c.operacion = General::OperacionActual;
    c.banda = optBanda->isChecked();
    c.textoBanda = txtBanda->text();
    c.numeroAfiliado = txtNumeroAfiliado->text();
    c.numeroAutorizacion = txtNumeroAutorizacion->text();
    c.filas = lvwPrestaciones->topLevelItemCount();
    c.tipoMatricula = txtTipoMatricula->text();
    c.numeroMatricula = txtNumeroMatricula->text();
    return c;
}

void frmOSGenerica::LlenarCaptura(clsTxGenerica& tx) const
{
    tx.CuitPrestador = m_cuitPrestador;
    tx.FormaIngreso = optManual->isChecked() ? QStringLiteral("M") : QStringLiteral("A");
    tx.Banda = txtBanda->text();
    tx.NombreAfiliado = Vb::Trim(txtNombre->text());
    tx.NumeroAfiliado = txtNumeroAfiliado->text();
    tx.NumeroAutorizacion = numero(txtNumeroAutorizacion->text());
    tx.NombreMedico = txtNombreMedico->text();
    const QString codigo = CodigoTransaccion(General::OperacionActual);
    if (!codigo.isEmpty()) tx.CodigoTransaccion = codigo;

    auto lineas = std::make_shared<clsTxGenerica::Lineas>();
    for (int i = 0; i < lvwPrestaciones->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* fila = lvwPrestaciones->topLevelItem(i);
        auto l = std::make_shared<clsPrestacionTxGenerica>();
        l->CodigoPrestacion = numero(fila->text(0));
        l->CodigoAutorizacion = numero(fila->text(1));
        l->Diagnostico = fila->text(2);
        lineas->Add(l);
    }
    tx.setPrestaciones(lineas);

    tx.TipoMatricula = numero(txtTipoMatricula->text());
    tx.NumeroMatricula = numero(txtNumeroMatricula->text());
    QString nombre = Linea();
    QString actividad;
    General::SepararCodigoParentesis(nombre, actividad);
    tx.ObraSocial = nombre;
    tx.IdTerminal = General::NumeroTerminal;
}

void frmOSGenerica::cmdAceptar_Click()
{
    try {
        if (const auto falla = VerificarCaptura(CapturaActual())) {
            Dialogs::MsgBox(falla->mensaje, Vbc::vbInformation | Vbc::vbOKOnly, Dialogs::kAppTitle);
            if (auto* w = findChild<QWidget*>(falla->control)) w->setFocus();
            return;
        }
        {
            clsLog log;
            LlenarCaptura(*log.TxGenerica());
            log.TxGenerica()->Save();
        }
        marco()->close();
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

void frmOSGenerica::cmdCancelar_Click() { marco()->close(); }
