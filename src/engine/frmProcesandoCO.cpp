#include "engine/frmProcesandoCO.h"

#include "platform/Codec1252.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/VbError.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

int frmProcesandoCO::s_DuracionTick = 1000;

namespace {
const QString kEstado = QStringLiteral("estado.rsp");
const QString kTimeOut = QStringLiteral("-1: Cancelado por Time Out");
const QString kFallida = QStringLiteral("-1: Cancelado por ejecucion fallida");
const QString kVacio = QStringLiteral("-2: Error inesperado en comunicación");

QString TextoError(qint32 numero, const QString& descripcion)
{
    return QStringLiteral("-%1: %2").arg(numero).arg(descripcion);
}
}

void frmProcesandoCO::setDuracionTick(int ms) { s_DuracionTick = ms > 0 ? ms : 1000; }
int frmProcesandoCO::DuracionTick() { return s_DuracionTick; }

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

    TimerEspera = new QTimer(this);
    TimerEspera->setObjectName(QStringLiteral("TimerEspera"));
    TimerEspera->setInterval(1000);
    TimerForzarTimeOut = new QTimer(this);
    TimerForzarTimeOut->setObjectName(QStringLiteral("TimerForzarTimeOut"));

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

    m_Watcher = new QFileSystemWatcher(this);
    connect(m_Watcher, &QFileSystemWatcher::directoryChanged, this, [this] { RevisarRespuesta(false); });
    connect(TimerEspera, &QTimer::timeout, this, &frmProcesandoCO::TimerEspera_Timer);
    connect(TimerForzarTimeOut, &QTimer::timeout, this, &frmProcesandoCO::TimerForzarTimeOut_Timer);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmProcesandoCO::cmdCancelar_Click);
}

frmProcesandoCO::~frmProcesandoCO() = default;

qint64 frmProcesandoCO::Escalar(qint64 ms) const { return ms * s_DuracionTick / 1000; }

QString frmProcesandoCO::ArchivoCompletado() const
{
    if (m_CarpetaTerminal.isEmpty()) return QString();
    return Paths::FindCaseInsensitive(m_CarpetaTerminal, kEstado);
}

QString frmProcesandoCO::Cargar(qint32 timeOut, bool cancelarPorTimeOut, const QString& carpetaTerminal,
                                bool& visible, QString& carpetaBase)
{
    Q_UNUSED(cancelarPorTimeOut) // the wait always ends by itself at its time-out
    try {
        m_Cuadro = 0;
        m_Segundos = 0;
        m_Reinicios = 0;
        m_TimedOut = false;
        m_Forzado = false;
        m_Respondido = false;
        m_VacioVisto = false;
        m_Resultado.clear();
        TimerEspera->stop();
        TimerForzarTimeOut->stop();

        m_SegundosPermitidos = timeOut / 1000;
        m_Visible = visible;
        m_IntervaloForzado = timeOut + 5000;

        QString terminal = Paths::Normalize(carpetaTerminal);
        while (terminal.size() > 1 && terminal.endsWith(QLatin1Char('/'))) terminal.chop(1);
        m_CarpetaTerminal = terminal;
        // The trigger is named after the terminal folder, in the working folder's "tx".
        QString base = Paths::WithTrailingSlash(carpetaBase);
        if (base.isEmpty() && !terminal.isEmpty()) base = Paths::WithTrailingSlash(QFileInfo(terminal).path());
        QString tx = Paths::FindCaseInsensitive(base, QStringLiteral("tx"));
        if (tx.isEmpty()) tx = base + QStringLiteral("tx");
        m_ArchivoDisparo = terminal.isEmpty() ? QString() : Paths::Join(tx, Paths::LastComponent(terminal));

        m_Esperando = true;
        cmdCancelar->setEnabled(false);

        if (!m_Watcher->directories().isEmpty()) m_Watcher->removePaths(m_Watcher->directories());
        if (QFileInfo(terminal).isDir()) m_Watcher->addPath(terminal);

        if (timeOut < 100000) {
            TimerForzarTimeOut->setInterval(static_cast<int>(Escalar(m_IntervaloForzado)));
            TimerForzarTimeOut->start();
        } else {
            TimerForzarTimeOut->setInterval(static_cast<int>(Escalar(1000)));
        }

        m_CancelarPorTimeOut = true;
        TimerEspera->setInterval(s_DuracionTick);
        TimerEspera->start();
        TimerEspera_Timer();

        if (m_Esperando && !m_Forzado) {
            if (m_Visible) {
                m_Modal = true;
                Dialogs::ExecModal(this);
                m_Modal = false;
            } else {
                QEventLoop loop;
                m_Loop = &loop;
                if (m_Esperando && !m_Forzado) loop.exec();
                m_Loop = nullptr;
            }
        }

        QString resultado;
        if (m_Respondido) resultado = m_Resultado;
        else if (m_Forzado) resultado = kFallida;
        else if (m_TimedOut) resultado = kTimeOut;
        else resultado = m_Resultado;

        m_Esperando = false;
        TimerEspera->stop();
        TimerForzarTimeOut->stop();
        if (!m_Watcher->directories().isEmpty()) m_Watcher->removePaths(m_Watcher->directories());
        hide();
        return resultado;
    } catch (const VbError& e) {
        m_Esperando = false;
        TimerEspera->stop();
        TimerForzarTimeOut->stop();
        hide();
        return TextoError(e.number, e.description);
    } catch (const std::exception& e) {
        m_Esperando = false;
        TimerEspera->stop();
        TimerForzarTimeOut->stop();
        hide();
        return TextoError(5, QString::fromLocal8Bit(e.what()));
    }
}

