#include "support/DruvexSim.h"

#include "platform/Codec1252.h"
#include "platform/Paths.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace {

// Left-aligned, blank-filled, cut to the width.
QByteArray Campo(const QString& texto, int ancho)
{
    QByteArray b = Codec1252::encode(Codec1252::toRepresentable(texto)).left(ancho);
    if (b.size() < ancho) b.append(QByteArray(ancho - b.size(), ' '));
    return b;
}

// Right-aligned, zero-filled.
QByteArray Numero(qint64 valor, int ancho)
{
    return QByteArray::number(valor).rightJustified(ancho, '0', true);
}

const QByteArray kCrLf("\r\n");

// Puts `valor` (already `ancho` bytes) at 1-based position `pos` of the record.
void Poner(QByteArray& registro, int pos, int ancho, const QString& valor)
{
    if (registro.size() < pos - 1 + ancho) registro.append(QByteArray(pos - 1 + ancho - registro.size(), ' '));
    registro.replace(pos - 1, ancho, Campo(valor, ancho));
}

// The fixed-length records of a request file (each `largo` bytes, line end included).
QList<QByteArray> Registros(const QByteArray& archivo, int largo)
{
    QList<QByteArray> r;
    for (int i = 0; i + largo <= archivo.size(); i += largo) r << archivo.mid(i, largo);
    return r;
}

}

// Lives on the client's thread: the watcher, the fallback poll and every file step.
class DruvexSimWorker : public QObject {
public:
    DruvexSimWorker(DruvexSim* sim, QString base) : m_Sim(sim), m_Base(std::move(base)) {}

    void arrancar()
    {
        m_Watcher = new QFileSystemWatcher(this);
        QObject::connect(m_Watcher, &QFileSystemWatcher::directoryChanged, this, [this] { revisar(); });
        // The fallback when "tx" is made later or a notice is missed; cheap and rare.
        m_Poll = new QTimer(this);
        m_Poll->setInterval(250);
        QObject::connect(m_Poll, &QTimer::timeout, this, [this] { revisar(); });
        m_Poll->start();
        revisar();
    }

    void parar()
    {
        delete m_Watcher;
        m_Watcher = nullptr;
        delete m_Poll;
        m_Poll = nullptr;
    }

private:
    QString carpetaTx() const
    {
        const QString tx = Paths::FindCaseInsensitive(m_Base, QStringLiteral("tx"));
        return tx.isEmpty() ? QString() : tx;
    }

    void revisar()
    {
        const QString tx = carpetaTx();
        if (tx.isEmpty()) return;
        if (m_Watcher && !m_Watcher->directories().contains(tx)) m_Watcher->addPath(tx);
        const QStringList nombres = QDir(tx).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        QSet<QString> presentes(nombres.begin(), nombres.end());
        for (auto it = m_Ignorados.begin(); it != m_Ignorados.end();)
            it = presentes.contains(*it) ? std::next(it) : m_Ignorados.erase(it);
        for (const QString& nombre : nombres) {
            // "_Quorvan.end", "_quorvan.rdy" and "_druvex.end" are markers between the
            // programs, never a terminal's trigger.
            if (m_Ignorados.contains(nombre) || nombre.startsWith(QLatin1Char('_'))) continue;
            tomar(tx, nombre);
        }
    }

    void tomar(const QString& tx, const QString& nombre)
    {
        DruvexSim::Guion g = m_Sim->siguienteGuion();
        DruvexSim::Toma t;
        t.vistoNs = DruvexSim::AhoraNs();
        t.terminal = nombre;
        QString terminal = Paths::FindCaseInsensitive(m_Base, nombre);
        if (terminal.isEmpty()) terminal = m_Base + nombre;
        // What the request holds at the moment its trigger is seen.
        const QString up = Paths::FindCaseInsensitive(terminal, QStringLiteral("upload"));
        if (!up.isEmpty()) {
            const QStringList files = QDir(up).entryList(QDir::Files | QDir::Hidden, QDir::Name);
            for (const QString& f : files) {
                QFile file(Paths::Join(up, f));
                if (file.open(QIODevice::ReadOnly)) t.upload.insert(f.toLower(), file.readAll());
            }
        }
        if (const auto alTomar = m_Sim->alTomar()) alTomar(t, g);
        if (g.modo == DruvexSim::Modo::NoTomar) {
            m_Ignorados.insert(nombre);
            m_Sim->registrar(t, true);
            return;
        }
        QFile::remove(Paths::Join(tx, nombre));
        t.tomada = true;
        m_Sim->registrar(t, true);
        if (g.modo == DruvexSim::Modo::TomarSinResponder) return;
        if (g.demoraMs > 0)
            QTimer::singleShot(g.demoraMs, this, [this, t, terminal, g] { responder(t, terminal, g); });
        else
            responder(t, terminal, g);
    }

