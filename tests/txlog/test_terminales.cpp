// Several terminals on one database: eight copies of a terminal start at one instant on a new
// database and on one that lost its indexes, each logging one transaction; a connection that
// lives as long as the program outlives its server process; and a desk whose network fails
// neither holds the others nor is told a save went otherwise than it did, nor waits unbounded.
#include "config/clsConfig.h"
#include "config/clsPrestaciones.h"
#include "platform/Database.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/ErrorDe.h"
#include "txlog/clsLog.h"
#include "txlog/clsTransacciones.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cstring>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

namespace {

class TerminalesDb : public DbFixture {
protected:
    bool WithSchema() const override { return false; }

    // Starts `n` terminals at one instant, 3 s from now, each logging ticket `primero` + its
    // number; `entretanto` runs while they do.
    void ArrancarJuntas(qint64 primero, int n = 8, const std::function<void()>& entretanto = {})
    {
        const qint64 instante = QDateTime::currentMSecsSinceEpoch() + 3000;
        std::vector<std::unique_ptr<QProcess>> copias;
        for (int i = 0; i < n; ++i) {
            copias.push_back(std::make_unique<QProcess>());
            copias.back()->start(QStringLiteral(QUORVAN_ARRANQUE_TERMINAL_EXE),
                                 {QString::number(instante), QString::number(primero + i)});
        }
        if (entretanto) entretanto();
        for (int i = 0; i < n; ++i) {
            QProcess& p = *copias[i];
            ASSERT_TRUE(p.waitForFinished(120000)) << "terminal " << i;
            EXPECT_EQ(p.exitCode(), 0) << "terminal " << i << ": " << p.readAllStandardError().toStdString();
        }
    }
    // The indexes the schema script names.
    QStringList Indices() const
    {
        static const QRegularExpression re(QStringLiteral(R"(CREATE\s+(?:UNIQUE\s+)?INDEX\s+(?:IF\s+NOT\s+EXISTS\s+)?(\w+))"));
        QStringList nombres;
        const QString script = Database::SchemaScript(isPostgreSQL() ? Database::Engine::PostgreSQL
                                                                     : Database::Engine::SQLite);
        for (auto it = re.globalMatch(script); it.hasNext();) nombres << it.next().captured(1);
        return nombres;
    }
};

class ConexionCortada : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (!IsSkipped() && !isPostgreSQL()) GTEST_SKIP() << "a server process to cut exists on PostgreSQL only";
    }
    void Logueada(qint64 ticket)
    {
        DatosTerminal::Logueada t;
        t.ticket = ticket;
        DatosTerminal::Transaccion(*Connect(), t);
    }
};

