// The valuation window through its handlers on both engines: the insurer list, the report's
// bytes for every choice, and the faults that must leave the window usable.
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "platform/Platform.h"
#include "reports/frmValoraciones.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>

namespace {

const QByteArray kCabecera = "OBRA SOCIAL, PLAN, C. PRESTACION, CANTIDAD, IMPORTE, TOTAL\r\n";

class Valoraciones : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Platform::setClock([] { return QDateTime(QDate(2024, 6, 5), QTime(9, 30)); });
        auto lista = std::make_shared<Coleccion<clsObraSocial>>();
        auto db = Connect();
        int id = 0;
        for (const auto& [nombre, empresa] : std::initializer_list<std::pair<QString, int>>{
                 {"Niñez Salud", 7}, {"Jwk", 9}, {"Alfa JWK", 12345}, {"Vacía", 3}}) {
            auto os = std::make_shared<clsObraSocial>();
            os->Nombre = nombre;
            os->Empresa = qint16(empresa);
            lista->Add(os);
            db->Execute("INSERT INTO ObrasSociales (IdObraSocial, Nombre, Empresa, Actividad) VALUES (?, ?, ?, 1)",
                        {++id, nombre, empresa});
        }
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setObrasSociales(lista);
        auto trx = [&](qint64 ticket, const QString& plan, int empresa, const QStringList& codigos) {
            db->Execute("INSERT INTO Transaccion (Ticket, PlanAsociado, CodigoEmpresa) VALUES (?, ?, ?)",
                        {ticket, plan, empresa});
            for (const QString& c : codigos)
                db->Execute("INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) VALUES (?, ?, 1)",
                            {ticket, c});
        };
        trx(1, "210", 7, {"420101", "420101"});
        trx(2, "A", 12345, {"430101"});
        trx(3, "210", 9, {"420351"});
    }
    void TearDown() override
    {
        General::gConfig.reset();
        Platform::setClock({});
        DbFixture::TearDown();
    }
    QString Archivo() const { return home() + "/Valoraciones/05062024.txt"; }
    QByteArray Leer() const
    {
        QFile f(Archivo());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<sin archivo>");
    }
};

TEST_P(Valoraciones, ListaSinJwkYNadaElegido)
{
    ScriptedDialogs dialogs;
    frmValoraciones f;
    f.Form_Load();
    QStringList items;
    for (int i = 0; i < f.cboObraSocial->count(); ++i) items << f.cboObraSocial->itemText(i);
    const QString b(100, ' ');
    EXPECT_EQ(items, QStringList({"TODAS" + b, "Niñez Salud" + b + "7", "Alfa JWK" + b + "12345", "Vacía" + b + "3"}));
    EXPECT_EQ(f.cboObraSocial->currentIndex(), -1);
    EXPECT_FALSE(f.cboObraSocial->isEditable());
    EXPECT_TRUE(dialogs.shown.isEmpty());

    General::gConfig.reset();
    frmValoraciones g;
    g.Form_Load();
    EXPECT_EQ(dialogs.messages(), QStringList{"Se produjo un error"});
    EXPECT_EQ(g.cboObraSocial->count(), 1) << "the items added before the error stay";
}

TEST_P(Valoraciones, ReportePorEleccion)
{
    // Names and codes written in the code page of the file; "ñ" is one byte.
    // Names written in the code page of the file: "ñ" is one byte.
    const QByteArray todas = kCabecera + "Alfa JWK,A,430101,1, ,=D2*E2\r\n" + "Jwk,210,420351,1, ,=D3*E3\r\n" +
                             "Ni\xF1" "ez Salud,210,420101,2, ,=D4*E4\r\n";
    const struct {
        int indice;
        QByteArray bytes;
    } casos[] = {
        {-1, todas}, // nothing chosen
        {0, todas},
        {1, kCabecera + "Ni\xF1" "ez Salud,210,420101,2, ,=D2*E2\r\n"},
        {2, kCabecera + "Alfa JWK,A,430101,1, ,=D2*E2\r\n"}, // a five-digit code
        {3, kCabecera},                                       // no logged services
    };
    ScriptedDialogs dialogs;
    frmValoraciones f;
    f.Form_Load();
    for (const auto& c : casos) {
        dialogs.clear();
        f.cboObraSocial->setCurrentIndex(c.indice);
        f.cmdAceptar_Click();
        EXPECT_EQ(Leer(), c.bytes) << c.indice;
        EXPECT_EQ(dialogs.messages(), QStringList{"Reporte Generado Satisfactoriamente en " + Archivo()}) << c.indice;
        EXPECT_EQ(dialogs.shown.value(0).style, Vbc::vbOKOnly);
        EXPECT_EQ(f.lblPath->text(), Archivo());
    }
}

TEST_P(Valoraciones, FallasDejanLaVentanaUsable)
{
    ScriptedDialogs dialogs;
    frmValoraciones f;
    f.Form_Load();
    f.cboObraSocial->setCurrentIndex(3);

    // A file where the folder should be.
    QFile estorbo(home() + "/Valoraciones");
    ASSERT_TRUE(estorbo.open(QIODevice::WriteOnly));
    estorbo.close();
    f.cmdAceptar_Click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
    EXPECT_TRUE(dialogs.shown[0].text.contains(home() + "/Valoraciones")) << dialogs.shown[0].text.toStdString();
    EXPECT_TRUE(f.lblPath->text().isEmpty());

    // A query that fails.
    ASSERT_TRUE(estorbo.remove());
    Connect()->Execute("DROP TABLE ItemPrestaciones");
    dialogs.clear();
    f.cmdAceptar_Click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
    EXPECT_FALSE(dialogs.shown[0].text.isEmpty());
    EXPECT_FALSE(dialogs.shown[0].text.startsWith("Reporte Generado"));
    EXPECT_FALSE(QFile::exists(Archivo()));
    EXPECT_TRUE(f.isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Engines, Valoraciones, DbEngines(), DbEngineName);

}
