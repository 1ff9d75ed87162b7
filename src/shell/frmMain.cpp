#include "shell/frmMain.h"
#include "config/GeneralConfiguracion.h"

#include "config/Coleccion.h"
#include "config/GeneralTablas.h"
#include "config/clsConfig.h"
#include "config/modRegistry.h"
#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "engine/modImpresion.h"
#include "platform/AjustesUsuario.h"
#include "platform/ArchivosPropios.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Emblema.h"
#include "platform/InstanciaUnica.h"
#include "platform/Paths.h"
#include "platform/Salida.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "shell/GeneralPrincipal.h"
#include "shell/DisposicionPrincipal.h"
#include "shell/frmObraSocial.h"
#include "shell/frmToolList.h"
#include "shell/modVentanas.h"
#include "txlog/frmInicio.h"
#include "txlog/modTickets.h"
#include "reports/modValoraciones.h"

#include <QCloseEvent>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStatusBar>

namespace {

frmMain* g_instancia = nullptr;
const QString kModoOculto = QStringLiteral("KESTRIMA");

// A stored flag: a number (non-zero is true) or the words True and False.
bool Bandera(const QString& texto)
{
    const QString t = Vb::Trim(texto);
    if (Vb::IsNumeric(t)) return Vb::Val(t) != 0;
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("verdadero"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("falso"), Qt::CaseInsensitive) == 0)
        return false;
    throw VbError(VbError::TypeMismatch, QStringLiteral("Quorvan.frmMain"), QStringLiteral("Type mismatch"));
}

void LeerBandera(const char* nombre, bool& valor)
{
    QString texto;
    if (modRegistry::LeerValorRegistro(QString::fromLatin1(nombre), modRegistry::REG_SZ, texto, false))
        valor = Bandera(texto);
}

qint32 LeerNumero(const char* nombre, qint32 predeterminado)
{
    qint32 valor = predeterminado;
    modRegistry::LeerValorRegistro(QString::fromLatin1(nombre), modRegistry::REG_DWORD, valor, false);
    return valor;
}

void BanderasDeTablas(bool valor)
{
    General::ActualizaMedicos = General::ActualizaEfectores = General::ActualizaPrestadores = valor;
    General::ActualizaObrasS = General::ActualizaPrestaciones = General::ActualizaDiagnosticos = valor;
}

}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    g_instancia = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Dialogs::kAppTitle);
    // The working windows inside take the main window's icon.
    setWindowIcon(EmblemaPrograma());
    MDIArea = new QMdiArea(this);
    MDIArea->setObjectName(QStringLiteral("MDIArea"));
    // Children that reach past the area can be scrolled to, as in any MDI window.
    MDIArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MDIArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MDIArea);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    Panel1 = new QLabel(StatusBar1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    StatusBar1->addWidget(Panel1, 1);
    setStatusBar(StatusBar1);
    CrearMenus();
    CrearMenusOperaciones();
    CrearVentanasLaterales();
    setMinimumSize(Twips::APixeles(DisposicionPrincipal::kAnchoVentanaMinimo),
                   Twips::APixeles(DisposicionPrincipal::kAltoVentanaMinimo));
    resize(1024, 600);
}

frmMain::~frmMain()
{
    if (g_instancia == this) g_instancia = nullptr;
}

frmMain* frmMain::Instancia() { return g_instancia; }

QAction* frmMain::Entrada(QMenu* menu, const char* nombre, const QString& texto)
{
    QAction* a = menu ? menu->addAction(texto) : menuBar()->addAction(texto);
    a->setObjectName(QString::fromLatin1(nombre));
    m_Menus.insert(a->objectName(), a);
    return a;
}

QMenu* frmMain::Submenu(QMenu* menu, const char* nombre, const QString& texto)
{
    QMenu* m = menu ? menu->addMenu(texto) : menuBar()->addMenu(texto);
    m->setObjectName(QString::fromLatin1(nombre));
    m->menuAction()->setObjectName(m->objectName());
    m_Menus.insert(m->objectName(), m->menuAction());
    return m;
}