    void escribir(const QString& carpeta, const QString& nombre, const QByteArray& bytes)
    {
        QFile f(Paths::Join(carpeta, nombre));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
    }

    void responder(DruvexSim::Toma t, const QString& terminal, const DruvexSim::Guion& g)
    {
        if (!QFileInfo(terminal).isDir()) return; // the engine gave the request up
        QString down = Paths::FindCaseInsensitive(terminal, QStringLiteral("download"));
        if (down.isEmpty()) {
            down = Paths::Join(terminal, QStringLiteral("download"));
            QDir().mkdir(down);
        }
        const auto cortado = [](const QByteArray& b, int n) { return n > 0 ? b.left(n) : b; };
        if (g.soloArchivos) {
            for (auto it = g.archivos.begin(); it != g.archivos.end(); ++it) escribir(down, it.key(), it.value());
            if (g.descargaIlegible) descargaIlegible(terminal, down);
            cerrar(t, terminal, g);
            return;
        }
        if (t.upload.contains(QStringLiteral("_svl.1")) && !g.sinSVL1)
            escribir(down, QStringLiteral("_svl.1"),
                     cortado(DruvexSim::RespuestaSVL1(t.upload.value(QStringLiteral("_svl.1")), g), g.cortarSVL1En));
        if (t.upload.contains(QStringLiteral("_svl.2")))
            escribir(down, QStringLiteral("_svl.2"),
                     cortado(DruvexSim::RespuestaSVL2(t.upload.value(QStringLiteral("_svl.2")), g), g.cortarSVL2En));
        if (t.upload.contains(QStringLiteral("_svl.7"))) {
            escribir(down, QStringLiteral("_svl.7"), DruvexSim::RespuestaSVL7(t.upload.value(QStringLiteral("_svl.7")), g));
            if (!g.vademecum.isEmpty()) escribir(down, QStringLiteral("_sal.8"), g.vademecum);
        }
        if (t.upload.contains(QStringLiteral("_svl.6"))) {
            escribir(down, QStringLiteral("_svl.3"), DruvexSim::RespuestaSVL3(t.upload.value(QStringLiteral("_svl.3")), g));
            if (g.modo == DruvexSim::Modo::Rechazar)
                escribir(down, QStringLiteral("_svl.1"), DruvexSim::RespuestaSVL1(QByteArray(), g));
        }
        if (t.upload.contains(QStringLiteral("_sal.0")))
            escribir(down, QStringLiteral("_sal.0"), DruvexSim::RespuestaSAL0(t.upload.value(QStringLiteral("_sal.0")), g));
        for (auto it = g.archivos.begin(); it != g.archivos.end(); ++it) escribir(down, it.key(), it.value());
        if (!g.sinTicket) {
            QStringList lineas = g.ticket;
            if (lineas.isEmpty()) {
                lineas << QStringLiteral("       COMPROBANTE DE AUTORIZACION") << QStringLiteral("Terminal: ") + t.terminal;
                if (!g.fechaRespuesta.isEmpty())
                    lineas << QStringLiteral("Fecha: ") + DruvexSim::FechaHoraTicket(g.fechaRespuesta, g.horaRespuesta);
                if (g.modo == DruvexSim::Modo::ErrorEnTicket) lineas << QStringLiteral("ERROR EN LA TRANSACCION");
                else if (g.modo == DruvexSim::Modo::Rechazar) lineas << QStringLiteral("RECHAZADA: ") + g.mensaje;
                else lineas << QStringLiteral("AUTORIZADA Nro ") + g.numeroAutorizacion;
            }
            QByteArray ticket;
            for (const QString& l : lineas) ticket += Codec1252::encode(Codec1252::toRepresentable(l)) + kCrLf;
            escribir(down, QStringLiteral("_ticket.prn"), ticket);
        }
        if (g.alResponder) g.alResponder(down);
        if (g.descargaIlegible) descargaIlegible(terminal, down);
        cerrar(t, terminal, g);
    }

