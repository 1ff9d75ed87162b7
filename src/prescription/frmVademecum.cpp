#include "prescription/frmVademecum.h"

#include "config/GeneralCombos.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "platform/ChequeosAlSalir.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "prescription/EstadoVademecum.h"
#include "prescription/Localidades.h"
#include "shell/GeneralPrincipal.h"
#include "shell/frmMain.h"
#include "platform/ReglasEntrada.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kSinObraSocial = QStringLiteral("Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha.");
const QString kFallaComunicacion =
    QStringLiteral("Error en la transacción.\r\nFalla de comunicación. Intente nuevamente");
const QString kVariasLicencias = QStringLiteral("Debe seleccionar una única licencia para realizar transacciones");
constexpr int kCantidadMaxima = 99;
constexpr int kMaximoMedicamentos = 3;

// Answer list columns that are kept for the prescription but not shown.
constexpr int kColumnasOcultas[] = {7, 8, 9};
// Sub-items of the answer list the prescription takes.
constexpr int kColPresentacion = 1;
constexpr int kColTroquel = 10;
// Columns of the prescription list.
constexpr int kColCantidad = 2;
constexpr int kColTroquelPrescripcion = 3;

QPixmap DibujarSumar()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0, 110, 0), 1));
    g.setBrush(QColor(60, 170, 60));
    g.drawRect(QRectF(6, 2, 4, 12));
    g.drawRect(QRectF(2, 6, 12, 4));
    g.setPen(Qt::NoPen);
    g.drawRect(QRectF(6.5, 6.5, 3, 3));
    return p;
}

QPixmap DibujarVer()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(60, 60, 60), 2));
    g.setBrush(QColor(200, 225, 255));
    g.drawEllipse(QRectF(2, 2, 8, 8));
    g.setPen(QPen(QColor(120, 80, 30), 3, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    return p;
}

QLabel* Etiqueta(const QString& texto, const char* nombre, QWidget* padre)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    return l;
}

QLineEdit* Texto(const char* nombre, int largo, QWidget* padre)
{
    auto* t = new QLineEdit(padre);
    t->setObjectName(QLatin1String(nombre));
    if (largo > 0) t->setMaxLength(largo);
    return t;
}

QTreeWidget* Lista(const char* nombre, const QStringList& columnas, QWidget* padre)
{
    auto* l = new QTreeWidget(padre);
    l->setObjectName(QLatin1String(nombre));
    l->setRootIsDecorated(false);
    l->setAllColumnsShowFocus(true);
    l->setUniformRowHeights(true);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setHeaderLabels(columnas);
    return l;
}

void PunteroNormal(QWidget* w)
{
    w->unsetCursor();
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

}

