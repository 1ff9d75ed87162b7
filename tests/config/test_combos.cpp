#include "config/GeneralCombos.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsEspecialidad.h"
#include "config/clsMedico.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "platform/Dialogs.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QStyledItemDelegate>
#include <gtest/gtest.h>

namespace {

const QString kBlancos = QString(100, QLatin1Char(' '));

struct Prov {
    qint16 id;
    QString nombre;
    qint16 admisor;
    bool predeterminado;
};

class Combos : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        General::gConfig = std::make_shared<clsConfig>();
        General::PrestadorActual = 0;
    }
    void TearDown() override
    {
        General::gConfig.reset();
        General::PrestadorActual = 0;
        General::ListaIdsPrestadores.clear();
        DbFixture::TearDown();
    }
    static void Prestadores(const QList<Prov>& lista)
    {
        auto col = std::make_shared<Coleccion<clsPrestador>>();
        for (const Prov& p : lista) {
            auto x = std::make_shared<clsPrestador>();
            x->idPrestador = p.id;
            x->Nombre = p.nombre;
            x->Admisor = p.admisor;
            x->Predeterminado = p.predeterminado;
            col->Add(x);
        }
        General::gConfig->setPrestadores(col);
    }
    static void Especialidades(const QList<QPair<qint16, QString>>& lista)
    {
        auto col = std::make_shared<Coleccion<clsEspecialidad>>();
        for (const auto& e : lista) {
            auto x = std::make_shared<clsEspecialidad>();
            x->idEspecialidad = e.first;
            x->Especialidad = e.second;
            col->Add(x);
        }
        General::gConfig->setEspecialidades(col);
    }
    static QStringList Textos(const QComboBox& c)
    {
        QStringList t;
        for (int i = 0; i < c.count(); ++i) t << c.itemText(i);
        return t;
    }
    static QList<int> Datos(const QComboBox& c)
    {
        QList<int> d;
        for (int i = 0; i < c.count(); ++i) d << c.itemData(i).toInt();
        return d;
    }
};

} // namespace

TEST_P(Combos, ProvidersListAdmisoresAndPreselect)
{
    struct Caso {
        const char* nombre;
        QList<Prov> prestadores;
        qint16 actual;
        QStringList textos;
        QList<int> datos;
        int elegido;
    };
    const QList<Caso> casos = {
        {"current provider over the default one",
         {{3, "Alfa", 1, true}, {7, "Beta", 1, false}, {9, "Gama", 1, false}}, 7,
         {"Alfa", "Beta", "Gama"}, {3, 7, 9}, 1},
        {"current provider not Admisor", {{7, "Beta", 0, false}, {3, "Alfa", 1, true}}, 7, {"Alfa"}, {3}, -1},
        {"default provider", {{3, "Alfa", 1, false}, {5, "Delta", 1, true}}, 0, {"Alfa", "Delta"}, {3, 5}, 1},
        {"last default wins", {{3, "Alfa", 1, true}, {5, "Delta", 1, true}, {6, "Eta", 1, false}}, 0,
         {"Alfa", "Delta", "Eta"}, {3, 5, 6}, 1},
        {"no default", {{3, "Alfa", 1, false}}, 0, {"Alfa"}, {3}, -1},
        {"none Admisor", {{3, "Alfa", 0, true}}, 0, {}, {}, -1},
        {"two of one name", {{3, "Igual", 1, false}, {4, "Igual", 1, true}}, 0, {"Igual", "Igual"}, {3, 4}, 1},
    };
    ScriptedDialogs dialogos;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        Prestadores(c.prestadores);
        General::PrestadorActual = c.actual;
        QComboBox combo;
        combo.addItem(QStringLiteral("vieja"));
        General::CargarComboPrestadores(&combo);
        EXPECT_EQ(Textos(combo), c.textos);
        EXPECT_EQ(Datos(combo), c.datos);
        EXPECT_EQ(combo.currentIndex(), c.elegido);
    }
    EXPECT_TRUE(dialogos.shown.isEmpty());
}

TEST_P(Combos, AFillerErrorIsShownAndKeepsTheEntriesAdded)
{
    ScriptedDialogs dialogos;
    General::gConfig.reset();
    QComboBox combo;
    combo.addItem(QStringLiteral("vieja"));
    General::CargarComboEspecialidades(&combo);
    ASSERT_EQ(dialogos.shown.size(), 1);
    EXPECT_EQ(dialogos.shown[0].style & Vbc::vbCritical, Vbc::vbCritical);
    EXPECT_EQ(dialogos.shown[0].title, Dialogs::kAppTitle);
    EXPECT_FALSE(dialogos.shown[0].text.isEmpty());
    EXPECT_EQ(Textos(combo), QStringList{kBlancos + "00"});
}

