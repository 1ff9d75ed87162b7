#include "engine/clsCierres.h"
#include "engine/clsDiagnostico.h"
#include "engine/clsItemMedicamento.h"
#include "engine/clsItemTicket.h"
#include "engine/clsVademecum.h"
#include "platform/VbError.h"
#include "support/TempFolder.h"

#include <QByteArray>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string sp(int n) { return std::string(n, ' '); }

QByteArray bytes(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

// A terminal folder with its exchange subfolders, as the sender sets it up.
struct Terminal {
    TempFolder tf;
    QString carpeta;
    Terminal() : carpeta(tf.path() + QStringLiteral("ter01"))
    {
        tf.mkdir(QStringLiteral("ter01/upload"));
        tf.mkdir(QStringLiteral("ter01/download"));
    }
    QByteArray subida(const char* nombre) const { return tf.read(QStringLiteral("ter01/upload/") + nombre); }
    bool existeSubida(const char* nombre) const { return tf.exists(QStringLiteral("ter01/upload/") + nombre); }
    void respuesta(const char* nombre, const std::string& datos) const
    {
        tf.write(QStringLiteral("ter01/download/") + nombre, bytes(datos));
    }
    bool existeRespuesta(const char* nombre) const { return tf.exists(QStringLiteral("ter01/download/") + nombre); }
};

// An answer record of `largo` bytes ending in CR LF: blanks, with the code and comment the
// client fills in at their positions (1-based).
std::string respuesta(int largo, int posCodigo, const std::string& codigo, const std::string& comentario)
{
    std::string r = sp(largo - 2) + "\r\n";
    r.replace(size_t(posCodigo - 1), 4, codigo);
    r.replace(size_t(posCodigo + 4 - 1), comentario.size(), comentario);
    return r;
}

void esperaError(const std::function<void()>& f, qint32 numero, const QString& origen)
{
    try {
        f();
        ADD_FAILURE() << "no error raised";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number, numero) << e.what();
        EXPECT_EQ(e.source, origen) << e.what();
    }
}

}

// ---------------------------------------------------------------- request records

TEST(SVL2, GoldenRecordsInEntryOrder)
{
    Terminal t;
    clsItemTicket a;
    a.setTipoPrestacion(QStringLiteral("  "));
    a.setCodigoPrestacion(QStringLiteral("420101ABCDEF"));
    a.setCantidad(QStringLiteral("3"));
    a.setPiezaDental(QStringLiteral(" 1 "));
    a.setCaraDental(QStringLiteral("MOD"));
    a.setTipoArancel(QStringLiteral("2"));
    clsItemTicket b;
    b.setTipoPrestacion(QStringLiteral("02"));
    b.setCodigoPrestacion(QStringLiteral("340201"));
    b.setCantidad(QStringLiteral("99"));
    clsItemTicket c;
    c.setCodigoPrestacion(QStringLiteral("1\t2\r\n3"));
    ASSERT_TRUE(a.GrabarRegistroSVL2(1, t.carpeta));
    ASSERT_TRUE(b.GrabarRegistroSVL2(2, t.carpeta));
    ASSERT_TRUE(c.GrabarRegistroSVL2(3, t.carpeta));

    const std::string resto = "00000000000" + sp(10) + sp(12) + sp(5) + sp(11) + sp(10) + "0000" + sp(40) + sp(30) + "\r\n";
    const std::string r1 = "FF000" "01" "420101ABCD" "03" "1 " "MOD  " "2" + resto;
    const std::string r2 = "FF000" "02" "340201    " "99" "  " "     " "0" + resto;
    const std::string r3 = "FF000" "01" "1 2  3    " "00" "  " "     " "0" + resto;
    ASSERT_EQ(r1.size(), 162u);
    EXPECT_EQ(t.subida("_svl.2"), bytes(r1 + r2 + r3));
}

TEST(SVL3, GoldenRecord)
{
    Terminal t;
    clsItemMedicamento a;
    a.setTroquel(QStringLiteral("1234567"));
    a.setCantidad(QStringLiteral("3"));
    clsItemMedicamento b;
    b.setTroquel(QStringLiteral("98765432"));
    b.setCantidad(QStringLiteral(" 12 "));
    ASSERT_TRUE(a.GrabarRegistroSVL3(1, t.carpeta));
    ASSERT_TRUE(b.GrabarRegistroSVL3(2, t.carpeta));
    const auto registro = [](const std::string& troquel, const std::string& cantidad) {
        return "FF000" + troquel + sp(13) + sp(7) + cantidad + sp(1) + sp(11) + sp(10) + sp(1) + sp(12) + sp(5) + sp(11)
               + sp(10) + sp(50) + sp(25) + sp(4) + sp(40) + sp(1) + sp(1) + sp(28) + "\r\n";
    };
    ASSERT_EQ(registro("1234567", "3 ").size(), 246u);
    EXPECT_EQ(t.subida("_svl.3"), bytes(registro("1234567", "3 ") + registro("9876543", "12")));
}

