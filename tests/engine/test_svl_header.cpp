#include "engine/General.h"
#include "engine/clsTicket.h"
#include "platform/Platform.h"
#include "platform/VbError.h"
#include "support/TempFolder.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <map>

namespace {

// A field of the expected record: the given bytes followed by blanks up to the width.
QByteArray f(const QByteArray& s, int width)
{
    EXPECT_LE(s.size(), width) << s.constData();
    return s + QByteArray(width - s.size(), ' ');
}
QByteArray b(int n) { return QByteArray(n, ' '); }

// An answered header: blanks everywhere, then the given bytes at their 1-based positions.
QByteArray answer(const std::map<int, QByteArray>& at, int length = clsTicket::LargoSVL1)
{
    QByteArray r = b(381) + "\r\n";
    for (const auto& [pos, bytes] : at) r.replace(pos - 1, bytes.size(), bytes);
    return r.left(length);
}

class SvlHeader : public ::testing::Test {
protected:
    void SetUp() override
    {
        Platform::setProgramVersion({1, 2, 15});
        Platform::setClock([] { return QDateTime(QDate(2026, 3, 1), QTime(9, 5, 33)); });
        General::ReiniciarControlRepeticion();
        terminal = tf.path() + "ter01";
    }
    void TearDown() override
    {
        Platform::resetProgramVersion();
        Platform::setClock({});
        General::ReiniciarControlRepeticion();
    }
    QByteArray upload(const char* name) const { return tf.read(QStringLiteral("ter01/upload/") + name); }
    QByteArray writeSvl1(clsTicket& t)
    {
        EXPECT_TRUE(t.GrabarSVL1(terminal));
        return upload("_svl.1");
    }

    TempFolder tf;
    QString terminal;
};

}

TEST_F(SvlHeader, Svl1GoldenFullRequest)
{
    clsTicket t;
    t.setexisto(true);
    t.setAUCUIT(" 30712345678 ");
    t.setTarjeta("  6034930012345678=2512  ");
    t.setTipoIngresoAsociado("A");
    t.setCuitEfector("30-70000004-9");
    t.setTicketReferencia("90000417");
    t.setAUTMAT("MN");
    t.setAUNMAT("1234");
    t.setAUFECP("1032026");
    t.setAUHORP("143005");
    t.setAUFINA("");
    t.setDocumentacionExtra("DX1");
    t.setNumeroTransaccionPrestador("987654321");
    t.setCodigoSeguridad("12345");
    t.setDiagnostico1("A01");
    t.setAUNTRA("555");
    t.setOperacion(1);

    const QByteArray expected = QByteArray("P1215") + "11" + f("6034930012345678=2512", 100) + "1" + "30712345678"
                                + "30-70000004" + f("90000417", 12) + b(38) + "01032026" + "1430" + b(20) + "N1"
                                + "001234" + b(17) + b(12) + f("DX1", 5) + "0" + "00000" + b(47) + "0000" + b(40)
                                + "000987654321" + b(6) + "123" + b(9) + "\r\n";
    ASSERT_EQ(expected.size(), 383);
    EXPECT_EQ(writeSvl1(t), expected);
    EXPECT_EQ(General::SVL1Actual, QString::fromLatin1(expected.left(381)));
    EXPECT_TRUE(t.existo());
    EXPECT_EQ(t.TarjetaAsociado(), QString("6034930012345678=2512").leftJustified(100));
}

TEST_F(SvlHeader, Svl1GoldenDefaultsUseClockAndShortVersion)
{
    Platform::setProgramVersion({2, 0, 3});
    clsTicket t;
    const QByteArray expected = QByteArray("P203 ") + "  " + b(100) + "2" + b(11) + b(11) + b(12) + b(38) + "20260301"
                                + "0905" + b(20) + "01" + "000000" + b(17) + b(12) + b(5) + "0" + "00000" + b(47)
                                + "0000" + b(40) + "000000000000" + b(6) + b(3) + b(9) + "\r\n";
    ASSERT_EQ(expected.size(), 383);
    EXPECT_EQ(writeSvl1(t), expected);
    EXPECT_TRUE(t.existo());
    EXPECT_FALSE(t.medicamentos());
}

