// Reading the client's answer files back: error items, the ticket, the raw records, the
// table-update texts and the look-ups on them.
#include "engine/clsCierres.h"
#include "engine/clsItemTicket.h"
#include "engine/clsTicket.h"
#include "engine/clsTransaccion.h"
#include "engine/clsVademecum.h"
#include "engine/frmProcesandoCO.h"
#include "support/DruvexSim.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// A record of `largo` bytes (CR LF included) with the given fields at their 1-based positions.
QByteArray Registro(int largo, std::initializer_list<std::pair<int, QByteArray>> campos)
{
    QByteArray r(largo - 2, ' ');
    for (const auto& [pos, valor] : campos) r.replace(pos - 1, valor.size(), valor);
    return r + "\r\n";
}

struct Respuesta {
    TempFolder wf;
    clsTransaccion t;
    Respuesta()
    {
        t.setPasoDRUVEX(wf.path() + "Term01");
        EXPECT_TRUE(t.PrepararCarpetaTerminal());
    }
    void descarga(const QString& nombre, const QByteArray& bytes) { wf.write("Term01/download/" + nombre, bytes); }
};

const QByteArray kComentario = "AFILIADO SUSPENDIDO                     "; // 40 characters

}

TEST(Answers, HeaderAnswerWithTwoServiceLines)
{
    Respuesta r;
    EXPECT_EQ(r.t.LeerCodigoError(1), ""); // before any exchange
    r.descarga("_svl.2", Registro(162, {{1, "FF00001420101   "}, {87, "0000"}}) +
                             Registro(162, {{1, "FF00001420102   "}, {87, "0012"}, {91, "PRESTACION NO CUBIERTA"}}));
    r.descarga("_svl.1", Registro(383, {{238, "000000000077"},
                                        {261, "000012345678"},
                                        {291, "AB210"},
                                        {296, "1"},
                                        {297, "00000001500"},
                                        {308, "0051"},
                                        {312, kComentario}}));
    ASSERT_TRUE(r.t.LeerRespuestaTicket());
    ASSERT_EQ(r.t.colErrores.size(), 3);
    EXPECT_EQ(r.t.colErrores[0].Clave, "SVL2");
    EXPECT_EQ(r.t.colErrores[1].Clave, "SVL2");
    EXPECT_EQ(r.t.colErrores[2].Clave, "SVL3");

    struct Caso {
        qint16 i;
        QString codigo;
        QString comentario;
    } casos[] = {
        {0, "0051", kComentario},
        {1, "0000", QString(40, ' ')},
        {2, "0012", "PRESTACION NO CUBIERTA                  "},
        {3, "0051", kComentario},
        {4, "", ""},
        {-1, "", ""},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(r.t.LeerCodigoError(c.i), c.codigo) << c.i;
        EXPECT_EQ(r.t.LeerComentarioError(c.i), c.comentario) << c.i;
    }

    struct Campo {
        QString nombre;
        QString valor;
    } campos[] = {
        {"CODIGORESPUESTA", "0051"},
        {"NumeroAutorizacion", "000012345678"},
        {"NUMEROAUTORIZACIONCOMPLEMENTARIO", "000000000077"},
        {"  coseguro ", "00000001500"},
        {"PLANASOCIADO", "AB 210"},
        {"TIPOASOCIADO", "O"},
        {"IMPORTE", "Campo inexistente"},
        {"", "Campo inexistente"},
    };
    for (const Campo& c : campos) EXPECT_EQ(r.t.LeerCampoRespuesta(c.nombre), c.valor) << c.nombre.toStdString();

    // The header reader releases the rejection codes, which nothing fills.
    EXPECT_FALSE(r.t.colCodigosRechazo.has_value());
    EXPECT_EQ(r.t.LeerCodigoRechazo(1), "");
    r.t.colCodigosRechazo = QStringList{"R1", "R2"};
    EXPECT_EQ(r.t.LeerCodigoRechazo(2), "R2");
    EXPECT_EQ(r.t.LeerCodigoRechazo(7), "R1");
}

TEST(Answers, TicketAndRawRecordsAreReadByLines)
{
    Respuesta r;
    QByteArray ticket;
    for (int i = 1; i <= 12; ++i) ticket += "Linea " + QByteArray::number(i) + "\r\n";
    r.descarga("_ticket.prn", ticket);
    EXPECT_EQ(r.t.LeerTicketPrn(), QString::fromLatin1(ticket));
    EXPECT_EQ(r.t.LineasTicket(), 12);

    // Line ends of any kind, a last line without one, and the code page's own letters.
    r.descarga("_ticket.prn", "uno\rdos\nPe\xf1" "a\r\ncuatro");
    EXPECT_EQ(r.t.LeerTicketPrn(), QString::fromUtf8("uno\r\ndos\r\nPeña\r\ncuatro\r\n"));
    EXPECT_EQ(r.t.LineasTicket(), 4);

    // A missing ticket leaves no count of the earlier one behind.
    QFile::remove(r.wf.file("Term01/download/_ticket.prn"));
    EXPECT_EQ(r.t.LeerTicketPrn(), "");
    EXPECT_EQ(r.t.LineasTicket(), 0);

    // Files the client leaves are found whatever their case.
    QDir(r.wf.file("Term01/download")).removeRecursively();
    r.wf.write("Term01/DownLoad/_SVL.1", "H\r\n");
    r.wf.write("Term01/DownLoad/_Svl.2", "");
    r.t.LeerArchivosSVL();
    EXPECT_EQ(r.t.GetSVL1(), "H\r\n");
    EXPECT_EQ(r.t.GetSVL2(), "");
    EXPECT_EQ(r.t.GetCantidadPrestaciones(), 0);
    r.wf.write("Term01/DownLoad/_Svl.2", "A\r\nB\r\nC\r\n");
    r.t.LeerArchivosSVL();
    EXPECT_EQ(r.t.GetSVL2(), "A\r\nB\r\nC\r\n");
    EXPECT_EQ(r.t.GetCantidadPrestaciones(), 3);
}