// A TCP relay to the test server for a network that fails when told, as a pulled cable: the next
// messages a client sends holding `texto`, one for each of `llevar`, are carried or not as it says,
// each then closing its client's side and leaving the server's open.
class ReleTcp {
public:
    // A socket listening at `direccion` on `puerto` (0: any), in the network of the calling thread.
    static int Escucha(in_addr_t direccion, uint16_t puerto = 0)
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in a{AF_INET, htons(puerto), {direccion}, {}};
        ::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
        ::listen(fd, 16);
        return fd;
    }
    // Carries what `escucha` accepts to the server's port on the loopback of the thread making it.
    ReleTcp(int servidor, int escucha) : m_escucha(escucha)
    {
        sockaddr_in a{};
        socklen_t largo = sizeof a;
        ::getsockname(m_escucha, reinterpret_cast<sockaddr*>(&a), &largo);
        puerto = ntohs(a.sin_port);
        m_aceptar = std::thread([this, s = Direccion(servidor)] {
            for (int c; (c = ::accept4(m_escucha, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
                const int d = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
                ::connect(d, reinterpret_cast<const sockaddr*>(&s), sizeof s);
                m_fds.insert(m_fds.end(), {c, d});
                m_hilos.emplace_back([this, c, d] { Llevar(c, d, true); });
                m_hilos.emplace_back([this, c, d] { Llevar(d, c, false); });
            }
        });
    }
    ~ReleTcp() // a shut socket wakes the thread reading it, the listening one too
    {
        ::shutdown(m_escucha, SHUT_RDWR);
        m_aceptar.join();
        for (int fd : m_fds) ::shutdown(fd, SHUT_RDWR);
        for (std::thread& h : m_hilos) h.join();
        for (int fd : m_fds) ::close(fd);
        ::close(m_escucha);
    }
    // `alCortar` runs as the first of them is seen, before it is carried.
    void CortarAl(const QByteArray& texto, std::deque<bool> llevar, std::function<void()> alCortar = {})
    {
        std::lock_guard<std::mutex> l(m_mutex);
        m_texto = texto;
        m_llevar = std::move(llevar);
        m_alCortar = std::move(alCortar);
        cortes = 0;
    }
    int puerto = 0;
    std::atomic<int> cortes{0};

private:
    static sockaddr_in Direccion(int puerto) { return {AF_INET, htons(uint16_t(puerto)), {htonl(INADDR_LOOPBACK)}, {}}; }
    // Carries one direction until it ends, which closes the other side, or is cut, which closes
    // the client's side alone.
    void Llevar(int de, int a, bool delCliente)
    {
        char buf[65536];
        bool corta = false;
        for (ssize_t n; !corta && (n = ::read(de, buf, sizeof buf)) > 0;) {
            bool llevar = true;
            corta = delCliente && Corta(QByteArray::fromRawData(buf, n), &llevar);
            if (llevar) ::send(a, buf, static_cast<size_t>(n), MSG_NOSIGNAL);
        }
        ::shutdown(corta ? de : a, SHUT_RDWR);
    }
    // Whether a client's `datos` are cut at, and then whether they are carried.
    bool Corta(const QByteArray& datos, bool* llevar)
    {
        std::lock_guard<std::mutex> l(m_mutex);
        if (m_llevar.empty() || !datos.contains(m_texto)) return false;
        *llevar = m_llevar.front();
        m_llevar.pop_front();
        if (cortes++ == 0 && m_alCortar) m_alCortar();
        return true;
    }
    const int m_escucha;
    std::thread m_aceptar;
    std::vector<std::thread> m_hilos; // touched by m_aceptar alone until it ends
    std::vector<int> m_fds;
    std::mutex m_mutex;
    QByteArray m_texto;
    std::deque<bool> m_llevar;
    std::function<void()> m_alCortar;
};

// A relay between the desk and the server that fails when told, and session limits short
// enough for a test.
class RedCortada : public ConexionCortada {
protected:
    void SetUp() override
    {
        ConexionCortada::SetUp();
        if (!IsSkipped()) Rele(ReleTcp::Escucha(htonl(INADDR_LOOPBACK)), QStringLiteral("127.0.0.1"));
    }
    // The relay accepting on `escucha`, reached at `servidor`.
    void Rele(int escucha, const QString& servidor)
    {
        const QRegularExpression puerto(QStringLiteral("Port=(\\d+)"), QRegularExpression::CaseInsensitiveOption);
        rele = std::make_unique<ReleTcp>(puerto.match(connectionString()).captured(1).toInt(), escucha);
        porElRele = QString(connectionString())
                        .replace(puerto, QStringLiteral("Port=%1").arg(rele->puerto))
                        .replace(QRegularExpression(QStringLiteral("Server=[^;]*"), QRegularExpression::CaseInsensitiveOption),
                                 "Server=" + servidor);
    }
    void TearDown() override
    {
        Database::setLimitesSesion(m_limites);
        rele.reset();
        ConexionCortada::TearDown();
    }
    void Limites(int bloqueoMs, int inactivaMs, int preguntaMs = 10000)
    {
        Database::Limites l = m_limites;
        l.bloqueoMs = bloqueoMs;
        l.inactivaEnTransaccionMs = inactivaMs;
        l.preguntaMs = preguntaMs;
        Database::setLimitesSesion(l);
    }
    // Runs `f`, with the connections it opens going through the relay; the error it raised.
    QString PorElRele(const std::function<void()>& f)
    {
        qputenv("QUORVAN_DSN", porElRele.toUtf8());
        const QString error = ErrorDe(f);
        qputenv("QUORVAN_DSN", connectionString().toUtf8());
        return error;
    }
    static QString Solicitud(clsLog& log) { return ErrorDe([&] { log.TxOSDE()->GuardarSolicitud(true); }); }
    // The rows, once a commit still running on the server has ended.
    int Filas(const QString& tabla, int esperadas) const
    {
        auto cn = Connect();
        const QString sql = QStringLiteral("SELECT COUNT(*) FROM %1").arg(tabla);
        for (int i = 0; i < 100 && cn->Query(sql).value(0).toInt() != esperadas; ++i) QThread::msleep(50);
        return cn->Query(sql).value(0).toInt();
    }
    std::unique_ptr<ReleTcp> rele;
    QString porElRele;

private:
    const Database::Limites m_limites = Database::LimitesSesion();
};

// The desk in a network namespace of its own joined by a veth pair (192.0.2.2 and .1, a range no
// network uses) to another in which the relay listens: the link is pulled out and put back on the
// server's side, as a cable. Nothing outside them is touched, and they go with their last handle
// however the test ends. Making them takes root: without it the test is skipped.
class RedAislada : public RedCortada {
protected:
    void SetUp() override
    {
        ConexionCortada::SetUp();
        if (IsSkipped()) return;
        QString error;
        for (int* red : {&m_servidor, &m_terminal})
            if (error.isEmpty()) error = EnLaRed(-1, [red] { *red = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC); });
        if (!error.isEmpty()) GTEST_SKIP() << "no network namespace can be made here (not root?): " << error.toStdString();
        const QString terminal = QStringLiteral("/proc/%1/fd/%2").arg(::getpid()).arg(m_terminal);
        const std::pair<int, QString> pasos[] = {
            {m_servidor, "link add vS address 02:00:00:00:00:01 type veth peer name vD address 02:00:00:00:00:02 netns " + terminal},
            {m_servidor, "addr add 192.0.2.1/30 dev vS"}, {m_terminal, "addr add 192.0.2.2/30 dev vD"}, {m_terminal, "link set vD up"},
            {m_terminal, "neigh replace 192.0.2.1 lladdr 02:00:00:00:00:01 dev vD nud permanent"}};
        for (const auto& [red, orden] : pasos)
            if (!Ip(red, orden)) GTEST_SKIP() << "`ip " << orden.toStdString() << "` failed (iproute2 installed?)";
        Enlace(true);
        int escucha = -1;
        EnLaRed(m_servidor, [&] { escucha = ReleTcp::Escucha(inet_addr("192.0.2.1")); });
        Rele(escucha, QStringLiteral("192.0.2.1"));
    }
    ~RedAislada() override { for (int fd : {m_servidor, m_terminal}) ::close(fd); } // -1 where none was made
    // Runs `f` on a thread of its own in the network `red` (a new one for -1); the error entering it.
    static QString EnLaRed(int red, const std::function<void()>& f)
    {
        QString error;
        std::thread([&] {
            if ((red < 0 ? ::unshare(CLONE_NEWNET) : ::setns(red, CLONE_NEWNET)) == 0) f();
            else error = strerror(errno);
        }).join();
        return error;
    }
    static bool Ip(int red, const QString& orden)
    {
        int r = -1;
        EnLaRed(red, [&] { r = QProcess::execute(QStringLiteral("ip"), orden.split(QLatin1Char(' '))); });
        return r == 0;
    }
    // Down, the desk's side keeps its neighbour and drops what it sends, as across a router.
    void Enlace(bool puesto) const
    {
        Ip(m_servidor, puesto ? "link set vS up" : "link set vS down");
        if (puesto) Ip(m_servidor, "neigh replace 192.0.2.2 lladdr 02:00:00:00:00:02 dev vS nud permanent");
    }
    // Runs `f` on the desk, its connections through the link; the error it raised.
    QString EnLaTerminal(const std::function<void()>& f)
    {
        QString error;
        PorElRele([&] { EXPECT_EQ(EnLaRed(m_terminal, [&] { error = ErrorDe(f); }), QString()); });
        return error;
    }
    // The link pulled before a save, as `texto` passes, or once it returned (before its connection
    // closes); or the desk sent to a server that takes connections and answers nothing.
    enum Corte { Antes, Al, Despues, Callado };
    struct Caso { const char* que; bool ticket; Corte corte; QByteArray texto; QString mensaje; int filas; int limiteMs = 45000; };
    void Guardar(std::initializer_list<Caso> casos);
    int m_servidor = -1, m_terminal = -1;
};

} // namespace

