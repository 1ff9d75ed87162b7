#include "engine/frmMuestraTicket.h"
#include "platform/FuenteFija.h"

#include "engine/frmDatosPaciente.h"
#include "engine/modImpresion.h"
#include "platform/Barcode.h"
#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "platform/ReglasEntrada.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
// The label drew the code in the barcode font at 30 points: bars that high, with narrow
// bars about a twentieth of it.
constexpr int kPuntosCodigo = 30;

QPixmap pixmapCodigo(const QImage& simbolo, const QWidget* w)
{
    const qreal alto = kPuntosCodigo * w->logicalDpiY() / 72.0;
    const int modulo = std::max(1, static_cast<int>(std::lround(alto / 20.0)));
    return QPixmap::fromImage(simbolo.scaled(simbolo.width() * modulo, static_cast<int>(alto),
                                             Qt::IgnoreAspectRatio, Qt::FastTransformation));
}
}

frmMuestraTicket::frmMuestraTicket(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMuestraTicket"));
    setWindowTitle(QStringLiteral("Ticket"));
    setModal(true);
    resize(700, 640);

    rtextTicket = new QTextEdit(this);
    rtextTicket->setObjectName(QStringLiteral("rtextTicket"));
    rtextTicket->setAcceptRichText(false);
    rtextTicket->setReadOnly(true);
    rtextTicket->setLineWrapMode(QTextEdit::NoWrap);
    rtextTicket->setFont(FuenteFija::Courier(10));

    lblCodigo = new QLabel(this);
    lblCodigo->setObjectName(QStringLiteral("lblCodigo"));
    lblCodigo->setAlignment(Qt::AlignCenter);
    lblCodigo->setStyleSheet(QStringLiteral("background: white;"));

    cmdImprimir = new QPushButton(QStringLiteral("Imprimir"), this);
    cmdImprimir->setObjectName(QStringLiteral("cmdImprimir"));
    cmdEnviarCopia = new QPushButton(QStringLiteral("Enviar copia paciente..."), this);
    cmdEnviarCopia->setObjectName(QStringLiteral("cmdEnviarCopia"));
    cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setDefault(true);

    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdImprimir);
    botones->addWidget(cmdEnviarCopia);
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rtextTicket, 1);
    layout->addWidget(lblCodigo);
    layout->addLayout(botones);

    connect(cmdImprimir, &QPushButton::clicked, this, &frmMuestraTicket::cmdImprimir_Click);
    connect(cmdEnviarCopia, &QPushButton::clicked, this, &frmMuestraTicket::cmdEnviarCopia_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmMuestraTicket::cmdAceptar_Click);
    ReglasEntrada::PrepararVentana(this);
}

void frmMuestraTicket::Cargar(const QString& Ticket, qint32 Lineas, const QString& PrinterDevice,
                              const QString& FontName, qint16 FontSize, qint16 LargoHoja, qint16 Copias,
                              bool EnviarCopia, const QString& CodigoBarras)
{
    m_Ticket = Ticket;
    m_Lineas = Lineas;
    m_PrinterDevice = PrinterDevice;
    m_FontName = FontName;
    m_FontSize = FontSize;
    m_LargoHoja = LargoHoja;
    m_Copias = Copias;
    m_EnviarCopia = EnviarCopia;
    m_CodigoBarras = CodigoBarras;
    if (m_PrinterDevice.isEmpty()) m_PrinterDevice = Printing::ElegirImpresora(this);
    Form_Load();
    Dialogs::ExecModal(this);
}

void frmMuestraTicket::Form_Load()
{
    rtextTicket->setPlainText(m_Ticket);
    cmdEnviarCopia->setVisible(m_EnviarCopia);
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    // A text the symbology cannot carry shows the ticket without its barcode.
    m_Imagen = m_CodigoBarras.isEmpty() ? QImage() : Barcode::Code39(m_CodigoBarras);
    if (m_Imagen.isNull()) {
        lblCodigo->clear();
        lblCodigo->setHidden(true);
    } else {
        const QPixmap px = pixmapCodigo(m_Imagen, this);
        lblCodigo->setPixmap(px);
        // A cut symbol cannot be read: the window is never narrower than the barcode.
        lblCodigo->setMinimumSize(px.size() + QSize(16, 8));
        lblCodigo->setHidden(false);
    }
    lblCodigo->setToolTip(Barcode::TextoCode39(m_CodigoBarras));
}

void frmMuestraTicket::cmdImprimir_Click()
{
    modImpresion::ImprimirComprobante(m_Ticket, m_Lineas, m_PrinterDevice, m_FontName, m_FontSize, m_LargoHoja,
                                      m_Copias, m_CodigoBarras);
}

void frmMuestraTicket::cmdEnviarCopia_Click()
{
    frmDatosPaciente datos(this);
    QString texto = m_Ticket;
    datos.EnviarCopia(texto);
}

void frmMuestraTicket::cmdAceptar_Click() { accept(); }