TEST(Answers, TableUpdateTextsStayReadableAfterFinalizar)
{
    struct Caso {
        const char* archivo;
        void (clsTransaccion::*leer)();
        QString (clsTransaccion::*get)() const;
    } casos[] = {
        {"_sal.2", &clsTransaccion::LeerArchivoSAL2, &clsTransaccion::GetMedicos},
        {"_sal.4", &clsTransaccion::LeerArchivoSAL4, &clsTransaccion::GetDiagnosticos},
        {"_sal.5", &clsTransaccion::LeerArchivoSAL5, &clsTransaccion::GetPracticas},
        {"_sal.6", &clsTransaccion::LeerArchivoSAL6, &clsTransaccion::GetPrestadores},
        {"_sal.7", &clsTransaccion::LeerArchivoSAL7, &clsTransaccion::GetEfectores},
        {"_sal.8", &clsTransaccion::LeerArchivoSAL8, &clsTransaccion::GetVademecum},
    };
    for (const Caso& c : casos) {
        Respuesta r;
        (r.t.*c.leer)();
        EXPECT_EQ((r.t.*c.get)(), "") << c.archivo;
        r.descarga(c.archivo, QByteArray(c.archivo) + " linea 1\r\n" + c.archivo + " linea 2");
        (r.t.*c.leer)();
        r.t.FinalizarTransaccion();
        EXPECT_EQ((r.t.*c.get)(), QString(c.archivo) + " linea 1\r\n" + c.archivo + " linea 2\r\n") << c.archivo;
    }
}

TEST(Answers, CloseAndCatalogueAnswersGiveOneLabelledItem)
{
    struct Caso {
        QByteArray codigo;
        QString error;
        QString comentario;
    } casos[] = {
        {"0051", "0051", kComentario},
        {"0000", "", ""},
        {"    ", "", ""},
    };
    for (const Caso& c : casos) {
        Respuesta r;
        r.descarga("_sal.0", Registro(116, {{1, "06"}, {41, c.codigo}, {45, kComentario}}));
        r.descarga("_svl.7", Registro(318, {{1, "5 "}, {273, c.codigo}, {277, kComentario}}));
        ASSERT_TRUE(r.t.LeeRespuestaCierres());
        ASSERT_EQ(r.t.colErrores.size(), 1);
        EXPECT_EQ(r.t.colErrores[0].Clave, "SAL0");
        EXPECT_EQ(r.t.colErrores[0].Error, c.error);
        EXPECT_EQ(r.t.colErrores[0].Comentario, c.comentario);
        ASSERT_TRUE(r.t.LeeRespuestaVademecum());
        ASSERT_EQ(r.t.colErrores.size(), 1);
        EXPECT_EQ(r.t.colErrores[0].Clave, "SVL7");
        EXPECT_EQ(r.t.colErrores[0].Error, c.error);
    }
}

// The simulated client's table-update and working-folder files have the widths of their layouts.
TEST(Answers, SimulatedClientLineWidths)
{
    const auto a = DruvexSim::ArchivosTablasEjemplo();
    struct Caso {
        QString archivo;
        int ancho;
    } casos[] = {{"_sal.2", 51}, {"_sal.7", 57}, {"_sal.6", 73}, {"_sal.5", 176}, {"_sal.4", 163}};
    for (const Caso& c : casos) {
        const QList<QByteArray> lineas = a.value(c.archivo).split('\n');
        for (int i = 0; i + 1 < lineas.size(); ++i) EXPECT_EQ(lineas[i].size() + 1, c.ancho) << c.archivo.toStdString();
    }
    EXPECT_EQ(DruvexSim::LineaMedico(123, "MP", "PEREZ JUAN", false),
              QByteArray("000123MPPEREZ JUAN                              0\r\n"));
    const QByteArray emp = DruvexSim::RegistroEmp("00001234", "05", "OSDE", "01", "FARMACIA");
    EXPECT_EQ(emp.size(), 74);
    EXPECT_EQ(emp.mid(0, 10), "0000123405");
    EXPECT_EQ(emp.mid(40, 2), "01");
    const QByteArray prm = DruvexSim::LineaPrm("05", "01", "SVL1", true);
    EXPECT_EQ(prm.left(10), "050100SVL1");
    EXPECT_EQ(prm.at(102), '1');
}

