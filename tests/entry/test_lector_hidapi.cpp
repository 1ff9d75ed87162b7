#include "entry/VendraComboCardApi.h"
#include "platform/TransporteHid.h"

#include <gtest/gtest.h>

using namespace VendraComboCardApi;

namespace {

bool hayLector()
{
    for (const DispositivoHid& d : Hid::transporte().listar())
        if (d.vendedor == kVendedorLector && d.producto == kProductoLector) return true;
    return false;
}

// The program's own transport: one history read, the reader let go afterwards.
EstadoLector leer(QString& texto)
{
    LectorEncontrado = false, HandleLector = 0;
    const EstadoLector e = LeerHistoriaClinicaTarjeta(texto);
    if (HandleLector) Hid::transporte().cerrar(HandleLector);
    LectorEncontrado = false, HandleLector = 0;
    return e;
}

}

TEST(LectorHidapi, WithoutAReaderNothingIsFound)
{
    if (hayLector()) GTEST_SKIP() << "a card reader 04D8:0055 is attached";
    QString texto;
    EXPECT_EQ(leer(texto), EstadoLector::SinLector);
    EXPECT_TRUE(texto.isEmpty());
    EXPECT_FALSE(BuscarLectorTarjeta());
    QByteArray informe(9, '\0');
    EXPECT_EQ(Hid::transporte().enviarInforme(12345, informe), -1);
}

// The way to try a real reader: attach it with a card and run this test.
TEST(LectorHidapi, ReadsTheCardOfAnAttachedReader)
{
    if (!hayLector()) GTEST_SKIP() << "no card reader 04D8:0055 attached";
    QString texto;
    const EstadoLector e = leer(texto);
    ASSERT_NE(e, EstadoLector::NoAbierto) << "the reader cannot be opened: see the udev rule in README";
    ASSERT_EQ(e, EstadoLector::Correcto);
    EXPECT_EQ(texto.size(), 100);
}
