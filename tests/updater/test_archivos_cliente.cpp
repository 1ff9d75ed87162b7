// Every file the client leaves in the working folder, planted as a pipe, a link or a 1 GB
// sparse file: each exchange ends at once with a message naming the file. Each case runs in a
// child process under an address-space limit and an alarm, so a regression that blocks or reads
// the whole file fails the case instead of holding or eating the machine.
#include "AsistenteFixture.h"

#include "config/GeneralTablas.h"
#include "config/clsConfig.h"
#include "engine/CarpetaTerminal.h"
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

namespace {

enum class Clase { Tuberia, Enlace, Grande };

class ArchivosCliente : public Asistente {
protected:
    TempFolder fuera;
    Clase clase = Clase::Tuberia;

    void Plantar(const QString& ruta) const
    {
        QFile::remove(ruta);
        const QByteArray r = QFile::encodeName(ruta);
        if (clase == Clase::Tuberia) ASSERT_EQ(::mkfifo(r.constData(), 0600), 0);
        if (clase == Clase::Enlace) ASSERT_TRUE(QFile::link(fuera.file("secreto"), ruta));
        if (clase == Clase::Grande) {
            const int fd = ::open(r.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::ftruncate(fd, qint64(1) << 30), 0);
            ::close(fd);
        }
    }

    // A header request through the simulated client; the errors' texts.
    QString Enviar(DruvexSim& sim)
    {
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
        sim.detener();
        QStringList textos;
        for (const auto& e : t.colErrores) textos << e.Error + ' ' + e.Comentario;
        return textos.join('|');
    }

    // The client takes the request and leaves the planted status instead of an answer.
    void EstadoPlantado(DruvexSim& sim)
    {
        sim.setAlTomar([this](const DruvexSim::Toma& t, DruvexSim::Guion& g) {
            Plantar(wf.file(t.terminal + "/estado.rsp"));
            g.modo = DruvexSim::Modo::TomarSinResponder;
        });
    }

    QString Mensajes() const
    {
        QStringList m;
        for (const auto& s : dlg.shown) m << s.title + ' ' + s.text;
        return m.join('|');
    }

    // The wizard's request, then `plantar` in its terminal folder; the texts once it gave up.
    QString Asistir(const std::function<void()>& plantar)
    {
        frmUpgradeWizard frm(Argumentos());
        frm.Form_Load();
        plantar();
        Hasta([&] { return frm.cmdBack->isEnabled(); });
        return frm.lblDescripcion->text() + '|' + Mensajes();
    }
};

struct Caso {
    const char* archivo;
    std::function<QString(DruvexSim&)> intercambio;
};

}

TEST_F(ArchivosCliente, APipeALinkOrAHugeFileEndsTheExchangeNamingIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    fuera.write("secreto", "no tocar");
    General::DirectorioTrabajo = wf.path();
    const Caso casos[] = {
        {"estado.rsp",
         [this](DruvexSim& sim) {
             EstadoPlantado(sim);
             return Enviar(sim);
         }},
        {"estado.rsp",
         [this](DruvexSim& sim) {
             EstadoPlantado(sim);
             CarpetaTerminal(wf.path(), modReporte::DirectorioReporte).Crear();
             sim.iniciar();
             modReporte::VerificarComunicacion(modReporte::DirectorioReporte);
             bool correcto = true;
             clsMsgReporte().Respuesta(modReporte::DirectorioReporte, correcto);
             return correcto ? QString() : Mensajes();
         }},
        {"estado.rsp",
         [this](DruvexSim&) {
             return Asistir([&] { Plantar(wf.file("termupg/estado.rsp")); });
         }},
        {"_svl.1",
         [this](DruvexSim& sim) {
             DruvexSim::Guion g;
             g.alResponder = [&](const QString& descarga) { Plantar(descarga + "/_svl.1"); };
             sim.setGuion(g);
             return Enviar(sim);
         }},
        {"_druvex.upg",
         [this](DruvexSim&) {
             return Asistir([&] {
                 wf.mkdir("termupg/download");
                 Plantar(wf.file("termupg/download/_druvex.upg"));
                 Responder("0");
             });
         }},
        {"_druvex.prm",
         [this](DruvexSim&) {
             Plantar(wf.file("_druvex.prm"));
             clsConfig c;
             c.LoadConfig(1, false);
             try {
                 c.LeerArchivoParametros();
             } catch (const VbError& e) {
                 return e.description;
             }
             return QString();
         }},
        {"_druvex.emp",
         [this](DruvexSim&) {
             Plantar(wf.file("_druvex.emp"));
             General::CargarLicencias();
             return Mensajes();
         }},
    };
    for (const Caso& c : casos) {
        for (const Clase k : {Clase::Tuberia, Clase::Enlace, Clase::Grande}) {
            SCOPED_TRACE(std::string(c.archivo) + " " + std::to_string(int(k)));
            clase = k;
            const std::string nombre = QString(c.archivo).replace('.', "\\.").toStdString();
            EXPECT_EXIT(
                {
                    // Room for the program as it stands and a little more: never for the file.
                    struct rlimit limite{};
                    ::getrlimit(RLIMIT_AS, &limite);
                    QFile status("/proc/self/status");
                    status.open(QIODevice::ReadOnly);
                    const QByteArray vm = status.readAll();
                    const qint64 kb = vm.mid(vm.indexOf("VmSize:") + 7).trimmed().split(' ').value(0).toLongLong();
                    limite.rlim_cur = rlim_t(kb * 1024 + (qint64(384) << 20));
                    ::setrlimit(RLIMIT_AS, &limite);
                    ::alarm(30);
                    DruvexSim sim(wf.path());
                    std::fprintf(stderr, "%s\n", c.intercambio(sim).toUtf8().constData());
                    std::fflush(stderr);
                    ::_exit(fuera.read("secreto") == "no tocar" ? 0 : 1);
                },
                ::testing::ExitedWithCode(0), nombre);
        }
    }
}
