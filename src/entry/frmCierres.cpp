#include "entry/frmCierres.h"

#include "config/GeneralCombos.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "entry/PedidoCierre.h"
#include "platform/ChequeosAlSalir.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "platform/ReglasEntrada.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

const QString kFechaDesdeInvalida = QStringLiteral("Fecha desde inválida");
const QString kFechaHastaInvalida = QStringLiteral("Fecha hasta inválida");
constexpr int kTeclaPegar = 22;

void mostrarError(const std::exception& e)
{
    const auto* vb = dynamic_cast<const VbError*>(&e);
    Dialogs::MsgBox(vb ? vb->description : QString::fromLocal8Bit(e.what()), Vbc::vbCritical, Dialogs::kAppTitle);
}

template <typename T>
T* nombrado(T* w, const char* nombre)
{
    w->setObjectName(QLatin1String(nombre));
    return w;
}

}

frmCierres::frmCierres(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCierres"));
    setWindowTitle(General::OperacionActual == 21 ? QStringLiteral("Cierre de Lote")
                                                  : QStringLiteral("Consulta de cierre"));

    lblNombre = nombrado(new QLabel(QStringLiteral("Prestador"), this), "lblNombre");
    cboNombre = nombrado(new QComboBox(this), "cboNombre");
    cboNombre->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboNombre->setMinimumContentsLength(30);
    lblLicencia = nombrado(new QLabel(this), "lblLicencia");
    lblFechaDesde = nombrado(new QLabel(QStringLiteral("Fecha Desde  (DD/MM/AAAA)"), this), "lblFechaDesde");
    txtFechaDesde = nombrado(new QLineEdit(this), "txtFechaDesde");
    lblFechaHasta = nombrado(new QLabel(QStringLiteral("Fecha Hasta  (DD/MM/AAAA)"), this), "lblFechaHasta");
    txtFechaHasta = nombrado(new QLineEdit(this), "txtFechaHasta");
    lblNumeroCierre = nombrado(new QLabel(QStringLiteral("Número Cierre"), this), "lblNumeroCierre");
    txtNumeroCierre = nombrado(new QLineEdit(this), "txtNumeroCierre");
    ReglasEntrada::ReglaDeCaracteres(txtNumeroCierre,
                                     [](QChar c) { return General::ValidarTecla(c.unicode(), 2, QStringLiteral("-")); });
    cmdAceptar = nombrado(new QPushButton(QStringLiteral("Aceptar"), this), "cmdAceptar");
    cmdCancelar = nombrado(new QPushButton(QStringLiteral("Cancelar"), this), "cmdCancelar");
    lblNombre->setBuddy(cboNombre);
    lblFechaDesde->setBuddy(txtFechaDesde);
    lblFechaHasta->setBuddy(txtFechaHasta);
    lblNumeroCierre->setBuddy(txtNumeroCierre);
    for (QLineEdit* fecha : {txtFechaDesde, txtFechaHasta}) fecha->setMaxLength(10);
    // A date and a close number need no more than their digits.
    const int ancho = fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16;
    for (QLineEdit* caja : {txtFechaDesde, txtFechaHasta, txtNumeroCierre}) caja->setMaximumWidth(ancho);

    auto* capa = new QGridLayout(this);
    capa->addWidget(lblNombre, 0, 0);
    capa->addWidget(cboNombre, 0, 1);
    capa->addWidget(lblLicencia, 0, 2);
    capa->addWidget(lblFechaDesde, 1, 0);
    capa->addWidget(txtFechaDesde, 1, 1, Qt::AlignLeft);
    capa->addWidget(lblFechaHasta, 2, 0);
    capa->addWidget(txtFechaHasta, 2, 1, Qt::AlignLeft);
    capa->addWidget(lblNumeroCierre, 3, 0);
    capa->addWidget(txtNumeroCierre, 3, 1, Qt::AlignLeft);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    capa->addLayout(botones, 4, 0, 1, 4);
    capa->setColumnStretch(3, 1);
    capa->setRowStretch(5, 1);

    connect(cboNombre, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { cboNombre_Click(); });
    connect(cmdAceptar, &QPushButton::clicked, this, &frmCierres::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmCierres::cmdCancelar_Click);
    // "Aceptar" checks the dates itself before it sends them.
    auto* salida = new ChequeosAlSalir(this);
    salida->Agregar(txtFechaDesde, [this] { txtFechaDesde_LostFocus(); }, {cmdAceptar});
    salida->Agregar(txtFechaHasta, [this] { txtFechaHasta_LostFocus(); }, {cmdAceptar});
    txtNumeroCierre->installEventFilter(this);
    ReglasEntrada::PrepararVentana(this);
}

