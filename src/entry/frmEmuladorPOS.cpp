#include "entry/frmEmuladorPOS.h"

#include "config/GeneralCombos.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsEfector.h"
#include "config/clsMedico.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/PantallaEmuladorPOS.h"
#include "entry/ReglasEmuladorPOS.h"
#include "entry/modCuit.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "shell/GeneralPrincipal.h"
#include "shell/OperacionesMenu.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>

using ReglasEmuladorPOS::Campo;

namespace {

const QString kRelleno = QString(100, QLatin1Char(' '));

template <class T>
T* control(T* c, const char* nombre)
{
    c->setObjectName(QLatin1String(nombre));
    return c;
}

// The key a key press types, as the forms filter it: Enter 13, Backspace 8, Ctrl+letter its
// control character, else the character typed; 0 for keys that type nothing.
int TeclaAscii(const QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return 13;
    if (e->key() == Qt::Key_Backspace) return 8;
    if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return e->key() - Qt::Key_A + 1;
    const QString t = e->text();
    return t.size() == 1 && t[0].unicode() >= 32 ? t[0].unicode() : 0;
}

bool Habilitado(const QWidget* w) { return !w->testAttribute(Qt::WA_Disabled); }

QString TituloOperacion(qint16 codigo)
{
    for (const OperacionesMenu::Operacion& op : OperacionesMenu::Tabla())
        if (op.codigo == codigo && op.clase == OperacionesMenu::Clase::Transaccion && op.titulo)
            return QString::fromUtf8(op.titulo);
    return QString();
}

clsConfig* Configuracion() { return General::gConfig.get(); }

// The provider code of a text: the whole number it holds, or "" when it holds none.
bool MismoNumero(const QString& a, const QString& b)
{
    const QString x = Vb::Trim(a), y = Vb::Trim(b);
    if (x.isEmpty() || y.isEmpty()) return false;
    if (Vb::IsNumeric(x) && Vb::IsNumeric(y)) return Vb::Val(x) == Vb::Val(y);
    return x == y;
}

}

