#include "txlog/clsLog.h"

#include "platform/VbError.h"
#include "support/DbFixture.h"

#include <gtest/gtest.h>

namespace {

const QString kDesde = QStringLiteral("01/03/2024");
const QString kHasta = QStringLiteral("31/03/2024");

class ListadoDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        cn = Connect();
        cn->Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre) VALUES (7, 'Salud Sur')"));
        cn->Execute(QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, Descripcion) "
                                   "VALUES (7, '420101', ' Consulta ')"));
    }
    void TearDown() override
    {
        cn.reset();
        DbFixture::TearDown();
    }
    void Captura(int numero, int terminal, const char* codigo, const char* afiliado, const char* fecha,
                 QList<int> servicios)
    {
        cn->Execute(QStringLiteral("INSERT INTO TGenerica_svl1 (IdTerminal, NumeroTransaccion, CodigoTransaccion, "
                                   "NombreAfiliado, NumeroAfiliado, FechaTransaccion, IdObraSocial) "
                                   "VALUES (?, ?, ?, 'Ana Paz ', ?, ?, 7)"),
                    {terminal, numero, QString::fromLatin1(codigo), QString::fromLatin1(afiliado),
                     QString::fromLatin1(fecha)});
        for (int s : servicios)
            cn->Execute(QStringLiteral("INSERT INTO TGenerica_svl2 (NumeroTransaccion, CodigoPrestacion) VALUES (?, ?)"),
                        {numero, s});
    }
    void Solicitud(int numero, const char* afiliado, const char* trac, const char* atrc, QStringList servicios)
    {
        cn->Execute(QStringLiteral("INSERT INTO TOSDE_svl1 (IdTerminal, NumeroTransaccion, AUASOA, AUTRAC, AUATRC, "
                                   "NombreAfiliado, FechaTransaccion, Diferida) VALUES (999, ?, ?, ?, ?, 'Luz', "
                                   "'20240315', 0)"),
                    {numero, QString::fromLatin1(afiliado), QString::fromLatin1(trac), QString::fromLatin1(atrc)});
        for (const QString& s : servicios)
            cn->Execute(QStringLiteral("INSERT INTO TOSDE_svl2 (NumeroTransaccion, AUPRE) VALUES (?, ?)"), {numero, s});
    }
    std::unique_ptr<Database> cn;
};

const QString kEncabezadoTotales = QStringLiteral(
    "\r\nListado de Transacciones Pendientes - Totales\r\nFecha Desde: 01/03/2024\r\nFecha Hasta: 31/03/2024\r\n"
    "\tSalud Sur\r\nAfiliado                 \tTickets   \tPrestaciones\r\n");

} // namespace

TEST_P(ListadoDb, EmptyLogGivesHeaderAndZeroCounts)
{
    clsLog log;
    auto tx = log.TxGenerica();
    tx->ObraSocial = QStringLiteral("Salud Sur");
    EXPECT_EQ(tx->PrintReport(0, kDesde, kHasta, 0, 0, false),
              kEncabezadoTotales + QStringLiteral("\r\nCantidad de Afiliados Atendidos: 0\r\nCantidad Total de "
                                                  "Tickets: 0\r\nCantidad Total de Prestaciones: 0\r\nCantidad Total "
                                                  "de Anulaciones: 0"));
    EXPECT_EQ(tx->PrintReport(2, kDesde, kHasta, 0, 0, false),
              QStringLiteral("\r\nListado de Transacciones Pendientes - \r\nFecha Desde: 01/03/2024\r\nFecha Hasta: "
                             "31/03/2024\r\n\tSalud Sur\r\nAfiliado - Prestaciones Por Fecha\r\n"));
    for (const QString& mala : {QStringLiteral("2024-03-01"), QStringLiteral("31/02/2024")}) {
        try {
            tx->PrintReport(0, mala, kHasta, 0, 0, false);
            ADD_FAILURE() << "accepted " << mala.toStdString();
        } catch (const VbError& e) {
            EXPECT_EQ(e.source, QStringLiteral("Quorvan.clsTxGenerica"));
        }
    }
}