    // A file where "download" should be: the answer cannot be read.
    void descargaIlegible(const QString& terminal, const QString& down)
    {
        QDir(down).removeRecursively();
        escribir(terminal, QStringLiteral("download"), QByteArray("no es una carpeta"));
    }

    // The status file, renamed into place: the client's last step.
    void cerrar(DruvexSim::Toma t, const QString& terminal, const DruvexSim::Guion& g)
    {
        if (g.druvexEnd) {
            const QString tx = carpetaTx();
            if (!tx.isEmpty()) escribir(tx, QStringLiteral("_druvex.end"), QByteArray());
        }
        const QByteArray estado =
            g.modo == DruvexSim::Modo::EstadoVacio ? QByteArray() : Codec1252::encode(g.estado);
        const QString tmp = Paths::Join(terminal, QStringLiteral("estado.tmp"));
        escribir(terminal, QStringLiteral("estado.tmp"), estado);
        const QString final = Paths::Join(terminal, QStringLiteral("estado.rsp"));
        // Taken just before the rename: the status appears during that call, whole, and
        // replaces any older one at once.
        t.renombradoNs = DruvexSim::AhoraNs();
        if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(final).constData()) != 0) return;
        t.respondida = true;
        m_Sim->registrar(t, false);
    }

    DruvexSim* m_Sim;
    QString m_Base;
    QFileSystemWatcher* m_Watcher = nullptr;
    QTimer* m_Poll = nullptr;
    QSet<QString> m_Ignorados;
};

DruvexSim::DruvexSim(const QString& carpetaBase) : m_Base(Paths::WithTrailingSlash(carpetaBase)) {}

DruvexSim::~DruvexSim() { detener(); }

void DruvexSim::setGuion(const Guion& guion)
{
    QMutexLocker lock(&m_Mutex);
    m_Guion = guion;
}

void DruvexSim::encolarGuion(const Guion& guion)
{
    QMutexLocker lock(&m_Mutex);
    m_Cola << guion;
}

DruvexSim::Guion DruvexSim::siguienteGuion()
{
    QMutexLocker lock(&m_Mutex);
    return m_Cola.isEmpty() ? m_Guion : m_Cola.takeFirst();
}

void DruvexSim::setAlResponder(std::function<void(const Toma&)> f)
{
    QMutexLocker lock(&m_Mutex);
    m_AlResponder = std::move(f);
}

void DruvexSim::setAlTomar(std::function<void(const Toma&, Guion&)> f)
{
    QMutexLocker lock(&m_Mutex);
    m_AlTomar = std::move(f);
}

std::function<void(const DruvexSim::Toma&, DruvexSim::Guion&)> DruvexSim::alTomar() const
{
    QMutexLocker lock(&m_Mutex);
    return m_AlTomar;
}

QString DruvexSim::FechaHoraTicket(const QString& fecha, const QString& hora)
{
    return fecha.mid(6, 2) + QLatin1Char('/') + fecha.mid(4, 2) + QLatin1Char('/') + fecha.left(4) + QLatin1Char(' ') +
           hora.left(2) + QLatin1Char(':') + hora.mid(2, 2);
}

void DruvexSim::registrar(const Toma& t, bool nueva)
{
    std::function<void(const Toma&)> f;
    {
        QMutexLocker lock(&m_Mutex);
        if (nueva) {
            m_Tomas << t;
        } else {
            for (int i = m_Tomas.size() - 1; i >= 0; --i)
                if (m_Tomas[i].terminal == t.terminal) {
                    m_Tomas[i] = t;
                    break;
                }
            f = m_AlResponder;
        }
        m_Cambio.wakeAll();
    }
    if (f) f(t);
}

void DruvexSim::iniciar()
{
    if (m_Thread) return;
    m_Thread = new QThread;
    m_Thread->setObjectName(QStringLiteral("druvex-sim"));
    m_Worker = new DruvexSimWorker(this, m_Base);
    m_Worker->moveToThread(m_Thread);
    m_Thread->start();
    QMetaObject::invokeMethod(m_Worker, [w = m_Worker] { w->arrancar(); }, Qt::BlockingQueuedConnection);
}

