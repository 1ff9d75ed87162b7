#include "engine/General.h"
#include "prescription/GeneralVademecum.h"
#include "prescription/Localidades.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QString B(int n) { return QString(n, ' '); }

// A catalogue line written field by field: code, name, presentation, pack code, bar code,
// action code, action, ingredient code, ingredient, price, coverage, amount to pay.
const QString kLinea = "00001" "IBUPROFENO FARMA              " "400 MG COMP X 20        " "0123456"
                       "7790001000017" "00012" "ANTIINFLAMATORIO                   " "000345"
                       "IBUPROFENO 400 MG                       " "00000000120" "00705" "00000010000";

}

TEST(Localidades, TheListAsTheDeliveryServiceKnowsIt)
{
    const QStringList& l = Localidades::Nombres();
    ASSERT_EQ(l.size(), 566);
    EXPECT_EQ(QSet<QString>(l.begin(), l.end()).size(), 566);
    EXPECT_EQ(l.first(), "AGRELO (5509)");
    EXPECT_EQ(l.last(), "ZAPATA (5560)");
    QSet<QString> codigos;
    QStringList fuera;
    int conCalificativo = 0;
    for (const QString& n : l) {
        const QString c = Localidades::CodigoPostal(Localidades::Item(n));
        EXPECT_EQ(Localidades::Item(n), n + B(100) + c);
        EXPECT_TRUE(n.endsWith("(" + c + ")")) << n.toStdString();
        codigos.insert(c);
        if (c.toInt() < 5500 || c.toInt() > 5637) fuera << n;
        if (n.contains(QRegularExpression("\\) \\(\\d{4}\\)$"))) ++conCalificativo;
    }
    EXPECT_EQ(codigos.size(), 78);
    EXPECT_EQ(conCalificativo, 56);
    EXPECT_EQ(fuera, (QStringList{"LOS CAMPAMENTOS (RIVADAVIA, DPTO. RIVADAVIA) (5677)", "MEDIA LUNA (6279)",
                                  "PUESTO EL QUEMADO (5435)", "PUESTO ISLA CHAÑAR (5435)", "PUESTO LOS CHAÑARES (5435)"}));
    for (const char* s : {"COLONA ALVEAR (FCGSM) (5620)", "KILOMETRO 1085(APEADERO FCGB) (5549)", "ÑACUÑAN (5595)"})
        EXPECT_TRUE(l.contains(QString::fromUtf8(s))) << s;
    EXPECT_EQ(Localidades::CodigoPostal(Localidades::Item("MEDIA LUNA (6279)")), "6279");
    EXPECT_EQ(Localidades::CodigoPostal(Localidades::Item("AGRELO (5509)")), "5509");
    EXPECT_EQ(Localidades::CodigoPostal(""), "");
}

// The amounts: the number as the runtime prints it, the user's separator, the field's width.
TEST(Vademecum, AmountsShowTheNumberInTheUsersSeparator)
{
    const QLocale ar(QLocale::Spanish, QLocale::Argentina), c(QLocale::C);
    const struct {
        const char* digitos;
        double divisor;
        int ancho;
        QLocale locale;
        const char* esperado;
    } filas[] = {
        {"00000000120", 10, 11, c, "12         "},  {"00705", 100, 5, ar, "7,05 "},
        {"00705", 100, 5, c, "7.05 "},              {"10000", 100, 5, c, "100  "},
        {"99999", 100, 5, c, "999.9"},              {"00000123456", 10, 11, ar, "12345,6    "},
        {"           ", 10, 11, c, "0          "},  {"12345678901", 10, 11, c, "1234567890.1"},
    };
    for (const auto& f : filas)
        EXPECT_EQ(General::ImporteVademecum(f.digitos, f.divisor, f.ancho, f.locale),
                  QString(f.esperado).left(f.ancho))
            << f.digitos;
}

// Lines are cut one at a time: leading blanks of a name, a short line, a blank line and a long
// one never shift the fields of the next line.
TEST(Vademecum, AnswerLinesAreCutOneLineAtATime)
{
    QLocale::setDefault(QLocale::c());
    QString nombreConBlancos = kLinea;
    nombreConBlancos.replace(5, 30, "   ASPIRINA                   ");
    const QString corta = kLinea.left(120);
    const QString larga = kLinea + "EXTRA";
    QString texto = kLinea + "\r\n" + nombreConBlancos + "\r\n" + "\r\n" + B(10) + "\r\n" + larga + "\r\n" + corta;

    struct Esperado {
        const char* nombre;
        const char* presentacion;
        const char* troquel;
        const char* monodroga;
        const char* precio;
        const char* cobertura;
        const char* aPagar;
    } const esperados[] = {
        {"IBUPROFENO FARMA              ", "400 MG COMP X 20        ", "0123456", "IBUPROFENO 400 MG",
         "12         ", "7.05 ", "1000       "},
        {"   ASPIRINA                   ", "400 MG COMP X 20        ", "0123456", "IBUPROFENO 400 MG",
         "12         ", "7.05 ", "1000       "},
        {"IBUPROFENO FARMA              ", "400 MG COMP X 20        ", "0123456", "IBUPROFENO 400 MG",
         "12         ", "7.05 ", "1000       "},
        {"IBUPROFENO FARMA              ", "400 MG COMP X 20        ", "0123456", "", "0          ", "0    ",
         "0          "},
    };
    General::RegistroVademecum r;
    for (const Esperado& e : esperados) {
        ASSERT_TRUE(General::DesarmarRegistroVademecum(texto, r));
        EXPECT_EQ(r.Nombre, e.nombre);
        EXPECT_EQ(r.Presentacion, e.presentacion);
        EXPECT_EQ(r.Troquel, e.troquel);
        EXPECT_EQ(r.CodigoBarra, "7790001000017");
        EXPECT_EQ(r.Monodroga.trimmed(), e.monodroga);
        EXPECT_EQ(r.Precio, e.precio);
        EXPECT_EQ(r.Cobertura, e.cobertura);
        EXPECT_EQ(r.APagar, e.aPagar);
    }
    EXPECT_TRUE(texto.isEmpty());
    QString blancos = "\r\n" + B(5) + "\r\n";
    EXPECT_FALSE(General::DesarmarRegistroVademecum(blancos, r));
    EXPECT_TRUE(blancos.isEmpty());
    QLocale::setDefault(QLocale::system());
}
