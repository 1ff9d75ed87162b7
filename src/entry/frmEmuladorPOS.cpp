#include "entry/frmEmuladorPOS.h"

#include "config/GeneralCombos.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsEfector.h"
#include "config/clsObraSocial.h"
#include "config/clsMedico.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "entry/CMsgRequerimientoPOS.h"
#include "entry/EnvioEmuladorPOS.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/FilaPrestacion.h"
#include "entry/ValoresEmuladorPOS.h"
#include "entry/frmDiagnosticos.h"
#include "entry/frmInformeMedico.h"
#include "entry/frmPrestacion.h"
#include "entry/PantallaEmuladorPOS.h"
#include "entry/ReglasEmuladorPOS.h"
#include "entry/modCuit.h"
#include "platform/ChequeosAlSalir.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "shell/GeneralPrincipal.h"
#include "shell/OperacionesMenu.h"
#include "prescription/GeneralVademecum.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "txlog/modTickets.h"
#include "platform/ReglasEntrada.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
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

// The card box's rule tells the clipboard keys by their codes: Ctrl with a letter its control
// character (Ctrl+C 3, Ctrl+X 24), any paste 22; other keys as every box's rule takes them.
int TeclaTarjeta(const QKeyEvent* e)
{
    if (!e->matches(QKeySequence::Paste) && (e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A &&
        e->key() <= Qt::Key_Z)
        return e->key() - Qt::Key_A + 1;
    return ReglasEntrada::CaracterTecleado(e);
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
    connect(cmdAceptar, &QPushButton::clicked, this, &frmEmuladorPOS::cmdAceptar_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmEmuladorPOS::cmdAdd_Click);
    connect(cmdMod, &QPushButton::clicked, this, &frmEmuladorPOS::cmdMod_Click);
    connect(cmdDel, &QPushButton::clicked, this, &frmEmuladorPOS::cmdDel_Click);
    connect(lvwPrestaciones, &QTreeWidget::itemSelectionChanged, this, &frmEmuladorPOS::lvwPrestaciones_Click);
    for (int i = 0; i < cmdBuscarDiag.size(); ++i)
        connect(cmdBuscarDiag[i], &QPushButton::clicked, this, [this, i] { cmdBuscarDiag_Click(i); });
    connect(cmbAUFINA, &QComboBox::activated, this, [this] { cmbAUFINA_Click(); });
    connect(cmdAdjuntar, &QPushButton::clicked, this, &frmEmuladorPOS::cmdAdjuntar_Click);
    connect(cmdInforme, &QPushButton::clicked, this, &frmEmuladorPOS::cmdInforme_Click);

    m_Teclas = {{txtCSC, &frmEmuladorPOS::txtCSC_KeyPress},
                {txtAUNREF, &frmEmuladorPOS::txtAUNREF_KeyPress},
                {txtAUWREF, &frmEmuladorPOS::txtAUWREF_KeyPress},
                {txtTarjeta, &frmEmuladorPOS::txtTarjeta_KeyPress},
                {txtAUNMAT, &frmEmuladorPOS::txtAUNMAT_KeyPress},
                {txtcodigoOSDE, &frmEmuladorPOS::txtcodigoOSDE_KeyPress}};
    m_Salida = new ChequeosAlSalir(this);
    const std::pair<QWidget*, void (frmEmuladorPOS::*)()> alSalir[] = {
        {cboPrescriptores, &frmEmuladorPOS::cboPrescriptores_LostFocus},
        {cboTipoMatricula, &frmEmuladorPOS::cboTipoMatricula_LostFocus},
        {cboProvincia, &frmEmuladorPOS::cboProvincia_LostFocus},
        {txtAUNMAT, &frmEmuladorPOS::txtAUNMAT_LostFocus},
        {txtcodigoOSDE, &frmEmuladorPOS::txtcodigoOSDE_LostFocus},
        {txtAUFECP, &frmEmuladorPOS::txtAUFECP_LostFocus},
        {txtAUNREF, &frmEmuladorPOS::txtAUNREF_LostFocus},
        {txtAUWREF, &frmEmuladorPOS::txtAUWREF_LostFocus},
        {txtAUCEFE, &frmEmuladorPOS::txtAUCEFE_LostFocus}};
    for (const auto& [campo, h] : alSalir)
        m_Salida->Agregar(campo, [this, h = h] { Atrapar([&] { (this->*h)(); }); });
    // A paste is held to the rule of the keys: one refused character refuses all of it. Put on
    // before the key filters, so they see the paste key first (the rescue reference refuses it).
    const std::pair<QLineEdit*, Campo> filtradas[] = {
        {txtCSC, Campo::CSC}, {txtAUNREF, Campo::Autorizacion}, {txtAUWREF, Campo::Referencia}};
    for (const auto& [caja, campo] : filtradas)
        ReglasEntrada::ReglaDeCaracteres(caja, [campo = campo](QChar c) {
            int tecla = c.unicode();
            return ReglasEmuladorPOS::FiltrarTecla(campo, General::OperacionActual, tecla);
        });
    for (QObject* o : m_Teclas.keys()) o->installEventFilter(this);
    // A copied card track never reaches the card box, whichever way it is pasted.
    txtTarjeta->setContextMenuPolicy(Qt::DefaultContextMenu);
    ReglasEntrada::PrepararVentana(this);
}

frmEmuladorPOS::~frmEmuladorPOS()
{
    m_Salida->Cerrando();
    Form_Unload();
}

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
    m_Salida->Reanudar();
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
    m_Salida->Cerrando();
    Form_Unload();
    // The close box after a refused send: the main window is not left locked.
    if (!General::MenuPrincipalHabilitado()) General::HabilitarMenuPrincipal(true, QString());
    QWidget::closeEvent(evento);
}