TEST(SVL4, GoldenRecord)
{
    Terminal t;
    clsDiagnostico a;
    a.setDiagnostico(QStringLiteral("J45.9"));
    clsDiagnostico b;
    b.setDiagnostico(QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(a.Diagnostico(), "J45.9");
    ASSERT_TRUE(a.GrabarRegistroSVL4(1, t.carpeta));
    ASSERT_TRUE(b.GrabarRegistroSVL4(2, t.carpeta));
    const std::string r1 = "J45.9     " "0000" + sp(40) + "\r\n";
    const std::string r2 = "ABCDEFGHIJ" "0000" + sp(40) + "\r\n";
    ASSERT_EQ(r1.size(), 56u);
    EXPECT_EQ(t.subida("_svl.4"), bytes(r1 + r2));
}

TEST(SVL7, GoldenRecordWithWindows1252Text)
{
    Terminal t;
    clsVademecum v;
    EXPECT_FALSE(v.existo());
    v.setOperacion(QStringLiteral("5"));
    v.setTarjeta(QStringLiteral("  6034930012345678  "));
    v.setNombreMedicamento(QString::fromUtf8("  Ácido Ñandú € forte extra largo de nombre"));
    v.setAccion(QStringLiteral("Analg\tsico\r\n"));
    v.setMonodroga(QString::fromUtf8("Paracetamol ☺"));
    EXPECT_EQ(v.Tarjeta(), "6034930012345678");
    ASSERT_TRUE(v.GrabarSVL7(t.carpeta));

    // "Ácido Ñandú € forte extra largo de nombre" cut to 30; one byte per character.
    const std::string nombre = "\xC1" "cido \xD1" "and\xFA \x80 forte extra larg";
    const std::string esperado = std::string("5 ") + "6034930012345678" + sp(84) + nombre + sp(30) + sp(7) + sp(13)
                                 + "Analg sico" + sp(25) + "Paracetamol ?" + sp(27) + sp(9) + sp(5) + sp(1) + "0000"
                                 + sp(40) + "\r\n";
    ASSERT_EQ(nombre.size(), 30u);
    ASSERT_EQ(esperado.size(), 318u);
    EXPECT_EQ(t.subida("_svl.7"), bytes(esperado));
}

TEST(SVL7, BlankQueryIsStillAFullRecord)
{
    Terminal t;
    clsVademecum v;
    ASSERT_TRUE(v.GrabarSVL7(t.carpeta));
    EXPECT_EQ(t.subida("_svl.7"), bytes(sp(272) + "0000" + sp(40) + "\r\n"));
}

TEST(SAL0, GoldenRecord)
{
    Terminal t;
    clsCierres c;
    c.setOperacion(QStringLiteral("07"));
    c.setNumeroCierre(QStringLiteral("123"));
    c.setFechaDesde(QStringLiteral("20240101"));
    c.setFechaHasta(QStringLiteral("20240131"));
    c.setActualizaPlanes(QStringLiteral("2"));
    c.setActualizaMedicos(QStringLiteral("01"));
    c.setActualizaMedicamentos(QStringLiteral(" 1"));
    c.setActualizaDiagnosticos(QStringLiteral("3"));
    // ActualizaPracticas never set: "0"; ActualizarEfectores never set: a blank.
    c.setActualizarPrestadores(QStringLiteral("X"));
    c.setCuit(QStringLiteral("20123456789"));
    ASSERT_TRUE(c.GrabarSAL0(t.carpeta));
    EXPECT_TRUE(c.existo());
    const std::string esperado = "07" "123      " + sp(8) + "20240101" "20240131" "21100" "0000" + sp(40)
                                 + "20123456789" "0" " " "   2" + sp(13) + "\r\n";
    ASSERT_EQ(esperado.size(), 116u);
    EXPECT_EQ(t.subida("_sal.0"), bytes(esperado));
}

TEST(SAL0, CreatesTheUploadFolderAndWritesBlankFieldsWhenNothingIsSet)
{
    TempFolder tf;
    const QString carpeta = tf.path() + QStringLiteral("ter02");
    clsCierres c;
    ASSERT_TRUE(c.GrabarSAL0(carpeta));
    const std::string esperado = sp(2) + sp(9) + sp(8) + sp(8) + sp(8) + "00000" "0000" + sp(40) + sp(11) + "  "
                                 + "   2" + sp(13) + "\r\n";
    EXPECT_EQ(tf.read(QStringLiteral("ter02/upload/_sal.0")), bytes(esperado));
}

TEST(SAL0, UpdateFlagIsTheDigitItMeans)
{
    struct Case { const char* valor; char esperado; };
    const Case cases[] = {
        {"1", '1'}, {"2", '2'}, {"01", '1'}, {" 1", '1'}, {"2 ", '2'}, {"002", '2'}, {"0", '0'},
        {"3", '0'}, {"", '0'}, {" ", '0'}, {"X", '0'}, {"1X", '0'}, {"-1", '0'}, {"12", '0'},
    };
    for (const auto& k : cases) {
        Terminal t;
        clsCierres c;
        c.setActualizaPlanes(QString::fromLatin1(k.valor));
        c.setActualizarEfectores(QString::fromLatin1(k.valor));
        ASSERT_TRUE(c.GrabarSAL0(t.carpeta));
        const QByteArray r = t.subida("_sal.0");
        ASSERT_EQ(r.size(), 116);
        EXPECT_EQ(r.at(35), k.esperado) << "ActualizaPlanes \"" << k.valor << "\"";
        EXPECT_EQ(r.at(96), k.esperado) << "ActualizarEfectores \"" << k.valor << "\"";
    }
}

// ------------------------------------------------------------ fields that must not be cut

TEST(Requests, NumbersThatDoNotFitAreRefusedAndNothingIsWritten)
{
    struct Case { const char* nombre; std::function<void(const QString&)> grabar; qint32 numero; const char* origen; const char* archivo; };
    const auto svl2 = [](const char* cantidad, const char* arancel) {
        return [=](const QString& carpeta) {
            clsItemTicket i;
            i.setCodigoPrestacion(QStringLiteral("420101"));
            i.setCantidad(QString::fromLatin1(cantidad));
            i.setTipoArancel(QString::fromLatin1(arancel));
            i.GrabarRegistroSVL2(1, carpeta);
        };
    };
    const Case cases[] = {
        {"SVL2 cantidad 100", svl2("100", "1"), 6, "clsItemTicket.GrabarRegistroSVL2", "_svl.2"},
        {"SVL2 cantidad 1.5", svl2("1.5", "1"), 6, "clsItemTicket.GrabarRegistroSVL2", "_svl.2"},
        {"SVL2 arancel 12", svl2("1", "12"), 6, "clsItemTicket.GrabarRegistroSVL2", "_svl.2"},
        {"SVL2 cantidad no numerica", svl2("dos", "1"), 13, "clsItemTicket.GrabarRegistroSVL2", "_svl.2"},
        {"SVL3 cantidad 100",
         [](const QString& carpeta) {
             clsItemMedicamento m;
             m.setTroquel(QStringLiteral("1234567"));
             m.setCantidad(QStringLiteral(" 100 "));
             m.GrabarRegistroSVL3(1, carpeta);
         },
         6, "clsItemMedicamento.GrabarRegistroSVL3", "_svl.3"},
        {"SAL0 cierre de 10 cifras",
         [](const QString& carpeta) {
             clsCierres c;
             c.setNumeroCierre(QStringLiteral("1234567890"));
             c.GrabarSAL0(carpeta);
         },
         6, "clsCierres", "_sal.0"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.nombre);
        Terminal t;
        esperaError([&] { k.grabar(t.carpeta); }, k.numero, QString::fromLatin1(k.origen));
        EXPECT_FALSE(t.existeSubida(k.archivo));
    }
}

TEST(Requests, AMissingUploadFolderIsAPathError)
{
    TempFolder tf;
    const QString carpeta = tf.path() + QStringLiteral("ter03");
    esperaError([&] { clsItemTicket().GrabarRegistroSVL2(1, carpeta); }, VbError::PathNotFound,
                QStringLiteral("clsItemTicket.GrabarRegistroSVL2"));
    esperaError([&] { clsItemMedicamento().GrabarRegistroSVL3(1, carpeta); }, VbError::PathNotFound,
                QStringLiteral("clsItemMedicamento.GrabarRegistroSVL3"));
    esperaError([&] { clsDiagnostico().GrabarRegistroSVL4(1, carpeta); }, VbError::PathNotFound,
                QStringLiteral("clsDiagnostico.GrabarRegistroSVL4"));
    esperaError([&] { clsVademecum().GrabarSVL7(carpeta); }, VbError::PathNotFound,
                QStringLiteral("clsVademecum.GrabarSVL7"));
}

TEST(Requests, OpenAndCloseHandTheFileBack)
{
    Terminal t;
    clsDiagnostico d;
    const qint16 n = d.AbrirArchivo(t.carpeta);
    EXPECT_GT(n, 0);
    EXPECT_TRUE(d.CerrarArchivo(n));
    EXPECT_TRUE(d.CerrarArchivo(n));
    EXPECT_TRUE(t.existeSubida("_svl.4"));
}

// ------------------------------------------------------------------------ answer readers

TEST(LeerSVL2, OneItemPerRecordWithCodeAndComment)
{
    Terminal t;
    const std::string c1 = "PRESTACION NO CUBIERTA";
    const std::string c2 = std::string("EXCEDE TOPE ANUAL") + sp(23);
    t.respuesta("_svl.2", respuesta(162, 87, "  05", c1) + respuesta(162, 87, "0012", c2));
    clsItemTicket lector;
    const ListaErrores items = lector.LeerSVL2(t.carpeta);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].Tipo, 1);
    EXPECT_EQ(items[0].Clave, "SVL2");
    EXPECT_EQ(items[0].Error, "  05");
    EXPECT_EQ(items[0].Comentario, QString::fromStdString(c1 + sp(40 - int(c1.size()))));
    EXPECT_EQ(items[1].Error, "0012");
    EXPECT_EQ(items[1].Comentario, QString::fromStdString(c2));
    EXPECT_EQ(lector.CodigoErrorPrestacion(), "12");
}