void frmMain::CrearMenus()
{
    // The entries the operations and the other menus will fill; their items come with them.
    connect(Entrada(nullptr, "mnuInicio", QStringLiteral("&Inicio")), &QAction::triggered, this,
            &frmMain::mnuInicio_Click);
    QMenu* operaciones = Submenu(nullptr, "mnuOperaciones", QStringLiteral("&Operaciones"));
    Submenu(operaciones, "mnuVerificar", QStringLiteral("&Verificar"));
    Submenu(operaciones, "mnuInformar", QStringLiteral("&Informar"));
    Submenu(operaciones, "mnuInternaciones", QStringLiteral("I&nternaciones"));
    Submenu(operaciones, "mnuOdontologia", QStringLiteral("&Odontología"));
    Submenu(operaciones, "mnuCierres", QStringLiteral("&Cierres"));
    Entrada(operaciones, "mnuMedicamentos", QStringLiteral("Prescripción Medicamentos"));
    Entrada(operaciones, "mnuValoraciones", QStringLiteral("&Valoracion de prestaciones"));
    Entrada(operaciones, "mnuInforme", QStringLiteral("Pendientes"))->setEnabled(false);
    Entrada(operaciones, "mnuReportes", QStringLiteral("&Reportes"))->setEnabled(false);
    operaciones->addSeparator()->setObjectName(QStringLiteral("mnuSeparador"));
    Entrada(operaciones, "mnuImpresora", QStringLiteral("&Impresora..."));
    Entrada(operaciones, "mnuConfigurar", QStringLiteral("&Configurar..."));
    Entrada(operaciones, "mnuActualizacion", QStringLiteral("&Actualización Quorvan"))->setEnabled(false);
    operaciones->addSeparator()->setObjectName(QStringLiteral("mnuSeparador2"));
    connect(Entrada(operaciones, "mnuSalir", QStringLiteral("&Salir")), &QAction::triggered, this,
            &frmMain::mnuSalir_Click);
    Entrada(nullptr, "mnuHistoriaClinica", QStringLiteral("&H. Clínica"))->setEnabled(false);
    QMenu* ayuda = Submenu(nullptr, "mnuAyuda", QStringLiteral("&Ayuda"));
    Entrada(ayuda, "mnuTemasAyuda", QStringLiteral("Temas de Ayuda"));
    Entrada(ayuda, "mnuAyudaQuorvan", QStringLiteral("Ayuda sobre Quorvan..."));
    Entrada(ayuda, "mnuAyudaCierres", QStringLiteral("Cierres y Presentación de Facturación..."));
    Entrada(ayuda, "mnuAyudaReclamo", QStringLiteral("Alta de un Reclamo..."));
    Entrada(ayuda, "mnuChat", QStringLiteral("Chatear con Mesa de Ayuda..."));
    Entrada(ayuda, "mnuContactos", QStringLiteral("Contactos en cada financiador..."));
    ayuda->addSeparator()->setObjectName(QStringLiteral("mnuSeparador4"));
    QMenu* mantenimiento = Submenu(ayuda, "mnuMantenimiento", QStringLiteral("Mantenimiento"));
    Entrada(mantenimiento, "mnuActualizarPrestadores", QStringLiteral("Actualizar prestadores"));
    Entrada(mantenimiento, "mnuInstalarFuente", QStringLiteral("Instalar fuente"))->setEnabled(false);
    Entrada(mantenimiento, "mnuReiniiarDruvex", QStringLiteral("Reiniciar Druvex"));
    Entrada(mantenimiento, "mnuDescargas", QStringLiteral("Soporte remoto"));
    ayuda->addSeparator()->setObjectName(QStringLiteral("mnuSeparador3"));
    Entrada(ayuda, "mnuAcerca", QStringLiteral("Acerca"));
    ConectarMenus();
}

QAction* frmMain::Menu(const QString& nombre) const { return m_Menus.value(nombre); }

// ---- Working windows ----------------------------------------------------------------------

QMdiSubWindow* frmMain::Subventana(const QString& nombre) const
{
    for (QMdiSubWindow* s : MDIArea->subWindowList())
        if (s->widget() && s->widget()->objectName() == nombre) return s;
    return nullptr;
}

QWidget* frmMain::FormularioTrabajo(const QString& nombre) const
{
    QMdiSubWindow* s = Subventana(nombre);
    return s ? s->widget() : nullptr;
}

QWidget* frmMain::FormularioActivo() const
{
    QMdiSubWindow* s = MDIArea->activeSubWindow();
    if (!s && !MDIArea->subWindowList().isEmpty()) s = MDIArea->subWindowList().last();
    return s ? s->widget() : nullptr;
}

void frmMain::DescargarFormulario(const QString& nombre)
{
    if (QMdiSubWindow* s = Subventana(nombre)) {
        s->close();
        // Gone at once: the next form of the same name must not find this one.
        s->setParent(nullptr);
        s->deleteLater();
    }
}

