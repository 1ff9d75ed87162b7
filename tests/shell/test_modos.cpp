// The program's own folders and files are the user's alone under the usual umask 022: made so
// on a first start, and brought to it at start when an earlier version left them readable.
#include "config/modRegistry.h"
#include "platform/AjustesUsuario.h"
#include "platform/ArchivosPropios.h"
#include "platform/Bloqueo.h"
#include "platform/Database.h"
#include "platform/Paths.h"
#include "platform/Salida.h"
#include "reports/frmReporte.h"
#include "reports/modValoraciones.h"
#include "shell/DirectoriosRecientes.h"
#include "shell/frmMain.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "txlog/modTickets.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// "relative path mode" for every folder and file below `raiz`, sorted.
QStringList Modos(const QString& raiz)
{
    QStringList r;
    QDirIterator it(raiz, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString ruta = it.next();
        struct stat info{};
        ::lstat(QFile::encodeName(ruta).constData(), &info);
        r << QStringLiteral("%1 %2").arg(ruta.mid(raiz.size() + 1)).arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    }
    r.sort();
    return r;
}

void Cambiar(const QString& ruta, mode_t modo) { ::chmod(QFile::encodeName(ruta).constData(), modo); }

// The start-up step of the main window.
void Iniciar()
{
    ArchivosPropios::AlIniciar(
        {modTickets::CarpetaTickets(), QFileInfo(modValoraciones::ArchivoReporte(QDate(2024, 3, 15))).path()});
}

class ModosPropios : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_umask = ::umask(022);
        for (const char* v : {"QUORVAN_HOME", "QUORVAN_DSN", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"})
            m_env.append({v, qgetenv(v)});
        qunsetenv("QUORVAN_HOME");
        qunsetenv("QUORVAN_DSN");
        qputenv("XDG_CONFIG_HOME", (t.path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (t.path() + "/data").toUtf8());
    }
    void TearDown() override
    {
        for (const auto& [v, valor] : m_env) valor.isNull() ? qunsetenv(v) : qputenv(v, valor);
        ::umask(m_umask);
    }
    QTemporaryDir t;
    ScriptedDialogs dialogs;
    mode_t m_umask = 022;
    QList<QPair<const char*, QByteArray>> m_env;
};

}

TEST_F(ModosPropios, AFirstStartMakesEverythingPrivate)
{
    Iniciar();
    {
        Database db; // the embedded default, its schema made
        db.Open();
        db.Execute(QStringLiteral("DELETE FROM Transaccion"));
    }
    ASSERT_TRUE(modRegistry::GuardarValorRegistro(1, "Terminal", 3));
    QString svl1(383, QLatin1Char(' '));
    svl1.replace(260, 12, QStringLiteral("000000012345")).replace(278, 12, QStringLiteral("202403151031"));
    modTickets::GuardarTicket(svl1, QStringLiteral("TICKET"), QStringLiteral("5"), QString(), 0);
    modValoraciones::EscribirReporte(modValoraciones::ArchivoReporte(QDate(2024, 3, 15)), QStringLiteral("x\r\n"));
    frmReporte::GrabarTexto(Paths::Join(Paths::DataDir(), QStringLiteral("reporte.rpt")), QStringLiteral("x"));
    ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('|').toStdString();

    const QStringList modos = Modos(t.path());
    for (const QString& esperado :
         {"config/Quorvan 0700", "config/Quorvan/registro.ini 0600", "data/Quorvan 0700", "data/Quorvan/Quorvan.db 0600",
          "data/Quorvan/Tickets 0700", "data/Quorvan/Tickets/12345202403151031.prn 0600",
          "data/Quorvan/Valoraciones 0700", "data/Quorvan/Valoraciones/15032024.txt 0600",
          "data/Quorvan/reporte.rpt 0600"})
        EXPECT_TRUE(modos.contains(esperado)) << esperado.toStdString() << "\n" << modos.join('\n').toStdString();
    for (const QString& m : modos)
        if (m.startsWith("config/Quorvan") || m.startsWith("data/Quorvan"))
            EXPECT_TRUE(m.endsWith(" 0700") || m.endsWith(" 0600")) << m.toStdString();
}