TEST_P(TerminalesDb, OchoArrancanJuntasYCadaUnaRegistraSuTransaccion)
{
    ArrancarJuntas(1001);
    auto cn = Connect();
    const QStringList indices = Indices();
    for (const QString& i : indices) cn->Execute(QStringLiteral("DROP INDEX IF EXISTS %1").arg(i));
    ArrancarJuntas(2001);

    QStringList tickets;
    for (DbResult r = cn->Query(QStringLiteral("SELECT Ticket, COUNT(*) FROM Transaccion GROUP BY Ticket ORDER BY Ticket"));
         !r.EOF_(); r.MoveNext())
        tickets << QStringLiteral("%1x%2").arg(r.value(0).toLongLong()).arg(r.value(1).toInt());
    QStringList esperados;
    for (qint64 primero : {1001, 2001})
        for (int i = 0; i < 8; ++i) esperados << QStringLiteral("%1x1").arg(primero + i);
    EXPECT_EQ(tickets.join(QLatin1Char(' ')).toStdString(), esperados.join(QLatin1Char(' ')).toStdString());
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT COUNT(*) FROM ItemPrestaciones")).value(0).toInt(), 32);
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT COUNT(*) FROM Operaciones")).value(0).toInt(), 21);
    // The lost indexes are back (the unique ones of older header tables are not made where a
    // key exists).
    const QString catalogo = isPostgreSQL()
        ? QStringLiteral("SELECT lower(indexname) FROM pg_indexes WHERE schemaname = current_schema()")
        : QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type = 'index'");
    QStringList presentes;
    for (DbResult r = cn->Query(catalogo); !r.EOF_(); r.MoveNext()) presentes << r.value(0).toString();
    for (const QString& i : indices)
        if (!i.startsWith(QLatin1String("UX_"))) EXPECT_TRUE(presentes.contains(i.toLower())) << i.toStdString();
}