frmVademecum::frmVademecum(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmVademecum"));
    setWindowTitle(QStringLiteral("Prescripción Medicamentos"));
    ImageList1Keys = {QStringLiteral("sumar"), QStringLiteral("ver")};
    ImageList1 = {QIcon(DibujarSumar()), QIcon(DibujarVer())};

    lblEtiqueta = Etiqueta(QStringLiteral("&Prestador:"), "lblEtiqueta", this);
    cboNombre = new QComboBox(this);
    cboNombre->setObjectName(QStringLiteral("cboNombre"));
    lblEtiqueta->setBuddy(cboNombre);
    txtcodigoOSDE = Texto("txtcodigoOSDE", 0, this);
    lblLicencia = Etiqueta(QString(), "lblLicencia", this);
    lblLicencia->setMinimumWidth(Twips::APixeles(1000));
    lblCsc = Etiqueta(QStringLiteral("CSC"), "lblCsc", this);
    txtCSC = Texto("txtCSC", 0, this);
    ReglasEntrada::ReglaDeCaracteres(txtCSC, [](QChar c) { return General::ValidarTecla(c.unicode(), 2, QStringLiteral("-")); });
    txtCSC->setMaximumWidth(Twips::APixeles(700));
    lblCsc->setBuddy(txtCSC);

    lblTarjeta = Etiqueta(QStringLiteral("Tarjeta del Afiliado"), "lblTarjeta", this);
    txtTarjeta = Texto("txtTarjeta", 100, this);
    Label4 = Etiqueta(QStringLiteral("Medicamento + Pres."), "Label4", this);
    txtMedicamento = Texto("txtMedicamento", 60, this);
    Label1 = Etiqueta(QStringLiteral("Monodorga + Dosis"), "Label1", this);
    txtMonodroga = Texto("txtMonodroga", 40, this);
    Label3 = Etiqueta(QStringLiteral("Acción Terapéutica"), "Label3", this);
    txtAccion = Texto("txtAccion", 35, this);
    cmdBuscar = new QPushButton(this);
    cmdBuscar->setObjectName(QStringLiteral("cmdBuscar"));
    cmdBuscar->setToolTip(QStringLiteral("Buscar"));

    lvwMedicamentos = Lista("lvwMedicamentos", ColumnasMedicamentos(), this);
    for (int c : kColumnasOcultas) lvwMedicamentos->setColumnHidden(c, true);
    lvwMedicamentos->header()->setSectionsClickable(true);

    Frame1 = new QGroupBox(QStringLiteral("Prescripción"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lvwPrescripciones = Lista("lvwPrescripciones", ColumnasPrescripciones(), Frame1);
    lvwPrescripciones->setColumnHidden(kColTroquelPrescripcion, true);
    cmdEliminar = new QPushButton(QStringLiteral("Borrar"), Frame1);
    cmdEliminar->setObjectName(QStringLiteral("cmdEliminar"));
    cmdEliminar->setEnabled(false);
    chkEnvioDomicilio = new QCheckBox(QStringLiteral("Envío a Domicilio"), Frame1);
    chkEnvioDomicilio->setObjectName(QStringLiteral("chkEnvioDomicilio"));
    chkEnvioDomicilio->setChecked(true);
    lblDireccion = Etiqueta(QStringLiteral("Dirección:"), "lblDireccion", Frame1);
    // The widths the request carries: nothing typed is cut unseen.
    txtDomicilio = Texto("txtDomicilio", 100, Frame1);
    lblLocalidad = Etiqueta(QStringLiteral("Localidad:"), "lblLocalidad", Frame1);
    cboLocalidad = new QComboBox(Frame1);
    cboLocalidad->setObjectName(QStringLiteral("cboLocalidad"));
    lblTelefono = Etiqueta(QStringLiteral("Teléfono:"), "lblTelefono", Frame1);
    txtTelefono = Texto("txtTelefono", 15, Frame1);
    lblDireccion->setBuddy(txtDomicilio);
    lblLocalidad->setBuddy(cboLocalidad);
    lblTelefono->setBuddy(txtTelefono);

    cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));

    // Provider row.
    auto* fila1 = new QHBoxLayout;
    fila1->addWidget(lblEtiqueta);
    fila1->addWidget(cboNombre, 3);
    fila1->addWidget(txtcodigoOSDE, 1);
    fila1->addWidget(lblLicencia);
    fila1->addWidget(lblCsc);
    fila1->addWidget(txtCSC);
    // Card, filters and search.
    auto* filtros = new QGridLayout;
    filtros->addWidget(lblTarjeta, 0, 0);
    filtros->addWidget(Label4, 0, 1);
    filtros->addWidget(Label1, 0, 2);
    filtros->addWidget(Label3, 0, 3);
    filtros->addWidget(txtTarjeta, 1, 0);
    filtros->addWidget(txtMedicamento, 1, 1);
    filtros->addWidget(txtMonodroga, 1, 2);
    filtros->addWidget(txtAccion, 1, 3);
    filtros->addWidget(cmdBuscar, 1, 4);
    // Prescription frame.
    auto* envio = new QGridLayout;
    envio->addWidget(chkEnvioDomicilio, 0, 0, 1, 2);
    envio->addWidget(lblDireccion, 1, 0);
    envio->addWidget(txtDomicilio, 1, 1);
    envio->addWidget(lblLocalidad, 2, 0);
    envio->addWidget(cboLocalidad, 2, 1);
    envio->addWidget(lblTelefono, 3, 0);
    envio->addWidget(txtTelefono, 3, 1);
    envio->setRowStretch(4, 1);
    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(lvwPrescripciones, 1);
    izquierda->addWidget(cmdEliminar, 0, Qt::AlignLeft);
    auto* marcoCapa = new QHBoxLayout(Frame1);
    marcoCapa->addLayout(izquierda, 3);
    marcoCapa->addLayout(envio, 2);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(fila1);
    capa->addLayout(filtros);
    capa->addWidget(lvwMedicamentos, 3);
    capa->addWidget(Frame1, 2);
    capa->addLayout(botones);

    connect(cboNombre, qOverload<int>(&QComboBox::activated), this, [this] { cboNombre_Click(); });
    txtcodigoOSDE->installEventFilter(this);
    txtCSC->installEventFilter(this);
    m_Salida = new ChequeosAlSalir(this);
    m_Salida->Agregar(txtcodigoOSDE, [this] { txtcodigoOSDE_LostFocus(); });
    m_Salida->Agregar(txtCSC, [this] { ValidarCSC(); });
    connect(cmdCancelar, &QPushButton::clicked, this, &frmVademecum::cmdCancelar_Click);
    connect(chkEnvioDomicilio, &QCheckBox::clicked, this, &frmVademecum::chkEnvioDomicilio_Click);
    connect(cmdBuscar, &QPushButton::clicked, this, &frmVademecum::cmdBuscar_Click);
    connect(lvwMedicamentos->header(), &QHeaderView::sectionClicked, this, &frmVademecum::lvwMedicamentos_ColumnClick);
    connect(lvwMedicamentos, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { lvwMedicamentos_ItemClick(item); });
    connect(lvwPrescripciones, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        lvwPrescripciones_ItemClick(item);
        lvwPrescripciones_Click();
    });
    connect(cmdEliminar, &QPushButton::clicked, this, &frmVademecum::cmdEliminar_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmVademecum::cmdAceptar_Click);
    ReglasEntrada::PrepararVentana(this);
}

