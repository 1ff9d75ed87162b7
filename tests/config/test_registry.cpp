#include "config/modRegistry.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Each test gets its own empty QUORVAN_HOME, so the key starts missing.
class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = qgetenv("QUORVAN_HOME");
        ASSERT_TRUE(m_home.isValid());
        qputenv("QUORVAN_HOME", m_home.path().toUtf8());
    }
    void TearDown() override { qputenv("QUORVAN_HOME", m_saved); }
    QTemporaryDir m_home{QDir::tempPath() + "/quorvan-reg-XXXXXX"};
    QByteArray m_saved;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(Registry, MissingKeyLeavesDefaultAndIsSilent)
{
    QString texto = "defecto";
    qint32 numero = 1;
    EXPECT_FALSE(modRegistry::LeerValorRegistro("ActualizaNomencladores", 1, texto, false));
    EXPECT_FALSE(modRegistry::LeerValorRegistro("Terminal", 1, numero, false));
    EXPECT_EQ(texto, "defecto");
    EXPECT_EQ(numero, 1);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    EXPECT_FALSE(modRegistry::LeerValorRegistro("Terminal", 1, texto, true));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              "Error Opening Registry Key Entry:\r\nKey/Path=Software\\Corvanda\\Quorvan\r\nDLL Returned=2");
    EXPECT_EQ(dialogs.shown[0].title, "ODBC Registry");
    EXPECT_EQ(dialogs.shown[0].style & 0x30, Vbc::vbExclamation);
}

TEST_F(Registry, RoundTrips)
{
    struct Caso {
        QString nombre;
        QVariant escrito;
        QString leido;
    };
    const QList<Caso> casos = {
        {"Terminal", 7, "7"},
        {"LicenciaSeleccionada", "AB123456", "AB123456"},
        {"Vacio", "", ""},
        {"Raro", QString::fromUtf8("C:\\Estandar \"Ñandú\" = x\r\nsegunda"), QString::fromUtf8("C:\\Estandar \"Ñandú\" = x\r\nsegunda")},
        {"Largo255", QString(255, 'x'), QString(255, 'x')},
    };
    for (const Caso& c : casos)
        EXPECT_TRUE(modRegistry::GuardarValorRegistro(1, c.nombre, c.escrito)) << c.nombre.toStdString();
    for (const Caso& c : casos) {
        QString v = "sin leer";
        EXPECT_TRUE(modRegistry::LeerValorRegistro(c.nombre, 1, v, true)) << c.nombre.toStdString();
        EXPECT_EQ(v, c.leido);
    }
    // A number written as text reads back into a numeric variable; names ignore case.
    qint32 n = 0;
    EXPECT_TRUE(modRegistry::LeerValorRegistro("terminal", 1, n, false));
    EXPECT_EQ(n, 7);
    // A rewrite replaces the value, keeping the others.
    EXPECT_TRUE(modRegistry::GuardarValorRegistro(1, "Terminal", "12"));
    EXPECT_TRUE(modRegistry::LeerValorRegistro("Terminal", 1, n, false));
    EXPECT_EQ(n, 12);
    QString lic;
    EXPECT_TRUE(modRegistry::LeerValorRegistro("LicenciaSeleccionada", 1, lic, false));
    EXPECT_EQ(lic, "AB123456");
    // Type 4 stores a 32-bit number; other types store nothing and still succeed.
    EXPECT_TRUE(modRegistry::GuardarValorRegistro(4, "Numero", -5));
    EXPECT_TRUE(modRegistry::LeerValorRegistro("Numero", 4, n, false));
    EXPECT_EQ(n, -5);
    EXPECT_TRUE(modRegistry::GuardarValorRegistro(3, "Binario", "x"));
    QString b = "igual";
    EXPECT_FALSE(modRegistry::LeerValorRegistro("Binario", 1, b, false));
    EXPECT_EQ(b, "igual");
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(Registry, ReadFailuresKeepTheVariable)
{
    ASSERT_TRUE(modRegistry::GuardarValorRegistro(1, "Largo256", QString(256, 'y')));
    ASSERT_TRUE(modRegistry::GuardarValorRegistro(1, "Texto", "abc"));
    QString v = "antes";
    EXPECT_FALSE(modRegistry::LeerValorRegistro("Largo256", 1, v, true));
    EXPECT_EQ(v, "antes");
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, "Error Retrieving Registry Key Entry:\r\nKey=Largo256\r\nDLL Returned=234");
    dialogs.clear();
    EXPECT_FALSE(modRegistry::LeerValorRegistro("NoEsta", 1, v, true));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, "Error Retrieving Registry Key Entry:\r\nKey=NoEsta\r\nDLL Returned=2");
    dialogs.clear();
    // A text that is not a number, read into a number: the failure's own message.
    qint32 n = 3;
    EXPECT_FALSE(modRegistry::LeerValorRegistro("Texto", 1, n, false));
    EXPECT_EQ(n, 3);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].title, "YourAppName");
}