void frmProcesandoCO::Descargar()
{
    m_Esperando = false;
    TimerEspera->stop();
    if (m_Loop) m_Loop->quit();
    if (m_Modal) done(0);
    else hide();
}

bool frmProcesandoCO::RevisarRespuesta(bool desdeTick)
{
    if (!m_Esperando) return true;
    const QString ruta = ArchivoCompletado();
    if (ruta.isEmpty() || QFileInfo(ruta).isDir()) return false;
    QFile file(ruta);
    if (!file.open(QIODevice::ReadOnly)) return false; // still being written: the next notice or tick
    QString texto = Codec1252::decode(file.readAll()).trimmed();
    file.close();
    if (texto.isEmpty()) {
        // Read an empty status once more on the next tick before calling it a failure.
        if (!desdeTick) return false;
        if (!m_VacioVisto) {
            m_VacioVisto = true;
            return false;
        }
        texto = kVacio;
    }
    m_Resultado = texto;
    m_Respondido = true;
    TimerEspera->stop();
    Descargar();
    return true;
}

void frmProcesandoCO::TimerEspera_Timer()
{
    TimerEspera->stop();
    if (!m_Esperando) return;
    ++m_Cuadro;
    ++m_Segundos;
    if (m_Cuadro > 4) m_Cuadro = 1;
    try {
        if (m_Segundos > m_SegundosPermitidos) {
            const bool disparoPendiente = !m_ArchivoDisparo.isEmpty() && QFileInfo::exists(m_ArchivoDisparo);
            if (disparoPendiente || m_Reinicios >= 1) {
                m_TimedOut = true;
                // The client never took the request: take it back, so it cannot be carried
                // later after the user was told it failed.
                if (disparoPendiente) QFile::remove(m_ArchivoDisparo);
                cmdCancelar_Click();
                return;
            }
            // The client took the request but has not answered yet: wait once more.
            TimerForzarTimeOut->stop();
            TimerForzarTimeOut->setInterval(static_cast<int>(Escalar(m_IntervaloForzado)));
            TimerForzarTimeOut->start();
            ++m_Reinicios;
            m_Segundos = 1;
        } else {
            if (m_Visible) imgEspera->setPixmap(ImlEspera.at(m_Cuadro - 1));
            if (RevisarRespuesta(true)) return;
        }
    } catch (const VbError& e) {
        m_Resultado = TextoError(e.number, e.description);
        m_Respondido = true;
        Descargar();
        return;
    }
    if (m_Esperando) TimerEspera->start();
}

void frmProcesandoCO::TimerForzarTimeOut_Timer()
{
    TimerForzarTimeOut->stop();
    if (!m_Esperando) return;
    // An answer that is already there wins over the forced end.
    if (RevisarRespuesta(false)) return;
    m_Forzado = true;
    Descargar();
}

void frmProcesandoCO::cmdCancelar_Click()
{
    m_Resultado.clear();
    Descargar();
}

void frmProcesandoCO::reject()
{
    // Escape must not end the wait: the request may still be carried.
    if (m_Esperando) return;
    QDialog::reject();
}

void frmProcesandoCO::closeEvent(QCloseEvent* event)
{
    if (m_Esperando) event->ignore();
    else QDialog::closeEvent(event);
}