void DruvexSim::detener()
{
    if (!m_Thread) return;
    QMetaObject::invokeMethod(m_Worker, [w = m_Worker] { w->parar(); }, Qt::BlockingQueuedConnection);
    m_Thread->quit();
    m_Thread->wait();
    delete m_Worker;
    delete m_Thread;
    m_Worker = nullptr;
    m_Thread = nullptr;
}

QList<DruvexSim::Toma> DruvexSim::tomas() const
{
    QMutexLocker lock(&m_Mutex);
    return m_Tomas;
}

bool DruvexSim::esperarTomas(int n, int ms) const
{
    QDeadlineTimer deadline(ms);
    QMutexLocker lock(&m_Mutex);
    while (m_Tomas.size() < n)
        if (!m_Cambio.wait(&m_Mutex, deadline)) break;
    return m_Tomas.size() >= n;
}

bool DruvexSim::esperarRespuestas(int n, int ms) const
{
    QDeadlineTimer deadline(ms);
    QMutexLocker lock(&m_Mutex);
    auto cuenta = [this] {
        int k = 0;
        for (const Toma& t : m_Tomas) k += t.respondida ? 1 : 0;
        return k;
    };
    while (cuenta() < n)
        if (!m_Cambio.wait(&m_Mutex, deadline)) break;
    return cuenta() >= n;
}

qint64 DruvexSim::AhoraNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// ---- Answer layouts ---------------------------------------------------------------------

QByteArray DruvexSim::RespuestaSVL1(const QByteArray& pedido, const Guion& g)
{
    QByteArray r = pedido.left(381);
    if (r.size() < 381) r.append(QByteArray(381 - r.size(), ' '));
    QString codigo = g.codigoRespuesta;
    if (codigo.isEmpty()) codigo = g.modo == Modo::Rechazar ? QStringLiteral("0051") : QStringLiteral("0000");
    Poner(r, 238, 12, g.numeroAutorizacionComplementaria);
    Poner(r, 261, 12, g.numeroAutorizacion);
    if (!g.fechaRespuesta.isEmpty()) Poner(r, 279, 8, g.fechaRespuesta);
    if (!g.horaRespuesta.isEmpty()) Poner(r, 287, 4, g.horaRespuesta);
    Poner(r, 291, 5, g.plan);
    Poner(r, 296, 1, g.tipoAsociado);
    Poner(r, 297, 11, g.coseguro);
    Poner(r, 308, 4, codigo);
    Poner(r, 312, 40, g.mensaje);
    return r + kCrLf;
}

QByteArray DruvexSim::RespuestaSVL2(const QByteArray& pedido, const Guion& g)
{
    QByteArray out;
    const QList<QByteArray> regs = Registros(pedido, 162);
    for (int i = 0; i < regs.size(); ++i) {
        QByteArray r = regs[i].left(160);
        Poner(r, 87, 4, i < g.codigosItems.size() ? g.codigosItems[i] : QStringLiteral("0000"));
        Poner(r, 91, 40, i < g.comentariosItems.size() ? g.comentariosItems[i] : QString());
        out += r + kCrLf;
    }
    return out;
}

QByteArray DruvexSim::RespuestaSVL7(const QByteArray& pedido, const Guion& g)
{
    QByteArray r = pedido.left(316);
    Poner(r, 273, 4, g.codigoCierre);
    Poner(r, 277, 40, g.comentarioCierre);
    return r + kCrLf;
}

QByteArray DruvexSim::RespuestaSVL3(const QByteArray& pedido, const Guion& g)
{
    QByteArray out;
    const QList<QByteArray> regs = Registros(pedido, 246);
    for (int i = 0; i < regs.size(); ++i) {
        QByteArray r = regs[i].left(244);
        Poner(r, 171, 4, i < g.codigosItems.size() ? g.codigosItems[i] : QStringLiteral("0000"));
        Poner(r, 175, 40, i < g.comentariosItems.size() ? g.comentariosItems[i] : QString());
        out += r + kCrLf;
    }
    return out;
}

