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

struct SinLectorAbierto {
    SinLectorAbierto() { LectorEncontrado = false, HandleLector = 0; }
    ~SinLectorAbierto()
    {
        if (HandleLector) Hid::transporte().cerrar(HandleLector);
        LectorEncontrado = false, HandleLector = 0;
    }
};

}

// The program's own transport, on the machine the tests run on.
TEST(LectorHidapi, WithoutAReaderNothingIsFound)
{
    if (hayLector()) GTEST_SKIP() << "a card reader 04D8:0055 is attached";
    SinLectorAbierto estado;
    EXPECT_FALSE(BuscarLectorTarjeta());
    QString texto;
    EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::SinLector);
    EXPECT_TRUE(texto.isEmpty());
    QByteArray informe(9, '\0');
    EXPECT_EQ(Hid::transporte().enviarInforme(12345, informe), -1);
    EXPECT_EQ(Hid::transporte().recibirInforme(12345, informe), -1);
    Hid::transporte().cerrar(12345);
}

// The way to try a real reader: attach it with a card and run this test.
TEST(LectorHidapi, ReadsTheCardOfAnAttachedReader)
{
    if (!hayLector()) GTEST_SKIP() << "no card reader 04D8:0055 attached";
    SinLectorAbierto estado;
    ASSERT_TRUE(BuscarLectorTarjeta()) << "the reader is listed but cannot be opened: see the udev rule in README";
    QString texto;
    ASSERT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::Correcto);
    EXPECT_EQ(texto.size(), 100);
}