TEST(LeerSVL2, MissingEmptyAndShortAnswerFiles)
{
    {
        Terminal t;
        clsItemTicket lector;
        EXPECT_TRUE(lector.LeerSVL2(t.carpeta).isEmpty());
        EXPECT_FALSE(t.existeRespuesta("_svl.2"));
    }
    {
        Terminal t;
        t.respuesta("_svl.2", respuesta(162, 87, "  07", "X"));
        clsItemTicket lector;
        lector.LeerSVL2(t.carpeta);
        t.respuesta("_svl.2", "");
        EXPECT_TRUE(lector.LeerSVL2(t.carpeta).isEmpty());
        EXPECT_EQ(lector.CodigoErrorPrestacion(), "07");
    }
    {
        // The last record lacks its CR LF and the tail blanks: its answer is still there.
        Terminal t;
        const std::string ultimo = respuesta(162, 87, "  09", "SIN CR LF").substr(0, 130);
        t.respuesta("_svl.2", respuesta(162, 87, "0000", "") + ultimo);
        const ListaErrores items = clsItemTicket().LeerSVL2(t.carpeta);
        ASSERT_EQ(items.size(), 2);
        EXPECT_EQ(items[1].Error, "  09");
        EXPECT_EQ(items[1].Comentario.trimmed(), "SIN CR LF");
    }
    {
        // A fragment that does not reach the comment's end is reported in its place.
        Terminal t;
        t.respuesta("_svl.2", respuesta(162, 87, "0000", "") + respuesta(162, 87, "0003", "").substr(0, 100));
        const ListaErrores items = clsItemTicket().LeerSVL2(t.carpeta);
        ASSERT_EQ(items.size(), 2);
        EXPECT_EQ(items[1].Clave, "SVL2");
        EXPECT_EQ(items[1].Error, "0003");
        EXPECT_EQ(items[1].Comentario, "Respuesta incompleta en _svl.2");
    }
}

