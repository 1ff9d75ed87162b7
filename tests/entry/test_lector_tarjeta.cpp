#include "entry/VendraComboCardApi.h"
#include "platform/VbError.h"
#include "support/TransporteHidSimulado.h"

#include <gtest/gtest.h>

using namespace VendraComboCardApi;
using Fallo = TransporteHidSimulado::Fallo;

namespace {

// The reader state is program-wide: every test starts without a reader found.
class LectorTarjeta : public ::testing::Test {
protected:
    void SetUp() override { LectorEncontrado = false, HandleLector = 0; }
    TransporteHidSimulado hid;
};

QByteArray tarjeta(const QByteArray& historia)
{
    QByteArray t(256, '\0');
    for (int i = 0; i < 256; ++i) t[i] = static_cast<char>(255 - i);
    t.replace(132, 100, historia.leftJustified(100, '\0', true));
    return t;
}

}

TEST_F(LectorTarjeta, ReadsTheWholeCardWithThe34ReportsInOrder)
{
    // Another device listed first is never opened: its vendor and product come from the list.
    hid.dispositivos = {{0x04D8, 0x0056, "/dev/hidraw0"}, TransporteHidSimulado::Lector(tarjeta("X"))};
    QByteArray memoria(3, 'x');
    ASSERT_EQ(LeerMemoriaTarjeta(memoria), EstadoLector::Correcto);
    EXPECT_EQ(memoria, tarjeta("X"));
    QList<QByteArray> informes{QByteArray("\x00" "A0\x00\x00\x00\x00\x00\x00", 9)};
    for (int b = 0; b < 32; ++b) informes.append(QByteArray("\x00" "B\x08\x00\x00\x00\x00\x00\x00", 9));
    informes.append(QByteArray("\x00" "D\x00\x00\x00\x00\x00\x00\x00", 9));
    EXPECT_EQ(hid.enviados, informes);
    EXPECT_EQ(hid.abiertos, QList<QByteArray>{"/dev/hidraw1"});

    // The reader stays open; above the last card byte the image holds a zero; desde above hasta
    // appends nothing but still reads the whole card.
    QString texto;
    ASSERT_EQ(LeerTextoTarjeta(0, 1, texto), EstadoLector::Correcto);
    ASSERT_EQ(LeerTextoTarjeta(256, 256, texto), EstadoLector::Correcto);
    ASSERT_EQ(LeerTextoTarjeta(10, 9, texto), EstadoLector::Correcto);
    EXPECT_EQ(texto, QString::fromUtf16(u"\u00FF\u00FE") + QChar(0));
    EXPECT_EQ(hid.abiertos.size(), 1);
    EXPECT_EQ(hid.enviados.size(), 4 * 34);
}

TEST_F(LectorTarjeta, HistoryIsBytes132To231AsWindows1252Characters)
{
    const std::pair<QByteArray, QString> casos[] = {
        {QByteArray("A") + QByteArray(99, ' '), QStringLiteral("A") + QString(99, QLatin1Char(' '))},
        {QByteArray("\xD1" "and\x80"), QString::fromUtf16(u"\u00D1and\u20AC") + QString(95, QChar(0))},
        {QByteArray(), QString(100, QChar(0))},
    };
    for (const auto& [historia, esperado] : casos) {
        hid.dispositivos = {TransporteHidSimulado::Lector(tarjeta(historia))};
        QString texto = QStringLiteral(">");
        ASSERT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::Correcto);
        EXPECT_EQ(texto, QStringLiteral(">") + esperado) << historia.toHex().toStdString();
    }
}

TEST_F(LectorTarjeta, NoReadWithoutAnOpenReaderOrOutsideTheImage)
{
    auto cerrado = TransporteHidSimulado::Lector(tarjeta("A"));
    cerrado.abrible = false;
    const std::pair<QList<TransporteHidSimulado::Dispositivo>, EstadoLector> casos[] = {
        {{}, EstadoLector::SinLector},
        {{{0x046D, 0xC52B, "/dev/hidraw0"}}, EstadoLector::SinLector},
        {{cerrado}, EstadoLector::NoAbierto},
    };
    for (const auto& [dispositivos, estado] : casos) {
        hid.dispositivos = dispositivos;
        EXPECT_FALSE(BuscarLectorTarjeta());
        QString texto = QStringLiteral("previo");
        EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), estado);
        EXPECT_EQ(texto, QStringLiteral("previo"));
    }
    hid.dispositivos = {TransporteHidSimulado::Lector(tarjeta("A"))};
    QString texto;
    for (const auto& [desde, hasta] : {std::pair{-1, 10}, {0, 257}, {300, 0}}) {
        try {
            LeerTextoTarjeta(static_cast<qint16>(desde), static_cast<qint16>(hasta), texto);
            ADD_FAILURE() << desde << " " << hasta;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number, 9);
        }
    }
    EXPECT_TRUE(hid.enviados.isEmpty());
}

TEST_F(LectorTarjeta, AFailedExchangeEndsTheReadAndLetsTheReaderGo)
{
    for (const Fallo fallo : {Fallo::Envio, Fallo::Recepcion, Fallo::RespuestaCorta}) {
        for (const int bloque : {0, 16, 31}) {
            SCOPED_TRACE(testing::Message() << "fallo " << static_cast<int>(fallo) << " bloque " << bloque);
            TransporteHidSimulado hid;
            hid.dispositivos = {TransporteHidSimulado::Lector(tarjeta("B+"))};
            SetUp();
            hid.fallarEn(1 + bloque, fallo);
            QString texto = QStringLiteral("previo");
            EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::FalloIntercambio);
            EXPECT_EQ(texto, QStringLiteral("previo"));
            EXPECT_EQ(hid.enviados.size(), 2 + bloque);
            EXPECT_FALSE(LectorEncontrado);
            EXPECT_EQ(hid.abiertosAhora(), 0);
            // The next read opens the reader again.
            EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::Correcto);
            EXPECT_EQ(hid.abiertos.size(), 2);
        }
    }
}

TEST_F(LectorTarjeta, UnpluggedDuringAReadIsFoundAgainWhenPluggedIn)
{
    hid.dispositivos = {TransporteHidSimulado::Lector(tarjeta("O-"))};
    hid.fallarEn(10, Fallo::Desconexion);
    QString texto;
    EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::FalloIntercambio);
    EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::SinLector);
    hid.dispositivos[0].conectado = true;
    ASSERT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::Correcto);
    EXPECT_TRUE(texto.startsWith(QStringLiteral("O-")));
}
