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
    void SetUp() override
    {
        LectorEncontrado = false;
        HandleLector = 0;
    }
    TransporteHidSimulado hid;
};

QByteArray tarjetaNumerada()
{
    QByteArray t(256, '\0');
    for (int i = 0; i < 256; ++i) t[i] = static_cast<char>(255 - i);
    return t;
}

QByteArray tarjetaConHistoria(const QByteArray& historia)
{
    QByteArray t(256, '\x55');
    t.replace(132, 100, historia.leftJustified(100, '\0', true));
    return t;
}

// The 34 reports of one read, written out by hand.
QList<QByteArray> informesDeUnaLectura()
{
    QList<QByteArray> r{QByteArray("\x00" "A0\x00\x00\x00\x00\x00\x00", 9)};
    for (int b = 0; b < 32; ++b) r.append(QByteArray("\x00" "B\x08\x00\x00\x00\x00\x00\x00", 9));
    r.append(QByteArray("\x00" "D\x00\x00\x00\x00\x00\x00\x00", 9));
    return r;
}

}

TEST_F(LectorTarjeta, WithoutAReaderNothingIsReadOrAppended)
{
    hid.dispositivos.append({0x046D, 0xC52B, "/dev/hidraw0"});
    EXPECT_FALSE(BuscarLectorTarjeta());
    QString texto = QStringLiteral("previo");
    EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::SinLector);
    EXPECT_EQ(texto, QStringLiteral("previo"));
    QByteArray memoria(256, 'x');
    EXPECT_EQ(LeerMemoriaTarjeta(memoria), EstadoLector::SinLector);
    EXPECT_EQ(memoria, QByteArray(256, 'x'));
    EXPECT_TRUE(hid.abiertos.isEmpty());
    EXPECT_TRUE(hid.enviados.isEmpty());
}

TEST_F(LectorTarjeta, ReadsTheWholeCardWithThe34ReportsInOrder)
{
    // Another device listed first is never opened: its vendor and product come from the list.
    hid.dispositivos = {{0x04D8, 0x0056, "/dev/hidraw0"}, TransporteHidSimulado::Lector(tarjetaNumerada())};
    QByteArray memoria(3, 'x');
    ASSERT_EQ(LeerMemoriaTarjeta(memoria), EstadoLector::Correcto);
    EXPECT_EQ(memoria, tarjetaNumerada());
    EXPECT_EQ(hid.enviados, informesDeUnaLectura());
    EXPECT_EQ(hid.abiertos, QList<QByteArray>{"/dev/hidraw1"});
    EXPECT_TRUE(LectorEncontrado);

    // The reader stays open for the next read.
    QString texto;
    ASSERT_EQ(LeerTextoTarjeta(0, 3, texto), EstadoLector::Correcto);
    EXPECT_EQ(texto, QString::fromUtf16(u"\u00FF\u00FE\u00FD\u00FC"));
    EXPECT_EQ(hid.abiertos.size(), 1);
    EXPECT_EQ(hid.enviados.size(), 68);
}

TEST_F(LectorTarjeta, HistoryIsBytes132To231AsWindows1252Characters)
{
    struct Caso {
        QByteArray historia;
        QString esperado;
    };
    const Caso casos[] = {
        {QByteArray("A") + QByteArray(99, ' '), QStringLiteral("A") + QString(99, QLatin1Char(' '))},
        {QByteArray("\xD1" "and\x80"), QString::fromUtf16(u"\u00D1and\u20AC") + QString(95, QChar(0))},
        {QByteArray(), QString(100, QChar(0))},
    };
    for (const Caso& c : casos) {
        hid.dispositivos = {TransporteHidSimulado::Lector(tarjetaConHistoria(c.historia))};
        QString texto = QStringLiteral(">");
        ASSERT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::Correcto);
        EXPECT_EQ(texto, QStringLiteral(">") + c.esperado) << c.historia.toHex().toStdString();
    }
}