TEST_P(Combos, SpecialitiesKeepTheirCodeInTheTextAndHideThePadding)
{
    General::ListaIdsPrestadores = QStringLiteral("1,2");
    QComboBox combo;
    General::CargarComboEspecialidades(&combo);
    EXPECT_EQ(Textos(combo), QStringList{kBlancos + "00"});
    EXPECT_EQ(General::ListaIdsPrestadores, QStringLiteral("1,2"));

    Especialidades({{5, QStringLiteral("Cardiología")}, {12, QStringLiteral("Pediatría")}});
    General::CargarComboEspecialidades(&combo);
    EXPECT_EQ(General::ListaIdsPrestadores, QString());
    EXPECT_EQ(Textos(combo), (QStringList{kBlancos + "00", QStringLiteral("Cardiología") + kBlancos + "5",
                                          QStringLiteral("Pediatría") + kBlancos + "12"}));
    EXPECT_EQ(Datos(combo), (QList<int>{0, 5, 12}));
    EXPECT_EQ(combo.currentIndex(), 0);

    const auto* delegado = qobject_cast<QStyledItemDelegate*>(combo.view()->itemDelegate());
    ASSERT_NE(delegado, nullptr);
    const QStringList vistos = {delegado->displayText(combo.itemText(0), QLocale()),
                                delegado->displayText(combo.itemText(1), QLocale()),
                                delegado->displayText(combo.itemText(2), QLocale())};
    EXPECT_EQ(vistos, (QStringList{"", QStringLiteral("Cardiología"), QStringLiteral("Pediatría")}));
    // A second fill installs no second delegate, and the closed list stays narrow.
    General::CargarComboEspecialidades(&combo);
    EXPECT_EQ(combo.view()->itemDelegate(), delegado);
    EXPECT_LT(combo.sizeHint().width(), QFontMetrics(combo.font()).horizontalAdvance(kBlancos));
    EXPECT_LT(combo.view()->sizeHintForColumn(0), QFontMetrics(combo.font()).horizontalAdvance(kBlancos));
    combo.show();
    combo.showPopup();
    EXPECT_LT(combo.view()->window()->width(), QFontMetrics(combo.font()).horizontalAdvance(kBlancos));
    combo.hidePopup();
}

TEST_P(Combos, RegistrationTypesAndJurisdictions)
{
    QComboBox tipos, jurisdicciones;
    tipos.addItem(QStringLiteral("vieja"));
    General::CargarCombosMatricula(&tipos, &jurisdicciones);
    EXPECT_EQ(Textos(tipos), (QStringList{"", "M.MEDICO", "O.ODONTOLOGO"}));
    const QStringList esperadas = {
        "",           "0.PROVINCIAL", "C.NACIONAL",  "B.BUENOS AIRES", "K.CATAMARCA", "H.CHACO",
        "U.CHUBUT",   "X.CORDOBA",    "W.CORRIENTES", "E.ENTRE RIOS",  "P.FORMOSA",   "Y.JUJUY",
        "L.LA PAMPA", "F.LA RIOJA",   "M.MENDOZA",   "N.MISIONES",     "Q.NEUQUEN",   "R.RIO NEGRO",
        "A.SALTA",    "J.SAN JUAN",   "D.SAN LUIS",  "Z.SANTA CRUZ",   "S.SANTA FE",  "G.SANTIAGO DEL ESTERO",
        "V.TIERRA DEL FUEGO", "T.TUCUMAN"};
    EXPECT_EQ(Textos(jurisdicciones), esperadas);
    EXPECT_EQ(tipos.currentIndex(), 0);
    EXPECT_EQ(jurisdicciones.currentIndex(), 0);
}