TEST_F(SvlHeader, Svl1GoldenWindows1252CutsAndControlCharacters)
{
    Platform::setProgramVersion({10, 12, 105});
    clsTicket t;
    t.setTarjeta(QString::fromUtf8("Ñandú á €\t") + QString(110, 'X'));
    t.setCuitEfector("20-1");
    t.setAUTMAT("O0");
    t.setAUNMAT("0001234");
    t.setAUFECP("20251231");
    t.setAUHORP("930");
    t.setAUFINA("5");
    t.setNumeroTransaccionPrestador("123456789012");
    t.setCodigoSeguridad("7");
    t.setOperacion(7);

    // One byte per character: Ñ D1, ú FA, á E1, € 80; the tab becomes a blank; the card keeps
    // its first 100 characters.
    const QByteArray card = QByteArray("\xD1" "and" "\xFA" " " "\xE1" " " "\x80" " ") + QByteArray(90, 'X');
    const QByteArray expected = QByteArray("P2105") + "61" + card + "2" + b(11) + f("20-1", 11) + b(12) + b(38)
                                + "20251231" + "0930" + b(20) + "02" + "001234" + b(17) + b(12) + b(5) + "5"
                                + "00000" + b(47) + "0000" + b(40) + "123456789012" + b(6) + f("7", 3) + b(9)
                                + "\r\n";
    ASSERT_EQ(expected.size(), 383);
    EXPECT_EQ(writeSvl1(t), expected);
}

TEST_F(SvlHeader, OperationCodeTable)
{
    const std::map<int, const char*> codes = {
        {1, "11"},  {2, "15"},  {3, "21"},  {4, "12"},  {5, "41"},  {6, "42"},  {7, "60"},  {8, "65"},
        {9, "07"},  {10, "09"}, {11, "43"}, {12, "52"}, {14, "16"}, {15, "64"}, {16, "53"}, {17, "71"},
        {18, "72"}, {19, "73"}, {20, "66"}, {21, "67"}, {31, "31"}, {80, "80"},
    };
    for (int op = -2; op <= 90; ++op) {
        clsTicket t;
        t.setOperacion(op);
        const auto it = codes.find(op);
        const QByteArray expected = it == codes.end() ? QByteArray("  ") : QByteArray(it->second);
        EXPECT_EQ(writeSvl1(t).mid(5, 2), expected) << "operation " << op;
        EXPECT_EQ(clsTicket::CodigoOperacion(op, QString()), QString::fromLatin1(expected).trimmed()) << op;
    }

    // An operation without a code keeps the one set before.
    clsTicket kept;
    kept.setOperacion(2);
    kept.setOperacion(13);
    EXPECT_EQ(writeSvl1(kept).mid(5, 2), "15");

    // The closing operation depends on the finalisation code set before it, and agrees with
    // the digit written at 255.
    struct Cierre { const char* aufina; const char* code; const char* digit; };
    const Cierre cierres[] = {{"", "60", "0"}, {"0", "60", "0"}, {" 0 ", "60", "0"}, {"00", "60", "0"},
                              {"5", "61", "5"}, {"05", "61", "5"}};
    for (const auto& c : cierres) {
        clsTicket t;
        t.setAUFINA(c.aufina);
        t.setOperacion(7);
        const QByteArray r = writeSvl1(t);
        EXPECT_EQ(r.mid(5, 2), c.code) << c.aufina;
        EXPECT_EQ(r.mid(254, 1), c.digit) << c.aufina;
    }
}

TEST_F(SvlHeader, ReferenceTicketPrefixes)
{
    struct Case { int operacion; const char* referencia; const char* getter; };
    const Case cases[] = {
        {17, "90000417", "OO000417"}, {18, "90000417", "OP000417"}, {19, "90000417", "OD000417"},
        {1, "90000417", "90000417"},  {1, "417", "41000417"},       {1, "", "00000000"},
    };
    for (const auto& c : cases) {
        clsTicket t;
        t.setTicketReferencia(c.referencia);
        t.setOperacion(c.operacion);
        EXPECT_EQ(t.TicketReferencia(), c.getter) << c.operacion << " " << c.referencia;
        // The record carries the reference as given, whatever the prefix.
        EXPECT_EQ(writeSvl1(t).mid(130, 12), f(c.referencia, 12));
    }
}