void frmMain::mnuInicio_Click()
{
    General::OperacionActual = 99;
    General::DescargarFormularios(QStringLiteral("frmInicio"));
    if (QMdiSubWindow* s = Subventana(QStringLiteral("frmInicio"))) {
        s->show();
        MDIArea->setActiveSubWindow(s);
        // What was logged since it was loaded (a void from its own ticket window) shows at once.
        if (auto* inicio = qobject_cast<frmInicio*>(s->widget())) inicio->CargarListaTransacciones();
        return;
    }
    auto* inicio = new frmInicio;
    inicio->DistribuirVentanas = [this] { MDIForm_Resize(); };
    QMdiSubWindow* s = MDIArea->addSubWindow(inicio);
    s->setAttribute(Qt::WA_DeleteOnClose);
    s->setWindowTitle(inicio->windowTitle());
    s->setWindowIcon(inicio->ImageList1.value(0));
    s->show();
    inicio->Form_Load();
}

// ---- Layout -------------------------------------------------------------------------------

void frmMain::MDIForm_Resize()
{
    using namespace DisposicionPrincipal;
    Estado e;
    e.minimizada = isMinimized();
    e.alto = Twips::DePixeles(height());
    e.ancho = Twips::DePixeles(width());
    e.altoStatusBar = Twips::DePixeles(StatusBar1->height());
    e.anchoBarra = Twips::DePixeles(ToolList->width());
    e.anchoObraSocial = Twips::DePixeles(ObraSocial->width());
    e.operacion = General::OperacionActual;
    for (QMdiSubWindow* s : MDIArea->subWindowList())
        if (s->widget()) e.abiertos << s->widget()->objectName();
    const Acciones a = DisposicionPrincipal::MDIForm_Resize(e);
    switch (a.paso) {
    case Acciones::Paso::Ninguno:
        return;
    case Acciones::Paso::Alto:
        resize(width(), Twips::APixeles(a.medida));
        return;
    case Acciones::Paso::Ancho:
        resize(Twips::APixeles(a.medida), height());
        return;
    case Acciones::Paso::Colocar:
        break;
    }
    BarraLateral->move(Twips::APixeles(a.barra.x()), Twips::APixeles(a.barra.y()));
    BarraLateral->show();
    ToolList->Habilitar_Operaciones();
    AjustarBarraLateral();
    ObraSocial->setGeometry(Twips::APixeles(a.obraSocial));
    ObraSocial->show();
    if (a.trabajo)
        if (QMdiSubWindow* s = Subventana(a.trabajo->nombre))
            s->resize(Twips::APixeles(a.trabajo->ancho), Twips::APixeles(a.trabajo->alto));
}

void frmMain::AjustarBarraLateral()
{
    const QSize marco = DisposicionPrincipal::MarcoBarraLateral(
        QSize(Twips::DePixeles(ToolList->width()), Twips::DePixeles(ToolList->height())),
        Twips::DePixeles(MDIArea->viewport()->height() - BarraLateral->y()));
    // The scroll bar follows the same decision at once (left to itself it shows or hides later).
    BarraLateral->setVerticalScrollBarPolicy(marco.height() < Twips::DePixeles(ToolList->height()) ? Qt::ScrollBarAlwaysOn
                                                                                                   : Qt::ScrollBarAlwaysOff);
    BarraLateral->resize(Twips::APixeles(marco.width()), Twips::APixeles(marco.height()));
}

bool frmMain::eventFilter(QObject* objeto, QEvent* evento)
{
    // The bar grows or shrinks whenever its operations change (the configuration window too).
    if (objeto == ToolList && evento->type() == QEvent::Resize && BarraLateral) AjustarBarraLateral();
    return QMainWindow::eventFilter(objeto, evento);
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    MDIForm_Resize();
}

// ---- Start-up ---------------------------------------------------------------------------

void frmMain::AjustarAlArranque()
{
    const QScreen* pantalla = screen();
    const QRect disponible = pantalla ? pantalla->availableGeometry() : QRect();
    if (disponible.isEmpty()) {
        resize(width(), Twips::APixeles(DisposicionPrincipal::kAltoArranque));
        return;
    }
    // Before the window manager has framed the window its frame is not known: a title bar is
    // taken for it.
    int marco = frameGeometry().height() - height();
    if (marco <= 0) marco = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int alto = Twips::APixeles(
        DisposicionPrincipal::AltoArranque(Twips::DePixeles(disponible.height()), Twips::DePixeles(marco)));
    resize(std::min(width(), disponible.width()), alto);
    if (!disponible.contains(frameGeometry())) move(disponible.topLeft());
}