QStringList frmVademecum::ColumnasMedicamentos()
{
    return {QStringLiteral("Nombre"),       QStringLiteral("Presentación"), QStringLiteral("$ A pagar"),
            QStringLiteral("Acción"),       QStringLiteral("Monodroga"),    QStringLiteral("% Cobertura"),
            QStringLiteral("Precio"),       QStringLiteral("CodigoAccion"), QStringLiteral("CodigoBarra"),
            QStringLiteral("CodigoDroga"),  QStringLiteral("Troquel")};
}

QStringList frmVademecum::ColumnasPrescripciones()
{
    return {QStringLiteral("Nombre"), QStringLiteral("Presentacion"), QStringLiteral("Cantidad"),
            QStringLiteral("Troquel")};
}

QString frmVademecum::TarjetaAfiliado() const { return EstadoVademecum::Instancia().TarjetaAfiliado; }
void frmVademecum::setTarjetaAfiliado(const QString& tarjeta) { EstadoVademecum::Instancia().TarjetaAfiliado = tarjeta; }

QWidget* frmVademecum::marco()
{
    auto* s = qobject_cast<QMdiSubWindow*>(parentWidget());
    return s ? static_cast<QWidget*>(s) : this;
}

void frmVademecum::Descargar()
{
    if (frmMain* m = frmMain::Instancia(); m && m->FormularioTrabajo(objectName()) == this)
        m->DescargarFormulario(objectName());
    else
        marco()->close();
}

// ---- Load, provider and security code -----------------------------------------------------