// A whole header exchange through the simulated client, read back as the sender does.
TEST(Answers, RejectedHeaderThroughTheSimulatedClient)
{
    frmProcesandoCO::setDuracionTick(50);
    TempFolder wf;
    clsTransaccion t;
    t.setPasoDRUVEX(wf.path());
    DruvexSim sim(wf.path());
    DruvexSim::Guion g;
    g.modo = DruvexSim::Modo::Rechazar;
    g.codigoRespuesta = "0051";
    g.mensaje = "AFILIADO SUSPENDIDO";
    g.codigosItems = QStringList{"0000", "0012"};
    sim.setGuion(g);
    sim.iniciar();

    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    ASSERT_TRUE(t.LimpiarDescargas());
    t.Ticket().setTarjeta("6001234");
    t.Ticket().setOperacion(1);
    ASSERT_TRUE(t.Ticket().GrabarSVL1(t.CarpetaTerminal()));
    for (qint16 i = 1; i <= 2; ++i) {
        clsItemTicket item;
        item.setCodigoPrestacion(i == 1 ? "420101" : "420102");
        item.setCantidad("1");
        ASSERT_TRUE(item.GrabarRegistroSVL2(i, t.CarpetaTerminal()));
    }
    ASSERT_TRUE(t.EscribirControlSVL0());
    frmProcesandoCO frm;
    bool vis = false;
    QString base = t.CarpetaBase();
    EXPECT_EQ(frm.Cargar(30000, false, t.CarpetaTerminal(), vis, base), "0");
    frmProcesandoCO::setDuracionTick(1000);

    ASSERT_TRUE(t.LeerRespuestaTicket());
    ASSERT_EQ(t.colErrores.size(), 3);
    EXPECT_EQ(t.LeerCodigoError(2), "0012");
    EXPECT_EQ(t.LeerCodigoError(0), "0051");
    EXPECT_EQ(t.LeerComentarioError(0), kComentario);
    EXPECT_EQ(t.LeerCampoRespuesta("NUMEROAUTORIZACION"), "000012345678");
    const QString ticket = t.LeerTicketPrn();
    EXPECT_TRUE(ticket.contains("RECHAZADA"));
    EXPECT_FALSE(ticket.contains("ERROR"));
    t.LeerArchivosSVL();
    EXPECT_EQ(t.GetCantidadPrestaciones(), 2);
    EXPECT_EQ(t.GetSVL1().size(), 383);
    t.BorrarCarpetaTerminal();
    EXPECT_EQ(t.GetSVL1().mid(307, 4), "0051"); // answer texts outlive the folder
    EXPECT_FALSE(QFileInfo::exists(wf.path() + t.NombreTerminal()));
}

// A table-update request answered by the simulated client: the texts are the files as sent.
TEST(Answers, TableUpdateThroughTheSimulatedClient)
{
    frmProcesandoCO::setDuracionTick(50);
    TempFolder wf;
    clsTransaccion t;
    t.setPasoDRUVEX(wf.path());
    DruvexSim sim(wf.path());
    DruvexSim::Guion g;
    g.archivos = DruvexSim::ArchivosTablasEjemplo();
    g.codigoCierre = "0000";
    sim.setGuion(g);
    sim.iniciar();
    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    t.Cierres().setOperacion("09");
    t.Cierres().setActualizaMedicos("1");
    ASSERT_TRUE(t.Cierres().GrabarSAL0(t.CarpetaTerminal()));
    ASSERT_TRUE(t.EscribirControlSVL0());
    frmProcesandoCO frm;
    bool vis = false;
    QString base;
    EXPECT_EQ(frm.Cargar(50000, false, t.CarpetaTerminal(), vis, base), "0");
    frmProcesandoCO::setDuracionTick(1000);
    ASSERT_TRUE(t.LeeRespuestaCierres());
    EXPECT_EQ(t.LeerCodigoError(1), "");
    t.LeerArchivoSAL4();
    t.LeerArchivoSAL5();
    t.LeerArchivoSAL2();
    t.LeerArchivoSAL6();
    t.LeerArchivoSAL7();
    t.BorrarCarpetaTerminal();
    t.FinalizarTransaccion();
    EXPECT_EQ(t.GetMedicos(), QString::fromLatin1(g.archivos.value("_sal.2")));
    EXPECT_EQ(t.GetDiagnosticos(), QString::fromLatin1(g.archivos.value("_sal.4")));
    EXPECT_EQ(t.GetPracticas(), QString::fromLatin1(g.archivos.value("_sal.5")));
    EXPECT_EQ(t.GetPrestadores(), QString::fromLatin1(g.archivos.value("_sal.6")));
    EXPECT_EQ(t.GetEfectores(), QString::fromLatin1(g.archivos.value("_sal.7")));
    EXPECT_EQ(t.GetVademecum(), "");
}
