#include "updater/frmUpgradeWizard.h"

#include "engine/CarpetaTerminal.h"
#include "engine/EsperaCliente.h"
#include "engine/RegistroActualizacion.h"
#include "platform/AjustesUsuario.h"
#include "platform/Bloqueo.h"
#include "platform/Dialogs.h"
#include "platform/Emblema.h"
#include "platform/EscrituraSegura.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/Salida.h"
#include "platform/Twips.h"
#include "platform/VbError.h"
#include "updater/ArgumentosAsistente.h"
#include "updater/InstalacionPrograma.h"
#include "updater/OfertaActualizacion.h"
#include "updater/PasosAsistente.h"
#include "updater/TiraCeldas.h"
#include "platform/ReglasEntrada.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>

#include <cerrno>

namespace {

using PasosAsistente::Control;
using PasosAsistente::kTitulo;

const QString kOrigen = QStringLiteral("UpgradeWizardQuorvan");
const QString kTerminal = QStringLiteral("termupg");
const QString kMarcadorCierre = QStringLiteral("_Quorvan.end");
const QString kMarcadorListo = QStringLiteral("_quorvan.rdy");
constexpr int kTickMs = 500;

QRect Pixeles(Control c)
{
    const QRect t = PasosAsistente::Geometria(c);
    return {Twips::APixeles(t.x()), Twips::APixeles(t.y()), Twips::APixeles(t.width()), Twips::APixeles(t.height())};
}

// The wizard's side picture: a program box receiving a new version.
QPixmap Ilustracion(const QSize& tam)
{
    QPixmap p(tam);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fondo(0, 0, 0, tam.height());
    fondo.setColorAt(0, QColor(16, 62, 122));
    fondo.setColorAt(1, QColor(58, 132, 196));
    g.fillRect(p.rect(), fondo);
    const QRectF caja(tam.width() * 0.22, tam.height() * 0.42, tam.width() * 0.56, tam.height() * 0.3);
    g.setPen(QPen(QColor(235, 243, 250), 2));
    g.setBrush(QColor(255, 255, 255, 40));
    g.drawRoundedRect(caja, 6, 6);
    g.drawLine(QPointF(caja.left(), caja.top() + caja.height() * 0.3), QPointF(caja.right(), caja.top() + caja.height() * 0.3));
    // The arrow bringing the new version down into the box.
    QPainterPath flecha;
    const double cx = tam.width() / 2.0;
    const double arriba = tam.height() * 0.12;
    const double punta = caja.top() + caja.height() * 0.55;
    flecha.moveTo(cx - 10, arriba);
    flecha.lineTo(cx + 10, arriba);
    flecha.lineTo(cx + 10, punta - 26);
    flecha.lineTo(cx + 24, punta - 26);
    flecha.lineTo(cx, punta);
    flecha.lineTo(cx - 24, punta - 26);
    flecha.lineTo(cx - 10, punta - 26);
    flecha.closeSubpath();
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(120, 200, 90));
    g.drawPath(flecha);
    return p;
}

}