TEST_F(Registry, UnwritableLocationShowsMessageAndFails)
{
    // The configuration folder lies below a plain file, so it can never be created (this holds
    // for root too, unlike file permissions).
    QFile blocker(m_home.path() + "/bloqueo");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("QUORVAN_HOME", (m_home.path() + "/bloqueo/config").toUtf8());
    EXPECT_FALSE(modRegistry::GuardarValorRegistro(1, "Terminal", "1"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              "Error Creating Registry Key Entry:\r\nKey=Software\\Corvanda\\Quorvan\r\nDLL Returned=5");
    EXPECT_EQ(dialogs.shown[0].title, "Quorvan");
    EXPECT_EQ(dialogs.shown[0].style & 0x30, Vbc::vbExclamation);
}

// The file is replaced whole: no temporary file is left beside it.
TEST_F(Registry, WritesAtomically)
{
    ASSERT_TRUE(modRegistry::GuardarValorRegistro(1, "Terminal", "3"));
    const QStringList files = QDir(m_home.path()).entryList(QDir::Files);
    EXPECT_EQ(files, QStringList{"registro.ini"});
    QFile f(modRegistry::ArchivoRegistro());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("\"Terminal\"=\"3\""));
}

// Storing values changes their lines only: another key's section, its values, its line ends
// and bytes that are not UTF-8 come back as they were.
TEST_F(Registry, StoringKeepsTheOtherKeysByteForByte)
{
    const QByteArray antes = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                             "\"PATH\"=\"C:\\\\Archivos de programa\\\\msinfo32.exe\"\n\n";
    const QByteArray otra = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Otra\\Clave]\r\n"
                            "\"Uno\"=\"caf\xe9\"\r\n"
                            "\"Dos\"=dword:0000002a\r\n";
    const QByteArray nuestra = "[HKEY_LOCAL_MACHINE\\Software\\Corvanda\\Quorvan]\r\n\"Terminal\"=\"3\"\r\n\r\n";
    QFile f(modRegistry::ArchivoRegistro());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(antes + nuestra + otra);
    f.close();

    // What the configuration window stores.
    EXPECT_TRUE(modRegistry::GuardarValorRegistro(1, "Terminal", 7));
    EXPECT_TRUE(modRegistry::GuardarValorRegistro(1, "LicenciaSeleccionada", "ABCD1234"));
    EXPECT_TRUE(modRegistry::GuardarValorRegistro(1, "ActualizaNomencladores", "0"));

    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), antes +
                               "[HKEY_LOCAL_MACHINE\\Software\\Corvanda\\Quorvan]\r\n\"Terminal\"=\"7\"\r\n"
                               "\"LicenciaSeleccionada\"=\"ABCD1234\"\r\n\"ActualizaNomencladores\"=\"0\"\r\n\r\n" +
                               otra);
    QString texto;
    EXPECT_TRUE(modRegistry::LeerValorRegistro("Terminal", 1, texto, false));
    EXPECT_EQ(texto, "7");
}
