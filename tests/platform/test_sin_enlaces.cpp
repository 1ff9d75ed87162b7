#include "platform/SinEnlaces.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace SinEnlaces;

namespace {
void Enlace(const QString& destino, const QString& nombre) { ASSERT_TRUE(QFile::link(destino, nombre)); }
}

// A link at the last component is refused by every opener; the folder a path starts from may be a link.
TEST(SinEnlaces, LinksAreRefusedBelowTheStart)
{
    TempFolder fuera, t;
    fuera.write("secreto", "no tocar");
    t.mkdir("real/sub");
    Enlace(fuera.path(), t.file("lnk"));
    Enlace(fuera.file("secreto"), t.file("real/archivo"));

    int e = 0;
    EXPECT_FALSE(AbrirCarpeta(t.file("lnk"), &e));
    EXPECT_EQ(e, ELOOP);
    EXPECT_FALSE(AbrirCarpeta(t.file("lnk/"), &e)) << "a trailing slash must not follow the link";
    EXPECT_TRUE(AbrirCarpeta(t.file("lnk/.."), &e)) << "earlier components are followed";
    Descriptor raiz = AbrirCarpeta(t.path(), &e);
    ASSERT_TRUE(raiz);
    EXPECT_TRUE(AbrirCarpetaEn(raiz.fd(), "real/sub"));
    EXPECT_FALSE(AbrirCarpetaEn(raiz.fd(), "lnk/x", &e));
    EXPECT_EQ(e, ELOOP);
    EXPECT_FALSE(AbrirCarpetaEn(raiz.fd(), "../x", &e));
    Descriptor real = AbrirCarpetaEn(raiz.fd(), "real");
    EXPECT_FALSE(AbrirArchivoEn(real.fd(), "archivo", O_WRONLY | O_CREAT | O_TRUNC, 0600, &e));
    EXPECT_EQ(e, ELOOP);
    EXPECT_EQ(fuera.read("secreto"), QByteArray("no tocar"));
    EXPECT_TRUE(EsEnlace(t.file("lnk/")));
    EXPECT_TRUE(EsEnlaceEn(real.fd(), "archivo"));
    EXPECT_EQ(BuscarEn(raiz.fd(), "REAL").nombre, QString("real"));
    EXPECT_EQ(BuscarEn(raiz.fd(), "REAL").tipo, Tipo::Carpeta);
}

TEST(SinEnlaces, EmptyingAndRemovingNeverFollow)
{
    TempFolder fuera, t;
    fuera.write("secreto", "no tocar");
    fuera.mkdir("carpeta");
    fuera.write("carpeta/dentro", "x");
    t.mkdir("c/sub");
    t.write("c/a", "1");
    t.write("c/sub/b", "2");
    Enlace(fuera.file("secreto"), t.file("c/l1"));
    Enlace(fuera.file("carpeta"), t.file("c/l2"));
    Enlace(fuera.file("carpeta"), t.file("c/sub/l3"));
    Enlace(t.file("falta"), t.file("c/roto"));

    {
        Descriptor c = AbrirCarpeta(t.file("c"));
        EXPECT_EQ(VaciarCarpeta(c.fd()), 0);
        EXPECT_EQ(QDir(t.file("c")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                  QStringList{"sub"});
    }
    EXPECT_EQ(BorrarArbol(t.file("c")), 0);
    EXPECT_FALSE(t.exists("c"));
    EXPECT_EQ(fuera.read("secreto"), QByteArray("no tocar"));
    EXPECT_EQ(fuera.read("carpeta/dentro"), QByteArray("x"));
    Enlace(fuera.file("carpeta"), t.file("l"));
    EXPECT_EQ(BorrarArbol(t.file("l")), 0);
    EXPECT_FALSE(QFileInfo(t.file("l")).isSymLink());
    EXPECT_EQ(fuera.read("carpeta/dentro"), QByteArray("x"));
}

TEST(SinEnlaces, CheckOfAnOpenFile)
{
    TempFolder t;
    t.write("f", "x");
    Descriptor c = AbrirCarpeta(t.path());
    Descriptor f = AbrirArchivoEn(c.fd(), "f", O_RDONLY);
    ASSERT_TRUE(f);
    ::fchmod(f.fd(), 0600);
    EXPECT_EQ(RevisarArchivo(f.fd()), 0u);
    ::fchmod(f.fd(), 0620);
    EXPECT_EQ(RevisarArchivo(f.fd()), unsigned(EscribiblePorOtros));
    ::fchmod(f.fd(), 0602);
    EXPECT_EQ(RevisarArchivo(f.fd()), unsigned(EscribiblePorOtros));
    EXPECT_EQ(RevisarArchivo(c.fd()) & NoEsArchivo, unsigned(NoEsArchivo));
    EXPECT_EQ(DescribirMotivos(NoEsArchivo | EscribiblePorOtros).size(), 2);
}