frmUpgradeWizard::frmUpgradeWizard(const QStringList& argumentos, QWidget* parent)
    : QDialog(parent), m_Argumentos(argumentos)
{
    setObjectName(QStringLiteral("frmUpgradeWizard"));
    setWindowTitle(PasosAsistente::kCaption);
    setWindowIcon(EmblemaPrograma());
    setFixedSize(Pixeles(Control::Ventana).size());
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    imgUpgradeWizard = new QLabel(this);
    imgUpgradeWizard->setObjectName(QStringLiteral("imgUpgradeWizard"));
    imgUpgradeWizard->setGeometry(Pixeles(Control::Imagen));
    imgUpgradeWizard->setPixmap(Ilustracion(imgUpgradeWizard->size()));

    lblDescripcion = new QLabel(this);
    lblDescripcion->setObjectName(QStringLiteral("lblDescripcion"));
    lblDescripcion->setGeometry(Pixeles(Control::Descripcion));
    lblDescripcion->setFont(QFont(QStringLiteral("Tahoma"), 9));
    lblDescripcion->setWordWrap(true);
    lblDescripcion->setTextFormat(Qt::PlainText);
    lblDescripcion->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    pcLive = new TiraCeldas(this);
    imgLive = new QLabel(this);
    imgLive->setObjectName(QStringLiteral("imgLive"));
    imgLive->setGeometry(Pixeles(Control::Animacion));
    imgLive->hide();

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setGeometry(Pixeles(Control::Linea));

    cmdBack = new QPushButton(QStringLiteral("< &Atrás"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setGeometry(Pixeles(Control::Atras));
    cmdNext = new QPushButton(QStringLiteral("Siguiente &>"), this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdNext->setGeometry(Pixeles(Control::Siguiente));
    cmdNext->setDefault(true);
    cmdCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setGeometry(Pixeles(Control::Cancelar));

    tmrDownload = new QTimer(this);
    tmrDownload->setObjectName(QStringLiteral("tmrDownload"));
    tmrDownload->setInterval(kTickMs);

    m_EsperaRespuesta = new EsperaCliente(this);
    m_EsperaCierre = new EsperaCliente(this);

    connect(cmdBack, &QPushButton::clicked, this, &frmUpgradeWizard::cmdBack_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmUpgradeWizard::cmdNext_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmUpgradeWizard::cmdCancelar_Click);
    connect(tmrDownload, &QTimer::timeout, this, &frmUpgradeWizard::tmrDownload_Timer);
    // Queued: the answer is handled after the wait has fully ended, outside its notice.
    connect(m_EsperaRespuesta, &EsperaCliente::Terminada, this, &frmUpgradeWizard::AlTerminarEsperaRespuesta,
            Qt::QueuedConnection);
    ReglasEntrada::PrepararVentana(this);
}

frmUpgradeWizard::~frmUpgradeWizard() = default;

bool frmUpgradeWizard::EsperandoRespuesta() const { return m_EsperaRespuesta->Esperando(); }
bool frmUpgradeWizard::EsperandoCierreQuorvan() const { return m_EsperaCierre->Esperando(); }

QString frmUpgradeWizard::CarpetaDisparo() const { return CarpetaTerminal::CarpetaDisparo(m_Estado.CarpetaBase); }

void frmUpgradeWizard::Terminar(int codigo)
{
    m_Terminando = true;
    tmrDownload->stop();
    if (m_EsperaRespuesta->Esperando()) m_EsperaRespuesta->Cancelar();
    if (m_EsperaCierre->Esperando()) m_EsperaCierre->Cancelar();
    Salida::Solicitar(codigo);
}

bool frmUpgradeWizard::EscribirListo(const QByteArray& valor)
{
    // "tx" belongs to the shared working folder: a link there must not carry the marker elsewhere.
    EscrituraSegura w(Paths::Join(CarpetaDisparo(), kMarcadorListo));
    w.NoSeguirEnlacesDesde(m_Estado.CarpetaBase);
    if (w.Abrir() && w.Escribir(valor) && w.Confirmar()) return true;
    Dialogs::MsgBox(w.Error(), Vbc::vbCritical, kTitulo);
    return false;
}

// ---- Start ----------------------------------------------------------------------------------

void frmUpgradeWizard::Form_Load()
{
    try {
        m_Bloqueo = std::make_unique<Bloqueo>(Paths::Join(Paths::ConfigDir(), QStringLiteral("UpgradeWizardQuorvan.lock")));
        if (!m_Bloqueo->Tomar()) {
            Dialogs::MsgBox(m_Bloqueo->Ocupado() ? QStringLiteral("El ") + kTitulo + QStringLiteral(" ya está corriendo.")
                                                 : m_Bloqueo->Error(),
                            m_Bloqueo->Ocupado() ? Vbc::vbExclamation : Vbc::vbCritical, kTitulo);
            m_Bloqueo.reset();
            Terminar(1);
            return;
        }

        const std::optional<ArgumentosAsistente> argumentos = ArgumentosAsistente::Leer(m_Argumentos);
        if (!argumentos) {
            Dialogs::MsgBox(QStringLiteral("Los parámetros pasados son inválidos."), Vbc::vbCritical, kTitulo);
            Terminar(1);
            return;
        }
        m_Estado.Major = argumentos->Major;
        m_Estado.Minor = argumentos->Minor;
        m_Estado.Revision = argumentos->Revision;
        m_Estado.RutaPrograma = argumentos->RutaPrograma;

        QString base = AjustesUsuario::Leer(QStringLiteral("Quorvan"), QStringLiteral("LastTarsk"), QStringLiteral("1"));
        if (base.endsWith(QLatin1Char('/'))) base.chop(1);
        if (base.isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Antes de actualzar debe realizar alguna transacción para completar la "
                                           "configuración"),
                            Vbc::vbInformation, kTitulo);
            Terminar(1);
            return;
        }
        m_Estado.CarpetaBase = base;
        m_Estado.CarpetaTerminal = base + QLatin1Char('/') + kTerminal;

        m_Estado.Paginas.clear();
        for (int i = 0; i < PasosAsistente::kPasos; ++i) m_Estado.Paginas << PasosAsistente::TextoPagina(i);

        // The window opens on page 2 with the request already handed over.
        m_Estado.Paso = 1;
        cmdNext_Click();
        if (Salida::Solicitada()) return;

        CarpetaTerminal::BorrarMarcador(m_Estado.CarpetaBase, kMarcadorListo);
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Se produjo un error en la actualización."), Vbc::vbCritical, e.description);
        Terminar(1);
    }
}

// ---- Steps ----------------------------------------------------------------------------------

void frmUpgradeWizard::cmdBack_Click()
{
    if (m_Estado.Paso <= 0) return;
    --m_Estado.Paso;
    MostrarPaso();
}

void frmUpgradeWizard::cmdNext_Click()
{
    if (m_Estado.Paso >= PasosAsistente::kPasos - 1) return;
    ++m_Estado.Paso;
    MostrarPaso();
}

void frmUpgradeWizard::MostrarPaso()
{
    try {
        lblDescripcion->setText(m_Estado.Paginas.value(m_Estado.Paso));
        const PasosAsistente::Botones b = PasosAsistente::BotonesDePaso(m_Estado.Paso);
        cmdBack->setEnabled(b.Atras);
        cmdNext->setEnabled(b.Siguiente);
        cmdCancelar->setEnabled(b.Cancelar);
        cmdCancelar->show();
        if (m_Estado.Paso == 2) {
            Transaccion();
            if (Salida::Solicitada()) return;
            m_Estado.Celda = 0;
            tmrDownload->start();
            m_EsperaRespuesta->Iniciar(CarpetaTerminal(m_Estado.CarpetaTerminal).ArchivoEstado(), QString(),
                                       LimitesEspera::SinLimite(-1));
        } else if (m_Estado.Paso == 3) {
            // Next during the installation's wait for Quorvan joins that wait: the running
            // installation ends the program when it returns.
            if (m_Instalando) return;
            InstalarActualizacion();
            if (!Salida::Solicitada()) TerminarPaso3();
        }
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Se produjo un error en la actualización."), Vbc::vbCritical, e.description);
    }
}

void frmUpgradeWizard::TerminarPaso3()
{
    cmdBack->setEnabled(false);
    cmdNext->setEnabled(false);
    cmdCancelar->setEnabled(false);
    Terminar(0);
}

// ---- Leaving --------------------------------------------------------------------------------

void frmUpgradeWizard::cmdCancelar_Click()
{
    int cancel = 0;
    Form_QueryUnload(cancel, vbFormCode);
}

void frmUpgradeWizard::Form_QueryUnload(int& cancel, int unloadMode)
{
    cancel = 0;
    if (m_Terminando) return;
    try {
        if (unloadMode == vbFormControlMenu && m_Estado.Paso == 2) {
            cancel = 1;
            return;
        }
        if (Dialogs::MsgBox(QStringLiteral("¿Desea abandonar el Ayudante de Actualización ?"),
                            Vbc::vbYesNo | Vbc::vbQuestion, kTitulo) != Vbc::vbYes) {
            cancel = 1;
            return;
        }
        if (unloadMode == vbFormCode && !m_Estado.CarpetaBase.isEmpty() && !EscribirListo("1")) {
            Terminar(1);
            return;
        }
    } catch (const VbError& e) {
        Dialogs::MsgBox(e.description, Vbc::vbCritical, kTitulo);
    }
    Terminar(0);
}

void frmUpgradeWizard::closeEvent(QCloseEvent* event)
{
    int cancel = 0;
    Form_QueryUnload(cancel, event->spontaneous() ? vbFormControlMenu : vbAppWindows);
    if (cancel) event->ignore();
    else event->accept();
}

// Escape is the close box's key.
void frmUpgradeWizard::reject()
{
    int cancel = 0;
    Form_QueryUnload(cancel, vbFormControlMenu);
    if (!cancel) QDialog::reject();
}

// ---- The wait for the answer ----------------------------------------------------------------

void frmUpgradeWizard::tmrDownload_Timer()
{
    imgLive->show();
    imgLive->setPixmap(pcLive->Celda(m_Estado.Celda, imgLive->width()));
    m_Estado.Celda = static_cast<qint16>(TiraCeldas::Siguiente(m_Estado.Celda, pcLive->Filas(), pcLive->Columnas()));
    // The fallback of the folder's notices.
    if (m_EsperaRespuesta->Esperando()) m_EsperaRespuesta->Tick();
}

void frmUpgradeWizard::AlTerminarEsperaRespuesta()
{
    if (m_Terminando) return;
    imgLive->hide();
    tmrDownload->stop();
    try {
        ProcesarRespuesta();
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Se produjo un error en la actualización."), Vbc::vbCritical, e.description);
    }
}

// ---- The exchange ---------------------------------------------------------------------------

void frmUpgradeWizard::Transaccion()
{
    const CarpetaTerminal terminal(m_Estado.CarpetaTerminal);
    try {
        InstalacionPrograma::CrearCarpetas(m_Estado.CarpetaTerminal);
        RegistroActualizacion::GrabarPedido(
            terminal,
            RegistroActualizacion::Pedido(RegistroActualizacion::kTipoAsistente, m_Estado.Major, m_Estado.Minor,
                                          m_Estado.Revision),
            kOrigen);
        // tx is the client's: without it nobody would ever take the request.
        QString motivo;
        if (!terminal.AsegurarDisparador(true, &motivo)) {
            if (!motivo.isEmpty()) throw VbError(VbError::PathFileAccess, kOrigen, motivo);
            throw VbError(VbError::PathNotFound, kOrigen, QStringLiteral("No se encontró la ruta de acceso"));
        }
    } catch (const VbError& e) {
        // A file refused or not writable is named after the fixed text.
        const QString detalle =
            e.number == VbError::PathFileAccess ? QStringLiteral("\n\n") + e.description : QString();
        Dialogs::MsgBox(QStringLiteral("Los Parámetros recibidos son erróneos.\nEl Ayudante para Actualización se cerrará.") +
                            detalle,
                        Vbc::vbCritical, kTitulo);
        Terminar(1);
    }
}

void frmUpgradeWizard::ProcesarRespuesta()
{
    const CarpetaTerminal terminal(m_Estado.CarpetaTerminal);
    // An empty or unreadable status comes back from the wait as a text beginning with "-".
    const QString linea = Lineas::Separar(m_EsperaRespuesta->Resultado()).value(0);
    terminal.BorrarEstado();
    QString texto = lblDescripcion->text() + QStringLiteral("\n\n") + linea + QStringLiteral("\n\n");
    cmdCancelar->show();

    std::optional<OfertaActualizacion> oferta;
    if (linea.startsWith(QLatin1Char('0'))) {
        try {
            const std::optional<QByteArray> datos = terminal.LeerRespuesta(RegistroActualizacion::kArchivo, kOrigen);
            oferta = OfertaActualizacion::Leer(RegistroActualizacion::LeerArchivo(datos.value_or(QByteArray())));
        } catch (const VbError& e) {
            Dialogs::MsgBox(QStringLiteral("Se produjo un error en la actualización."), Vbc::vbCritical, e.description);
        }
    }
    if (!oferta) {
        lblDescripcion->setText(texto + PasosAsistente::kRepetir);
        cmdBack->setEnabled(true);
        cmdNext->setEnabled(false);
        cmdCancelar->setEnabled(true);
        return;
    }
    m_Estado.Encontrado = oferta->Encontrado;
    m_Estado.ArchivoActualizacion = oferta->Archivo;
    lblDescripcion->setText(texto + oferta->Lista + QLatin1Char('\n') + PasosAsistente::kCierreQuorvan);
    cmdNext->setEnabled(true);
    cmdCancelar->setEnabled(true);
    InstalarActualizacion();
    // Next pressed during the wait for Quorvan asked for step 3, which ends the program.
    if (!Salida::Solicitada() && m_Estado.Paso == 3) TerminarPaso3();
}

bool frmUpgradeWizard::InstalarActualizacion()
{
    if (!m_Estado.Encontrado || m_Instalando) return false;
    m_Instalando = true;
    struct Fin {
        bool& f;
        ~Fin() { f = false; }
    } fin{m_Instalando};
    try {
        // Made through tx's handle (one already there stays): never through a link.
        int error = 0;
        QString motivo;
        const QString marcador =
            CarpetaTerminal::CrearMarcador(m_Estado.CarpetaBase, kMarcadorCierre, &error, &motivo);
        if (marcador.isEmpty()) {
            if (error == ENOENT)
                throw VbError(VbError::PathNotFound, kOrigen, QStringLiteral("No se encontró la ruta de acceso"));
            if (error == ELOOP || error == ENODEV) throw VbError(VbError::PathFileAccess, kOrigen, motivo);
            throw InstalacionPrograma::ErrorDeSistema(error ? error : EACCES);
        }
        // Quorvan's exit removes the marker; the window stays responsive while it waits.
        m_EsperaCierre->IniciarAusencia(marcador, LimitesEspera::SinLimite(kTickMs));
        m_EsperaCierre->Esperar();
        if (Salida::Solicitada()) return false;

        // Files written into the working folder by anybody but the user's own client are not
        // a program to install.
        const InstalacionPrograma::Ofrecido nuevo =
            InstalacionPrograma::AbrirOfrecido(m_Estado.CarpetaTerminal, m_Estado.ArchivoActualizacion);
        if (!nuevo.rechazo.isEmpty()) {
            Dialogs::MsgBox(nuevo.rechazo, Vbc::vbCritical, kTitulo);
            return false;
        }
        if (!InstalacionPrograma::Reemplazar(nuevo.archivo.fd(), m_Estado.RutaPrograma)) return false;
        InstalacionPrograma::Iniciar(m_Estado.RutaPrograma);
        Terminar(EscribirListo("0") ? 0 : 1);
        return true;
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Quorvan - %1: %2").arg(e.number).arg(e.description), Vbc::vbCritical, kTitulo);
        return false;
    }
}