TEST_F(SvlHeader, LicenceTypeTable)
{
    struct Case { const char* autmat; int operacion; const char* expected; };
    const Case cases[] = {
        {"", 1, "01"},   {"MP", 12, "MP"}, {"MP", 20, "MP"}, {"MP", 1, "P1"}, {"MN", 1, "N1"},
        {"OP", 1, "P2"}, {"MC", 1, "11"},  {"O0", 1, "02"},  {"M", 1, "1 "},  {"MP", 0, "P1"},
        {"M", 12, "M "},
    };
    for (const auto& c : cases) {
        clsTicket t;
        t.setAUTMAT(c.autmat);
        t.setOperacion(c.operacion);
        EXPECT_EQ(writeSvl1(t).mid(212, 2), c.expected) << c.autmat << " / " << c.operacion;
    }
}

TEST_F(SvlHeader, ServiceTimeKeepsHoursAndMinutes)
{
    struct Case { const char* horp; const char* expected; };
    const Case cases[] = {{"1430", "1430"}, {"143005", "1430"}, {"93005", "0930"}, {"930", "0930"}, {"", "0905"}};
    for (const auto& c : cases) {
        clsTicket t;
        t.setAUHORP(c.horp);
        EXPECT_EQ(writeSvl1(t).mid(188, 4), c.expected) << c.horp;
    }
}

TEST_F(SvlHeader, NumbersThatDoNotFitAreRefused)
{
    struct Case { const char* campo; void (clsTicket::*set)(const QString&); const char* value; int error; };
    const Case cases[] = {
        {"AUNMAT", &clsTicket::setAUNMAT, "1234567", VbError::Overflow},
        {"NumeroTransaccionPrestador", &clsTicket::setNumeroTransaccionPrestador, "1234567890123", VbError::Overflow},
        {"AUFECP", &clsTicket::setAUFECP, "202603011", VbError::Overflow},
        {"AUHORP", &clsTicket::setAUHORP, "1234567", VbError::Overflow},
        {"AUFINA", &clsTicket::setAUFINA, "12", VbError::Overflow},
        {"AUNMAT", &clsTicket::setAUNMAT, "12a", VbError::TypeMismatch},
    };
    for (const auto& c : cases) {
        General::SVL1Actual = "previo";
        clsTicket t;
        (t.*c.set)(c.value);
        try {
            t.GrabarSVL1(terminal);
            ADD_FAILURE() << c.campo << " " << c.value << " was written";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number, c.error) << c.campo;
            EXPECT_EQ(e.source, "clsTicket");
            EXPECT_TRUE(e.description.contains(c.campo)) << e.description.toStdString();
        }
        EXPECT_FALSE(tf.exists("ter01/upload/_svl.1")) << c.campo;
        EXPECT_EQ(General::SVL1Actual, "previo");
        EXPECT_TRUE(t.existo());
    }
}

TEST_F(SvlHeader, WriterFailuresAreRaisedFromTheClass)
{
    tf.write("plano", "x"); // a file where the terminal folder should be
    clsTicket t;
    for (auto grabar : {&clsTicket::GrabarSVL1, &clsTicket::GrabarSVL5, &clsTicket::GrabarSVL6}) {
        try {
            (t.*grabar)(tf.path() + "plano");
            ADD_FAILURE() << "no error";
        } catch (const VbError& e) {
            EXPECT_EQ(e.source, "clsTicket");
        }
    }
    EXPECT_EQ(General::SVL1Actual, "");
}

TEST_F(SvlHeader, RecordReplacesALongerFile)
{
    tf.write("ter01/upload/_svl.1", QByteArray(1000, 'Z'));
    clsTicket t;
    EXPECT_EQ(writeSvl1(t).size(), 383);
}