QByteArray DruvexSim::RegistroVademecum(const LineaVademecum& l)
{
    return Campo(l.codigo, 5) + Campo(l.nombre, 30) + Campo(l.presentacion, 24) + Campo(l.troquel, 7) +
           Campo(l.codigoBarra, 13) + Campo(l.codigoAccion, 5) + Campo(l.accion, 35) + Campo(l.codigoDroga, 6) +
           Campo(l.monodroga, 40) + Campo(l.precio, 11) + Campo(l.cobertura, 5) + Campo(l.aPagar, 11) + kCrLf;
}

QByteArray DruvexSim::VademecumEjemplo()
{
    return RegistroVademecum({"00001", "IBUPROFENO FARMA", "400 MG COMP X 20", "0123456", "7790001000017", "00012",
                              "ANTIINFLAMATORIO", "000345", "IBUPROFENO 400 MG", "00000012500", "04000",
                              "00000007500"}) +
           RegistroVademecum({"00002", "AMOXICILINA SUR", "500 MG CAPS X 16", "0234567", "7790001000024", "00020",
                              "ANTIBIOTICO", "000410", "AMOXICILINA 500 MG", "00000030990", "05000",
                              "00000015495"}) +
           RegistroVademecum({"00003", "ENALAPRIL NORTE", "10 MG COMP X 30", "0345678", "7790001000031", "00031",
                              "ANTIHIPERTENSIVO", "000522", "ENALAPRIL 10 MG", "00000018000", "07000",
                              "00000005400"});
}

QByteArray DruvexSim::RespuestaSAL0(const QByteArray& pedido, const Guion& g)
{
    QByteArray r = pedido.left(114);
    Poner(r, 41, 4, g.codigoCierre);
    Poner(r, 45, 40, g.comentarioCierre);
    return r + kCrLf;
}

QByteArray DruvexSim::LineaMedico(int matricula, const QString& tipo, const QString& nombre, bool baja)
{
    return Numero(matricula, 6) + Campo(tipo, 2) + Campo(nombre, 40) + (baja ? "1" : "0") + kCrLf;
}

QByteArray DruvexSim::LineaEfector(const QString& nombre, const QString& cuit, const QString& tipo,
                                   const QString& matricula, bool baja)
{
    return Campo(nombre, 35) + Campo(cuit, 11) + Campo(tipo, 2) + Campo(matricula, 6) + (baja ? "1" : "0") + kCrLf;
}

QByteArray DruvexSim::LineaPrestador(const QString& nombre, const QString& cuit, bool requierePrescripcion,
                                     const QString& odontologo, const QString& codigoOSDE, bool predeterminado,
                                     const QString& filial, const QString& admisor, bool baja,
                                     const QString& licencia, const QString& requiereMatPrescriptor)
{
    return Campo(nombre, 35) + Campo(cuit, 11) + (requierePrescripcion ? "1" : "0") + Campo(odontologo, 1) +
           Campo(codigoOSDE, 9) + (predeterminado ? "1" : "0") + Campo(filial, 2) + Campo(admisor, 1) +
           (baja ? "1" : "0") + Campo(licencia, 8) + Campo(requiereMatPrescriptor, 1) + kCrLf;
}

QByteArray DruvexSim::LineaPrestacion(const QString& codigo, const QString& descripcion)
{
    return QByteArray("01") + Campo(codigo, 10) + Campo(descripcion, 150) + QByteArray(11, '0') + "0" + kCrLf;
}

QByteArray DruvexSim::LineaDiagnostico(const QString& codigo, const QString& descripcion, const QString& marca)
{
    return Campo(codigo, 10) + Campo(descripcion, 150) + Campo(marca, 1) + kCrLf;
}

QByteArray DruvexSim::LineaReporteTransaccion(const LineaReporte& l)
{
    QByteArray r(133, '0');
    Poner(r, 1, 6, l.trx);
    Poner(r, 10, 1, QStringLiteral("1"));
    Poner(r, 29, 12, l.asociado);
    Poner(r, 43, 2, l.prescriptorJurisdiccion);
    Poner(r, 45, 1, l.prescriptorTipo);
    Poner(r, 55, 2, l.prescriptorPrefijo);
    Poner(r, 57, 6, l.prescriptorNumero);
    Poner(r, 84, 11, l.efector);
    Poner(r, 115, 11, l.monto);
    Poner(r, 126, 5, l.antesMonto2);
    Poner(r, 131, 1, l.antesMonto1);
    return r + kCrLf;
}

