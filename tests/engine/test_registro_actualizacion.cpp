#include "engine/CarpetaTerminal.h"
#include "engine/RegistroActualizacion.h"
#include "platform/VbError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

TEST(RegistroActualizacion, ReadsNumbersAsTheClientWritesThem)
{
    const QByteArray a = QByteArray("  2") + "0 3" + "01x" + "abc" + QByteArray("Quorvan").leftJustified(64, ' ') +
                         "   0" + QByteArray("Nueva versi\xf3n").leftJustified(30, ' ') + "\r\n";
    ASSERT_EQ(a.size(), 112);
    const QList<RegistroActualizacion> r = RegistroActualizacion::LeerArchivo(a + a.left(111));
    ASSERT_EQ(r.size(), 1); // a trailing piece shorter than a record is left out
    EXPECT_EQ(r[0].TipoRegistro, 2);
    EXPECT_EQ(r[0].Major, 3);
    EXPECT_EQ(r[0].Minor, 1);
    EXPECT_EQ(r[0].Revision, 0);
    EXPECT_EQ(r[0].NombreArchivo, "Quorvan");
    EXPECT_EQ(r[0].CodigoResultado, 0);
    EXPECT_EQ(r[0].Descripcion, QStringLiteral("Nueva versión"));
}

TEST(RegistroActualizacion, MenuRequestAndVersionsThatDoNotFit)
{
    TempFolder wf;
    const CarpetaTerminal t(wf.path(), "termupg");
    RegistroActualizacion::GrabarPedido(t, RegistroActualizacion::Pedido(RegistroActualizacion::kTipoMenu, 1, 2, 3), "t");
    EXPECT_EQ(wf.read("termupg/upload/_druvex.upg"),
              QByteArray("010001002003") + QByteArray(64, ' ') + "0000" + QByteArray(30, ' ') + "\r\n");
    for (const int v : {1000, -1}) {
        EXPECT_THROW(RegistroActualizacion::GrabarPedido(t, RegistroActualizacion::Pedido(2, 3, v, 7), "t"), VbError);
        EXPECT_EQ(wf.read("termupg/upload/_druvex.upg").left(12), QByteArray("010001002003"));
    }
}