void frmEmuladorPOS::keyPressEvent(QKeyEvent* evento)
{
    if (!Escape(evento)) QWidget::keyPressEvent(evento);
}

bool frmEmuladorPOS::Escape(const QKeyEvent* tecla)
{
    if (tecla->key() != Qt::Key_Escape || tecla->modifiers() != Qt::NoModifier) return false;
    // A list, a completer or a message with the keyboard takes its own Escape.
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget() || m_Salida->EnCierre() || m_Descargado)
        return false;
    cmdCancelar_Click();
    return true;
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
    m_Salida->Cerrando();
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
            int tecla = objeto == txtTarjeta ? TeclaTarjeta(k) : ReglasEntrada::CaracterTecleado(k);
            if (tecla == 0) break;
            const int antes = tecla;
            (this->*h)(tecla);
            if (tecla == 0 && antes != 0) return true;
        }
        break;
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

// ---- Service lines, diagnoses and the attachment ------------------------------------------------

namespace {

QString LineaObraSocial()
{
    frmMain* m = frmMain::Instancia();
    return m && m->ObraSocial ? m->ObraSocial->LineaSeleccionada() : QString();
}

void ElegirTexto(QComboBox* combo, const QString& texto)
{
    int i = combo->findText(texto);
    if (i < 0 && !Vb::Trim(texto).isEmpty()) i = combo->findText(Vb::Trim(texto), Qt::MatchStartsWith);
    if (i >= 0) combo->setCurrentIndex(i);
}

}

void frmEmuladorPOS::cmdAdd_Click()
{
    Atrapar([this] {
        // This provider type sends one service line only.
        if (Estado().TipoPrestador == 2 && lvwPrestaciones->topLevelItemCount() > 0) return;
        frmPrestacion dialogo(lvwPrestaciones, LineaObraSocial(), this);
        dialogo.AddNew = true;
        dialogo.Form_Load();
        Dialogs::ExecModal(&dialogo);
        lvwPrestaciones_Click();
    });
}