void frmMain::MDIForm_Load()
{
    using namespace General;
    bool primeraConfiguracion = false;
    // From the working-folder check on, a known terminal's start-up skips a failing step.
    bool pasosSueltos = false;
    auto paso = [&pasosSueltos](const auto& f) {
        if (!pasosSueltos) {
            f();
            return;
        }
        try {
            f();
        } catch (const std::exception&) {
        }
    };
    try {
        LineaComando = Vb::Trim(ArgumentosPrograma).toUpper();
        // The embedded database is opened by name in place: a link planted at one of its names
        // ends the start before anything opens it, as anything but a file of the user's own at
        // the lock's name does.
        QString rechazo = ArchivosPropios::Rechazo(Database::ArchivosEmbebidos());
        if (rechazo.isEmpty() && !InstanciaUnica::Tomar(&rechazo) && rechazo.isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Ya existe una instancia previa de la aplicación"), Vbc::vbInformation);
            Salida::Solicitar(0);
            return;
        }
        if (!rechazo.isEmpty()) {
            Dialogs::MsgBox(rechazo, Vbc::vbCritical);
            Salida::Solicitar(1);
            return;
        }
        // Files left readable by an earlier version become private before anything is read.
        ArchivosPropios::AlIniciar({modTickets::CarpetaTickets(),
                                    QFileInfo(modValoraciones::ArchivoReporte(QDate())).path()});
        gConfig = std::make_shared<clsConfig>();
        NumeroTerminal = Vb::CInt(double(LeerNumero("Terminal", 0)));
        SubModoOperacion = 0;
        ReiniciarControlRepeticion();

        if (NumeroTerminal != 0) {
            if (!gConfig->LoadConfig(NumeroTerminal, true)) {
                Dialogs::MsgBox(QStringLiteral("La terminal aún no esta configurada correctamente"), Vbc::vbInformation);
                primeraConfiguracion = true;
            } else {
                if (!gConfig->Impresora().isEmpty()) modImpresion::ElegirImpresoraConfigurada(gConfig->Impresora());
                if (DirectorioTrabajo.isEmpty()) {
                    Dialogs::MsgBox(QStringLiteral("Debe seleccionar el Directorio de Trabajo."), Vbc::vbExclamation);
                    modVentanas::InicioClaveAcceso(true);
                    if (Salida::Solicitada()) return;
                }
                pasosSueltos = true;
                bool valido = false;
                try {
                    valido = ValidarDirectorioTrabajo(DirectorioTrabajo);
                } catch (const std::exception&) {
                    valido = false;
                }
                if (!valido) {
                    const int r = Dialogs::MsgBox(QStringLiteral("Ud. no ha configurado bien su Quorvan.\r\n"
                                                                 "Si continúa la aplicación se cerrará.\r\n"
                                                                 "Está seguro que desea salir del programa?"),
                                                  Vbc::vbYesNo | Vbc::vbExclamation);
                    if (r == Vbc::vbYes) {
                        TerminarPrograma();
                        return;
                    }
                    modVentanas::InicioClaveAcceso(true);
                    return;
                }
                paso([&] {
                    const auto prestadores = gConfig->Prestadores();
                    if (!prestadores || prestadores->isEmpty()) {
                        Dialogs::MsgBox(QStringLiteral("No existen prestadores configurados"), Vbc::vbInformation);
                        primeraConfiguracion = true;
                    }
                });
            }
        } else {
            DirectorioTrabajo = Paths::WithTrailingSlash(
                AjustesUsuario::Leer(QStringLiteral("Druvex32"), QStringLiteral("Tarsk"), QStringLiteral("Directorio")));
            Dialogs::MsgBox(QStringLiteral("La aplicación aún no ha sido configurada"), Vbc::vbInformation);
            primeraConfiguracion = true;
        }

        paso([] { CargarLicencias(); });
        const bool modoOculto = LineaComando == kModoOculto;
        if (primeraConfiguracion) {
            paso([&] {
                ActualizaNomencladores = modoOculto ? 0 : 1;
                BanderasDeTablas(true);
                TipoIngresoAutomatico = false;
                modVentanas::MostrarConfiguracion(true);
            });
            if (Salida::Solicitada()) return;
        } else {
            paso([] { modVentanas::RefrescarListaObrasSociales(); });
        }
        paso([] { General::ActualizarTituloPrincipal(); });

        bool elegirLicencia = false;
        paso([&] {
            if (Licencias.size() > 1) {
                QString licencia;
                modRegistry::LeerValorRegistro(QStringLiteral("LicenciaSeleccionada"), modRegistry::REG_SZ, licencia,
                                               false);
                LicenciaSeleccionada = licencia.left(8);
                elegirLicencia = Vb::Trim(LicenciaSeleccionada).isEmpty();
            } else {
                LicenciaSeleccionada = Licencias.value(0);
                modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, QStringLiteral("LicenciaSeleccionada"),
                                                  LicenciaSeleccionada);
            }
        });
        if (elegirLicencia) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar una única licencia para trabajar"), Vbc::vbInformation);
            modVentanas::InicioClaveAcceso(false);
            return;
        }

        if (!primeraConfiguracion) {
            paso([&] {
                ActualizaNomencladores = modoOculto ? 0 : 1;
                BanderasDeTablas(true);
                ActualizaNomencladores = Vb::CInt(double(LeerNumero("ActualizaNomencladores", ActualizaNomencladores)));
                LeerBandera("ActualizaMedicos", ActualizaMedicos);
                LeerBandera("ActualizaEfectores", ActualizaEfectores);
                LeerBandera("ActualizaPrestadores", ActualizaPrestadores);
                LeerBandera("ActualizaObrasS", ActualizaObrasS);
                LeerBandera("ActualizaPrestaciones", ActualizaPrestaciones);
                LeerBandera("ActualizaDiagnosticos", ActualizaDiagnosticos);
                TipoIngresoAutomatico = LeerNumero("TipoIngresoAutomatico", 0) == 1;
            });
        }
        // Without a working folder there is no client to ask.
        if (ActualizaNomencladores == 1 && !DirectorioTrabajo.isEmpty()) {
            paso([] {
                ActualizarTablas(ActualizaEfectores, ActualizaPrestadores, ActualizaMedicos, false, false, false,
                                 ActualizaObrasS, ActualizaObrasS, ActualizaPrestaciones, false, ActualizaDiagnosticos,
                                 false, QString());
                // The lists read before the update are stale; a later store from them would
                // delete the rows just fetched.
                RecargarListasConfiguracion();
            });
        }
        paso([this] {
            AjustarAlArranque();
            MDIForm_Resize();
        });
        paso([this] { mnuInicio_Click(); });
    } catch (const VbError& e) {
        Dialogs::MsgBox(e.description, Vbc::vbInformation);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QString::fromLocal8Bit(e.what()), Vbc::vbInformation);
    }
}

