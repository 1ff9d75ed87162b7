#include "reports/frmProcesando.h"

#include "engine/CarpetaTerminal.h"
#include "engine/EsperaCliente.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "reports/modReporte.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kExcedido = QStringLiteral("Tiempo de espera excedido.");
}

frmProcesando::frmProcesando(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProcesando"));
    setWindowTitle(QStringLiteral("Proceso"));
    m_Espera = new EsperaCliente(this);
    TimerCard_timeout = m_Espera->TimerEspera;
    TimerKelpa = new QTimer(this);
    TimerKelpa->setObjectName(QStringLiteral("TimerKelpa"));
    TimerKelpa->setInterval(500);

    for (int i = 1; i <= 4; ++i) ImlEspera << frmProcesandoCO::DibujarTambor(i);
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    imgEspera = new QLabel(Shape1);
    imgEspera->setObjectName(QStringLiteral("imgEspera"));
    imgEspera->setFixedSize(32, 32);
    imgEspera->setPixmap(ImlEspera.first());
    Label1 = new QLabel(QStringLiteral("Esperando respuesta ..."), Shape1);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));

    auto* caja = new QHBoxLayout(Shape1);
    caja->addWidget(imgEspera);
    caja->addWidget(Label1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Shape1);
    layout->addWidget(cmdCancelar, 0, Qt::AlignHCenter);
    setFixedSize(Twips::APixeles(4200), Twips::APixeles(1800));

    connect(TimerKelpa, &QTimer::timeout, this, &frmProcesando::TimerKelpa_Timer);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmProcesando::cmdCancelar_Click);
    connect(m_Espera, &EsperaCliente::Terminada, this, &frmProcesando::Terminada);
}

frmProcesando::~frmProcesando() = default;

bool frmProcesando::Cargar()
{
    m_Cuadro = 0;
    m_Resultado = false;
    m_Cancelado = false;
    Label1->setText(QStringLiteral("Esperando respuesta ..."));
    const CarpetaTerminal carpeta(General::DirectorioTrabajo, modReporte::DirectorioReporte);
    LimitesEspera limites;
    limites.TiempoMs = modReporte::LimitesActuales().RespuestaMs;
    limites.Extensiones = 0;
    limites.SeguridadDesdeElInicio = false;
    TimerKelpa->start();
    m_Espera->Iniciar(carpeta.ArchivoEstado(), QString(), limites);
    // An answer already there ended the wait at its first look.
    if (m_Espera->Esperando()) Dialogs::ExecModal(this);
    TimerKelpa->stop();
    if (m_Espera->Esperando()) m_Espera->Cancelar();
    return m_Resultado;
}

void frmProcesando::Descargar()
{
    TimerKelpa->stop();
    if (isVisible()) done(m_Resultado ? QDialog::Accepted : QDialog::Rejected);
}

void frmProcesando::TimerKelpa_Timer()
{
    m_Cuadro = m_Cuadro % 4 + 1;
    imgEspera->setPixmap(ImlEspera.at(m_Cuadro - 1));
}

void frmProcesando::Terminada()
{
    if (m_Cancelado) return;
    if (m_Espera->Respondida()) {
        m_Resultado = true;
        Descargar();
        return;
    }
    TimerCard_timeout_Timer();
}

void frmProcesando::TimerCard_timeout_Timer()
{
    Label1->setText(kExcedido);
    TimerKelpa->stop();
}

void frmProcesando::cmdCancelar_Click()
{
    m_Cancelado = true;
    m_Resultado = false;
    if (m_Espera->Esperando()) m_Espera->Cancelar();
    Descargar();
}

void frmProcesando::reject() { cmdCancelar_Click(); }