void frmVademecum::Form_Load()
{
    if (frmMain* m = frmMain::Instancia()) m->DescargarFormulario(QStringLiteral("frmOSGenerica"));
    marco()->move(Twips::APixeles(kIzquierda), Twips::APixeles(kArriba));
    if (MDIForm_Resize) MDIForm_Resize();
    txtTarjeta->setText(TarjetaAfiliado());
    MostrarDatosEnvio();
    CargarLocalidades();
    lvwPrescripciones->setIconSize(QSize(16, 16));
    cmdBuscar->setIcon(ImageList1.value(1));
    General::CargarComboPrestadores(cboNombre);
    lblCsc->setVisible(General::ObraSocialUtilizaCSC);
    txtCSC->setVisible(General::ObraSocialUtilizaCSC);
    lblCsc->setEnabled(true);
    txtCSC->setEnabled(true);
    cboNombre_Click();
}

void frmVademecum::cboNombre_Click()
{
    try {
        const int i = cboNombre->currentIndex();
        if (i < 0 || !General::gConfig) return;
        const qint16 id = qint16(cboNombre->itemData(i).toInt());
        const auto prestadores = General::gConfig->Prestadores();
        if (!prestadores) return;
        for (const auto& p : *prestadores) {
            if (p->idPrestador != id) continue;
            General::PrestadorActual = p->idPrestador;
            EstadoVademecum::Instancia().sCuitPrestador = p->Cuit;
            txtcodigoOSDE->setText(Vb::Str(p->codigoOSDE));
            lblLicencia->setText(p->Licencia);
        }
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmVademecum::txtcodigoOSDE_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 13) txtcodigoOSDE_LostFocus();
}

void frmVademecum::txtcodigoOSDE_LostFocus()
{
    try {
        BuscarPrestadorPorCodigo();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Se produjo el siguiente error: ") + DescripcionError(e), Vbc::vbCritical);
    }
}

void frmVademecum::BuscarPrestadorPorCodigo()
{
    const QString texto = txtcodigoOSDE->text();
    if (texto.isEmpty() || !General::gConfig) return;
    const auto prestadores = General::gConfig->Prestadores();
    if (!prestadores) return;
    const double codigo = Vb::Val(texto);
    int elegido = -1;
    for (const auto& p : *prestadores)
        if (p->Admisor == 1 && p->codigoOSDE == codigo) elegido = p->idPrestador;
    if (elegido < 0) return;
    // By the provider's row: one provider may stand under two account codes with one name.
    const int fila = cboNombre->findData(QVariant(elegido));
    if (fila < 0) return;
    cboNombre->setCurrentIndex(fila);
    cboNombre_Click();
}

void frmVademecum::txtCSC_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 22) return;
    if (!General::ValidarTecla(KeyAscii, 2, QStringLiteral("-"))) {
        QApplication::beep();
        KeyAscii = 0;
    }
}

bool frmVademecum::ValidarCSC()
{
    if (General::ValidarCSC(txtCSC->text())) return true;
    Dialogs::MsgBox(QStringLiteral("Debe ingreasar los 3 dígitos del código de seguridad."), Vbc::vbInformation,
                    QStringLiteral("Código incorrecto"));
    txtCSC->setFocus();
    return false;
}

bool frmVademecum::eventFilter(QObject* obj, QEvent* ev)
{
    if (ev->type() == QEvent::KeyPress) {
        int tecla = ReglasEntrada::CaracterTecleado(static_cast<QKeyEvent*>(ev));
        if (obj == txtcodigoOSDE && tecla == 13) {
            txtcodigoOSDE_KeyPress(tecla);
            return true;
        }
        if (obj == txtCSC && tecla != 0) {
            txtCSC_KeyPress(tecla);
            if (tecla == 0) return true;
        }
    }
    return QWidget::eventFilter(obj, ev);
}

void frmVademecum::cmdCancelar_Click()
{
    m_Salida->Cerrando();
    try {
        PunteroNormal(this);
        General::HabilitarMenuPrincipal(true, QString());
        General::OperacionActual = 0;
        Descargar();
    } catch (const std::exception&) {
    }
}

// ---- Home delivery ------------------------------------------------------------------------