void frmEmuladorPOS::cmdMod_Click()
{
    Atrapar([this] {
        QTreeWidgetItem* item = lvwPrestaciones->currentItem();
        if (!item || !item->isSelected()) return;
        const FilaPrestacion fila = FilaPrestacion::De(item);
        frmPrestacion dialogo(lvwPrestaciones, LineaObraSocial(), this);
        dialogo.AddNew = false;
        dialogo.Form_Load();
        dialogo.txtAUPRE->setText(fila.codigo);
        dialogo.txtNombre->setText(fila.descripcion);
        ElegirTexto(dialogo.cmbTipo, fila.tipo);
        ElegirTexto(dialogo.cmbArancel, fila.arancel);
        dialogo.txtAUCAN->setText(fila.cantidad);
        if (dialogo.cboAUODP->count() > 0) {
            // A sector is listed by its code; anything else is a tooth number.
            int sector = -1;
            for (int i = 0; i < dialogo.cboAUODP->count() && sector < 0; ++i)
                if (Vb::Trim(Vb::Right(dialogo.cboAUODP->itemText(i), 4)) == Vb::Trim(fila.pieza)) sector = i;
            if (sector < 0) {
                for (int i = 0; i < dialogo.cboAUODP->count() && sector < 0; ++i)
                    if (Vb::Trim(dialogo.cboAUODP->itemText(i)).toUpper() == QLatin1String("PIEZA")) sector = i;
                dialogo.txtAUODP->setText(fila.pieza);
            }
            dialogo.cboAUODP->setCurrentIndex(sector);
            dialogo.cboAUODP_Click();
        } else {
            dialogo.txtAUODP->setText(fila.pieza);
        }
        const QString letras = QStringLiteral("MODVL");
        for (int i = 0; i < dialogo.chkCara.size() && i < letras.size(); ++i)
            dialogo.chkCara[i]->setChecked(fila.caras.contains(letras[i]));
        dialogo.txtAUODC->setText(fila.caras);
        dialogo.cmdOk->setText(QStringLiteral("Modificar"));
        Dialogs::ExecModal(&dialogo);
    });
}

void frmEmuladorPOS::cmdDel_Click()
{
    Atrapar([this] {
        QTreeWidgetItem* item = lvwPrestaciones->currentItem();
        if (item && item->isSelected()) delete item;
        lvwPrestaciones_Click();
    });
}

void frmEmuladorPOS::lvwPrestaciones_Click()
{
    QTreeWidgetItem* item = lvwPrestaciones->currentItem();
    const bool elegida = item && item->isSelected();
    cmdDel->setEnabled(elegida);
    cmdMod->setEnabled(elegida);
}

void frmEmuladorPOS::cmdBuscarDiag_Click(int Index)
{
    Atrapar([this, Index] {
        frmDiagnosticos picker(this);
        const QString codigo = picker.Mostrar();
        if (Vb::Trim(codigo).isEmpty()) return;
        (Index == 0 ? txtAUDSM1 : txtAUDSM2)->setText(codigo);
    });
}

void frmEmuladorPOS::cmbAUFINA_Click()
{
    Atrapar([this] {
        if (Estado().TipoPrestador != 2 || Vb::Left(cmbAUFINA->currentText(), 11) != QStringLiteral("Anula órden"))
            return;
        if (Vb::Trim(txtAUWREF->text()).isEmpty()) txtAUWREF->setText(QStringLiteral("98"));
        FilaPrestacion fila;
        fila.codigo = QStringLiteral("000000");
        fila.tipo = QStringLiteral("1");
        fila.arancel = QStringLiteral("0");
        fila.cantidad = QStringLiteral("0");
        auto* item = new QTreeWidgetItem;
        fila.EscribirEn(item);
        lvwPrestaciones->addTopLevelItem(item);
    });
}