// The entry window's lists: which reference list the prescriber list shows, what the splitters
// take back from each kind of entry, the discharge and institution types.
TEST_P(Combos, EntryWindowListsAndTheirSplitters)
{
    auto prestadores = std::make_shared<Coleccion<clsPrestador>>();
    auto p = std::make_shared<clsPrestador>();
    p->Nombre = "CLINICA SOL";
    p->codigoOSDE = 4321;
    prestadores->Add(p);
    General::gConfig->setPrestadores(prestadores);
    auto medicos = std::make_shared<Coleccion<clsMedico>>();
    auto m = std::make_shared<clsMedico>();
    m->ApellidoNombre = "PEREZ JUAN";
    m->Matricula = "1234";
    m->TipoMatricula = "BM";
    medicos->Add(m);
    General::gConfig->setMedicos(medicos);

    const QString medico = "PEREZ JUAN" + kBlancos + "1234   BM";
    const QString prestador = "CLINICA SOL" + kBlancos + "4321";
    const struct {
        qint16 operacion;
        bool prestador;
        QString segunda;
    } listas[] = {{5, true, prestador}, {5, false, medico}, {19, false, prestador}, {19, true, medico}, {4, true, medico}};
    for (const auto& l : listas) {
        General::OperacionActual = l.operacion;
        QComboBox c;
        c.addItem("viejo");
        General::CargarComboMedicos(&c, l.prestador);
        EXPECT_EQ(Textos(c), (QStringList{"", l.segunda})) << l.operacion << l.prestador;
        EXPECT_EQ(c.currentIndex(), -1);
    }
    General::OperacionActual = 0;

    QString nombre = "n", matricula = "m", tipo = "t", jurisdiccion = "j";
    General::SepararDatosPrescriptor("  " + medico + " ", nombre, matricula, tipo, jurisdiccion);
    EXPECT_EQ(QStringList({nombre, matricula, tipo, jurisdiccion}), QStringList({"PEREZ JUAN", "1234", "M", "B"}));
    nombre = "n", matricula = "m", tipo = "t", jurisdiccion = "j";
    General::SepararDatosPrescriptor("   ", nombre, matricula, tipo, jurisdiccion);
    EXPECT_EQ(QStringList({nombre, matricula, tipo, jurisdiccion}), QStringList({"n", "m", "t", "j"}));
    QString codigo = "c";
    nombre = "n";
    General::SepararNombreCodigo(prestador, nombre, codigo);
    EXPECT_EQ(QStringList({nombre, codigo}), QStringList({"CLINICA SOL", "4321"}));
    const struct {
        QString texto, parte1, parte2;
    } puntos[] = {{"C.NACIONAL", "C", "NACIONAL"}, {" M .MEDICO. X", "M", "MEDICO. X"}, {"SIN PUNTO", "a", "b"}};
    for (const auto& c : puntos) {
        QString a = "a", b = "b";
        General::SepararPorPunto(c.texto, a, b);
        EXPECT_EQ(QStringList({a, b}), QStringList({c.parte1, c.parte2})) << c.texto.toStdString();
    }

    const struct {
        bool internacion;
        qint16 operacion, tipoPrestador;
        QString codigos;
    } egresos[] = {{true, 12, 0, "123456"}, {true, 11, 5, "0123456"}, {false, 4, 0, "01489"}, {false, 4, 5, "01"}};
    for (const auto& e : egresos) {
        QComboBox c;
        c.addItem("queda");
        General::CargarComboTipoEgreso(&c, e.internacion, e.operacion, e.tipoPrestador);
        QString codigos;
        for (int i = 1; i < c.count(); ++i) {
            EXPECT_EQ(c.itemText(i).mid(c.itemText(i).indexOf(kBlancos) + 100).size(), 1);
            codigos += c.itemText(i).right(1);
        }
        EXPECT_EQ(codigos, e.codigos) << e.operacion;
        EXPECT_EQ(c.currentIndex(), 0);
    }
    QComboBox lugar;
    General::CargarComboTipoInstitucion(&lugar);
    EXPECT_EQ(Textos(lugar), (QStringList{"Consultorio" + kBlancos + "C", "Inst. ambulatorio" + kBlancos + "IA",
                                          "Inst. con internación" + kBlancos + "I",
                                          "Inst. internación breve" + kBlancos + "II"}));
    EXPECT_EQ(lugar.currentIndex(), 0);
    auto* delegado = qobject_cast<QStyledItemDelegate*>(lugar.view()->itemDelegate());
    ASSERT_NE(delegado, nullptr);
    EXPECT_EQ(delegado->displayText(lugar.itemText(1), QLocale()), "Inst. ambulatorio");
}

INSTANTIATE_TEST_SUITE_P(Sqlite, Combos, ::testing::Values(DbEngine::SQLite), DbEngineName);

TEST(SepararCodigoParentesis, SplitsBracketedEntries)
{
    struct Caso {
        QString entrada, textoEsperado, codigoEsperado;
    };
    const QList<Caso> casos = {
        {"(12) OSDE NACIONAL ", "OSDE NACIONAL", "12"},
        {"( 5 )  Hope", "Hope", "5"},
        {"(7)", "", "7"},
        {"OSDE", "OSDE", "previo"},
        {"", "", "previo"},
        {"   ", "   ", "previo"},
        {") OSDE", ") OSDE", "previo"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.entrada.toStdString());
        QString texto = c.entrada, codigo = QStringLiteral("previo");
        General::SepararCodigoParentesis(texto, codigo);
        EXPECT_EQ(texto, c.textoEsperado);
        EXPECT_EQ(codigo, c.codigoEsperado);
    }
}

TEST(ValidarTecla, OrderOfTheRules)
{
    struct Caso {
        int tecla;
        int tipo;
        const char* rechazados;
        bool acepta;
    } casos[] = {
        {8, 2, "\b", true},   // Backspace passes even when listed
        {13, 2, "\r", true},
        {'-', 2, "", true},
        {'-', 2, "-", false},
        {'7', 2, "-", true},
        {'a', 2, "", false},
        {'a', 1, "", true},
        {'a', 1, "abc", false},
        {'A', 1, "abc", true},  // the refused list is case-sensitive
    };
    for (const Caso& c : casos)
        EXPECT_EQ(General::ValidarTecla(c.tecla, c.tipo, QString::fromLatin1(c.rechazados)), c.acepta)
            << c.tecla << " tipo " << c.tipo;
}
