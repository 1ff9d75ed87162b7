#include "platform/AjustesUsuario.h"
#include "platform/EscrituraSegura.h"
#include "platform/Lineas.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {
QStringList Entradas(const TempFolder& t)
{
    return QDir(t.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}
}

TEST(EscrituraSegura, WholeOrNothing)
{
    struct Case { int fallarEn; int escrituras; bool ok; const char* queda; };
    // Operations are counted write by write, then the rename.
    const Case cases[] = {
        {0, 2, true, "nuevo-nuevo"},
        {1, 2, false, "viejo"},
        {2, 2, false, "viejo"},
        {3, 2, false, "viejo"}, // the rename
        {4, 2, true, "nuevo-nuevo"},
    };
    for (const auto& c : cases) {
        TempFolder t;
        t.write("a.txt", "viejo");
        EscrituraSegura::FallarEnOperacion(c.fallarEn);
        EscrituraSegura w(t.file("a.txt"));
        bool ok = w.Abrir();
        for (int i = 0; i < c.escrituras && ok; ++i)
            ok = w.Escribir(i ? "-nuevo" : "nuevo");
        ok = ok && w.Confirmar(true);
        EscrituraSegura::FallarEnOperacion(0);
        EXPECT_EQ(ok, c.ok) << c.fallarEn;
        EXPECT_EQ(ok, w.Error().isEmpty()) << c.fallarEn;
        EXPECT_EQ(t.read("a.txt"), QByteArray(c.queda)) << c.fallarEn;
        EXPECT_EQ(Entradas(t), QStringList{"a.txt"}) << "no temporary file left, case " << c.fallarEn;
    }
}

TEST(EscrituraSegura, UnconfirmedOrUnwritableLeavesNothing)
{
    TempFolder t;
    {
        EscrituraSegura w(t.file("b.txt"));
        ASSERT_TRUE(w.Abrir());
        ASSERT_TRUE(w.Escribir("parte"));
    }
    EXPECT_TRUE(Entradas(t).isEmpty());
    QString error;
    EXPECT_FALSE(EscrituraSegura::EscribirArchivo(t.file("falta/c.txt"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(Lineas, EveryEndingInOnePass)
{
    struct Case { const char* texto; QStringList lineas; };
    const Case cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a", ""}},
        {"\n\r\n\r", {"", "", "", ""}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lineas::Separar(QString::fromLatin1(c.texto)), c.lineas) << c.texto;
}

// The settings are written by our own writer and read by QSettings: every text comes back as
// it was stored, and keys QSettings itself wrote survive a store of another key.
TEST(AjustesUsuario, WhatIsStoredIsReadBack)
{
    const QString textos[] = {
        "/home/ana/Estandar/", "", " blancos ", "a,b", "a;b=c", "comillas \"y\" \\barra\\", "línea\nfin\r\tx",
        QString("\x01" "A") + QChar(0) + "1", "ñandú €", QString::fromUtf8("\xF0\x9F\x98\x80"), "@Variant(x)",
        "@@", "General", "\x7F",
    };
    const QString archivo = QDir(qEnvironmentVariable("QUORVAN_HOME")).filePath("Prueba.ini");
    {
        QSettings s(archivo, QSettings::IniFormat);
        s.setValue("Suya/una lista", QStringList{"x", "y, z"});
        s.setValue("General/clave", "de QSettings");
        s.setValue("sinseccion", "raiz");
    }
    for (const QString& texto : textos) {
        SCOPED_TRACE(texto.toStdString());
        ASSERT_TRUE(AjustesUsuario::Guardar("Prueba", "Sección/Sub", "clave 1", texto));
        EXPECT_EQ(AjustesUsuario::Leer("Prueba", "Sección/Sub", "clave 1", "<falta>"), texto);
        ASSERT_TRUE(AjustesUsuario::GuardarLista("Prueba", "Lista", {texto, "b"}));
        EXPECT_EQ(AjustesUsuario::Leer("Prueba", "Lista", "1", "<falta>"), texto);
        EXPECT_EQ(AjustesUsuario::Leer("Prueba", "Lista", "2", "<falta>"), "b");
    }
    const QSettings s(archivo, QSettings::IniFormat);
    EXPECT_EQ(s.value("Suya/una lista").toStringList(), QStringList({"x", "y, z"}));
    EXPECT_EQ(s.value("General/clave").toString(), "de QSettings");
    EXPECT_EQ(s.value("sinseccion").toString(), "raiz");
    QFile::remove(archivo);
}
