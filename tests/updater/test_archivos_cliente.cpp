// Each file the client leaves, planted as a pipe, a link, a 1 GB sparse file or a socket, ends its
// exchange with a message naming it; so does a pipe, a link, a socket or a folder at each trigger
// or marker name the programs make (a folder's reason in Spanish) and a pipe, a link or a socket
// at each settings file and its lock, nothing being made or written there. A case runs in a child
// under an address-space limit and an alarm, so a regression that blocks or reads the whole
// file fails instead of holding the machine.
#include "AsistenteFixture.h"

#include "config/GeneralTablas.h"
#include "config/clsConfig.h"
#include "config/modRegistry.h"
#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "platform/Bloqueo.h"
#include "platform/InstanciaUnica.h"
#include "engine/frmProcesandoCO.h"
#include "reports/clsMsgReporte.h"
#include "reports/modReporte.h"
#include "shell/PedidoActualizacion.h"
#include "support/DruvexSim.h"
#include "support/ErrorDe.h"

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
    int clase = 0; // a pipe, a link, a 1 GB sparse file, a socket, a folder
    const auto plantar = [&](const QString& ruta) {
        const QByteArray r = QFile::encodeName(ruta);
        QDir().mkpath(QFileInfo(ruta).path());
        ::unlink(r.constData());
        if (clase == 0) ::mkfifo(r.constData(), 0600);
        if (clase == 1) ::symlink("/dev/zero", r.constData());
        if (clase == 2) {
            const int fd = ::creat(r.constData(), 0600);
            ::ftruncate(fd, qint64(1) << 30);
            ::close(fd);
        }
        if (clase == 3) ::mknod(r.constData(), S_IFSOCK | 0600, 0); // nobody listens: opening it fails at once
        if (clase == 4) ::mkdir(r.constData(), 0700);
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
    const auto pedirActualizacion = [&](const QString& defaultDirTX, const QString& dirTX) {
        return ErrorDe([&] { PedidoActualizacion::Grabar(wf.path(), defaultDirTX, dirTX, {3, 1, 7}); });
    };
    // The settings read at start and stored, the client's among them, and the registry, in a
    // QUORVAN_HOME another account can write (the working folder here): each reads as missing
    // and a store is refused naming it (the registry's message names its value).
    const QString casa = qEnvironmentVariable("QUORVAN_HOME");
    const auto ajustes = [&](const char* aplicacion) {
        qputenv("QUORVAN_HOME", wf.path().toUtf8());
        QString e;
        const bool falta = AjustesUsuario::Leer(aplicacion, "Tarsk", "Directorio", "falta") == "falta";
        return falta && !AjustesUsuario::Guardar(aplicacion, "Tarsk", "Directorio", wf.path(), &e) ? e : QString();
    };
    // The settings store's lock, Quorvan's and the wizard's: "tomado" when taken (the last two still held), else the message.
    const QStringList candados = {"Quorvan.ini.lock", "Quorvan.lock", "UpgradeWizardQuorvan.lock"};
    const auto tomar = [&](int cual, bool rancio) {
        qputenv("QUORVAN_HOME", wf.path().toUtf8());
        if (rancio) wf.write(candados[cual], "99999999\nQuorvan\n"); // as a dead copy left it
        QString e;
        frmUpgradeWizard frm(Argumentos());
        const bool guardado = cual == 0 && AjustesUsuario::Guardar("Quorvan", "Tarsk", "D", "x", &e) &&
                              AjustesUsuario::Leer("Quorvan", "Tarsk", "D") == "x";
        if (cual == 1) InstanciaUnica::Tomar(&e);
        if (cual == 2) frm.Form_Load();
        Bloqueo otro(wf.file(candados[cual]));
        return guardado || (!otro.Tomar() && otro.Ocupado()) ? QStringLiteral("tomado") : e + mensajes();
    };
    // Rows of the files the client leaves and of the names the programs make (`hecho`: planted
    // before the exchange, no sparse file there).
    struct Caso { std::string archivo; bool hecho; std::function<QString(DruvexSim&)> intercambio; unsigned tomado = 0; };
    std::vector<Caso> casos = {
        {"estado\\.rsp", false,
         [&](DruvexSim& sim) {
             estadoPlantado(sim);
             return enviar(sim);
         }},
        {"estado\\.rsp", false, // the remote report reads its status again after the wait; a query has no
                              // operation to check
         [&](DruvexSim&) {
             bool correcto = true;
             plantar(wf.file("termrep/estado.rsp"));
             clsMsgReporte().Respuesta(modReporte::DirectorioReporte, correcto);
             return correcto || mensajes().contains("pudo haberse") ? QString() : mensajes();
         }},
        {"estado\\.rsp", false, [&](DruvexSim&) { return asistir([&] { plantar(wf.file("termupg/estado.rsp")); }); }},
        // The request of "Actualización Quorvan", in "tx" and in the configured trigger folder.
        {"tx/termupg", true, [&](DruvexSim&) { return pedirActualizacion("1", QString()); }},
        {"disparos/termupg", true, [&](DruvexSim&) { return pedirActualizacion("0", wf.file("disparos")); }},
        {"tx/termrep", true, // the remote report's request
         [&](DruvexSim&) {
             CarpetaTerminal(wf.path(), modReporte::DirectorioReporte).Crear();
             bool sal0 = true;
             return clsMsgReporte().EnviarTransaccion(0, modReporte::DirectorioReporte, sal0) ? QString() : mensajes();
         }},
        {"tx/termrep", true, // its link test
         [&](DruvexSim&) {
             CarpetaTerminal(wf.path(), modReporte::DirectorioReporte).Crear();
             return modReporte::VerificarComunicacion(modReporte::DirectorioReporte) ? QString() : mensajes();
         }},
        {"tx/termupg", true, // the wizard's start
         [&](DruvexSim&) {
             frmUpgradeWizard frm(Argumentos());
             frm.Form_Load();
             return Salida::Codigo() == 1 ? mensajes() : QString();
         }},
        {"tx/_Quorvan\\.end", true, // the wizard's install step asks Quorvan to close
         [&](DruvexSim&) {
             frmUpgradeWizard frm(Argumentos());
             frm.Form_Load();
             Responder("0", DruvexSim::RegistroActualizacion("002", "4", "0", "0", "Quorvan.nuevo", "0000", "x"),
                       {{"Quorvan.nuevo", "nuevo"}});
             Hasta([&] { return !dlg.shown.isEmpty(); });
             return wf.read("prog/Quorvan") == "programa viejo" ? mensajes() : QString();
         }},
        {"tx/_quorvan\\.rdy", true, // the wizard's result marker as it leaves (its start clears one)
         [&](DruvexSim&) {
             frmUpgradeWizard frm(Argumentos());
             frm.Form_Load();
             plantar(wf.file("tx/_quorvan.rdy"));
             dlg.msgAnswers << Vbc::vbYes;
             frm.cmdCancelar_Click();
             return Salida::Codigo() == 1 ? mensajes() : QString();
         }},
        {"_svl\\.1", false,
         [&](DruvexSim& sim) {
             DruvexSim::Guion g;
             g.alResponder = [&](const QString& descarga) { plantar(descarga + "/_svl.1"); };
             sim.setGuion(g);
             return enviar(sim);
         }},
        {"_druvex\\.upg", false,
         [&](DruvexSim&) {
             return asistir([&] {
                 plantar(wf.file("termupg/download/_druvex.upg"));
                 Responder("0");
             });
         }},
        {"_druvex\\.prm", false,
         [&](DruvexSim&) {
             plantar(wf.file("_druvex.prm"));
             clsConfig c;
             c.LoadConfig(1, false);
             return ErrorDe([&] { c.LeerArchivoParametros(); });
         }},
        {"_druvex\\.emp", false,
         [&](DruvexSim&) {
             plantar(wf.file("_druvex.emp"));
             General::CargarLicencias();
             return mensajes();
         }},
        {"Quorvan\\.ini", true, [&](DruvexSim&) { return ajustes("Quorvan"); }},
        {"Druvex32\\.ini", true, [&](DruvexSim&) { return ajustes("Druvex32"); }},
        {"registro\\.ini", true, [&](DruvexSim&) {
             qputenv("QUORVAN_HOME", wf.path().toUtf8());
             qint32 n = 0;
             const bool lee = modRegistry::LeerValorRegistro("Terminal", 1, n, false);
             return lee || modRegistry::GuardarValorRegistro(1, "Terminal", 3) ? QString() : modRegistry::ArchivoRegistro();
         }},
    };
    for (int i = 0; i < 6; ++i) // each lock, then its ".rmlock", planted as each kind: taken on a huge file, and beside anything
        casos.push_back({QString(candados[i / 2] + (i % 2 ? ".rmlock" : "")).replace(".", "\\.").toStdString(), true,
                         [&, i](DruvexSim&) { return tomar(i / 2, i % 2); }, i % 2 ? ~0u : 1u << 2});
    for (const auto& [archivo, hecho, intercambio, tomado] : casos) {
        const QString nombre = wf.file(QString::fromLatin1(archivo).remove('\\'));
        for (clase = 0; clase < 5; ++clase) {
            const bool toma = tomado & (1u << clase);
            if (hecho ? clase == 2 && !toma : clase == 4) continue;
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
                    if (hecho) plantar(nombre);
                    std::fprintf(stderr, "%s\n", intercambio(sim).toUtf8().constData());
                    struct stat info{}; // nothing made at the name
                    const bool hechoAlli = hecho && clase != 2 && ::lstat(QFile::encodeName(nombre).constData(), &info) == 0 &&
                                           S_ISREG(info.st_mode);
                    // The child's own folders (it runs the test again from its start): _exit
                    // runs no destructor.
                    for (const QString& d : {wf.path(), casa})
                        QDir(d).removeRecursively();
                    ::_exit(hechoAlli ? 1 : 0);
                },
                ::testing::ExitedWithCode(0), // the registry's own messages name the value, not the reason
                toma ? std::string("tomado") : std::string(archivo) +
                    (clase == 4 && std::string(archivo) != "registro\\.ini" ? ".*(es una carpeta|no es un archivo común)" : ""));
        }
    }
}