QString frmEmuladorPOS::ArmarFiltroArchivos(const QString& filtro, const QString& descripcion, const QString& patron)
{
    QStringList patrones;
    for (const QString& p : patron.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        for (const QString& forma : {p.toUpper(), p.toLower()})
            if (!patrones.contains(forma)) patrones << forma;
    const QString entrada = descripcion + QStringLiteral(" (") + patrones.join(QLatin1Char(' ')) + QLatin1Char(')');
    return filtro.isEmpty() ? entrada : filtro + QStringLiteral(";;") + entrada;
}

void frmEmuladorPOS::cmdAdjuntar_Click()
{
    Atrapar([this] {
        EstadoEmuladorPOS& estado = Estado();
        CommonDialog1.Limpiar();
        CommonDialog1.Filter = ArmarFiltroArchivos(
            QString(), QStringLiteral("Archivos"),
            QStringLiteral("*.BMP;*.GIF;*.PDF;*.PNG;*.TIF;*.TIFF;*.JPG;*.JPEG;*.TXT;*.DOC;*.DOCX"));
        // Asked again after a file over the limit, until one fits or the user gives up.
        for (;;) {
            CommonDialog1.ShowOpen();
            if (Vb::Trim(CommonDialog1.FileName).isEmpty()) {
                Dialogs::MsgBox(QStringLiteral("No ha seleccionado ningún archivo"), Vbc::vbInformation,
                                Dialogs::kAppTitle);
                return;
            }
            if (QFileInfo(CommonDialog1.FileName).size() <= kLimiteAdjunto) {
                estado.ArchivoAdjunto = CommonDialog1.FileName;
                estado.NombreArchivoAdjunto = CommonDialog1.FileTitle;
                txtProtocolo->setText(CommonDialog1.FileName);
                return;
            }
            Dialogs::MsgBox(QStringLiteral("El tamaño del archivo excede el límite = 1 Mb"), Vbc::vbInformation,
                            Dialogs::kAppTitle);
            estado.ArchivoAdjunto.clear();
            estado.NombreArchivoAdjunto.clear();
            txtProtocolo->clear();
            CommonDialog1.Limpiar();
        }
    });
}

void frmEmuladorPOS::cmdInforme_Click()
{
    Atrapar([this] {
        frmInformeMedico editor(cboNombre->currentText(), txtTarjeta->text(), txtProtocolo, this);
        editor.Cargar(Estado().sTextoInformeMedico, nullptr);
    });
}

// ---- The send -----------------------------------------------------------------------------------

namespace {

const QString kSinObraSocial = QStringLiteral("Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha.");

void PunterosNormales()
{
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

}

ValoresEmuladorPOS frmEmuladorPOS::Valores() const
{
    const EstadoEmuladorPOS& e = Estado();
    ValoresEmuladorPOS v;
    v.RequierePrescripcion = e.RequierePrescripcion;
    v.TipoPrestador = e.TipoPrestador;
    v.RequiereMatPrescriptor = e.RequiereMatPrescriptor;
    v.txtAUDSM1 = txtAUDSM1->text();
    v.txtAUDSM2 = txtAUDSM2->text();
    v.txtAUNMAT = txtAUNMAT->text();
    v.txtAUNMATActivo = !txtAUNMAT->isHidden() && Habilitado(txtAUNMAT);
    v.cboTipoMatricula = cboTipoMatricula->currentText();
    v.cboProvincia = cboProvincia->currentText();
    for (int i = 0; i < lvwPrestaciones->topLevelItemCount(); ++i)
        v.lvwPrestaciones << FilaPrestacion::De(lvwPrestaciones->topLevelItem(i));
    return v;
}

void frmEmuladorPOS::SalidaEnvio()
{
    m_Mensaje.reset();
    if (m_Transaccion) {
        VaciarColeccion(m_Transaccion->colItemTicket);
        VaciarColeccion(m_Transaccion->colDiagnostico);
    }
    PunterosNormales();
    cmdAceptar->setEnabled(true);
}

void frmEmuladorPOS::SalidaCorta()
{
    PunterosNormales();
    cmdAceptar->setEnabled(true);
}

void frmEmuladorPOS::LimpiezaEnvio()
{
    m_Mensaje.reset();
    General::HabilitarMenuPrincipal(true, QString());
    const bool csc = General::SubModoOperacion >= 1;
    lblCsc->setEnabled(csc);
    txtCSC->setEnabled(csc);
}

frmEmuladorPOS* frmEmuladorPOS::Recargar()
{
    frmMain* m = frmMain::Instancia();
    if (!m || Marco() == this) {
        Form_Unload();
        Form_Load();
        return this;
    }
    Cerrar();
    frmEmuladorPOS* nueva = m->AbrirEmuladorPOS();
    if (!nueva) return nullptr;
    if (auto* s = qobject_cast<QMdiSubWindow*>(nueva->parentWidget())) s->show();
    return nueva;
}

void frmEmuladorPOS::cmdAceptar_Click()
{
    using namespace General;
    EstadoEmuladorPOS& estado = Estado();
    try {
        // 1. Preparation
        HabilitarMenuPrincipal(false, QString());
        cmdAceptar->setEnabled(false);
        m_Mensaje = std::make_unique<CMsgRequerimientoPOS>();
        CMsgRequerimientoPOS& msg = *m_Mensaje;
        m_Transaccion = std::make_shared<clsTransaccion>();
        TransaccionActual = m_Transaccion;
        clsTransaccion& tx = *m_Transaccion;
        tx.setPasoDRUVEX(DirectorioTrabajo);
        tx.setVerListaErrores(false);
        tx.setEnviarCopiaPaciente(false);
        msg.AUCUIT = Vb::Str(estado.Cuit);
        msg.AUFINA = quint8(std::clamp(std::llround(Vb::Val(Vb::Right(cmbAUFINA->currentText(), 5))), 0LL, 255LL));
        msg.AUMOTA = QStringLiteral("0");
        const std::optional<EnvioEmuladorPOS::Operacion> operacion = EnvioEmuladorPOS::DeOperacion(OperacionActual);
        if (operacion) {
            msg.AUTRAC = operacion->clase;
            msg.AUATRC = operacion->letra;
        }
        const qint16 codigoMensaje = operacion ? operacion->codigo : 0;
        if (OperacionActual == 12) {
            msg.AUMOTA = QString::number(msg.AUFINA);
            msg.AUFINA = 0;
            msg.AUHORP = txtAUHORP->text().remove(QLatin1Char(':'));
        } else if (OperacionActual == 19) {
            msg.AUFINA = 0;
            msg.AUFECP = EnvioEmuladorPOS::FechaMensaje(txtAUFECP->text());
            msg.AUHORP = txtAUHORP->text().remove(QLatin1Char(':'));
            tx.setEnviarCopiaPaciente(true);
        }
        // 2. Reference
        msg.AUWREF = txtAUWREF->text();
        msg.AUNREF = Vb::CLng(Vb::Val(txtAUNREF->text()));
        // 3. Service lines
        auto lineas = std::make_shared<CMsgRequerimientoPOS::Lineas>();
        msg.setPrestaciones(lineas);
        for (int i = 0; i < lvwPrestaciones->topLevelItemCount(); ++i) {
            const FilaPrestacion fila = FilaPrestacion::De(lvwPrestaciones->topLevelItem(i));
            auto l = std::make_shared<clsPrestacionTxOSDE>();
            l->AUPRE = fila.codigo;
            l->AUTIP = Vb::CInt(Vb::Val(fila.tipo));
            l->AUARA = Vb::CInt(Vb::Val(fila.arancel));
            l->AUCAN = Vb::CInt(Vb::Val(fila.cantidad));
            if (codigoMensaje > 19) {
                // The place of attention travels in the piece and face fields.
                const QString codigo = Vb::Trim(Vb::Right(cboTipoInternacion->currentText(), 4));
                l->AUODP = Vb::Left(codigo, 1);
                if (codigo.size() > 1) l->AUODC = Vb::Trim(Vb::Right(cboTipoInternacion->currentText(), 1));
            } else {
                l->AUODP = fila.pieza;
                l->AUODC = fila.caras;
            }
            tx.AgregarItemSVL2(l->AUPRE, QString::number(l->AUTIP), QString::number(l->AUARA),
                               QString::number(l->AUCAN), l->AUODP, l->AUODC);
            lineas->Add(l);
        }
        // 4. Prescriber registration
        QString tipo, provincia, resto;
        SepararPorPunto(cboTipoMatricula->currentText(), tipo, resto);
        SepararPorPunto(cboProvincia->currentText(), provincia, resto);
        if (!cboTipoMatricula->currentText().contains(QLatin1Char('.'))) tipo.clear();
        if (!cboProvincia->currentText().contains(QLatin1Char('.'))) provincia.clear();
        msg.AUTMAT = OperacionActual == 5 || OperacionActual == 19 ? txtFilial->text() : tipo + provincia;
        if (!tipo.isEmpty()) {
            UltimoIndiceProvincia = qint16(cboProvincia->currentIndex());
            UltimoIndiceTipoMatricula = qint16(cboTipoMatricula->currentIndex());
        }
        // 5. Registration number and effector
        msg.AUNMAT = Vb::CLng(Vb::Val(txtAUNMAT->text()));
        txtAUCEFE_LostFocus();
        msg.AUCEFE = txtAUCEFE->text().remove(QLatin1Char('-'));
        // 6. Diagnoses
        for (QLineEdit* d : {txtAUDSM1, txtAUDSM2})
            if (!Vb::Trim(d->text()).isEmpty()) tx.AgregarItemSVL4(Vb::Trim(d->text()));
        // 7. Date of practice
        if (QList<qint16>{7, 11, 12, 13, 14}.contains(OperacionActual)) {
            if (txtAUFECP->text().isEmpty()) {
                Dialogs::MsgBox(QStringLiteral("Fecha Práctica off-line inválida"), Vbc::vbInformation,
                                Dialogs::kAppTitle);
                txtAUFECP->setFocus();
                HabilitarMenuPrincipal(true, QString());
                SalidaCorta();
                return;
            }
            msg.AUFECP = EnvioEmuladorPOS::FechaMensaje(txtAUFECP->text());
        }
        // 8. The header's time is never sent.
        msg.AUHORP.clear();
        msg.NombreAfiliado.clear();
        // 9. Provider-transaction number: kept until a transaction is answered.
        if (estado.GenerarReferencia) estado.NumeroReferencia = EnvioEmuladorPOS::NumeroReferencia(Platform::Rnd());
        msg.NumeroTransaccionPrestador = estado.NumeroReferencia;
        // 10. Extra documentation
        const QString documentacion =
            EnvioEmuladorPOS::DocumentacionExtra(OperacionActual, optTipoInforme.value(1)->isChecked());
        // 11. Checks
        if (!msg.Validar(OperacionActual, Valores())) {
            SalidaEnvio();
            return;
        }
        // 12. An insurer that is not on-line only logs the request.
        if (!ObraSocialOnLine) {
            // The local report finds a logged request by its insurer's AUISOA.
            if (const auto obra = ObraSocialElegida()) msg.AUISOA = Vb::CLng(obra->AUISOA);
            msg.LogDB(true, QString());
            ObraSocialOnLine = true;
            frmEmuladorPOS* nueva = Recargar();
            if (nueva != this) m_Mensaje.reset();
            if (nueva) nueva->LimpiezaEnvio();
            else HabilitarMenuPrincipal(true, QString());
            return;
        }
        // 13. Card
        if (Vb::Trim(txtTarjeta->text()).isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Ingrese la tarjeta del afiliado"), Vbc::vbInformation,
                            QStringLiteral("Tarjeta del afiliado"));
            SalidaEnvio();
            return;
        }
        // 14. Security code
        if (SubModoOperacion == 1) {
            bool valido = true;
            ValidarCodigoSeguridad(valido);
            if (!valido) {
                SalidaEnvio();
                txtCSC->setFocus();
                return;
            }
        }
        // 15. Card and security code as sent
        const QString csc = Vb::Trim(txtCSC->text());
        const QString tarjeta = EnvioEmuladorPOS::TarjetaEnvio(txtTarjeta->text());
        // 16. Ticket reference
        const QString referencia =
            EnvioEmuladorPOS::TicketReferencia(estado.NombreObraSocial, msg.AUWREF, msg.AUNREF, txtAUNREF->text());
        // 17. Attachment required
        if (estado.ArchivoAdjunto.isEmpty() && OperacionActual == 13) {
            Dialogs::MsgBox(QStringLiteral("Debe adjuntar un archivo para realizar esta operación."),
                            Vbc::vbInformation, Dialogs::kAppTitle);
            SalidaCorta();
            return;
        }
        // 18. Header
        tx.CompletarSVL1(codigoMensaje, msg.AUCUIT, tarjeta, referencia, msg.AUTMAT, QString::number(msg.AUNMAT),
                         msg.AUDSM1, msg.AUDSM2, Vb::Val(msg.AUMOTA) > 0 ? msg.AUMOTA : QString::number(msg.AUFINA),
                         msg.AUCEFE, QStringLiteral("0"), msg.AUFECP, msg.AUHORP, TipoIngresoAutomatico,
                         msg.NumeroTransaccionPrestador, documentacion, csc);
        // 19. Additional header data
        clsConfig* cfg = Configuracion();
        tx.CompletarSVL5(Vb::Right(cboTipoDocumento->currentText(), 1), Vb::Trim(txtNumeroDocumento->text()),
                         cboEfectores->currentText(), EnvioEmuladorPOS::CodigoFinal(cboEspecialidadEfector->currentText()),
                         QString(), cfg ? cfg->TelefonoTerminal() : QString(), QString(),
                         cfg ? cfg->DireccionTerminal() : QString(), cfg ? cfg->LatitudTerminal() : QString(),
                         cfg ? cfg->LongitudTerminal() : QString(), cboPrescriptores->currentText(), QString(),
                         EnvioEmuladorPOS::CodigoFinal(cboEspecialidadPrescriptor->currentText()), QString(),
                         QString(), QString(), QString(), QString(), QString(), QString(), QString());
        // 20. Attachment
        if (OperacionActual == 13 && !Vb::Trim(estado.NombreArchivoAdjunto).isEmpty()) {
            bool adjunto = false;
            try {
                adjunto = tx.AdjuntarArchivo(estado.ArchivoAdjunto);
            } catch (const std::exception&) {
                adjunto = false;
            }
            if (!adjunto) {
                Dialogs::MsgBox(QStringLiteral("No se pudo adjuntar archivo."), Vbc::vbCritical, Dialogs::kAppTitle);
                SalidaCorta();
                return;
            }
        }
        // 21. Insurer codes: without the chosen insurer nothing may go out under another's codes.
        const auto obra = ObraSocialElegida();
        if (!obra) {
            Dialogs::MsgBox(kSinObraSocial, Vbc::vbCritical, Dialogs::kAppTitle);
            SalidaCorta();
            return;
        }
        tx.setCodigoActividad(QString::number(obra->Actividad));
        tx.setCodigoEmpresa(QString::number(obra->Empresa));
        // 22. Account code
        tx.setLicencia(QString());
        const std::optional<QString> licencia = LicenciaDeEnvio(lblLicencia->text());
        if (!licencia) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar una única licencia para realizar transacciones"),
                            Vbc::vbInformation, Dialogs::kAppTitle);
            SalidaCorta();
            return;
        }
        tx.setLicencia(*licencia);
        // 23. Printing
        if (cfg) {
            tx.setImprimirTicket(cfg->Imprimir());
            tx.setPrinterCopias(cfg->Copias());
            tx.setPrinterFontName(cfg->FontName());
            tx.setPrinterFontSize(cfg->FontSize());
            tx.setPrinterLargoHoja(cfg->Largohoja());
            tx.setPrinterDevice(cfg->Impresora());
        }
        // 24. Send
        if (!tx.EnviarTransaccion()) {
            PunterosNormales();
            QCoreApplication::processEvents();
            Dialogs::MsgBox(QStringLiteral("Error en la transacción.\r\nFalla de comunicación."), Vbc::vbCritical,
                            Dialogs::kAppTitle);
            tx.FinalizarTransaccion();
            estado.GenerarReferencia = false;
            cmdAceptar->setEnabled(true);
            LimpiezaEnvio();
            return;
        }
        // 25. Answer: only an answered exchange is logged and draws a new number.
        const QString codigo = tx.LeerCodigoError(1);
        if (Vb::Left(codigo, 2) == QLatin1String("-1")) {
            Dialogs::MsgBox(codigo, Vbc::vbInformation, QStringLiteral("Transacción"));
            estado.GenerarReferencia = false;
        } else {
            if (!tx.TransaccionAprobada() && tx.RespuestaValidador().isEmpty()) {
                // The error list is off: say what became of the request.
                const qint16 i = tx.TransaccionRealizada() ? 0 : 1;
                QString texto = Vb::Trim(tx.LeerCodigoError(i));
                const QString comentario = Vb::Trim(tx.LeerComentarioError(i));
                if (!comentario.isEmpty()) texto += (texto.isEmpty() ? QString() : QStringLiteral("\r\n")) + comentario;
                if (!texto.isEmpty())
                    Dialogs::MsgBox(texto, tx.TransaccionRealizada() ? Vbc::vbExclamation : Vbc::vbCritical,
                                    QStringLiteral("Transacción"));
            }
            if (tx.TransaccionRealizada()) {
                modTickets::GuardarTicket(tx.GetSVL1(), tx.GetElTicket(), tx.CodigoEmpresa(), tx.GetSVL2(),
                                          tx.GetCantidadPrestaciones(),
                                          {txtAUCEFE->text(), cboProvincia->currentText(),
                                           cboTipoMatricula->currentText(), txtAUNMAT->text()});
                estado.GenerarReferencia = true;
            } else {
                estado.GenerarReferencia = false;
            }
        }
        tx.FinalizarTransaccion();
        // 26. The effector keeps the speciality it was sent with; "none" keeps the stored one.
        const auto especialidad = EnvioEmuladorPOS::EspecialidadElegida(cboEspecialidadEfector->currentText());
        if (especialidad && cfg && cfg->Efectores()) {
            const QString cuit = txtAUCEFE->text().remove(QLatin1Char('-'));
            for (const auto& ef : *cfg->Efectores()) {
                if (modCuit::SinGuiones(ef->Cuit) != cuit || cuit.isEmpty()) continue;
                clsEfector escritor;
                escritor.Procesar(3, ef->Nombre, ef->Cuit, ef->Matricula, ef->TipoMatricula, ef->Baja,
                                  CondicionSQL{QStringLiteral("cuit = ?"), {ef->Cuit}}, *especialidad);
                ef->idEspecialidad = *especialidad;
                break;
            }
        }
        // 27. An approved transaction brings the window back empty.
        PunterosNormales();
        QCoreApplication::processEvents();
        const bool aprobada = !tx.TransaccionCancelada() && tx.TransaccionAprobada() && tx.TransaccionRealizada();
        frmEmuladorPOS* f = aprobada ? Recargar() : this;
        if (!f) {
            HabilitarMenuPrincipal(true, QString());
            return;
        }
        if (f != this) m_Mensaje.reset();
        f->cmdAceptar->setEnabled(true);
        if (!f->cboNombre->currentText().isEmpty()) f->txtTarjeta->setFocus();
        f->LimpiezaEnvio();
    } catch (const std::exception& e) {
        PunterosNormales();
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
        if (!m_Descargado) cmdAceptar->setEnabled(true);
    }
}