TEST_P(ListadoDb, OfflineTotalsByMemberAndTerminal)
{
    Captura(1, 1, "2A", "A-1", "20240315", {420101});
    Captura(2, 2, "2A", "A-1", "20240316", {420101, 999});
    Captura(3, 2, "4A", "A-1", "20240316", {});
    Captura(4, 9, "2A", "B-2", "20240401", {1}); // outside the dates: only in the member's services count
    clsLog log;
    auto tx = log.TxGenerica();
    tx->ObraSocial = QStringLiteral("Salud Sur");
    const QString texto = tx->PrintReport(0, kDesde, kHasta, 0, 0, true);
    // Groups come in the database's order.
    const QString l1 = QStringLiteral("A-1                      \t1         \t3         \r\n");
    EXPECT_EQ(texto, kEncabezadoTotales + l1 + l1 +
                         QStringLiteral("\r\nCantidad de Afiliados Atendidos: 2\r\nCantidad Total de Tickets: 2\r\n"
                                        "Cantidad Total de Prestaciones: 6\r\nCantidad Total de Anulaciones: 1"));

    // From terminal 2 up to the largest configured one (7): terminal 9 is left out.
    cn->Execute(QStringLiteral("INSERT INTO Parametros (IdTerminal) VALUES (7)"));
    EXPECT_TRUE(tx->PrintReport(0, kDesde, QStringLiteral("30/04/2024"), 2, 0, false)
                    .endsWith(QStringLiteral("A-1                      \t1         \t2         \r\n\r\n"
                                             "Cantidad de Afiliados Atendidos: 1\r\nCantidad Total de Tickets: 1\r\n"
                                             "Cantidad Total de Prestaciones: 2\r\nCantidad Total de Anulaciones: 1")));
}

TEST_P(ListadoDb, OfflineDetailsUnderDateAndMemberLines)
{
    Captura(1, 1, "2A", "A-1", "20240315", {420101});
    Captura(2, 1, "2A", "A-1", "20240316", {555});
    clsLog log;
    auto tx = log.TxGenerica();
    tx->ObraSocial = QStringLiteral("Salud Sur");
    EXPECT_EQ(tx->PrintReport(1, kDesde, kHasta, 0, 0, false),
              QStringLiteral("\r\nListado de Transacciones Pendientes - Detalles\r\nFecha Desde: 01/03/2024\r\n"
                             "Fecha Hasta: 31/03/2024\r\n\tSalud Sur\r\nAfiliado - Prestaciones Por Fecha\r\n"
                             "\r\n\t15/03/2024: \r\n\r\n"
                             "A-1                       - Ana Paz\r\n"
                             "\t420101 - Consulta\r\n"
                             "\r\n\t16/03/2024: \r\n\r\n"
                             "\t555 - Sin Descripción\r\n"));
}

TEST_P(ListadoDb, RequestLogListsMembersAsNumbersAndCountsItsVoids)
{
    Solicitud(1, "0001234", "02", "A", {QStringLiteral("420101"), QStringLiteral("777")});
    Solicitud(2, "0001234", "04", "A", {});
    clsLog log;
    auto tx = log.TxOSDE();
    tx->ObraSocial = QStringLiteral("Salud Sur");
    EXPECT_EQ(tx->PrintReport(0, kDesde, kHasta, 0, 0, false),
              kEncabezadoTotales + QStringLiteral("1234                     \t1         \t2         \r\n\r\n"
                                                  "Cantidad de Afiliados Atendidos: 1\r\nCantidad Total de Tickets: 1\r\n"
                                                  "Cantidad Total de Prestaciones: 2\r\nCantidad Total de Anulaciones: 1"));
    EXPECT_TRUE(tx->PrintReport(1, kDesde, kHasta, 0, 0, false)
                    .endsWith(QStringLiteral("0001234                   - Luz\r\n\t420101Consulta\r\n\t777Sin "
                                             "Descripción\r\n")));
}

INSTANTIATE_TEST_SUITE_P(Engines, ListadoDb, DbEngines(), DbEngineName);