TEST(LeerSVL2, AnswerFileNamedInUpperCaseIsFound)
{
    Terminal t;
    t.tf.write(QStringLiteral("ter01/download/_SVL.2"), bytes(respuesta(162, 87, "0001", "A")));
    EXPECT_EQ(clsItemTicket().LeerSVL2(t.carpeta).size(), 1);
}

TEST(LeerSVL3, CodesCommentsAndTwoDigitCode)
{
    Terminal t;
    t.respuesta("_svl.3", respuesta(246, 171, "0000", "OK") + respuesta(246, 171, "  05", "TROQUEL INEXISTENTE"));
    clsItemMedicamento lector;
    const ListaErrores items = lector.LeerSVL3(t.carpeta);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].Clave, "SVL3");
    EXPECT_EQ(items[0].Error, "0000");
    EXPECT_EQ(items[1].Error, "  05");
    EXPECT_EQ(items[1].Comentario, QString::fromStdString("TROQUEL INEXISTENTE" + sp(21)));
    EXPECT_EQ(lector.CodigoErrorPrescripcion(), "05");
    EXPECT_TRUE(clsItemMedicamento().LeerSVL3(Terminal().carpeta).isEmpty());
}

TEST(LeerSVL4, CodesCommentsAndMissingFile)
{
    Terminal t;
    EXPECT_TRUE(clsDiagnostico().LeerSVL4(t.carpeta).isEmpty());
    EXPECT_FALSE(t.existeRespuesta("_svl.4"));
    // The comment carries a Windows-1252 byte: it comes back as that character.
    t.respuesta("_svl.4", respuesta(56, 11, "0020", "DIAGN\xD3STICO INV\xC1LIDO"));
    const ListaErrores items = clsDiagnostico().LeerSVL4(t.carpeta);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].Clave, "Svl4");
    EXPECT_EQ(items[0].Error, "0020");
    EXPECT_EQ(items[0].Comentario, QString::fromUtf8("DIAGNÓSTICO INVÁLIDO") + QString(20, QLatin1Char(' ')));
}