// Another desk upgrading the schema holds its lock for longer than a save waits for a lock (an
// index built over years of history): two desks that start meanwhile wait for it, then start.
TEST_P(TerminalesDb, DosArrancanMientrasOtraActualizaElEsquema)
{
    if (!isPostgreSQL()) GTEST_SKIP() << "on SQLite the schema's lock is the file's, waited for by its busy time-out";
    ArrancarJuntas(1001, 1);
    Connect()->Execute(QStringLiteral("DROP INDEX IF EXISTS %1").arg(Indices().first()));
    auto otra = Connect();
    otra->BeginTrans();
    otra->Query(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('quorvan.esquema.' || current_schema()))"));
    // Past its own bound the wait ends with a message.
    Database::Limites corto = Database::LimitesSesion(), antes = corto;
    corto.esquemaMs = 300;
    Database::setLimitesSesion(corto);
    EXPECT_EQ(ErrorDe([&] { Connect()->EnsureSchema(); }).toStdString(),
              "La base de datos está siendo actualizada por otra terminal; intente nuevamente en unos minutos");
    Database::setLimitesSesion(antes);
    ArrancarJuntas(2001, 2, [&] { // the lock held 14 s past their start instant
        otra->Query(QStringLiteral("SELECT pg_sleep(17)"));
        otra->CommitTrans();
    });
    EXPECT_EQ(Connect()->Query(QStringLiteral("SELECT Ticket FROM Transaccion ORDER BY Ticket")).Rows(),
              (QList<QVariantList>{{1001}, {2001}, {2002}}));
}

// The configuration's connection, cut while open, serves the next transaction list.
TEST_P(ConexionCortada, LaListaSiguienteFuncionaSinOtraConfiguracion)
{
    clsConfig config;
    Logueada(1);
    config.LoadTransacciones(QString());
    ASSERT_EQ(config.Transacciones()->Count(), 1);
    CortarConexion(ProcesoServidor(*config.Prestaciones()->cnQuorvan));
    Logueada(2);
    config.LoadTransacciones(QString());
    EXPECT_EQ(config.Transacciones()->Count(), 2);
}

