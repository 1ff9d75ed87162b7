// Every writer over an old file on a full disk: the old file stays whole, the failure is
// reported, no temporary file is left. The disk is full in two ways: a lowered RLIMIT_FSIZE
// (every machine) and a real 64 KiB tmpfs filled to its last byte (where the test may mount).
#include "config/modRegistry.h"
#include "engine/CarpetaTerminal.h"
#include "platform/EscrituraSegura.h"
#include "platform/Paths.h"
#include "platform/VbError.h"
#include "reports/frmReporte.h"
#include "reports/modValoraciones.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"
#include "txlog/modTickets.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QByteArray kViejo = "contenido anterior, entero";

struct Escritor {
    const char* nombre;
    // The file the writer replaces, below the folder QUORVAN_HOME names.
    std::function<QString()> archivo;
    // Writes `n` bytes' worth; true when it reported success.
    std::function<bool(int n)> escribir;
};

QString Relleno(int n) { return QString(n, QLatin1Char('x')); }

const QString kTicketFecha = QStringLiteral("20240315"), kTicketHora = QStringLiteral("1031");

QString Svl1()
{
    QString s(383, QLatin1Char(' '));
    const auto poner = [&s](int pos, const QString& t) { s.replace(pos - 1, t.size(), t); };
    poner(6, QStringLiteral("02"));
    poner(261, QStringLiteral("000000012345"));
    poner(279, kTicketFecha);
    poner(287, kTicketHora);
    return s;
}

bool SinError(const std::function<void()>& f)
{
    try {
        f();
        return true;
    } catch (const VbError&) {
        return false;
    }
}

const CarpetaTerminal Terminal() { return CarpetaTerminal(Paths::DataDir(), QStringLiteral("Term00")); }

const Escritor kEscritores[] = {
    {"EscribirArchivo", [] { return Paths::Join(Paths::DataDir(), QStringLiteral("a.txt")); },
     [](int n) {
         return EscrituraSegura::EscribirArchivo(Paths::Join(Paths::DataDir(), QStringLiteral("a.txt")),
                                                 Relleno(n).toLatin1());
     }},
    {"request record", [] { return Paths::Join(Terminal().Subida(), QStringLiteral("_svl.1")); },
     [](int n) {
         return SinError([n] { Terminal().GrabarRegistro(QStringLiteral("_svl.1"), 1, n, Relleno(n).toLatin1(), "x"); });
     }},
    {"ticket file", [] { return modTickets::ArchivoTicket(12345, kTicketFecha, kTicketHora); },
     [](int n) {
         modTickets::GuardarTicket(Svl1(), Relleno(n), QStringLiteral("5"), QString(), 0);
         return false; // a failure shows a message, checked by the caller
     }},
    {"valuation file", [] { return modValoraciones::ArchivoReporte(QDate(2024, 3, 15)); },
     [](int n) {
         return SinError([n] { modValoraciones::EscribirReporte(modValoraciones::ArchivoReporte(QDate(2024, 3, 15)),
                                                                Relleno(n) + QStringLiteral("\r\n")); });
     }},
    {"saved report", [] { return Paths::Join(Paths::DataDir(), QStringLiteral("reporte.txt")); },
     [](int n) {
         return SinError([n] { frmReporte::GrabarTexto(Paths::Join(Paths::DataDir(), QStringLiteral("reporte.txt")),
                                                       Relleno(n)); });
     }},
    {"registry file", [] { return modRegistry::ArchivoRegistro(); },
     [](int n) { return modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, QStringLiteral("Terminal"), Relleno(n)); }},
};

QStringList Entradas(const QString& carpeta)
{
    return QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Writes until the file system takes no byte more.
void Llenar(const QString& carpeta)
{
    const int fd = ::open(QFile::encodeName(Paths::Join(carpeta, QStringLiteral("relleno"))).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const QByteArray bloque(4096, 'r');
    while (::write(fd, bloque.constData(), bloque.size()) > 0) {
    }
    while (::write(fd, "r", 1) > 0) {
    }
    ::close(fd);
}

class DiscoLleno : public DbFixture {
protected:
    // Runs every writer with QUORVAN_HOME at the folder `montar` gives, made full by `llenar`;
    // each writes `n` bytes over an old file.
    void Probar(const std::function<QString()>& montar, const std::function<void(const QString&)>& llenar,
                const std::function<void()>& desmontar, int n)
    {
        const QByteArray home = qgetenv("QUORVAN_HOME");
        for (const Escritor& e : kEscritores) {
            SCOPED_TRACE(e.nombre);
            const QString carpeta = montar();
            if (carpeta.isEmpty()) return;
            qputenv("QUORVAN_HOME", carpeta.toUtf8());
            const QString archivo = e.archivo();
            const QString dentro = QFileInfo(archivo).path();
            QDir().mkpath(dentro);
            Terminal().Crear();
            {
                QFile f(archivo);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(kViejo);
            }
            const QStringList antes = Entradas(dentro);
            llenar(carpeta);
            ScriptedDialogs dialogos;
            const bool ok = e.escribir(n);
            EXPECT_FALSE(ok) << "the failure is reported";
            if (QByteArray(e.nombre) == "ticket file" || QByteArray(e.nombre) == "registry file")
                EXPECT_TRUE(dialogos.messages().join(' ').contains(QFileInfo(archivo).fileName()) ||
                            dialogos.messages().join(' ').contains(QStringLiteral("Registry")))
                    << dialogos.messages().join('|').toStdString();
            QFile f(archivo);
            EXPECT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), kViejo);
            QStringList despues = Entradas(dentro);
            despues.removeAll(QStringLiteral("relleno"));
            EXPECT_EQ(despues, antes) << "no temporary file left";
            f.close();
            desmontar();
        }
        qputenv("QUORVAN_HOME", home);
    }
};

} // namespace

TEST_P(DiscoLleno, FileSizeLimitLeavesTheOldFileWhole)
{
    std::unique_ptr<QTemporaryDir> t;
    rlimit antes{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &antes), 0);
    const auto anterior = std::signal(SIGXFSZ, SIG_IGN);
    Probar(
        [&] {
            t = std::make_unique<QTemporaryDir>();
            return t->path();
        },
        [&](const QString&) {
            // Below the size of the new file, which fits the writer's buffer, so only the final
            // flush meets the limit.
            rlimit r = antes;
            r.rlim_cur = 60 * 1024;
            ::setrlimit(RLIMIT_FSIZE, &r);
        },
        [&] { ::setrlimit(RLIMIT_FSIZE, &antes); }, 63 * 1024);
    ::setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, anterior);
}

TEST_P(DiscoLleno, FullTmpfsLeavesTheOldFileWhole)
{
    std::unique_ptr<QTemporaryDir> t;
    QString punto;
    const auto montar = [&]() -> QString {
        t = std::make_unique<QTemporaryDir>();
        punto = t->path();
        return ::mount("tmpfs", QFile::encodeName(punto).constData(), "tmpfs", 0, "size=64k,mode=0700") == 0
                   ? punto
                   : QString();
    };
    const auto desmontar = [&] { ::umount2(QFile::encodeName(punto).constData(), MNT_DETACH); };
    if (montar().isEmpty())
        GTEST_SKIP() << "this process may not mount a tmpfs: " << std::strerror(errno);
    desmontar();
    Probar(montar, [](const QString& carpeta) { Llenar(carpeta); }, desmontar, 100);
}

INSTANTIATE_TEST_SUITE_P(Engines, DiscoLleno, DbEngines(), DbEngineName);