QByteArray DruvexSim::LineaReporteItem(const QString& trx, const QString& prestacion, const QString& despues,
                                       const QString& arancel, const QString& cantidad)
{
    QByteArray r(36, '0');
    Poner(r, 1, 6, trx);
    Poner(r, 18, 6, prestacion);
    Poner(r, 24, 1, despues);
    Poner(r, 25, 1, arancel);
    Poner(r, 26, 2, cantidad);
    return r + kCrLf;
}

QByteArray DruvexSim::RegistroEmp(const QString& licencia, const QString& codigoEmpresa, const QString& nombreEmpresa,
                                  const QString& codigoActividad, const QString& nombreActividad)
{
    return Campo(licencia, 8) + Campo(codigoEmpresa, 2) + Campo(nombreEmpresa, 30) + Campo(codigoActividad, 2) +
           Campo(nombreActividad, 30) + kCrLf;
}

QByteArray DruvexSim::LineaPrm(const QString& codigoEmpresa, const QString& codigoActividad, const QString& registro,
                               bool marcada)
{
    QByteArray l = Campo(codigoEmpresa, 2) + Campo(codigoActividad, 2) + "00" + Campo(registro, 4);
    l += QByteArray(102 - l.size(), ' ');
    l += marcada ? "1" : "0";
    return l + kCrLf;
}

QByteArray DruvexSim::RegistroActualizacion(const QString& tipo, const QString& major, const QString& minor,
                                            const QString& revision, const QString& nombre, const QString& codigo,
                                            const QString& descripcion)
{
    return Campo(tipo, 3) + Campo(major, 3) + Campo(minor, 3) + Campo(revision, 3) + Campo(nombre, 64) +
           Campo(codigo, 4) + Campo(descripcion, 30) + kCrLf;
}

DruvexSim::Guion DruvexSim::GuionActualizacion(const QByteArray& registros, const QMap<QString, QByteArray>& ofrecidos,
                                               bool druvexEnd)
{
    Guion g;
    g.sinTicket = true;
    g.druvexEnd = druvexEnd;
    g.archivos = ofrecidos;
    g.archivos.insert(QStringLiteral("_druvex.upg"), registros);
    return g;
}

bool DruvexSim::EscribirArchivoTrabajo(const QString& carpetaBase, const QString& nombre, const QByteArray& bytes)
{
    const QString ruta = Paths::Join(carpetaBase, nombre);
    const QString tmp = ruta + QStringLiteral(".tmp");
    QFile f(tmp);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) return false;
    f.close();
    return std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(ruta).constData()) == 0;
}

QMap<QString, QByteArray> DruvexSim::ArchivosTablasEjemplo()
{
    QMap<QString, QByteArray> a;
    a.insert(QStringLiteral("_sal.2"), LineaMedico(123, QStringLiteral("MP"), QStringLiteral("PEREZ JUAN"), false) +
                                           LineaMedico(4567, QStringLiteral("MN"), QStringLiteral("GOMEZ ANA"), true));
    a.insert(QStringLiteral("_sal.4"),
             LineaDiagnostico(QStringLiteral("A09"), QStringLiteral("DIARREA Y GASTROENTERITIS"), QStringLiteral("1")));
    a.insert(QStringLiteral("_sal.5"), LineaPrestacion(QStringLiteral("420101"), QStringLiteral("CONSULTA MEDICA")));
    a.insert(QStringLiteral("_sal.6"),
             LineaPrestador(QStringLiteral("CLINICA DEL SOL"), QStringLiteral("30700000049"), true, QStringLiteral("0"),
                            QStringLiteral("000012345"), true, QStringLiteral("60"), QStringLiteral("1"), false,
                            QStringLiteral("00001234"), QStringLiteral("0")));
    a.insert(QStringLiteral("_sal.7"), LineaEfector(QStringLiteral("LOPEZ MARIA"), QStringLiteral("27123456784"),
                                                    QStringLiteral("MP"), QStringLiteral("000123"), false));
    a.insert(QStringLiteral("_sal.8"), QByteArray("IBUPROFENO 400 MG         ANTIINFLAMATORIO\r\n"));
    return a;
}
