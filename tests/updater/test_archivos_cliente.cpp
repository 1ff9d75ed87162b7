// Each file the client leaves, planted as a pipe, a link or a 1 GB sparse file, ends its exchange
// with a message naming it. A case runs in a child under an address-space limit and an alarm,
// so a regression that blocks or reads the whole file fails instead of holding the machine.
#include "AsistenteFixture.h"

#include "config/GeneralTablas.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "engine/frmProcesandoCO.h"
#include "reports/clsMsgReporte.h"
#include "reports/modReporte.h"
#include "support/DruvexSim.h"

#include <QLabel>
#include <QPushButton>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

TEST_F(Asistente, APipeALinkOrAHugeClientFileEndsTheExchangeNamingIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    General::DirectorioTrabajo = wf.path();
    int clase = 0; // a pipe, a link, a 1 GB sparse file
    const auto plantar = [&](const QString& ruta) {
        const QByteArray r = QFile::encodeName(ruta);
        ::unlink(r.constData());
        if (clase == 0) ::mkfifo(r.constData(), 0600);
        if (clase == 1) ::symlink("/etc/passwd", r.constData());
        if (clase == 2) {
            const int fd = ::creat(r.constData(), 0600);
            ::ftruncate(fd, qint64(1) << 30);
            ::close(fd);
        }
    };
    const auto mensajes = [&] {
        QString m;
        for (const auto& s : dlg.shown) m += s.title + ' ' + s.text + '|';
        return m;
    };
    const auto enviar = [&](DruvexSim& sim) {
        frmProcesandoCO::setDuracionTick(20);
        sim.iniciar();
        clsTransaccion t;
        t.setPasoDRUVEX(wf.path() + "Term01");
        t.setMostrarFormProceso(false);
        t.setVerTicket(false);
        t.CompletarSVL1(1, "20123456789", "6001234567", "", "", "", "", "", "", "", "0", "20240305", "1030", false,
                        "12", "", "");
        t.AgregarItemSVL2("420101", "1", "1", "1", "", "");
        t.EnviarTransaccion();
        return t.colErrores.value(0).Error + ' ' + t.colErrores.value(0).Comentario;
    };
    // The client takes the request and leaves the planted status instead of an answer.
    const auto estadoPlantado = [&](DruvexSim& sim) {
        sim.setAlTomar([&](const DruvexSim::Toma& t, DruvexSim::Guion& g) {
            plantar(wf.file(t.terminal + "/estado.rsp"));
            g.modo = DruvexSim::Modo::TomarSinResponder;
        });
    };
    const auto asistir = [&](const std::function<void()>& responder) {
        frmUpgradeWizard frm(Argumentos());
        frm.Form_Load();
        responder();
        Hasta([&] { return frm.cmdBack->isEnabled(); });
        return frm.lblDescripcion->text() + mensajes();
    };
    const std::pair<const char*, std::function<QString(DruvexSim&)>> casos[] = {
        {"estado\\.rsp",
         [&](DruvexSim& sim) {
             estadoPlantado(sim);
             return enviar(sim);
         }},
        {"estado\\.rsp", // the remote report reads its status again after the wait
         [&](DruvexSim&) {
             bool correcto = true;
             wf.mkdir("termrep");
             plantar(wf.file("termrep/estado.rsp"));
             clsMsgReporte().Respuesta(modReporte::DirectorioReporte, correcto);
             return correcto ? QString() : mensajes();
         }},
        {"estado\\.rsp", [&](DruvexSim&) { return asistir([&] { plantar(wf.file("termupg/estado.rsp")); }); }},
        {"_svl\\.1",
         [&](DruvexSim& sim) {
             DruvexSim::Guion g;
             g.alResponder = [&](const QString& descarga) { plantar(descarga + "/_svl.1"); };
             sim.setGuion(g);
             return enviar(sim);
         }},
        {"_druvex\\.upg",
         [&](DruvexSim&) {
             return asistir([&] {
                 wf.mkdir("termupg/download");
                 plantar(wf.file("termupg/download/_druvex.upg"));
                 Responder("0");
             });
         }},
        {"_druvex\\.prm",
         [&](DruvexSim&) {
             plantar(wf.file("_druvex.prm"));
             clsConfig c;
             c.LoadConfig(1, false);
             try {
                 c.LeerArchivoParametros();
             } catch (const VbError& e) {
                 return e.description;
             }
             return QString();
         }},
        {"_druvex\\.emp",
         [&](DruvexSim&) {
             plantar(wf.file("_druvex.emp"));
             General::CargarLicencias();
             return mensajes();
         }},
    };
    for (const auto& [archivo, intercambio] : casos) {
        for (clase = 0; clase < 3; ++clase) {
            SCOPED_TRACE(std::string(archivo) + " " + std::to_string(clase));
            EXPECT_EXIT(
                {
                    // Room for the program as it stands and a little more, never for the file.
                    QFile status("/proc/self/status");
                    status.open(QIODevice::ReadOnly);
                    const QByteArray vm = status.readAll();
                    struct rlimit limite{};
                    ::getrlimit(RLIMIT_AS, &limite);
                    limite.rlim_cur = vm.mid(vm.indexOf("VmSize:") + 7).trimmed().split(' ')[0].toLongLong() * 1024 +
                                      (384 << 20);
                    ::setrlimit(RLIMIT_AS, &limite);
                    ::alarm(30);
                    DruvexSim sim(wf.path());
                    std::fprintf(stderr, "%s\n", intercambio(sim).toUtf8().constData());
                    ::_exit(0);
                },
                ::testing::ExitedWithCode(0), archivo);
        }
    }
}
