#include "platform/SinEnlaces.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace SinEnlaces;

// Below the folder a path starts from, no link is opened, emptied or removed through; the
// start itself may be reached through one.
TEST(SinEnlaces, NoLinkIsFollowedBelowTheStart)
{
    TempFolder fuera, t;
    fuera.write("secreto", "no tocar");
    fuera.write("carpeta/dentro", "x");
    t.write("c/a", "1");
    t.write("c/sub/b", "2");
    for (const auto& [destino, nombre] : {std::pair{"secreto", "c/l1"}, {"carpeta", "c/l2"}, {"carpeta", "c/sub/l3"},
                                          {"carpeta", "lnk"}})
        ASSERT_TRUE(QFile::link(fuera.file(destino), t.file(nombre)));

    int e = 0;
    EXPECT_FALSE(AbrirCarpeta(t.file("lnk/"), &e));
    EXPECT_EQ(e, ELOOP);
    EXPECT_TRUE(AbrirCarpeta(t.file("lnk/.."))) << "earlier components are followed";
    const Descriptor raiz = AbrirCarpeta(t.path());
    EXPECT_FALSE(AbrirCarpetaEn(raiz.fd(), "lnk/x", &e));
    EXPECT_EQ(e, ELOOP);
    const Descriptor c = AbrirCarpetaEn(raiz.fd(), "c");
    EXPECT_FALSE(AbrirArchivoEn(c.fd(), "l1", O_WRONLY | O_TRUNC, 0600, &e));
    EXPECT_EQ(e, ELOOP);
    EXPECT_TRUE(EsEnlace(t.file("lnk/")));
    EXPECT_EQ(BuscarEn(raiz.fd(), "C").tipo, Tipo::Carpeta);

    EXPECT_EQ(VaciarCarpeta(c.fd()), 0);
    EXPECT_EQ(QDir(t.file("c")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), QStringList{"sub"});
    EXPECT_EQ(BorrarArbol(t.file("c")), 0);
    EXPECT_EQ(BorrarArbol(t.file("lnk")), 0);
    EXPECT_TRUE(QDir(t.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_EQ(fuera.read("secreto"), QByteArray("no tocar"));
    EXPECT_EQ(fuera.read("carpeta/dentro"), QByteArray("x"));
}

TEST(SinEnlaces, CheckOfAnOpenFile)
{
    TempFolder t;
    t.write("f", "x");
    const Descriptor c = AbrirCarpeta(t.path());
    const Descriptor f = AbrirArchivoEn(c.fd(), "f", O_RDONLY);
    for (const auto& [modo, motivos] : {std::pair{0600u, 0u}, {0620u, unsigned(EscribiblePorOtros)},
                                        {0602u, unsigned(EscribiblePorOtros)}}) {
        ::fchmod(f.fd(), modo);
        EXPECT_EQ(RevisarArchivo(f.fd()), motivos) << modo;
    }
    EXPECT_EQ(RevisarArchivo(c.fd()), unsigned(NoEsArchivo));
    EXPECT_EQ(DescribirMotivos(NoEsArchivo | EscribiblePorOtros).size(), 2);
}