TEST_F(LectorTarjeta, PositionsAndOrder)
{
    hid.dispositivos = {TransporteHidSimulado::Lector(tarjetaNumerada())};
    // Above the highest card byte the image holds a zero.
    QString texto;
    ASSERT_EQ(LeerTextoTarjeta(255, 256, texto), EstadoLector::Correcto);
    EXPECT_EQ(texto, QString(QChar(0)) + QChar(0));
    // desde above hasta appends nothing but still reads the whole card.
    hid.enviados.clear();
    ASSERT_EQ(LeerTextoTarjeta(10, 9, texto), EstadoLector::Correcto);
    EXPECT_EQ(texto.size(), 2);
    EXPECT_EQ(hid.enviados.size(), 34);

    hid.enviados.clear();
    const std::pair<int, int> fuera[] = {{-1, 10}, {0, 257}, {257, 300}, {300, 0}};
    for (const auto& [desde, hasta] : fuera) {
        try {
            LeerTextoTarjeta(static_cast<qint16>(desde), static_cast<qint16>(hasta), texto);
            ADD_FAILURE() << desde << " " << hasta;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number, 9);
        }
    }
    EXPECT_TRUE(hid.enviados.isEmpty());
    EXPECT_EQ(texto.size(), 2);
}

TEST_F(LectorTarjeta, ReaderThatCannotBeOpenedIsToldApart)
{
    auto lector = TransporteHidSimulado::Lector(tarjetaNumerada());
    lector.abrible = false;
    hid.dispositivos = {lector};
    EXPECT_FALSE(BuscarLectorTarjeta());
    QString texto;
    EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::NoAbierto);
    EXPECT_TRUE(texto.isEmpty());
    EXPECT_TRUE(hid.enviados.isEmpty());
}

TEST_F(LectorTarjeta, AFailedExchangeEndsTheReadAndLetsTheReaderGo)
{
    const QByteArray tarjeta = tarjetaConHistoria("B+ ALERGIA PENICILINA");
    for (const Fallo fallo : {Fallo::Envio, Fallo::Recepcion, Fallo::RespuestaCorta}) {
        for (const int bloque : {0, 16, 31}) {
            SCOPED_TRACE(testing::Message() << "fallo " << static_cast<int>(fallo) << " bloque " << bloque);
            TransporteHidSimulado hid;
            hid.dispositivos = {TransporteHidSimulado::Lector(tarjeta)};
            SetUp();
            hid.fallarEn(1 + bloque, fallo);

            QString texto = QStringLiteral("previo");
            EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::FalloIntercambio);
            EXPECT_EQ(texto, QStringLiteral("previo"));
            EXPECT_EQ(hid.enviados.size(), 2 + bloque); // nothing sent after the failure
            EXPECT_FALSE(LectorEncontrado);
            EXPECT_EQ(hid.abiertosAhora(), 0);

            // The next read opens the reader again and reads the card.
            texto.clear();
            ASSERT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::Correcto);
            EXPECT_TRUE(texto.startsWith(QStringLiteral("B+ ALERGIA PENICILINA")));
            EXPECT_EQ(hid.abiertos.size(), 2);
        }
    }
}

TEST_F(LectorTarjeta, UnpluggedDuringAReadIsFoundAgainWhenPluggedIn)
{
    hid.dispositivos = {TransporteHidSimulado::Lector(tarjetaConHistoria("O-"))};
    hid.fallarEn(10, Fallo::Desconexion);
    QString texto;
    EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::FalloIntercambio);
    EXPECT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::SinLector);
    EXPECT_TRUE(texto.isEmpty());

    hid.dispositivos[0].conectado = true;
    ASSERT_EQ(LeerHistoriaClinicaTarjeta(texto), EstadoLector::Correcto);
    EXPECT_TRUE(texto.startsWith(QStringLiteral("O-")));
    EXPECT_EQ(hid.abiertos.size(), 2);
}
