#include "txlog/frmTicket.h"
#include "platform/FuenteFija.h"
#include "config/GeneralConfiguracion.h"

#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "engine/modImpresion.h"
#include "platform/Barcode.h"
#include "platform/Dialogs.h"
#include "platform/Emblema.h"
#include "platform/Lineas.h"
#include "platform/Platform.h"
#include "platform/Printing.h"
#include "platform/VbError.h"
#include "txlog/clsTransacciones.h"
#include "txlog/modEnvioTicket.h"
#include "txlog/modTickets.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kOrigen = QStringLiteral("Quorvan.frmTicket");
constexpr int kTamanoTicket = 10;
constexpr int kTamanoCodigo = 20;
constexpr qint32 kErrorImpresora = 482;
constexpr qint32 kOperacionAnulacion = 4;
}

frmTicket::frmTicket(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTicket"));
    setWindowTitle(QStringLiteral("Ticket"));
    // Its own: a dialog without one shows its parent's, the list's tick when opened from a row.
    setWindowIcon(EmblemaPrograma());
    setModal(true);
    resize(560, 620);

    txtPreView = new QPlainTextEdit(this);
    txtPreView->setObjectName(QStringLiteral("txtPreView"));
    txtPreView->setReadOnly(true);
    txtPreView->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtPreView->setFont(FuenteFija::Courier(9));

    cmdImprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    cmdImprimir->setObjectName(QStringLiteral("cmdImprimir"));
    cmdAnular = new QPushButton(QStringLiteral("&Anular"), this);
    cmdAnular->setObjectName(QStringLiteral("cmdAnular"));
    Command1 = new QPushButton(QStringLiteral("&Cerrar"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdImprimir);
    botones->addWidget(cmdAnular);
    botones->addStretch();
    botones->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtPreView, 1);
    layout->addLayout(botones);

    connect(cmdImprimir, &QPushButton::clicked, this, &frmTicket::cmdImprimir_Click);
    connect(cmdAnular, &QPushButton::clicked, this, &frmTicket::cmdAnular_Click);
    connect(Command1, &QPushButton::clicked, this, &frmTicket::Command1_Click);
}

frmTicket::~frmTicket() = default;

QString frmTicket::TextoCodigoBarras(const QDate& fecha, const QString& idTicket)
{
    return QLatin1Char('*') + fecha.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("JW") + idTicket +
           QLatin1Char('*');
}

void frmTicket::Cargar(const QString& sContenido, const QString& sIdTicket,
                       std::shared_ptr<clsTransacciones> transaccion)
{
    m_IdTicket = sIdTicket;
    m_Transaccion = std::move(transaccion);
    txtPreView->setPlainText(sContenido);
    Dialogs::ExecModal(this);
}

void frmTicket::cmdImprimir_Click()
{
    try {
        const QString configurada = General::gConfig ? General::gConfig->Impresora() : QString();
        if (!modImpresion::ElegirImpresoraConfigurada(configurada)) {
            Dialogs::MsgBox(QStringLiteral("No se puede imprimir, no tiene impresoras configuradas en su sistema."),
                            Vbc::vbInformation, QStringLiteral("Imposible imprimir"));
            return;
        }
        auto job = Printing::CrearBackend();
        if (!job->begin(Printing::ImpresoraActiva())) throw VbError(kErrorImpresora, kOrigen, job->lastError());
        // "Predeterminada": the job's own font, the printer's fixed-pitch one, at 10 points.
        job->setFontSize(kTamanoTicket);
        for (const QString& linea : Lineas::Separar(txtPreView->toPlainText())) job->printLine(linea);
        // The barcode is drawn, so no font has to be installed; a text Code 39 cannot carry
        // leaves out only this line.
        const QString codigo = TextoCodigoBarras(Platform::Now().date(), m_IdTicket);
        const QImage simbolo = Barcode::Code39(codigo);
        if (!simbolo.isNull()) job->printBarcode(Barcode::TextoCode39(codigo), simbolo, kTamanoCodigo);
        if (!job->end()) throw VbError(kErrorImpresora, kOrigen, job->lastError());
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Error al imprimir: ") + e.description, Vbc::vbCritical);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error al imprimir: ") + QString::fromLocal8Bit(e.what()), Vbc::vbCritical);
    }
}

void frmTicket::cmdAnular_Click()
{
    setCursor(Qt::WaitCursor);
    try {
        const clsConfig& cfg = modEnvioTicket::ConfiguracionCargada(kOrigen);
        if (!m_Transaccion)
            throw VbError(91, kOrigen, QStringLiteral("No se encuentra la transacción del ticket ") + m_IdTicket);
        const auto os = modEnvioTicket::ObraSocialDeEmpresa(cfg, m_Transaccion->CodigoEmpresa);
        // The void keeps its own sender: logging may replace the one TransaccionActual holds.
        const auto tx = modEnvioTicket::NuevoEnvio(cfg, *os, cfg.Imprimir());
        if (!General::LicenciaSeleccionada.isEmpty()) {
            tx->setLicencia(General::LicenciaSeleccionada);
        } else if (General::Licencias.size() > 1) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar una única licencia para realizar transacciones"),
                            Vbc::vbInformation);
            modEnvioTicket::PunteroNormal(this);
            return;
        }
        modEnvioTicket::EnviarReferencia(*tx, kOperacionAnulacion, m_Transaccion->Prestador, m_Transaccion->Tarjeta,
                                         m_IdTicket, [](clsTransaccion& t) {
                                             modTickets::GuardarTicket(t.GetSVL1(), t.GetElTicket(), t.CodigoEmpresa(),
                                                                       t.GetSVL2(), t.GetCantidadPrestaciones());
                                         });
    } catch (const std::exception& e) {
        modEnvioTicket::MostrarErrorInesperado(e);
    }
    modEnvioTicket::PunteroNormal(this);
}

void frmTicket::Command1_Click() { accept(); }