// A cut inside a transaction: before COMMIT the whole transaction runs once more; a bare pair
// and a write outside a transaction are reported. Either way the rows are there once or not
// at all, and the next statement works.
TEST_P(ConexionCortada, LasFilasQuedanUnaVezONinguna)
{
    auto cn = Connect();
    const QString insertar = QStringLiteral("INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) VALUES (?, 'X', 1)");
    int corridas = 0;
    cn->EnTransaccion([&] {
        cn->Execute(insertar, {1});
        if (++corridas == 1) CortarConexion(ProcesoServidor(*cn));
        cn->Execute(insertar, {11});
    });
    EXPECT_EQ(corridas, 2);

    cn->BeginTrans();
    cn->Execute(insertar, {2});
    CortarConexion(ProcesoServidor(*cn));
    try {
        cn->CommitTrans();
        ADD_FAILURE() << "the commit of a lost connection was not reported";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.isConnectionLost()) << e.description.toStdString();
    }

    CortarConexion(ProcesoServidor(*cn));
    EXPECT_THROW(cn->Execute(insertar, {3}), DbError);
    cn->Execute(insertar, {4});
    QStringList filas;
    for (DbResult r = cn->Query(QStringLiteral("SELECT Ticket FROM ItemPrestaciones ORDER BY Ticket")); !r.EOF_();
         r.MoveNext())
        filas << r.value(0).toString();
    EXPECT_EQ(filas.join(QLatin1Char(' ')).toStdString(), "1 4 11");
}

// One desk's network fails inside a deferred request, the server's side left open holding the
// request log's lock. Until the server ends that session at its idle limit, a save of either desk
// is told to try again after one lock wait (not one per retry), with nothing stored; then the
// second desk's request is stored, and the first desk's once it tries again.
TEST_P(RedCortada, UnaTerminalColgadaNoDetieneLasSolicitudesDeOtra)
{
    Limites(1000, 3000);
    rele->CortarAl("INSERT INTO TOSDE_svl1", {false});
    std::unique_ptr<clsLog> primera;
    const QString otraVez = QStringLiteral("Otra terminal está guardando en este momento; intente nuevamente");
    EXPECT_EQ(PorElRele([&] { primera = std::make_unique<clsLog>(); }), QString());
    EXPECT_EQ(Solicitud(*primera).toStdString(), otraVez.toStdString());
    ASSERT_EQ(rele->cortes, 1);
    clsLog segunda;
    QElapsedTimer reloj;
    reloj.start();
    QString mensaje = Solicitud(segunda);
    EXPECT_EQ(mensaje.toStdString(), otraVez.toStdString());
    EXPECT_LT(reloj.elapsed(), 2500);
    while (!mensaje.isEmpty() && reloj.elapsed() < 20000) mensaje = Solicitud(segunda);
    EXPECT_EQ(mensaje.toStdString(), "");
    EXPECT_EQ(Solicitud(*primera).toStdString(), "");
    EXPECT_EQ(Connect()->Query(QStringLiteral("SELECT COUNT(DISTINCT NumeroTransaccion), COUNT(*) FROM TOSDE_svl1")).Rows(),
              (QList<QVariantList>{{2, 2}}));
}