TEST_F(SvlHeader, Svl5GoldenFull)
{
    clsTicket t;
    t.setTipoDocumento(" 1 ");
    t.setNumeroDocumento("28123456");
    t.setApellidoNombreEfector(QString::fromUtf8("Núñez Ω, María"));
    t.setEspecialidadEfector("007");
    t.setCodigoProveedorEfector("12345678");
    t.setTelefonoEfector("011-4555-1234");
    t.setCorreoElectronicoEfector("efector@example.com");
    t.setDireccionEfector("Av. Siempre Viva 742");
    t.setLatitud("-34.603722");
    t.setLongitud("-58.381592");
    t.setApellidoNombrePrescriptor(QString::fromUtf8("Gómez, José"));
    t.setCUITPrescriptor("20123456789");
    t.setEspecialidadPrescriptor("012");
    t.setCodigoProveedorMedicoPrescriptor("87654321");
    t.setDireccionDerivacion(QString::fromUtf8("Hospital Central €"));
    QString instrucciones;
    for (int i = 0; i < 30; ++i) instrucciones += "ABCDEFGHIJ";
    t.setInstrucciones(instrucciones);
    t.setNumeroPrescripcion("000000012345");
    t.setTelefonoPaciente("15-5555-0000");
    t.setCorreoElectronicoPaciente("p@x.com");
    t.setDireccionPaciente("Calle\t1\r\n2");
    t.setSolicitaAtencionDomicilio("S");
    ASSERT_TRUE(t.GrabarSVL5(terminal));

    QByteArray instr250;
    for (int i = 0; i < 25; ++i) instr250 += "ABCDEFGHIJ";
    // The letter outside the code page becomes "?"; the others take one byte each.
    const QByteArray expected = QByteArray("P1215") + "1" + f("28123456", 10)
                                + f("N\xFA" "\xF1" "ez ?, Mar\xED" "a", 40) + "007" + "12345678"
                                + f("011-4555-1234", 15) + f("efector@example.com", 50)
                                + f("Av. Siempre Viva 742", 100) + f("-34.603722", 20) + f("-58.381592", 20)
                                + f("G\xF3" "mez, Jos\xE9", 40) + "20123456789" + "012" + "87654321"
                                + f("Hospital Central \x80", 100) + instr250 + "000000012345"
                                + f("15-5555-0000", 15) + f("p@x.com", 50) + f("Calle 1  2", 100) + "S" + b(32)
                                + "\r\n";
    ASSERT_EQ(expected.size(), 896);
    EXPECT_EQ(upload("_svl.5"), expected);
    EXPECT_FALSE(t.existo());
}

TEST_F(SvlHeader, Svl5WithoutPrescriptionData)
{
    clsTicket t;
    ASSERT_TRUE(t.GrabarSVL5(terminal));
    EXPECT_EQ(upload("_svl.5"), QByteArray("P1215") + b(889) + "\r\n");
}

TEST_F(SvlHeader, Svl6GoldenFull)
{
    General::SVL1Actual = "previo";
    clsTicket t;
    t.setAUCUIT("30712345678");
    t.setTarjeta(QString::fromUtf8("ÑANDÚ á €"));
    t.setTipoIngresoAsociado("A");
    t.setEnvioDomicilio("S");
    t.setTelefono("011-4555-1234");
    t.setDomicilio(QString::fromUtf8("Peña 1234\r\nPiso 2"));
    t.setCodigoPostal("C1425ABC");
    t.setOperacion(5);
    ASSERT_TRUE(t.GrabarSVL6(terminal));

    const QByteArray expected = QByteArray("41") + f("\xD1" "AND" "\xDA" " " "\xE1" " " "\x80", 100) + "1"
                                + "30712345678" + b(12) + "S" + f("011-4555-1234", 15)
                                + f("Pe\xF1" "a 1234  Piso 2", 100) + f("C1425ABC", 10) + b(54) + "0000" + b(40)
                                + "\r\n";
    ASSERT_EQ(expected.size(), 352);
    EXPECT_EQ(upload("_svl.6"), expected);
    EXPECT_TRUE(t.existo());
    EXPECT_TRUE(t.medicamentos());
    EXPECT_FALSE(tf.exists("ter01/upload/_svl.1"));
    EXPECT_FALSE(tf.exists("ter01/upload/_svl.5"));
    EXPECT_EQ(General::SVL1Actual, "previo");
}

TEST_F(SvlHeader, Svl6WithNothingSet)
{
    clsTicket t;
    ASSERT_TRUE(t.GrabarSVL6(terminal));
    EXPECT_EQ(upload("_svl.6"), b(2) + b(100) + "2" + b(11) + b(12) + b(1 + 15 + 100 + 10) + b(54) + "0000" + b(40)
                                    + "\r\n");
}