TEST(LeerSVL7ySAL0, OnlyAnErrorCodeOfTheFirstRecordMakesAnItem)
{
    struct Case { const char* codigo; bool esError; };
    const Case cases[] = {
        {"0000", false}, {"    ", false}, {"  00", false}, {"0051", true}, {"  51", true}, {"E001", true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.codigo);
        Terminal t;
        const std::string comentario = "COMENTARIO DEL VALIDADOR";
        t.respuesta("_svl.7", respuesta(318, 273, k.codigo, comentario) + respuesta(318, 273, "0099", "SEGUNDO"));
        t.respuesta("_sal.0", respuesta(116, 41, k.codigo, comentario) + respuesta(116, 41, "0099", "SEGUNDO"));
        const clsItemError v = clsVademecum().LeerSVL7(t.carpeta);
        const clsItemError c = clsCierres().LeerSAL0(t.carpeta);
        for (const clsItemError* item : {&v, &c}) {
            EXPECT_TRUE(item->Clave.isEmpty());
            if (k.esError) {
                EXPECT_EQ(item->Error, QString::fromLatin1(k.codigo));
                EXPECT_EQ(item->Comentario, QString::fromStdString(comentario + sp(16)));
            } else {
                EXPECT_TRUE(item->Error.isEmpty());
                EXPECT_TRUE(item->Comentario.isEmpty());
            }
        }
    }
}

TEST(LeerSVL7ySAL0, MissingEmptyAndShortAnswerFiles)
{
    Terminal t;
    EXPECT_TRUE(clsVademecum().LeerSVL7(t.carpeta).Error.isEmpty());
    EXPECT_TRUE(clsCierres().LeerSAL0(t.carpeta).Error.isEmpty());
    EXPECT_FALSE(t.existeRespuesta("_svl.7"));
    EXPECT_FALSE(t.existeRespuesta("_sal.0"));

    t.respuesta("_svl.7", "");
    t.respuesta("_sal.0", "");
    EXPECT_TRUE(clsVademecum().LeerSVL7(t.carpeta).Error.isEmpty());
    EXPECT_TRUE(clsCierres().LeerSAL0(t.carpeta).Error.isEmpty());

    // Cut right after the comment: still read.
    t.respuesta("_svl.7", respuesta(318, 273, "0051", "CORTO").substr(0, 316));
    t.respuesta("_sal.0", respuesta(116, 41, "0051", "CORTO").substr(0, 84));
    EXPECT_EQ(clsVademecum().LeerSVL7(t.carpeta).Error, "0051");
    EXPECT_EQ(clsCierres().LeerSAL0(t.carpeta).Error, "0051");

    // Cut inside the code: no answer.
    t.respuesta("_svl.7", respuesta(318, 273, "0051", "CORTO").substr(0, 274));
    t.respuesta("_sal.0", respuesta(116, 41, "0051", "CORTO").substr(0, 42));
    EXPECT_TRUE(clsVademecum().LeerSVL7(t.carpeta).Error.isEmpty());
    EXPECT_TRUE(clsCierres().LeerSAL0(t.carpeta).Error.isEmpty());
}