// Each save whose COMMIT's answer is lost asks the server. A commit still running (a deferred
// trigger sleeps in it) is waited for: stored. A COMMIT the network dropped, its session left
// open, is ended there: not stored (the ticket's rows are then stored once more, and that rerun's
// COMMIT is asked about as well). A commit that outlasts the asking: not known, with the number
// and the kind.
TEST_P(RedCortada, CadaGuardadoDiceLaVerdadTrasPerderLaRespuestaDeSuConfirmacion)
{
    auto cn = Connect();
    cn->Execute(QStringLiteral(
        "CREATE FUNCTION lenta() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN PERFORM pg_sleep(0.5); RETURN NULL; END $$"));
    const QString noGuardada = "La %1 no se guardó: se perdió la conexión a la base de datos al confirmarla. Puede repetirla.";
    const QString sinComprobar = "No se pudo comprobar si la %1 número 1 quedó guardada. No la repita antes de comprobarlo%2.";
    const struct { const char* que; std::deque<bool> llevados; int preguntaMs; QString mensaje; int filas; QString ticket; } casos[] = {
        {"slow commit", {true}, 10000, "", 1, ""},
        {"COMMIT dropped", {false}, 10000, noGuardada, 0, ""},
        {"COMMIT dropped, then the rerun's answer lost", {false, true}, 10000, noGuardada, 0, ""},
        {"commit outlasting the asking", {true}, 200, sinComprobar, 1,
         "No se pudo comprobar si el ticket y sus items quedaron guardados en la base local"},
    };
    const struct { QString tabla, lineas, clase, donde; std::function<void()> guardar; } guardados[] = {
        {"TOSDE_svl1", "TOSDE_svl2", "solicitud", " en el reporte local de \"Reportes\", que lista las solicitudes registradas",
         [] {
             clsLog log;
             log.TxOSDE()->Prestaciones()->Add(std::make_shared<clsPrestacionTxOSDE>());
             log.TxOSDE()->GuardarSolicitud(true);
         }},
        {"TGenerica_svl1", "TGenerica_svl2", "captura", "",
         [] {
             clsLog log;
             log.TxGenerica()->Prestaciones()->Add(std::make_shared<clsPrestacionTxGenerica>());
             log.TxGenerica()->Save();
         }},
        {"Transaccion", "ItemPrestaciones", "", "",
         [] {
             clsTransacciones().SaveTransaccion(DatosTerminal::Svl1Respondido(1), QStringLiteral("5"),
                                                DatosTerminal::Svl2Respondido(QStringLiteral("420101"), QStringLiteral("01")), 1);
         }},
    };
    for (const auto& g : guardados) {
        cn->Execute(QStringLiteral("CREATE CONSTRAINT TRIGGER lenta AFTER INSERT ON %1 DEFERRABLE INITIALLY DEFERRED "
                                   "FOR EACH ROW EXECUTE FUNCTION lenta()").arg(g.tabla));
        for (const auto& c : casos) {
            SCOPED_TRACE(g.tabla.toStdString() + ": " + c.que);
            cn->Execute("DELETE FROM " + g.tabla);
            cn->Execute("DELETE FROM " + g.lineas);
            Limites(10000, 60000, c.preguntaMs); // no idle limit ends a dropped COMMIT first
            rele->CortarAl("COMMIT", c.llevados);
            const QString mensaje = PorElRele(g.guardar);
            // The logs do not save again after a lost COMMIT; the ticket does, once.
            EXPECT_EQ(rele->cortes, g.clase.isEmpty() ? int(c.llevados.size()) : 1);
            const int filas = g.clase.isEmpty() ? 1 : c.filas;
            const QString esperado =
                g.clase.isEmpty() ? c.ticket : QString(c.mensaje).replace("%1", g.clase).replace("%2", g.donde);
            EXPECT_EQ(mensaje.toStdString(), esperado.toStdString());
            EXPECT_EQ(Filas(g.tabla, filas), filas);
            EXPECT_EQ(Filas(g.lineas, filas), filas);
        }
    }
}

// A desk idle for twice the limits after a list, an export and a save keeps its server sessions,
// and its next list, export and save run without an error.
TEST_P(RedCortada, UnaTerminalInactivaSigueSinErrores)
{
    Limites(500, 500);
    clsConfig config;
    clsLog log;
    QTemporaryDir carpeta;
    const auto trabajar = [&] {
        config.LoadTransacciones(QString());
        log.TxOSDE()->Export(carpeta.path(), true, QStringLiteral(","));
        log.TxOSDE()->GuardarSolicitud(true);
        return std::pair{ProcesoServidor(*config.Prestaciones()->cnQuorvan), ProcesoServidor(*log.TxOSDE()->Coneccion())};
    };
    const auto sesiones = trabajar();
    QThread::msleep(2 * 500 + 200);
    std::pair<qint64, qint64> despues;
    EXPECT_EQ(ErrorDe([&] { despues = trabajar(); }).toStdString(), "");
    EXPECT_EQ(despues, sesiones);
}