frmEmuladorPOS::frmEmuladorPOS(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmEmuladorPOS"));

    auto etiqueta = [this](const QString& texto, const char* nombre, QWidget* padre) {
        return control(new QLabel(texto, padre), nombre);
    };
    lblPrestador = etiqueta(QStringLiteral("Prestador:"), "lblPrestador", this);
    cboNombre = control(new QComboBox(this), "cboNombre");
    lblCodigoOSDE = etiqueta(QStringLiteral("Código:"), "lblCodigoOSDE", this);
    txtcodigoOSDE = control(new QLineEdit(this), "txtcodigoOSDE");
    lblLicencia = etiqueta(QString(), "lblLicencia", this);
    txtFilialPrestador = control(new QLineEdit(this), "txtFilialPrestador");

    lblTarjeta = etiqueta(QStringLiteral("Tarjeta del Afiliado:"), "lblTarjeta", this);
    txtTarjeta = control(new QLineEdit(this), "txtTarjeta");
    lblCsc = etiqueta(QStringLiteral("CSC"), "lblCsc", this);
    txtCSC = control(new QLineEdit(this), "txtCSC");
    lblDocumento = etiqueta(QStringLiteral("Documento Afiliado:"), "lblDocumento", this);
    cboTipoDocumento = control(new QComboBox(this), "cboTipoDocumento");
    txtNumeroDocumento = control(new QLineEdit(this), "txtNumeroDocumento");

    lblAUWREF = etiqueta(QStringLiteral("Referencia:"), "lblAUWREF", this);
    txtAUWREF = control(new QLineEdit(this), "txtAUWREF");
    lblAUNREF = etiqueta(QStringLiteral("N° de Autorización:"), "lblAUNREF", this);
    txtAUNREF = control(new QLineEdit(this), "txtAUNREF");
    lblAUFECP = etiqueta(QStringLiteral("Fecha de Práctica: "), "lblAUFECP", this);
    txtAUFECP = control(new QLineEdit(this), "txtAUFECP");
    lblAUHORP = etiqueta(QStringLiteral("Hora de Práctica:"), "lblAUHORP", this);
    txtAUHORP = control(new QLineEdit(this), "txtAUHORP");
    lblFinalizacion = etiqueta(QStringLiteral("Motivo fin.Terapia/Tramiento:"), "lblFinalizacion", this);
    cmbAUFINA = control(new QComboBox(this), "cmbAUFINA");
    lblAUDSM1 = etiqueta(QStringLiteral("Diagnóstico (1):"), "lblAUDSM1", this);
    txtAUDSM1 = control(new QLineEdit(this), "txtAUDSM1");
    lblAUDSM2 = etiqueta(QStringLiteral("Diagnóstico (2):"), "lblAUDSM2", this);
    txtAUDSM2 = control(new QLineEdit(this), "txtAUDSM2");
    for (int i = 0; i < 2; ++i) {
        auto* b = control(new QPushButton(QStringLiteral("..."), this), "cmdBuscarDiag");
        b->setProperty("Index", i);
        cmdBuscarDiag << b;
    }

    lvwPrestaciones = control(new QTreeWidget(this), "lvwPrestaciones");
    lvwPrestaciones->setRootIsDecorated(false);
    lvwPrestaciones->setAllColumnsShowFocus(true);
    lvwPrestaciones->setHeaderLabels({QStringLiteral("Prestación"), QStringLiteral("Tipo"), QStringLiteral("Arancel"),
                                      QStringLiteral("Cantidad"), QStringLiteral("Cara"), QStringLiteral("Pieza"),
                                      QStringLiteral("Descripción")});
    for (const auto& [columna, ancho] : {std::pair{0, 1200}, {1, 700}, {2, 900}, {3, 1000}, {4, 700}, {5, 700}})
        lvwPrestaciones->setColumnWidth(columna, Twips::APixeles(ancho));
    cmdAdd = control(new QPushButton(QStringLiteral("Agregar"), this), "cmdAdd");
    cmdDel = control(new QPushButton(QStringLiteral("Borrar"), this), "cmdDel");
    cmdMod = control(new QPushButton(QStringLiteral("Modificar"), this), "cmdMod");

    fmePrescriptor = control(new QGroupBox(QStringLiteral("Prescriptor:"), this), "fmePrescriptor");
    lblAUTMAT = etiqueta(QStringLiteral("Tipo:"), "lblAUTMAT", fmePrescriptor);
    cboTipoMatricula = control(new QComboBox(fmePrescriptor), "cboTipoMatricula");
    cboProvincia = control(new QComboBox(fmePrescriptor), "cboProvincia");
    txtFilial = control(new QLineEdit(fmePrescriptor), "txtFilial");
    lblLugar = etiqueta(QStringLiteral("Lugar:"), "lblLugar", fmePrescriptor);
    // Its place leaves it a narrow gap before the place-of-attention list.
    QFont chica = lblLugar->font();
    chica.setPointSizeF(chica.pointSizeF() * 0.85);
    lblLugar->setFont(chica);
    cboTipoInternacion = control(new QComboBox(fmePrescriptor), "cboTipoInternacion");
    lblAUNMAT = etiqueta(QStringLiteral("Matrícula:"), "lblAUNMAT", fmePrescriptor);
    txtAUNMAT = control(new QLineEdit(fmePrescriptor), "txtAUNMAT");
    lblPrescriptor = etiqueta(QStringLiteral("Nombre:"), "lblPrescriptor", fmePrescriptor);
    cboPrescriptores = control(new QComboBox(fmePrescriptor), "cboPrescriptores");
    lblEspcecialidadPrescriptor = etiqueta(QStringLiteral("Especialidad:"), "lblEspcecialidadPrescriptor", fmePrescriptor);
    cboEspecialidadPrescriptor = control(new QComboBox(fmePrescriptor), "cboEspecialidadPrescriptor");

    fmeEfector = control(new QGroupBox(QStringLiteral("Médico Efector:"), this), "fmeEfector");
    lblEfector = etiqueta(QStringLiteral("Nombre:"), "lblEfector", fmeEfector);
    cboEfectores = control(new QComboBox(fmeEfector), "cboEfectores");
    lblAUCEFE = etiqueta(QStringLiteral("Cuit:"), "lblAUCEFE", fmeEfector);
    txtAUCEFE = control(new QLineEdit(fmeEfector), "txtAUCEFE");
    lblEspecialidadEfector = etiqueta(QStringLiteral("Especialidad:"), "lblEspecialidadEfector", fmeEfector);
    cboEspecialidadEfector = control(new QComboBox(fmeEfector), "cboEspecialidadEfector");

    frmProtocolo = control(new QGroupBox(QStringLiteral("Protocolo / Informe:"), this), "frmProtocolo");
    optTipoInforme << control(new QRadioButton(QStringLiteral("Protocolo Quirúrgico"), frmProtocolo), "optTipoInforme")
                   << control(new QRadioButton(QStringLiteral("Informe médico"), frmProtocolo), "optTipoInforme");
    optTipoInforme[0]->setProperty("Index", 0);
    optTipoInforme[1]->setProperty("Index", 1);
    txtProtocolo = control(new QLineEdit(frmProtocolo), "txtProtocolo");
    txtProtocolo->setReadOnly(true);
    cmdInforme = control(new QPushButton(QStringLiteral("Crear Inf. Médico..."), frmProtocolo), "cmdInforme");
    cmdAdjuntar = control(new QPushButton(QStringLiteral("Adjuntar archivo..."), frmProtocolo), "cmdAdjuntar");

    cmdAceptar = control(new QPushButton(QStringLiteral("Aceptar"), this), "cmdAceptar");
    cmdCancelar = control(new QPushButton(QStringLiteral("Cancelar"), this), "cmdCancelar");

    // A frame's caption sits in its top border, as the controls' places inside it assume.
    for (QGroupBox* g : {fmePrescriptor, fmeEfector, frmProtocolo})
        g->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 7px; }"
                                        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));

    // Every placed control by the name of its geometry (arrays with their index).
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->objectName().isEmpty()) continue;
        QString nombre = w->objectName();
        if (w->property("Index").isValid()) nombre += QString::number(w->property("Index").toInt());
        if (PantallaEmuladorPOS::Geometria().contains(nombre)) {
            m_Controles.insert(nombre, w);
            w->setGeometry(Twips::APixeles(PantallaEmuladorPOS::Geometria().value(nombre)));
        }
    }
    resize(Twips::APixeles(PantallaEmuladorPOS::kAncho), Twips::APixeles(PantallaEmuladorPOS::kAlto));

    // The states the layout relies on.
    for (QWidget* w : {static_cast<QWidget*>(txtFilial), static_cast<QWidget*>(txtFilialPrestador),
                       static_cast<QWidget*>(lblLugar), static_cast<QWidget*>(cboTipoInternacion)})
        w->setHidden(true);
    for (QWidget* w : {static_cast<QWidget*>(frmProtocolo), static_cast<QWidget*>(txtProtocolo),
                       static_cast<QWidget*>(cmdAdjuntar)})
        w->setEnabled(false);
    optTipoInforme[1]->setChecked(true);
    lblAUTMAT->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblAUNREF->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cmdDel->setEnabled(false);
    cmdMod->setEnabled(false);
    for (QComboBox* c : {cboNombre, cboTipoDocumento, cmbAUFINA, cboPrescriptores, cboEspecialidadPrescriptor,
                         cboTipoMatricula, cboProvincia, cboTipoInternacion, cboEfectores, cboEspecialidadEfector})
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    connect(cboNombre, &QComboBox::currentIndexChanged, this, [this] { cboNombre_Click(); });
    connect(cboEfectores, &QComboBox::currentIndexChanged, this, [this] { cboEfectores_Click(); });
    connect(cmdCancelar, &QPushButton::clicked, this, &frmEmuladorPOS::cmdCancelar_Click);

    m_AlSalir = {{cboPrescriptores, &frmEmuladorPOS::cboPrescriptores_LostFocus},
                 {cboTipoMatricula, &frmEmuladorPOS::cboTipoMatricula_LostFocus},
                 {cboProvincia, &frmEmuladorPOS::cboProvincia_LostFocus},
                 {txtAUNMAT, &frmEmuladorPOS::txtAUNMAT_LostFocus},
                 {txtcodigoOSDE, &frmEmuladorPOS::txtcodigoOSDE_LostFocus},
                 {txtAUFECP, &frmEmuladorPOS::txtAUFECP_LostFocus},
                 {txtAUNREF, &frmEmuladorPOS::txtAUNREF_LostFocus},
                 {txtAUWREF, &frmEmuladorPOS::txtAUWREF_LostFocus},
                 {txtAUCEFE, &frmEmuladorPOS::txtAUCEFE_LostFocus}};
    m_Teclas = {{txtCSC, &frmEmuladorPOS::txtCSC_KeyPress},
                {txtAUNREF, &frmEmuladorPOS::txtAUNREF_KeyPress},
                {txtAUWREF, &frmEmuladorPOS::txtAUWREF_KeyPress},
                {txtTarjeta, &frmEmuladorPOS::txtTarjeta_KeyPress},
                {txtAUNMAT, &frmEmuladorPOS::txtAUNMAT_KeyPress},
                {txtcodigoOSDE, &frmEmuladorPOS::txtcodigoOSDE_KeyPress}};
    for (QObject* o : m_AlSalir.keys()) o->installEventFilter(this);
    for (QObject* o : m_Teclas.keys()) o->installEventFilter(this);
    // A copied card track never reaches the card box, whichever way it is pasted.
    txtTarjeta->setContextMenuPolicy(Qt::DefaultContextMenu);
}