frmCierres::~frmCierres() { Form_Unload(); }

QRect frmCierres::GeometriaCarga() { return QRect(1365, 0, 7800, 7200); }

QWidget* frmCierres::marco()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

void frmCierres::Form_Load()
{
    try {
        m_Transaccion = std::make_shared<clsTransaccion>();
        m_Transaccion->setPasoDRUVEX(General::DirectorioTrabajo);
        m_Transaccion->setVerListaErrores(false);
        General::TransaccionActual = m_Transaccion;

        marco()->setGeometry(Twips::APixeles(GeometriaCarga()));
        if (MDIForm_Resize) MDIForm_Resize();

        const PedidoCierre::Periodo periodo = PedidoCierre::PeriodoPropuesto(Platform::Now().date());
        txtFechaDesde->setText(periodo.desde);
        txtFechaHasta->setText(periodo.hasta);

        {
            const QSignalBlocker bloqueo(cboNombre);
            General::CargarComboPrestadores(cboNombre);
            if (cboNombre->count() > 0) cboNombre->setCurrentIndex(0);
        }
        cboNombre_Click();
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

void frmCierres::Form_Unload()
{
    // Another working window may already have made its own exchange the current one.
    if (m_Transaccion && General::TransaccionActual == m_Transaccion) General::TransaccionActual.reset();
    m_Transaccion.reset();
}

void frmCierres::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmCierres::cboNombre_Click()
{
    try {
        if (cboNombre->currentIndex() < 0) return;
        const qint16 id = static_cast<qint16>(cboNombre->currentData().toInt());
        // Never another provider's CUIT or account with the one shown.
        m_Cuit.clear();
        lblLicencia->clear();
        const auto prestadores = General::gConfig ? General::gConfig->Prestadores() : nullptr;
        if (!prestadores) return;
        for (const auto& p : *prestadores) {
            if (p->idPrestador != id) continue;
            m_Cuit = p->Cuit;
            lblLicencia->setText(p->Licencia);
            return;
        }
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

bool frmCierres::RevisarFecha(QLineEdit* caja, const QString& mensaje)
{
    if (PedidoCierre::FechaAceptable(caja->text())) return true;
    Dialogs::MsgBox(mensaje, Vbc::vbInformation, Dialogs::kAppTitle);
    caja->setFocus();
    caja->selectAll();
    return false;
}

void frmCierres::txtFechaDesde_LostFocus() { RevisarFecha(txtFechaDesde, kFechaDesdeInvalida); }

void frmCierres::txtFechaHasta_LostFocus() { RevisarFecha(txtFechaHasta, kFechaHastaInvalida); }

void frmCierres::txtNumeroCierre_KeyPress(int& KeyAscii)
{
    if (KeyAscii == kTeclaPegar) return;
    if (!General::ValidarTecla(KeyAscii, 2, QStringLiteral("-"))) {
        QApplication::beep();
        KeyAscii = 0;
    }
}

bool frmCierres::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == txtNumeroCierre && evento->type() == QEvent::KeyPress) {
        int ascii = ReglasEntrada::CaracterTecleado(static_cast<QKeyEvent*>(evento));
        if (ascii == 0) return QWidget::eventFilter(objeto, evento);
        txtNumeroCierre_KeyPress(ascii);
        if (ascii == 0) return true;
    }
    return QWidget::eventFilter(objeto, evento);
}

void frmCierres::cmdAceptar_Click()
{
    try {
        // Held here: closing the window during the wait must not end the exchange under it.
        const std::shared_ptr<clsTransaccion> tx = m_Transaccion;
        if (!tx) return;
        const qint16 operacion = General::OperacionActual;

        const auto numero = PedidoCierre::NumeroCierre(operacion, txtNumeroCierre->text());
        if (!numero) {
            Dialogs::MsgBox(QStringLiteral("Número de cierre inválido"), Vbc::vbInformation, Dialogs::kAppTitle);
            txtNumeroCierre->setFocus();
            txtNumeroCierre->selectAll();
            return;
        }
        // A date never checked on leaving its field would travel cut into another date.
        if (!RevisarFecha(txtFechaDesde, kFechaDesdeInvalida) || !RevisarFecha(txtFechaHasta, kFechaHastaInvalida))
            return;
        if (!General::gConfig)
            throw VbError(91, QStringLiteral("frmCierres"), QStringLiteral("La configuración de la terminal no está cargada"));
        const clsConfig& cfg = *General::gConfig;
        const auto obra = PedidoCierre::ObraSocial(cfg);
        if (!obra) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha."),
                            Vbc::vbCritical, Dialogs::kAppTitle);
            return;
        }
        const auto licencia =
            PedidoCierre::Licencia(lblLicencia->text(), General::LicenciaSeleccionada, General::Licencias.size());
        if (!licencia) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar una única licencia para realizar transacciones"),
                            Vbc::vbInformation, Dialogs::kAppTitle);
            return;
        }

        const QString no = QStringLiteral("0");
        tx->CompletarSAL0(PedidoCierre::TipoPedido(operacion), QString::number(*numero),
                          PedidoCierre::FechaDelPedido(txtFechaDesde->text()),
                          PedidoCierre::FechaDelPedido(txtFechaHasta->text()), no, no, no, no, no, no, no, m_Cuit);
        tx->setVerListaErrores(false);
        tx->setImprimirTicket(cfg.Imprimir());
        tx->setPrinterCopias(cfg.Copias());
        tx->setPrinterFontName(cfg.FontName());
        tx->setPrinterFontSize(cfg.FontSize());
        tx->setPrinterLargoHoja(cfg.Largohoja());
        tx->setPrinterDevice(cfg.Impresora());
        tx->setCodigoActividad(QString::number(obra->Actividad));
        tx->setCodigoEmpresa(QString::number(obra->Empresa));
        tx->setLicencia(*licencia);

        QPointer<frmCierres> vivo(this);
        if (tx->EnviarTransaccion()) {
            MostrarRespuestaSinTicket(*tx);
            tx->FinalizarTransaccion();
            QCoreApplication::processEvents();
            return;
        }
        if (vivo) unsetCursor();
        QCoreApplication::processEvents();
        Dialogs::MsgBox(QStringLiteral("Error en la transacción.\r\nFalla de comunicación."), Vbc::vbCritical,
                        Dialogs::kAppTitle);
        if (Dialogs::MsgBox(QStringLiteral("¿ Inicializa Transacción ?"), Vbc::vbYesNo | Vbc::vbQuestion, QString()) ==
            Vbc::vbYes)
            tx->FinalizarTransaccion();
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

void frmCierres::MostrarRespuestaSinTicket(const clsTransaccion& tx)
{
    const QString codigo = tx.LeerCodigoError(1);
    if (codigo.isEmpty() || !tx.RespuestaValidador().isEmpty()) return;
    const QString comentario = Vb::Trim(tx.LeerComentarioError(1));
    Dialogs::MsgBox(comentario.isEmpty() ? codigo : codigo + QStringLiteral(": ") + comentario, Vbc::vbExclamation,
                    QStringLiteral("Transacción"));
}

void frmCierres::cmdCancelar_Click() { marco()->close(); }
