#include "engine/frmProcesandoCO.h"

#include "engine/CarpetaTerminal.h"
#include "engine/EsperaCliente.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/VbError.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

void frmProcesandoCO::setDuracionTick(int ms) { EsperaCliente::setDuracionTick(ms); }
int frmProcesandoCO::DuracionTick() { return EsperaCliente::DuracionTick(); }

QPixmap frmProcesandoCO::DibujarTambor(int cuadro)
{
    // A drum seen from the front, its mark turned a quarter further in every frame.
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 90), 2));
    p.setBrush(QColor(200, 200, 230));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.translate(16, 16);
    p.rotate(90.0 * ((cuadro - 1) % 4));
    p.setBrush(QColor(40, 40, 90));
    p.drawRect(QRectF(-2, -12, 4, 10));
    p.drawEllipse(QRectF(-3, -3, 6, 6));
    return pm;
}

frmProcesandoCO::frmProcesandoCO(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProcesandoCO"));
    setWindowTitle(Dialogs::kAppTitle);
    setWindowModality(Qt::ApplicationModal);

    m_Espera = new EsperaCliente(this);
    TimerEspera = m_Espera->TimerEspera;
    TimerForzarTimeOut = m_Espera->TimerForzarTimeOut;

    imgEspera = new QLabel(this);
    imgEspera->setObjectName(QStringLiteral("imgEspera"));
    imgEspera->setFixedSize(32, 32);
    lblEspera = new QLabel(QStringLiteral("Esperando respuesta ..."), this);
    lblEspera->setObjectName(QStringLiteral("lblEspera"));
    cmdCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setEnabled(false);

    for (int i = 1; i <= 4; ++i) {
        ImlEsperaKeys << QStringLiteral("TAMBOR%1").arg(i);
        ImlEspera << DibujarTambor(i);
    }
    imgEspera->setPixmap(ImlEspera.first());

    auto* fila = new QHBoxLayout;
    fila->addWidget(imgEspera);
    fila->addWidget(lblEspera, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fila);
    layout->addWidget(cmdCancelar, 0, Qt::AlignRight);

    connect(m_Espera, &EsperaCliente::Avance, this, [this](int cuadro) {
        if (m_Visible) imgEspera->setPixmap(ImlEspera.at(cuadro - 1));
    });
    connect(m_Espera, &EsperaCliente::Terminada, this, &frmProcesandoCO::Cerrar);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmProcesandoCO::cmdCancelar_Click);
}

frmProcesandoCO::~frmProcesandoCO() = default;

bool frmProcesandoCO::Esperando() const { return m_Espera->Esperando(); }
qint16 frmProcesandoCO::Reinicios() const { return m_Espera->Reinicios(); }
qint16 frmProcesandoCO::Cuadro() const { return m_Espera->Cuadro(); }

QString frmProcesandoCO::Cargar(qint32 timeOut, bool cancelarPorTimeOut, const QString& carpetaTerminal,
                                bool& visible, QString& carpetaBase)
{
    Q_UNUSED(cancelarPorTimeOut) // the wait always ends by itself at its time-out
    try {
        const CarpetaTerminal terminal(carpetaTerminal);
        // The trigger is named after the terminal folder, in the working folder's trigger folder.
        QString base = Paths::WithTrailingSlash(carpetaBase);
        if (base.isEmpty()) base = terminal.CarpetaBase();
        const QString disparo =
            terminal.Vacia() ? QString() : CarpetaTerminal(base, terminal.Nombre()).ArchivoDisparador();
        m_Visible = visible;
        cmdCancelar->setEnabled(false);
        m_Espera->Iniciar(terminal.ArchivoEstado(), disparo, LimitesEspera::DeIntercambio(timeOut));
        if (m_Espera->Esperando()) {
            if (m_Visible) {
                m_Modal = true;
                Dialogs::ExecModal(this);
                m_Modal = false;
            } else {
                m_Espera->Esperar();
            }
        }
        hide();
        return m_Espera->Resultado();
    } catch (const VbError& e) {
        m_Espera->Cancelar();
        hide();
        return QStringLiteral("-%1: %2").arg(e.number).arg(e.description);
    } catch (const std::exception& e) {
        m_Espera->Cancelar();
        hide();
        return QStringLiteral("-5: ") + QString::fromLocal8Bit(e.what());
    }
}

void frmProcesandoCO::Cerrar()
{
    if (m_Modal) done(0);
    else hide();
}

void frmProcesandoCO::Descargar()
{
    if (m_Espera->Esperando()) m_Espera->Cancelar(); // its end closes the window
    else Cerrar();
}

void frmProcesandoCO::TimerEspera_Timer() { m_Espera->Tick(); }
void frmProcesandoCO::TimerForzarTimeOut_Timer() { m_Espera->ForzarTimeOut(); }
void frmProcesandoCO::cmdCancelar_Click() { m_Espera->Cancelar(); }

void frmProcesandoCO::reject()
{
    // Escape must not end the wait: the request may still be carried.
    if (m_Espera->Esperando()) return;
    QDialog::reject();
}

void frmProcesandoCO::closeEvent(QCloseEvent* event)
{
    if (m_Espera->Esperando()) event->ignore();
    else QDialog::closeEvent(event);
}