void frmVademecum::MostrarDatosEnvio()
{
    const bool si = chkEnvioDomicilio->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(txtDomicilio), static_cast<QWidget*>(lblDireccion),
                       static_cast<QWidget*>(cboLocalidad), static_cast<QWidget*>(lblLocalidad),
                       static_cast<QWidget*>(txtTelefono), static_cast<QWidget*>(lblTelefono)})
        w->setEnabled(si);
}

void frmVademecum::chkEnvioDomicilio_Click()
{
    MostrarDatosEnvio();
    if (!chkEnvioDomicilio->isChecked()) {
        txtDomicilio->clear();
        txtTelefono->clear();
    }
}

void frmVademecum::CargarLocalidades()
{
    General::OcultarRelleno(cboLocalidad);
    cboLocalidad->clear();
    for (const QString& nombre : Localidades::Nombres()) cboLocalidad->addItem(Localidades::Item(nombre));
    cboLocalidad->setCurrentIndex(-1);
}

// ---- Catalogue query ----------------------------------------------------------------------

void frmVademecum::cmdBuscar_Click()
{
    using namespace General;
    const QString tarjeta = Vb::Trim(txtTarjeta->text());
    const QString medicamento = Vb::Trim(txtMedicamento->text());
    const QString monodroga = Vb::Trim(txtMonodroga->text());
    const QString accion = Vb::Trim(txtAccion->text());
    if (tarjeta.isEmpty() && medicamento.isEmpty() && monodroga.isEmpty() && accion.isEmpty()) {
        Dialogs::MsgBox(QStringLiteral("Debe ingresar al menos un filtro"), Vbc::vbInformation);
        return;
    }
    try {
        lvwMedicamentos->clear();
        TransaccionActual = std::make_shared<clsTransaccion>();
        clsTransaccion& tx = *TransaccionActual;
        tx.setPasoDRUVEX(DirectorioTrabajo);
        const QString cero = QStringLiteral("0");
        tx.CompletarSAL0(30, QString(), QString(), QString(), cero, cero, cero, cero, cero, cero, cero, QString());
        if (!tx.CompletarSAL5(30, tarjeta, medicamento, monodroga, accion)) {
            Dialogs::MsgBox(QStringLiteral("Error al aramar el archivo de consulta, intente nuevamente"),
                            Vbc::vbInformation);
            tx.FinalizarTransaccion();
            return;
        }
        auto& estado = EstadoVademecum::Instancia();
        estado.ObraSocialActual = ObraSocialElegida();
        if (!estado.ObraSocialActual) {
            Dialogs::MsgBox(kSinObraSocial, Vbc::vbCritical, Dialogs::kAppTitle);
            return;
        }
        tx.setVerListaErrores(false);
        tx.setVerTicket(false);
        tx.setCodigoActividad(QString::number(estado.ObraSocialActual->Actividad));
        tx.setCodigoEmpresa(QStringLiteral("10"));
        const std::optional<QString> licencia = LicenciaDeEnvio(lblLicencia->text());
        if (!licencia) {
            Dialogs::MsgBox(kVariasLicencias, Vbc::vbInformation);
            return;
        }
        tx.setLicencia(*licencia);
        if (tx.EnviarTransaccion()) {
            if (Vb::Trim(tx.LeerCodigoError(1)).isEmpty())
                MostrarMedicamentos(tx.GetVademecum());
            else
                Dialogs::MsgBox(tx.LeerCodigoError(1), Vbc::vbExclamation);
            tx.FinalizarTransaccion();
            PunteroNormal(this);
            QCoreApplication::processEvents();
        } else {
            PunteroNormal(this);
            QCoreApplication::processEvents();
            Dialogs::MsgBox(kFallaComunicacion, Vbc::vbCritical);
        }
        TransaccionActual.reset();
    } catch (const std::exception& e) {
        PunteroNormal(this);
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmVademecum::MostrarMedicamentos(QString respuesta)
{
    lvwMedicamentos->clear();
    if (Vb::Trim(respuesta).isEmpty()) {
        Dialogs::MsgBox(QStringLiteral("No se encontraron resultados para esos parámetros de búsqueda"),
                        Vbc::vbInformation);
        return;
    }
    General::RegistroVademecum r;
    while (General::DesarmarRegistroVademecum(respuesta, r)) {
        auto* item = new QTreeWidgetItem(lvwMedicamentos);
        item->setText(0, Vb::Trim(r.Nombre));
        item->setText(1, Vb::Trim(r.Presentacion));
        item->setText(2, r.APagar);
        item->setText(3, Vb::Trim(r.Accion));
        item->setText(4, Vb::Trim(r.Monodroga));
        item->setText(5, Vb::Trim(r.Cobertura));
        item->setText(6, r.Precio);
        item->setText(7, r.CodigoAccion);
        item->setText(8, r.CodigoBarra);
        item->setText(9, r.CodigoDroga);
        item->setText(10, r.Troquel);
    }
    for (int c = 0; c < lvwMedicamentos->columnCount(); ++c) lvwMedicamentos->resizeColumnToContents(c);
}

void frmVademecum::lvwMedicamentos_ColumnClick(int columna)
{
    m_Orden.Clic(columna);
    const Qt::SortOrder orden = m_Orden.descendente ? Qt::DescendingOrder : Qt::AscendingOrder;
    lvwMedicamentos->header()->setSortIndicatorShown(true);
    lvwMedicamentos->header()->setSortIndicator(columna, orden);
    lvwMedicamentos->sortItems(columna, orden);
}

void frmVademecum::lvwMedicamentos_ItemClick(QTreeWidgetItem* item)
{
    if (item) AgregarMedicamento(item->text(0), item->text(kColPresentacion), item->text(kColTroquel));
}

// ---- Prescription list --------------------------------------------------------------------

void frmVademecum::AgregarMedicamento(const QString& nombre, const QString& presentacion, const QString& troquel)
{
    if (lvwPrescripciones->topLevelItemCount() >= kMaximoMedicamentos) {
        Dialogs::MsgBox(QStringLiteral("No se pueden prescribir mas de 3 medicamentos en la misma transacción"),
                        Vbc::vbInformation);
        return;
    }
    auto* item = new QTreeWidgetItem(lvwPrescripciones, {nombre, presentacion, QStringLiteral("1"), troquel});
    item->setIcon(0, ImageList1.value(0));
    for (int c = 0; c < kColCantidad; ++c) lvwPrescripciones->resizeColumnToContents(c);
}

void frmVademecum::lvwPrescripciones_ItemClick(QTreeWidgetItem* item)
{
    if (!item) return;
    const double cantidad = Vb::Val(item->text(kColCantidad));
    // The request carries two digits.
    if (cantidad >= kCantidadMaxima) {
        Dialogs::MsgBox(QStringLiteral("La cantidad máxima por medicamento es 99"), Vbc::vbInformation);
        return;
    }
    item->setText(kColCantidad, Vb::Str(cantidad + 1));
}

void frmVademecum::lvwPrescripciones_Click() { cmdEliminar->setEnabled(lvwPrescripciones->currentItem() != nullptr); }

void frmVademecum::cmdEliminar_Click()
{
    if (QTreeWidgetItem* item = lvwPrescripciones->currentItem())
        delete lvwPrescripciones->takeTopLevelItem(lvwPrescripciones->indexOfTopLevelItem(item));
    lvwPrescripciones_Click();
}

// ---- Sending ------------------------------------------------------------------------------

void frmVademecum::SalidaEnvio(bool habilitarAceptar)
{
    PunteroNormal(this);
    General::HabilitarMenuPrincipal(true, QString());
    if (habilitarAceptar) cmdAceptar->setEnabled(true);
}

void frmVademecum::cmdAceptar_Click()
{
    using namespace General;
    if (lvwPrescripciones->topLevelItemCount() == 0) {
        Dialogs::MsgBox(QStringLiteral("Debe prescribir al menos un medicamento"), Vbc::vbInformation);
        PunteroNormal(this);
        return;
    }
    try {
        HabilitarMenuPrincipal(false, QString());
        cmdAceptar->setEnabled(false);
        TransaccionActual = std::make_shared<clsTransaccion>();
        clsTransaccion& tx = *TransaccionActual;
        tx.setPasoDRUVEX(DirectorioTrabajo);
        tx.setVerListaErrores(false);
        for (int i = 0; i < lvwPrescripciones->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* l = lvwPrescripciones->topLevelItem(i);
            tx.AgregarItemSVL3(Vb::Str(Vb::Val(l->text(kColTroquelPrescripcion))), Vb::Str(Vb::Val(l->text(kColCantidad))));
        }
        const QString tarjeta = Vb::Trim(txtTarjeta->text());
        if (tarjeta.isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Ingrese la tarjeta del afiliado"), Vbc::vbInformation,
                            QStringLiteral("Tarjeta del afiliado"));
            SalidaEnvio(true);
            return;
        }
        auto& estado = EstadoVademecum::Instancia();
        if (chkEnvioDomicilio->isChecked())
            tx.CompletarSVL6(31, tarjeta, estado.sCuitPrestador, QStringLiteral("1"), Vb::Trim(txtTelefono->text()),
                             Vb::Trim(txtDomicilio->text()), Localidades::CodigoPostal(cboLocalidad->currentText()));
        else
            tx.CompletarSVL6(31, tarjeta, estado.sCuitPrestador, QStringLiteral("0"), QString(), QString(), QString());
        tx.setVerListaErrores(true);
        tx.setVerTicket(true);
        estado.ObraSocialActual = ObraSocialElegida();
        if (!estado.ObraSocialActual) {
            Dialogs::MsgBox(kSinObraSocial, Vbc::vbCritical, Dialogs::kAppTitle);
            SalidaEnvio(true);
            return;
        }
        tx.setCodigoActividad(QString::number(estado.ObraSocialActual->Actividad));
        tx.setCodigoEmpresa(QStringLiteral("10"));
        const std::optional<QString> licencia = LicenciaDeEnvio(lblLicencia->text());
        if (!licencia) {
            Dialogs::MsgBox(kVariasLicencias, Vbc::vbInformation);
            SalidaEnvio(true);
            return;
        }
        tx.setLicencia(*licencia);
        if (tx.EnviarTransaccion()) {
            // A send nobody answered says why, whatever its code.
            if (!tx.TransaccionRealizada()) {
                QString texto = tx.LeerCodigoError(1);
                const QString comentario = Vb::Trim(tx.LeerComentarioError(1));
                if (!comentario.isEmpty()) texto += QStringLiteral("\r\n") + comentario;
                Dialogs::MsgBox(texto, Vbc::vbInformation, QStringLiteral("Transacción"));
            }
            tx.FinalizarTransaccion();
            PunteroNormal(this);
            QCoreApplication::processEvents();
            const bool aprobada = !tx.TransaccionCancelada() && tx.TransaccionAprobada() && tx.TransaccionRealizada();
            TransaccionActual.reset();
            SalidaEnvio(false);
            if (aprobada) Descargar();
            return;
        }
        PunteroNormal(this);
        QCoreApplication::processEvents();
        Dialogs::MsgBox(kFallaComunicacion, Vbc::vbCritical);
        TransaccionActual.reset();
        SalidaEnvio(true);
    } catch (const std::exception& e) {
        const auto* vb = dynamic_cast<const VbError*>(&e);
        Dialogs::MsgBox(QStringLiteral("%1: %2\r\nSource: %3")
                            .arg(vb ? vb->number : 0)
                            .arg(DescripcionError(e), vb ? vb->source : QStringLiteral("frmVademecum")),
                        Vbc::vbCritical, Dialogs::kAppTitle);
        SalidaEnvio(true);
    }
}