// ---- Exit -------------------------------------------------------------------------------

void frmMain::MDIForm_QueryUnload(int& Cancel, int /*UnloadMode*/)
{
    const int r = Dialogs::MsgBox(QStringLiteral("Seguro que quiere salir de la aplicación?"),
                                  Vbc::vbYesNo | Vbc::vbQuestion);
    if (r == Vbc::vbYes)
        TerminarPrograma();
    else
        Cancel = 1;
}

void frmMain::MDIForm_Unload(int& /*Cancel*/) { TerminarPrograma(); }

void frmMain::mnuSalir_Click()
{
    int cancel = 0;
    MDIForm_QueryUnload(cancel, 0);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    int cancel = 0;
    if (!m_Terminado) MDIForm_QueryUnload(cancel, 0);
    if (cancel != 0) {
        event->ignore();
        return;
    }
    event->accept();
    MDIForm_Unload(cancel);
}

void frmMain::TerminarPrograma()
{
    if (m_Terminado) return;
    m_Terminado = true;
    try {
        if (General::ConexionBD) General::ConexionBD->Close();
    } catch (const std::exception&) {
    }
    General::ConexionBD.reset();
    if (!General::DirectorioTrabajo.isEmpty()) {
        // Through tx's handle: a tx swapped for a link must not remove a file elsewhere.
        if (CarpetaTerminal::ExisteMarcador(General::DirectorioTrabajo, QStringLiteral("_druvex.end")))
            CarpetaTerminal::BorrarMarcador(General::DirectorioTrabajo, QStringLiteral("_Quorvan.end"));
    }
    InstanciaUnica::Liberar();
    Salida::Solicitar(0);
}