TEST_F(SvlHeader, ReadAnswerCodes)
{
    const QByteArray comment = "AFILIADO INEXISTENTE";
    struct Case { QByteArray code; bool error; };
    const Case cases[] = {
        {"0051", true}, {"E001", true}, {" 051", true}, {"0000", false}, {"    ", false}, {"  00", false},
    };
    for (const auto& c : cases) {
        tf.write("ter01/download/_svl.1",
                 answer({{238, "COMPL0000001"}, {261, "9800004521  "}, {291, "AB123"}, {296, "1"},
                         {297, "00000150.50"}, {308, c.code}, {312, comment}}));
        clsTicket t;
        const clsItemError item = t.LeerSVL1(terminal);
        EXPECT_EQ(item.Tipo, 1);
        EXPECT_EQ(item.Clave, "");
        EXPECT_EQ(item.Error, c.error ? QString::fromLatin1(c.code) : QString()) << c.code.constData();
        EXPECT_EQ(item.Comentario, c.error ? QString::fromLatin1(f(comment, 40)) : QString());
        EXPECT_EQ(t.CodigoRespuesta(), QString::fromLatin1(c.code));
        EXPECT_EQ(t.NumeroAutorizacion(), "9800004521  ");
        EXPECT_EQ(t.NumeroAutorizacionComplementaria(), "COMPL0000001");
        EXPECT_EQ(t.Coseguro(), "00000150.50");
        EXPECT_EQ(t.PlanAsociado(), "AB 123");
        EXPECT_EQ(t.TipoAsociado(), "O");
        EXPECT_EQ(t.MensajeRespuesta(), QString::fromLatin1(comment) + " ");
    }
}

TEST_F(SvlHeader, ReadAnswerMemberType)
{
    for (const auto& [type, expected] : std::map<QByteArray, QString>{{"O", "O"}, {"1", "O"}, {"D", "D"}, {"2", "D"}, {" ", "D"}}) {
        tf.write("ter01/download/_svl.1", answer({{296, type}}));
        clsTicket t;
        t.LeerSVL1(terminal);
        EXPECT_EQ(t.TipoAsociado(), expected) << type.constData();
    }
}

TEST_F(SvlHeader, ReadMissingOrEmptyAnswer)
{
    // No download folder, then a folder without the file, then an empty file.
    for (int step = 0; step < 3; ++step) {
        if (step == 1) tf.mkdir("ter01/download");
        if (step == 2) tf.write("ter01/download/_svl.1", QByteArray());
        clsTicket t;
        const clsItemError item = t.LeerSVL1(terminal);
        EXPECT_EQ(item.Error, "") << step;
        EXPECT_EQ(item.Comentario, "");
        EXPECT_EQ(t.NumeroAutorizacion(), "");
        EXPECT_EQ(t.CodigoRespuesta(), "");
        EXPECT_EQ(t.Coseguro(), "");
        EXPECT_EQ(t.PlanAsociado(), " ");
        EXPECT_EQ(t.TipoAsociado(), "D");
    }
    EXPECT_EQ(tf.read("ter01/download/_svl.1"), QByteArray());
    tf.mkdir("ter02");
    clsTicket t;
    t.LeerSVL1(tf.path() + "ter02");
    EXPECT_FALSE(tf.exists("ter02/download"));
    EXPECT_FALSE(tf.exists("ter02/download/_svl.1"));
}

TEST_F(SvlHeader, ReadShortAndExtraRecords)
{
    // A record cut inside the answer code cannot tell a rejection from an approval ("0051"
    // cut at 309 would read "00"): it is refused. Cut after the code, the rest counts as blank.
    tf.write("ter01/download/_svl.1", answer({{261, "000000001234"}, {308, "0051"}}, 309));
    clsTicket cut;
    try {
        cut.LeerSVL1(terminal);
        ADD_FAILURE() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number, 62);
        EXPECT_EQ(e.source, "clsTicket");
    }
    tf.write("ter01/download/_svl.1", answer({{261, "000000001234"}, {308, "0051"}}, 311));
    clsItemError item = cut.LeerSVL1(terminal);
    EXPECT_EQ(cut.NumeroAutorizacion(), "000000001234");
    EXPECT_EQ(cut.CodigoRespuesta(), "0051");
    EXPECT_EQ(item.Error, "0051");
    EXPECT_EQ(item.Comentario, QString(40, QLatin1Char(' ')));

    // Only the first record counts; a short second one is ignored.
    tf.write("ter01/download/_svl.1", answer({{308, "0000"}}) + answer({{308, "0099"}}, 320));
    clsTicket two;
    item = two.LeerSVL1(terminal);
    EXPECT_EQ(item.Error, "");
    EXPECT_EQ(two.CodigoRespuesta(), "0000");
}

TEST_F(SvlHeader, ReadAnswerLeftInAnyCase)
{
    tf.write("ter01/DownLoad/_SVL.1", answer({{308, "0051"}, {312, QByteArray("C\xF3" "digo")}}));
    clsTicket t;
    const clsItemError item = t.LeerSVL1(terminal);
    EXPECT_EQ(item.Error, "0051");
    EXPECT_EQ(item.Comentario, QString::fromUtf8("Código").leftJustified(40));
}
