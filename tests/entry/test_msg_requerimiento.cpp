#include "engine/General.h"
#include "entry/CMsgRequerimientoPOS.h"
#include "entry/ValoresEmuladorPOS.h"
#include "platform/VbError.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

struct Linea {
    const char* aupre;
    qint16 tip;
    qint16 can;
};

std::shared_ptr<CMsgRequerimientoPOS::Lineas> Lineas(const QList<Linea>& lineas)
{
    auto col = std::make_shared<CMsgRequerimientoPOS::Lineas>();
    for (const Linea& l : lineas) {
        auto p = std::make_shared<clsPrestacionTxOSDE>();
        p->AUPRE = QString::fromUtf8(l.aupre);
        p->AUTIP = l.tip;
        p->AUARA = 1;
        p->AUCAN = l.can;
        col->Add(p);
    }
    return col;
}

const QString kFalta = QStringLiteral("Debe ingresar al menos una prestación");
const QString kTipoCant = QStringLiteral("El tipo o la cantidad de la prestación no pueden ser 0");
const QString kMat = QStringLiteral("Debe ingresar matrícula, tipo y provincia del prescriptor");
const QString kDiag1 = QStringLiteral("Debe ingresar al menos el primer diagnóstico");
const QString kRef = QStringLiteral("Datos erróneos en la referencia o en el nº de transacción");

TEST(MsgRequerimiento, ValidarRulesMessagesAndIcons)
{
    constexpr int W = Vbc::vbExclamation, N = Vbc::vbInformation;
    struct Caso {
        qint16 op;
        QList<Linea> lineas;
        quint8 aufina = 0;
        const char* auwref = "";
        qint32 aunref = 0;
        qint16 tipoPrestador = 0;
        const char* dsm1 = "";
        qint16 requiereMat = 0; // with an empty, active registration box
        qint16 requierePrescripcion = 0;
        bool valido = false;
        QList<std::pair<QString, int>> mensajes;
    };
    const Linea ok{"420101", 1, 1};
    const Caso casos[] = {
        {2, {}, 0, "", 0, 0, "", 0, 0, false, {{kFalta, W}}},
        {3, {ok, {"  ", 1, 1}}, 0, "", 0, 0, "", 0, 0, false, {{QStringLiteral("Debe ingresar la prestación"), W}}},
        {4, {}, 3, "", 0, 0, "", 0, 0, true, {}},
        {7, {}, 0, "", 0, 0, "", 0, 0, false, {{kFalta, W}}},
        {18, {{"", 1, 1}}, 0, "", 0, 0, "", 0, 0, false,
         {{QStringLiteral("La prestación no puede ser 0 y el motivo fin terapia tampoco"), W}}},
        {4, {ok}, 0, "", 0, 2, "", 0, 0, false, {{kDiag1, N}}},
        {7, {ok}, 0, "", 0, 3, "", 0, 0, false, {{kMat, N}}},
        // No line stops before the other rules, the closing one included.
        {5, {}, 0, "", 0, 2, "", -1, 0, false, {{kFalta, W}}},
        // A code that is no number is a service: its type and quantity count.
        {5, {{"ABC", 0, 1}}, 0, "", 0, 0, "", 0, 0, false, {{kTipoCant, W}}},
        {5, {{"0", 0, 0}}, 0, "", 0, 0, "", 0, 0, true, {}},
        {5, {ok, ok}, 0, "", 0, 2, "A01", 0, 0, false, {{QStringLiteral("Debe ingresar sola una prestación"), N}}},
        {5, {ok, ok}, 0, "", 0, 1, "", 0, 0, true, {}},
        {6, {}, 0, "", 0, 0, "", 0, 1, false, {{kFalta, W}, {QStringLiteral("Datos erróneos en el prescriptor"), W}}},
        {19, {{"12", 1, 0}}, 0, "", 0, 0, "", 0, 1, false, {{kTipoCant, W}}},
        {9, {}, 0, "0", 5, 0, "", 0, 0, false, {{kRef, W}}},
        {9, {}, 0, "", 5, 0, "", 0, 0, false, {{kRef, W}}},
        {9, {}, 0, "98", 0, 0, "", 0, 0, false, {{kRef, W}}},
        {9, {}, 0, "OD", 5, 0, "", 0, 0, true, {}},
        {9, {}, 0, "98", 5, 0, "", 0, 0, true, {}},
        {97, {}, 0, "", 0, 0, "", 0, 0, false, {{QStringLiteral("Datos erróneos en el nº de autorización"), W}}},
        {97, {}, 0, "", 5, 0, "", 0, 0, false, {{QStringLiteral("Datos erróneos en el/los diagnóstico/s"), W}}},
        {8, {}, 0, "", 0, 0, "", -1, 0, false, {{kMat, N}}},
        {8, {}, 0, "", 0, 0, "", 1, 0, true, {}}, // only True (-1) asks for the registration
    };
    for (const Caso& k : casos) {
        ScriptedDialogs dialogs;
        CMsgRequerimientoPOS msg;
        msg.setPrestaciones(Lineas(k.lineas));
        msg.AUFINA = k.aufina;
        msg.AUWREF = QString::fromUtf8(k.auwref);
        msg.AUNREF = k.aunref;
        ValoresEmuladorPOS f;
        f.TipoPrestador = k.tipoPrestador;
        f.txtAUDSM1 = QString::fromUtf8(k.dsm1);
        f.RequiereMatPrescriptor = k.requiereMat;
        f.RequierePrescripcion = k.requierePrescripcion;
        f.txtAUNMATActivo = true;
        f.cboTipoMatricula = QStringLiteral("1.MN");
        f.cboProvincia = QStringLiteral("M.MENDOZA");
        EXPECT_EQ(msg.Validar(k.op, f), k.valido) << k.op << " " << k.auwref;
        QList<std::pair<QString, int>> vistos;
        for (const auto& s : dialogs.shown) vistos.append({s.text, s.style});
        EXPECT_EQ(vistos, k.mensajes) << k.op << " " << k.auwref;
    }
}

class MsgLogDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        m_trabajo = General::DirectorioTrabajo;
        General::DirectorioTrabajo = carpeta.path();
        msg.AUCUIT = QStringLiteral("30111111111");
        msg.AUTRAC = 2;
        msg.AUATRC = QStringLiteral("A");
        msg.AUWREF = QStringLiteral("98");
        msg.AUNREF = 1234;
        msg.AUNMAT = 1234567;
        msg.setPrestaciones(Lineas({{"420101", 1, 2}, {"420102", 3, 1}}));
    }
    void TearDown() override
    {
        General::DirectorioTrabajo = m_trabajo;
        DbFixture::TearDown();
    }
    // The rows as "a|b;c|d".
    std::string Filas(const QString& sql)
    {
        QStringList r;
        const DbResult rs = Connect()->Query(sql);
        for (const QVariantList& fila : rs.Rows()) {
            QStringList t;
            for (const QVariant& v : fila) t << v.toString();
            r << t.join(QLatin1Char('|'));
        }
        return r.join(QLatin1Char(';')).toStdString();
    }
    TempFolder carpeta;
    CMsgRequerimientoPOS msg;
    QString m_trabajo;
};

TEST_P(MsgLogDb, DeferredRequestKeepsTheEnteredLinesAndNoAnswer)
{
    // No "download" folder: a deferred request reads no answer.
    msg.LogDB(true, QString());
    EXPECT_EQ(Filas(QStringLiteral("SELECT IdTerminal, Diferida, AUNREF, AUNMAT, AUFECP, AUTRAC, AUISOA, AUCUIT "
                                   "FROM TOSDE_svl1")),
              "999|1|001234|1234567|00000000|02|000000|30111111111");
    EXPECT_EQ(Filas(QStringLiteral("SELECT AUPRE, AUTIP, AUCAN FROM TOSDE_svl2 ORDER BY AUPRE")),
              "420101|1|2;420102|3|1");
    EXPECT_TRUE(Filas(QStringLiteral("SELECT * FROM TOSDE_svl3")).empty());
}

TEST_P(MsgLogDb, AnsweredRequestTakesTheAnswerFiles)
{
    try {
        msg.LogDB(false, QString()); // no "download" folder yet
        ADD_FAILURE() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.source, QStringLiteral("CMsgRequerimientoPOS"));
    }
    const QByteArray cabecera = QByteArray("000077") + "AB" + "00" + QByteArray("Leyenda").leftJustified(40, ' ') +
                                QByteArray("Pie").leftJustified(80, ' ') + "00000012345" + "SISTEMA01" + "\r\n";
    carpeta.write(QStringLiteral("download/_svl.3"), cabecera);
    carpeta.write(QStringLiteral("download/_svl.2"),
                  QByteArray("000003") + QByteArray(11, ' ') + "01\r\n" + "000001" + QByteArray(11, ' ') + "02\r\n" +
                      "000002" + QByteArray(11, ' ') + "03\r\n");
    msg.AUFECP = QStringLiteral("20240305");
    msg.LogDB(false, QString());
    EXPECT_EQ(Filas(QStringLiteral("SELECT Diferida, AUFECP FROM TOSDE_svl1")), "0|20240305");
    // The answered lines replace the entered ones, in file order.
    EXPECT_EQ(Filas(QStringLiteral("SELECT AUPRE, AURES FROM TOSDE_svl2")),
              "000003|01;000001|02;000002|03");
    // The amount is in hundredths and divided once.
    EXPECT_EQ(Filas(QStringLiteral("SELECT AUAUTO, AUWHOO, AUMONT, AUSYST FROM TOSDE_svl3")),
              "77|AB|123.45|SISTEMA01");
}

// Storing the answer codes fails (a full disk, a lost server): nothing of the request stays, and
// the failure reaches the caller, which reports it.
TEST_P(MsgLogDb, DeferredRequestWhoseAnswerCodesFailLeavesNothing)
{
    auto cn = Connect();
    if (isPostgreSQL()) {
        cn->Execute(QStringLiteral("CREATE FUNCTION lleno() RETURNS trigger LANGUAGE plpgsql AS "
                                   "$$ BEGIN RAISE EXCEPTION 'disco lleno'; END $$"));
        cn->Execute(QStringLiteral("CREATE TRIGGER lleno BEFORE UPDATE ON TOSDE_svl2 FOR EACH ROW EXECUTE FUNCTION lleno()"));
    } else {
        cn->Execute(QStringLiteral("CREATE TRIGGER lleno BEFORE UPDATE ON TOSDE_svl2 BEGIN SELECT RAISE(ABORT, 'disco lleno'); END"));
    }
    try {
        msg.LogDB(true, QString());
        ADD_FAILURE() << "no error";
    } catch (const VbError& e) {
        EXPECT_TRUE(e.description.contains(QStringLiteral("disco lleno"))) << e.description.toStdString();
    }
    EXPECT_TRUE(Filas(QStringLiteral("SELECT * FROM TOSDE_svl1")).empty());
    EXPECT_TRUE(Filas(QStringLiteral("SELECT * FROM TOSDE_svl2")).empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, MsgLogDb, DbEngines(), DbEngineName);

}