// Each save told within its bound what matches `mensaje`, its tables then holding `filas` rows.
// The link is put back once the save has answered, or after 46 s, so a hang fails the test
// rather than lasting the kernel's 15 minutes.
void RedAislada::Guardar(std::initializer_list<Caso> casos)
{
    auto cn = Connect();
    int callado = -1; // a port below the ephemeral ones on the server's side, never accepting
    EnLaRed(m_servidor, [&] { callado = ReleTcp::Escucha(inet_addr("192.0.2.1"), 9999); });
    const QString dsn[] = {porElRele, QString(porElRele).replace(QRegularExpression("Port=\\d+"), "Port=9999")};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.que);
        const QStringList tablas = c.ticket ? QStringList{"Transaccion", "ItemPrestaciones"} : QStringList{"TGenerica_svl1", "TGenerica_svl2"};
        for (const QString& t : tablas) cn->Execute("DELETE FROM " + t);
        porElRele = dsn[c.corte == Callado];
        std::atomic<bool> respondido{false};
        std::thread vigia([&] {
            for (int i = 0; i < 460 && !respondido; ++i) QThread::msleep(100);
            Enlace(true);
        });
        QElapsedTimer reloj;
        reloj.start();
        const QString mensaje = EnLaTerminal([&] {
            clsTransacciones t; // opens its connection as it saves; the capture's log as it is made
            const auto log = c.ticket ? nullptr : std::make_unique<clsLog>();
            if (log) log->TxGenerica()->Prestaciones()->Add(std::make_shared<clsPrestacionTxGenerica>());
            if (c.corte == Antes) Enlace(false);
            if (c.corte == Al) rele->CortarAl(c.texto, {true}, [&] { Enlace(false); });
            if (log) log->TxGenerica()->Save();
            else t.SaveTransaccion(DatosTerminal::Svl1Respondido(1), "5", DatosTerminal::Svl2Respondido("420101", "01"), 1);
            if (c.corte == Despues) Enlace(false);
        });
        EXPECT_LT(reloj.elapsed(), c.limiteMs);
        respondido = true;
        vigia.join();
        EXPECT_TRUE(QRegularExpression(c.mensaje).match(mensaje).hasMatch()) << mensaje.toStdString();
        for (const QString& t : tablas) EXPECT_EQ(Filas(t, c.filas), c.filas);
    }
    ::close(callado);
}

// A desk whose network goes while it saves is told within the bound what the log holds: a save
// begun on a link already gone is told its connection was lost; one whose COMMIT reached the
// server as the link went, that it could not be checked.
TEST_P(RedAislada, UnGuardadoSinRedTerminaDentroDelLimiteYDiceLaVerdad)
{
    Guardar({{"capture, link gone before it", false, Antes, "", "^08S01: ", 0},
             {"capture, link gone as its COMMIT passed", false, Al, "COMMIT",
              "^No se pudo comprobar si la captura número 1 quedó guardada\\. No la repita antes de comprobarlo\\.$", 1}});
}

// A save whose link goes as a row passes opens its connection once more, not again for its rerun
// nor for a second attempt: told within one lost send and one opening, nothing stored.
TEST_P(RedAislada, UnGuardadoCortadoAbreSuConexionUnaVezMas)
{
    Guardar({{"capture", false, Al, "INSERT INTO TGenerica_svl1",
              "^08001: Se perdió la conexión a la base de datos y no se pudo abrir otra vez$", 0},
             {"ticket", true, Al, "INSERT INTO Transaccion", "^Error al guardar el ticket y sus items en la base local$", 0}});
}

// A save stored before the link went is told so at once, though its connection closes on a dead
// link; one sent to a server that takes the connection and never answers, that it could not open.
TEST_P(RedAislada, UnGuardadoHechoOSinRespuestaDelServidor)
{
    Guardar({{"ticket stored, then the link gone", true, Despues, "", "^$", 1, 10000},
             {"ticket, server silent", true, Callado, "", "^No se pudo abrir la base de datos: ", 0},
             {"capture, server silent", false, Callado, "", "^No se pudo abrir la base de datos: ", 0}});
}

// The bound ends what the network does not acknowledge, not a slow reader: an export read
// through its cursor more slowly than the bound, across the same link, still writes every row.
TEST_P(RedAislada, UnaExportacionLentaTerminaCompleta)
{
    QTemporaryDir carpeta;
    qint32 escritas = -1;
    QElapsedTimer reloj;
    reloj.start();
    const QString error = EnLaTerminal([&] {
        clsLog log;
        QObject::connect(log.TxOSDE().get(), &clsTxOSDE::RowCount, [](qint32) { QThread::msleep(100); });
        escritas = log.TxOSDE()->ExportFile(QStringLiteral("SELECT n FROM generate_series(1, 350) n"),
                                            carpeta.filePath(QStringLiteral("lenta.txt")), QStringLiteral(","));
    });
    EXPECT_EQ(error.toStdString(), "");
    EXPECT_GT(reloj.elapsed(), 32000);
    EXPECT_EQ(escritas, 350);
}

INSTANTIATE_TEST_SUITE_P(Engines, TerminalesDb, DbEngines(), DbEngineName);
INSTANTIATE_TEST_SUITE_P(Engines, RedCortada, DbEngines(), DbEngineName);
INSTANTIATE_TEST_SUITE_P(Engines, RedAislada, DbEngines(), DbEngineName);
INSTANTIATE_TEST_SUITE_P(Engines, ConexionCortada, DbEngines(), DbEngineName);