TEST_F(ModosPropios, AStartBringsAnEarlierVersionsFilesToPrivateModes)
{
    const QString datos = t.path() + "/data/Quorvan";
    QDir().mkpath(datos + "/Tickets");
    QDir().mkpath(t.path() + "/config/Quorvan");
    QDir().mkpath(datos + "/Term00/upload"); // the client's working folder keeps its modes
    for (const QString& f : {datos + "/Quorvan.db", datos + "/Quorvan.db-wal", datos + "/Tickets/1_20240315_1031.prn",
                             t.path() + "/config/Quorvan/registro.ini", datos + "/Term00/upload/_svl.0"}) {
        QFile(f).open(QIODevice::WriteOnly);
        Cambiar(f, 0644);
    }
    for (const QString& c : {datos, datos + "/Tickets", t.path() + "/config/Quorvan"}) Cambiar(c, 0755);

    Iniciar();
    EXPECT_EQ(Modos(t.path()),
              QStringList({"config 0755", "config/Quorvan 0700", "config/Quorvan/registro.ini 0600", "data 0755",
                           "data/Quorvan 0700", "data/Quorvan/Quorvan.db 0600", "data/Quorvan/Quorvan.db-wal 0600",
                           "data/Quorvan/Term00 0755", "data/Quorvan/Term00/upload 0755",
                           "data/Quorvan/Term00/upload/_svl.0 0644", "data/Quorvan/Tickets 0700",
                           "data/Quorvan/Tickets/1_20240315_1031.prn 0600"}));

    // A folder named by QUORVAN_HOME stays as its user made it; its files become private.
    const QString home = t.path() + "/home";
    QDir().mkpath(home);
    Cambiar(home, 0750);
    QFile(home + "/registro.ini").open(QIODevice::WriteOnly);
    Cambiar(home + "/registro.ini", 0644);
    qputenv("QUORVAN_HOME", home.toUtf8());
    Iniciar();
    EXPECT_EQ(Modos(home), QStringList({"registro.ini 0600"}));
    struct stat info{};
    ::stat(QFile::encodeName(home).constData(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0750u);
}

// Another account that can write the program's folders plants a link at one of its files: the
// settings are not stored through it, and a start does not open the lock or the database
// through it. The link's target stays as it was, a dangling one gets no file, and the message
// names the link (the registry's own message names the value, as the registry's always did).
TEST_F(ModosPropios, ALinkAtAnOwnFileIsNeverWrittenThrough)
{
    const QString config = t.path() + "/config/Quorvan", datos = t.path() + "/data/Quorvan";
    const QString objetivo = t.path() + "/fuera/objetivo";
    for (const QString& c : {config, datos, t.path() + "/fuera"}) QDir().mkpath(c);
    // What the user is told; empty when it was written.
    QString e;
    const auto rechazo = [&](bool escrito) {
        return escrito ? QString() : e.isEmpty() ? dialogs.messages().value(0) : e;
    };
    const auto alIniciar = [&] {
        Salida::Reiniciar();
        frmMain m;
        m.MDIForm_Load();
        return rechazo(!Salida::Solicitada());
    };
    QList<QPair<QString, std::function<QString()>>> casos{
        {config + "/Quorvan.ini", [&] { return rechazo(DirectoriosRecientes::Guardar("/trabajo/", {}, &e)); }},
        {config + "/Druvex32.ini", [&] { return rechazo(AjustesUsuario::Guardar("Druvex32", "T", "D", "/t/", &e)); }},
        {config + "/registro.ini", [&] { return rechazo(modRegistry::GuardarValorRegistro(1, "Terminal", 3)); }},
        {config + "/Quorvan.lock", alIniciar}};
    for (const char* fin : {"", "-wal", "-shm", "-journal"}) casos.append({datos + "/Quorvan.db" + fin, alIniciar});
    for (const char* lock : {"/Quorvan.ini.lock", "/Druvex32.ini.lock"}) Bloqueo(config + lock).Tomar(); // an earlier store's
    for (const auto& [ruta, escribir] : casos) {
        for (const bool colgante : {false, true}) {
            SCOPED_TRACE((ruta + (colgante ? " colgante" : "")).toStdString());
            QFile::remove(objetivo);
            QFile f(objetivo);
            ASSERT_TRUE(colgante || (f.open(QIODevice::WriteOnly) && f.write("ajeno\n") == 6));
            f.close();
            ASSERT_TRUE(QFile::link(objetivo, ruta));
            const QStringList antes = Modos(t.path());
            dialogs.clear();
            e.clear();
            const QString mensaje = escribir();
            EXPECT_EQ(Modos(t.path()), antes) << "nothing created, no mode changed";
            EXPECT_EQ(f.open(QIODevice::ReadOnly) ? f.readAll() : "<falta>", colgante ? "<falta>" : "ajeno\n");
            EXPECT_TRUE(ruta.endsWith("registro.ini") ? !mensaje.isEmpty() : mensaje.contains(ruta + ": es un enlace"))
                << mensaje.toStdString();
            QFile::remove(ruta);
        }
    }
    Salida::Reiniciar();

    // Settings an earlier version left readable are private from the first store; QSettings reads
    // back what the store wrote, and the keys it wrote itself.
    QFile::remove(config + "/Quorvan.ini.lock"); // QSettings would wait on ours
    QSettings(config + "/Quorvan.ini", QSettings::IniFormat).setValue("Otra/clave", QStringList{"a", "b, c"});
    Cambiar(config + "/Quorvan.ini", 0644);
    const QString rara = QString(" /a,b;c=\"d\"\\ñ\t\x01" "F") + QChar(0) + "1 ";
    ASSERT_TRUE(DirectoriosRecientes::Guardar("/nuevo/", {rara}));
    EXPECT_TRUE(Modos(config).contains("Quorvan.ini 0600")) << Modos(config).join('\n').toStdString();
    EXPECT_EQ(DirectoriosRecientes::Leer(), QStringList({"/nuevo/", rara.trimmed()}));
    EXPECT_EQ(QSettings(config + "/Quorvan.ini", QSettings::IniFormat).value("Otra/clave"), QStringList({"a", "b, c"}));

    // Two programs storing at once (Quorvan and the update wizard) keep each other's stores.
    const pid_t hijo = ::fork(); // it stores in P1, this process in P0
    bool guardados = true;
    for (int i = 0; i < 30; ++i)
        guardados = AjustesUsuario::Guardar("Quorvan", hijo ? "P0" : "P1", QString::number(i), "x") && guardados;
    if (hijo == 0) ::_exit(guardados ? 0 : 1);
    int estado = -1;
    EXPECT_TRUE(::waitpid(hijo, &estado, 0) == hijo && estado == 0 && guardados);
    for (int p = 0; p < 2; ++p)
        for (int i = 0; i < 30; ++i)
            EXPECT_EQ(AjustesUsuario::Leer("Quorvan", QString("P%1").arg(p), QString::number(i)), "x");
    EXPECT_EQ(DirectoriosRecientes::Leer(), QStringList({"/nuevo/", rara.trimmed()}));
    // A lock another program holds past the wait refuses the store, naming the file.
    Bloqueo otro(config + "/Quorvan.ini.lock");
    ASSERT_TRUE(otro.Tomar());
    EXPECT_FALSE(AjustesUsuario::Guardar("Quorvan", "P0", "0", "y", &e));
    EXPECT_EQ(e, "No se pudo guardar " + config + "/Quorvan.ini: otro programa lo está guardando.");
    EXPECT_EQ(AjustesUsuario::Leer("Quorvan", "P0", "0"), "x");
}

// The settings keep the form QSettings gives them, both ways: a value QSettings wrote reads the
// same, a store writes the very bytes QSettings would, a file written by hand reads as QSettings
// reads it, and a store keeps every other line as it stood. No temporary folder is needed.
TEST_F(ModosPropios, TheSettingsKeepTheFormOfQSettings)
{
    TempFolder casa, fuera; // QSettings writes outside: it would wait on our lock
    qputenv("QUORVAN_HOME", casa.path().toUtf8());
    qputenv("TMPDIR", "/dev/null"); // a file: no temporary folder for any store
    for (const QString& v : QStringList{"a,b", "\"q\" x", "a;b", "x=y", "@x", "@@y", "C:\\Estandar\\", "ñ€😀ü", " a ", "\t", "",
                                        "@ByteArray(x)", "@String(y)",
                                        QString("\x01\x1f\a\b\f\n\r\v") + QChar(0) + "7F" + QChar(0x7f) + QChar(0x80) + "z"}) {
        QFile::remove(fuera.file("oraculo.ini"));
        QSettings(fuera.file("oraculo.ini"), QSettings::IniFormat).setValue("Tarsk/Directorio", v);
        casa.write("Druvex32.ini", fuera.read("oraculo.ini"));
        EXPECT_EQ(AjustesUsuario::Leer("Druvex32", "Tarsk", "Directorio"), v);
        QFile::remove(casa.file("Druvex32.ini"));
        EXPECT_TRUE(AjustesUsuario::Guardar("Druvex32", "Tarsk", "Directorio", v)) << v.toStdString();
        EXPECT_EQ(casa.read("Druvex32.ini"), fuera.read("oraculo.ini"));
    }
    for (const char* aMano :
         {"Directorio=C:\\Estandar\\", "Directorio=C:\\Estandar\\\nOtra=1", "Directorio = \"C:\\\\Est\\\\\" ; nota",
          "Directorio=a, b", "Directorio=@Invalid()", "Directorio=\\x41g\\101\\q\\", "Directorio=\"a\nb\"",
          "Directorio=  a \\  b  ", "; nota\r\nDirectorio=1\r\nDirectorio=2\r\n", "Directorio=\xc3\\n\xb1",
          "%44irectorio=%", "[%General]\nDirectorio=x", "Directorio=\"a\"  \"b\" ", "Otro=x", "Directorio=\\",
          "Directorio\\x=1", "Directorio=@@", "Directorio=@Rect(1 2 3 4)", "Directorio=\xff"})
        for (const QByteArray& antes : {QByteArray("[Tarsk]\n"), QByteArray("\xef\xbb\xbf[ Tarsk ]\r\n")}) {
            // A name of its own: QSettings keeps what it read of a file of the same size and time.
            const QString copia = QString::number(qHash(antes + aMano)) + ".ini";
            casa.write("Druvex32.ini", antes + aMano);
            fuera.write(copia, antes + aMano);
            EXPECT_EQ(AjustesUsuario::Leer("Druvex32", "Tarsk", "Directorio", "falta"),
                      QSettings(fuera.file(copia), QSettings::IniFormat).value("Tarsk/Directorio", "falta").toString()) << aMano;
        }
    casa.write("Druvex32.ini", "\xef\xbb\xbf; nota\r\n[Otra]\r\nclave=a, \"b, c\"\r\n\r\n[Tarsk]\r\nDirectorio=viejo ; nota\r\nx=C:\\E\\");
    for (const char* seccion : {"Tarsk", "Nueva"}) ASSERT_TRUE(AjustesUsuario::Guardar("Druvex32", seccion, "y", "2"));
    ASSERT_TRUE(AjustesUsuario::Guardar("Druvex32", "Tarsk", "Directorio", "nuevo"));
    EXPECT_EQ(casa.read("Druvex32.ini"), "\xef\xbb\xbf; nota\r\n[Otra]\r\nclave=a, \"b, c\"\r\n\r\n[Tarsk]\r\nDirectorio=nuevo; nota\r\n"
                                         "x=C:\\E\\\n\ny=2\n\n[Nueva]\ny=2\n");
    const QSettings guardado(casa.file("Druvex32.ini"), QSettings::IniFormat);
    EXPECT_EQ(guardado.allKeys(), QStringList({"Nueva/y", "Otra/clave", "Tarsk/Directorio", "Tarsk/x", "Tarsk/y"}));
    EXPECT_TRUE(DirectoriosRecientes::Guardar("/a/", {"/b/"}));
    EXPECT_EQ(DirectoriosRecientes::Leer(), QStringList({"/a/", "/b/"}));
    EXPECT_EQ(QDir(casa.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"Druvex32.ini", "Druvex32.ini.lock", "Quorvan.ini", "Quorvan.ini.lock"}));
}