frmEmuladorPOS::~frmEmuladorPOS() { Form_Unload(); }

EstadoEmuladorPOS& frmEmuladorPOS::Estado() const { return EstadoEmuladorPOS::Instancia(); }

template <class F>
void frmEmuladorPOS::Atrapar(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

QWidget* frmEmuladorPOS::Marco()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

// ---- Lifecycle --------------------------------------------------------------------------------

void frmEmuladorPOS::Form_Load()
{
    using namespace General;
    m_Descargado = false;
    Atrapar([this] {
        EstadoEmuladorPOS& estado = Estado();
        const QString titulo = TituloOperacion(OperacionActual);
        setWindowTitle(titulo);
        Marco()->setWindowTitle(titulo);

        OcultarRelleno(cboTipoDocumento);
        cboTipoDocumento->clear();
        const char* const documentos[][2] = {{"DNI", "1"},
                                             {"Libreta Cívica", "2"},
                                             {"Libreta de Enrolamiento", "2"},
                                             {"Cédula de identidad", "3"},
                                             {"Pasaporte", "4"},
                                             {"Otro", "5"},
                                             {"HC (historia clinica)", "6"},
                                             {"Sin documento", "7"}};
        for (const auto& d : documentos)
            cboTipoDocumento->addItem(QString::fromUtf8(d[0]) + kRelleno + QLatin1String(d[1]));

        // The list's own first-item choice is not the user's: only the provider it ends on counts.
        {
            const QSignalBlocker bloqueo(cboNombre);
            CargarComboPrestadores(cboNombre);
        }
        if (cboNombre->currentIndex() >= 0) cboNombre_Click();
        CargarComboMedicos(cboPrescriptores, estado.TipoPrestador == 2);
        CargarCombosMatricula(cboTipoMatricula, cboProvincia);
        if (UltimoIndiceTipoMatricula != 0) {
            if (UltimoIndiceTipoMatricula < cboTipoMatricula->count())
                cboTipoMatricula->setCurrentIndex(UltimoIndiceTipoMatricula);
            if (UltimoIndiceProvincia < cboProvincia->count()) cboProvincia->setCurrentIndex(UltimoIndiceProvincia);
        }
        {
            const QSignalBlocker bloqueo(cboEfectores);
            CargarComboEfectores(cboEfectores, cboNombre->currentText());
        }
        if (cboEfectores->currentIndex() >= 0) cboEfectores_Click();
        CargarComboTipoEgreso(cmbAUFINA, OperacionActual == 12, OperacionActual, estado.TipoPrestador);
        CargarComboEspecialidades(cboEspecialidadEfector);
        CargarComboEspecialidades(cboEspecialidadPrescriptor);

        const QDateTime ahora = Platform::Now();
        txtAUFECP->setText(ahora.date().toString(QStringLiteral("dd/MM/yyyy")));
        txtAUHORP->setText(ahora.time().toString(QStringLiteral("HH:mm:ss")));
        estado.NombreArchivoAdjunto.clear();
        estado.ArchivoAdjunto.clear();
        // A new patient's report never starts from the previous patient's text.
        estado.sTextoInformeMedico.clear();

        ConfigurarPantalla();

        m_Transaccion = std::make_shared<clsTransaccion>();
        m_Transaccion->setPasoDRUVEX(DirectorioTrabajo);
        TransaccionActual = m_Transaccion;

        if (frmMain* m = frmMain::Instancia()) {
            for (const char* f : {"frmCierres", "frmVademecum", "frmInicio"}) m->DescargarFormulario(QLatin1String(f));
            m->MDIForm_Resize();
        }
        estado.GenerarReferencia = true;
    });
}

void frmEmuladorPOS::Form_Unload()
{
    if (m_Descargado) return;
    m_Descargado = true;
    // Only this window's exchange: the next window may already hold its own.
    if (m_Transaccion && General::TransaccionActual == m_Transaccion) General::TransaccionActual.reset();
    m_Transaccion.reset();
}

void frmEmuladorPOS::closeEvent(QCloseEvent* evento)
{
    Form_Unload();
    QWidget::closeEvent(evento);
}

void frmEmuladorPOS::Cerrar()
{
    if (frmMain* m = frmMain::Instancia(); m && Marco() != this) {
        m->DescargarFormulario(objectName());
        return;
    }
    close();
}

void frmEmuladorPOS::cmdCancelar_Click()
{
    try {
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
        General::HabilitarMenuPrincipal(true, QString());
        General::OperacionActual = 0;
        Estado().GenerarReferencia = false;
        Cerrar();
    } catch (...) {
        // A cancel always closes.
    }
}

// ---- Layout -----------------------------------------------------------------------------------

void frmEmuladorPOS::ConfigurarPantalla()
{
    const EstadoEmuladorPOS& e = Estado();
    AplicarPantalla(PantallaEmuladorPOS::ConfigurarPantalla({General::OperacionActual, General::SubModoOperacion,
                                                             General::ObraSocialUtilizaCSC, e.NombreObraSocial,
                                                             e.RequierePrescripcion, e.TipoPrestador, e.DatosDentales}));
}

void frmEmuladorPOS::AplicarPantalla(const PantallaEmuladorPOS::Pantalla& p)
{
    General::HabilitarCodigoPrestacion = p.codigoPrestacion;
    General::HabilitarTipoArancel = p.tipoArancel;
    General::HabilitarPiezaDental = p.piezaDental;
    General::HabilitarCaraDental = p.caraDental;
    for (auto it = p.controles.begin(); it != p.controles.end(); ++it) {
        QWidget* w = m_Controles.value(it.key());
        if (!w) continue;
        const PantallaEmuladorPOS::Control& c = it.value();
        if (c.habilitado) w->setEnabled(*c.habilitado);
        if (c.visible) w->setHidden(!*c.visible);
        if (c.titulo) {
            if (auto* l = qobject_cast<QLabel*>(w)) l->setText(*c.titulo);
            else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(*c.titulo);
            else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(*c.titulo);
        }
        if (c.derecha)
            if (auto* l = qobject_cast<QLabel*>(w))
                l->setAlignment((*c.derecha ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        if (auto* t = qobject_cast<QLineEdit*>(w)) {
            if (c.texto) t->setText(*c.texto);
            if (c.largoMaximo) t->setMaxLength(*c.largoMaximo);
        }
        if (c.geometria) w->setGeometry(Twips::APixeles(*c.geometria));
        if (c.marcado)
            if (auto* r = qobject_cast<QRadioButton*>(w)) r->setChecked(*c.marcado);
    }
    if (p.cargarTipoInstitucion && cboTipoInternacion->count() == 0) General::CargarComboTipoInstitucion(cboTipoInternacion);
    if (p.egresoAlSegundo && cmbAUFINA->currentIndex() > 0) cmbAUFINA->setCurrentIndex(1);
    if (p.filialDelPrestador) txtFilial->setText(txtFilialPrestador->text());
    const QString foco = PantallaEmuladorPOS::Foco(!txtTarjeta->isHidden() && Habilitado(txtTarjeta),
                                                   !cboNombre->currentText().isEmpty());
    if (!foco.isEmpty())
        if (QWidget* w = m_Controles.value(foco)) w->setFocus();
}

// ---- Provider, prescriber and effector ----------------------------------------------------------

void frmEmuladorPOS::cboNombre_Click()
{
    Atrapar([this] {
        if (cboNombre->currentIndex() < 0) return;
        clsConfig* cfg = Configuracion();
        if (!cfg || !cfg->Prestadores()) return;
        const qint16 id = qint16(cboNombre->itemData(cboNombre->currentIndex()).toInt());
        std::shared_ptr<clsPrestador> p;
        for (const auto& x : *cfg->Prestadores())
            if (x->idPrestador == id) {
                p = x;
                break;
            }
        if (!p) return;
        EstadoEmuladorPOS& e = Estado();
        General::PrestadorActual = p->idPrestador;
        e.Nombre = p->Nombre;
        e.Cuit = Vb::Val(p->Cuit);
        e.RequierePrescripcion = p->RequierePrescripcion ? 1 : 0;
        txtcodigoOSDE->setText(Vb::Str(p->codigoOSDE));
        e.TipoPrestador = p->Odontologo;
        e.RequiereMatPrescriptor = p->RequiereMatPrescriptor == 1 ? -1 : 0;
        txtFilialPrestador->setText(QString::number(p->Filial));
        lblLicencia->setText(p->Licencia);

        txtAUCEFE->clear();
        cboEfectores->setCurrentIndex(-1);
        if (cboEfectores->count() > 0 && cfg->Efectores()) {
            const QString cuit = modCuit::SinGuiones(p->Cuit);
            for (const auto& ef : *cfg->Efectores()) {
                if (cuit.isEmpty() || modCuit::SinGuiones(ef->Cuit) != cuit) continue;
                txtAUCEFE->setText(modCuit::FormaCuitTexto(p->Cuit));
                cboEfectores->setCurrentIndex(cboEfectores->findText(ef->Nombre));
                break;
            }
        }
        General::CargarComboMedicos(cboPrescriptores, e.TipoPrestador == 2);
        ConfigurarPantalla();
    });
}

void frmEmuladorPOS::LimpiarPrestador()
{
    EstadoEmuladorPOS& e = Estado();
    e.Nombre.clear();
    e.Cuit = 0;
    e.RequierePrescripcion = 0;
    txtcodigoOSDE->clear();
}

void frmEmuladorPOS::cboEfectores_Click()
{
    Atrapar([this] {
        const int i = cboEfectores->currentIndex();
        clsConfig* cfg = Configuracion();
        if (i < 0 || !cfg || !cfg->Efectores()) return;
        const qint16 id = qint16(cboEfectores->itemData(i).toInt());
        for (const auto& ef : *cfg->Efectores()) {
            if (ef->idEfector != id) continue;
            EstadoEmuladorPOS& e = Estado();
            e.strEfector = ef->Nombre;
            e.dECuit = Vb::Val(modCuit::SinGuiones(ef->Cuit));
            e.strTipoMatricula = ef->TipoMatricula;
            e.lMatricula = Vb::CLng(Vb::Val(ef->Matricula));
            txtAUCEFE->setText(modCuit::FormaCuitTexto(ef->Cuit));
            int elegida = -1;
            for (int k = 0; k < cboEspecialidadEfector->count() && elegida < 0; ++k)
                if (Vb::Trim(Vb::Right(cboEspecialidadEfector->itemText(k), 5)) == QString::number(ef->idEspecialidad))
                    elegida = k;
            cboEspecialidadEfector->setCurrentIndex(elegida);
            return;
        }
    });
}

void frmEmuladorPOS::cboPrescriptores_LostFocus()
{
    Atrapar([this] {
        if (cboPrescriptores->currentIndex() < 0) return;
        const QString texto = cboPrescriptores->currentText();
        if (!cboProvincia->isHidden()) {
            QString nombre, matricula, tipo, jurisdiccion;
            General::SepararDatosPrescriptor(texto, nombre, matricula, tipo, jurisdiccion);
            if (Vb::Trim(texto).isEmpty()) return;
            txtAUNMAT->setText(matricula);
            BuscarCodigoCombo(cboTipoMatricula, tipo);
            BuscarCodigoCombo(cboProvincia, jurisdiccion);
        } else {
            QString nombre, codigo;
            General::SepararNombreCodigo(texto, nombre, codigo);
            if (Vb::Trim(texto).isEmpty()) return;
            txtAUNMAT->setText(codigo);
            txtFilial->setText(BuscarFilialPorCodigoOSDE(codigo));
        }
    });
}

void frmEmuladorPOS::cboTipoMatricula_LostFocus()
{
    Atrapar([this] { BuscarMedicoPorMatricula(cboPrescriptores, cboTipoMatricula, cboProvincia, txtAUNMAT->text()); });
}

void frmEmuladorPOS::cboProvincia_LostFocus() { cboTipoMatricula_LostFocus(); }

void frmEmuladorPOS::txtAUNMAT_LostFocus()
{
    Atrapar([this] {
        const QString numero = Vb::Trim(txtAUNMAT->text());
        if (numero.isEmpty() || !Vb::IsNumeric(numero)) return;
        if (!cboProvincia->isHidden())
            BuscarMedicoPorMatricula(cboPrescriptores, cboTipoMatricula, cboProvincia, numero);
        else
            BuscarPrestadorPorCodigoOSDE(numero, cboPrescriptores);
    });
}

void frmEmuladorPOS::txtcodigoOSDE_LostFocus()
{
    Atrapar([this] {
        const QString codigo = Vb::Trim(txtcodigoOSDE->text());
        clsConfig* cfg = Configuracion();
        if (codigo.isEmpty() || !cfg || !cfg->Prestadores()) return;
        for (const auto& p : *cfg->Prestadores()) {
            if (p->Admisor != 1 || !MismoNumero(Vb::Str(p->codigoOSDE), codigo)) continue;
            // The provider's own row: two rows may share a name under different codes.
            const int fila = cboNombre->findData(QVariant(int(p->idPrestador)));
            if (fila < 0) return;
            if (fila == cboNombre->currentIndex())
                cboNombre_Click();
            else
                cboNombre->setCurrentIndex(fila);
            return;
        }
    });
}

void frmEmuladorPOS::BuscarMedicoPorMatricula(QComboBox* prescriptores, QComboBox* tipo, QComboBox* jurisdiccion,
                                              const QString& numero)
{
    clsConfig* cfg = Configuracion();
    if (!cfg || !cfg->Medicos() || !prescriptores || !tipo || !jurisdiccion) return;
    QString codigoTipo, descripcion, codigoJurisdiccion;
    General::SepararPorPunto(tipo->currentText(), codigoTipo, descripcion);
    General::SepararPorPunto(jurisdiccion->currentText(), codigoJurisdiccion, descripcion);
    for (const auto& m : *cfg->Medicos()) {
        // The doctor's entry read back as the list reads it: one letter order everywhere.
        const QString item = General::TextoItemMedico(*m);
        QString nombre, matricula, letraTipo, letraJurisdiccion;
        General::SepararDatosPrescriptor(item, nombre, matricula, letraTipo, letraJurisdiccion);
        if (!MismoNumero(matricula, numero) || letraTipo != codigoTipo || letraJurisdiccion != codigoJurisdiccion)
            continue;
        const int fila = prescriptores->findText(item);
        if (fila >= 0) prescriptores->setCurrentIndex(fila);
        BuscarCodigoCombo(tipo, letraTipo);
        BuscarCodigoCombo(jurisdiccion, letraJurisdiccion);
        return;
    }
}

void frmEmuladorPOS::BuscarProvincia(const QString& letra)
{
    for (int i = 0; i < cboProvincia->count(); ++i)
        if (!letra.isEmpty() && cboProvincia->itemText(i).left(1) == letra.left(1)) {
            cboProvincia->setCurrentIndex(i);
            return;
        }
}

void frmEmuladorPOS::BuscarCodigoCombo(QComboBox* combo, QString codigo)
{
    if (!combo || Vb::Trim(codigo).isEmpty()) return;
    if (codigo == QLatin1String("1")) codigo = QStringLiteral("M");
    else if (codigo == QLatin1String("2")) codigo = QStringLiteral("O");
    for (int i = 0; i < combo->count(); ++i) {
        QString parte1, parte2;
        General::SepararPorPunto(combo->itemText(i), parte1, parte2);
        if (combo->itemText(i).contains(QLatin1Char('.')) && parte1 == codigo) {
            combo->setCurrentIndex(i);
            return;
        }
    }
}

void frmEmuladorPOS::BuscarPrestadorPorCodigoOSDE(const QString& codigo, QComboBox* combo)
{
    clsConfig* cfg = Configuracion();
    if (!combo || Vb::Trim(codigo).isEmpty() || !cfg || !cfg->Prestadores()) return;
    for (const auto& p : *cfg->Prestadores()) {
        if (!MismoNumero(Vb::Str(p->codigoOSDE), codigo)) continue;
        const int fila = combo->findText(p->Nombre + kRelleno + Vb::Str(p->codigoOSDE));
        if (fila >= 0) combo->setCurrentIndex(fila);
        return;
    }
}

QString frmEmuladorPOS::BuscarFilialPorCodigoOSDE(const QString& codigo) const
{
    clsConfig* cfg = Configuracion();
    if (!Vb::Trim(codigo).isEmpty() && cfg && cfg->Prestadores())
        for (const auto& p : *cfg->Prestadores())
            if (MismoNumero(Vb::Str(p->codigoOSDE), codigo)) return QString::number(p->Filial);
    return QStringLiteral("0");
}

// ---- Key filters and checks ---------------------------------------------------------------------

namespace {
void Filtrar(Campo campo, int& KeyAscii)
{
    if (!ReglasEmuladorPOS::FiltrarTecla(campo, General::OperacionActual, KeyAscii)) QApplication::beep();
}
}

void frmEmuladorPOS::txtCSC_KeyPress(int& KeyAscii) { Filtrar(Campo::CSC, KeyAscii); }
void frmEmuladorPOS::txtAUNREF_KeyPress(int& KeyAscii) { Filtrar(Campo::Autorizacion, KeyAscii); }
void frmEmuladorPOS::txtAUWREF_KeyPress(int& KeyAscii) { Filtrar(Campo::Referencia, KeyAscii); }

void frmEmuladorPOS::txtTarjeta_KeyPress(int& KeyAscii)
{
    const bool portapapeles = KeyAscii == 3 || KeyAscii == 22 || KeyAscii == 23 || KeyAscii == 24;
    if (portapapeles && !ReglasEmuladorPOS::PegableEnTarjeta(QApplication::clipboard()->text())) KeyAscii = 0;
}

void frmEmuladorPOS::txtAUNMAT_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 13) txtcodigoOSDE_LostFocus();
}

void frmEmuladorPOS::txtcodigoOSDE_KeyPress(int& KeyAscii) { txtAUNMAT_KeyPress(KeyAscii); }

void frmEmuladorPOS::ValidarCodigoSeguridad(bool& valido)
{
    valido = true;
    if (General::SubModoOperacion != 1 || txtCSC->isHidden()) return;
    const auto codigo = ReglasEmuladorPOS::CodigoSeguridad(txtCSC->text());
    if (!codigo) {
        Dialogs::MsgBox(QStringLiteral("Debe ingresar los 3 dígitos del código de seguridad."), Vbc::vbInformation,
                        QStringLiteral("Código vacío"));
        valido = false;
        return;
    }
    txtCSC->setText(*codigo);
}

void frmEmuladorPOS::txtAUFECP_LostFocus()
{
    if (ReglasEmuladorPOS::FechaPracticaValida(txtAUFECP->text())) return;
    Dialogs::MsgBox(QStringLiteral("Fecha de Práctica off-line inválida.\r\nFormato correcto: dd/mm/aaaa"),
                    Vbc::vbInformation, Dialogs::kAppTitle);
    txtAUFECP->setFocus();
    txtAUFECP->selectAll();
}

void frmEmuladorPOS::txtAUNREF_LostFocus()
{
    if (ReglasEmuladorPOS::AutorizacionValida(txtAUNREF->text())) return;
    Dialogs::MsgBox(QStringLiteral("Nº de autorización incorrecto"), Vbc::vbInformation, Dialogs::kAppTitle);
    txtAUNREF->setFocus();
}

void frmEmuladorPOS::txtAUWREF_LostFocus()
{
    if (General::OperacionActual == 8 && !Vb::Trim(txtAUWREF->text()).isEmpty())
        txtAUWREF->setText(ReglasEmuladorPOS::ReferenciaRescate(txtAUWREF->text()));
}

void frmEmuladorPOS::txtAUCEFE_LostFocus() { txtAUCEFE->setText(modCuit::FormaCuitTexto(txtAUCEFE->text())); }

// ---- Events -------------------------------------------------------------------------------------

bool frmEmuladorPOS::eventFilter(QObject* objeto, QEvent* evento)
{
    switch (evento->type()) {
    case QEvent::KeyPress:
        if (const auto h = m_Teclas.value(objeto)) {
            auto* k = static_cast<QKeyEvent*>(evento);
            int tecla = TeclaAscii(k);
            if (objeto == txtTarjeta && k->matches(QKeySequence::Paste)) tecla = 22;
            if (tecla == 0) break;
            const int antes = tecla;
            (this->*h)(tecla);
            if (tecla == 0 && antes != 0) return true;
        }
        break;
    case QEvent::FocusOut: {
        // A message box or a popup taking the focus is not the user leaving the field.
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon == Qt::ActiveWindowFocusReason || razon == Qt::PopupFocusReason || m_Verificando || m_Descargado)
            break;
        if (const auto h = m_AlSalir.value(objeto)) {
            m_Verificando = true;
            Atrapar([&] { (this->*h)(); });
            m_Verificando = false;
        }
        break;
    }
    case QEvent::ContextMenu:
        if (objeto == txtTarjeta) {
            QMenu* menu = txtTarjeta->createStandardContextMenu();
            const bool pegable = ReglasEmuladorPOS::PegableEnTarjeta(QApplication::clipboard()->text());
            for (QAction* a : menu->actions())
                if (a->objectName() == QLatin1String("edit-paste") && !pegable) a->setEnabled(false);
            menu->exec(static_cast<QContextMenuEvent*>(evento)->globalPos());
            delete menu;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (objeto == txtTarjeta && static_cast<QMouseEvent*>(evento)->button() == Qt::MiddleButton &&
            !ReglasEmuladorPOS::PegableEnTarjeta(QApplication::clipboard()->text(QClipboard::Selection)))
            return true;
        break;
    case QEvent::Drop:
        if (objeto == txtTarjeta) {
            const QMimeData* datos = static_cast<QDropEvent*>(evento)->mimeData();
            if (datos && !ReglasEmuladorPOS::PegableEnTarjeta(datos->text())) return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(objeto, evento);
}
