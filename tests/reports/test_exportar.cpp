// The export window on both engines, from the main window's entries: each layout byte for
// byte against lines written out from the layout tables, the date and data messages, a file
// that cannot be written, and the workbook read back from its unzipped sheet.
#include "config/clsConfig.h"
#include "config/GeneralConfiguracion.h"
#include "engine/General.h"
#include "platform/Database.h"
#include "platform/EscrituraSegura.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "reports/frmControlFecha.h"
#include "reports/frmExportarDatos.h"
#include "reports/frmValoraciones.h"
#include "reports/modExportarDatos.h"
#include "platform/Codec1252.h"
#include "platform/VbError.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "support/ConfiguracionPrueba.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <thread>

namespace {

QString B(int n) { return QString(n, ' '); }
QString Z(int n) { return QString(n, '0'); }
const QString b3 = B(3);

class Exportar : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Platform::setClock([] { return QDateTime(QDate(2024, 6, 15), QTime(9, 30)); });
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setDefaultOS(QString());
        ConfiguracionPrueba::ObrasSociales({{"Salud Sur", 5, false, false, 12}, {"OSDE Binario", 2, true, false, 11}});
        m = std::make_unique<frmMain>();
        m->resize(1024, 756);
        m->show();
        m->ObraSocial->RefrescarLista();
        m->ObraSocial->lstObraSocial->setCurrentRow(1); // company code 11
        Sembrar();
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmControlFecha") w->close();
        m.reset();
        General::ConexionBD.reset();
        General::gConfig.reset();
        General::OperacionActual = 0;
        EscrituraSegura::FallarEnOperacion(0);
        Platform::setClock({});
        DbFixture::TearDown();
    }
    void Sembrar()
    {
        auto cn = Connect();
        cn->Execute("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, codigoOSDE) VALUES (1, 'CLINICA DEL SOL', "
                    "'30700000049', 12345)");
        const QList<QVariantList> efectores = {{1, "20111111112", "4455", "C1"}, {2, "20222222223", "778", "P2"},
                                               {3, "20333333334", "", ""}, {4, "20444444445", "9", "MP"}};
        for (const auto& e : efectores)
            cn->Execute("INSERT INTO Efectores (IdEfector, Nombre, Cuit, Matricula, TipoMatricula) "
                        "VALUES (?, 'EFECTOR', ?, ?, ?)", e);
        const QVariant nulo;
        // Ticket, Fecha, FechaPrestacion, Tarjeta, Operacion, Prestador, Solicitante, Matricula,
        // TipoMatricula, Autorizacion, CodigoEmpresa
        const QList<QVariantList> trx = {
            {101, "20240603", "20240602", "1234567890123456", "11", "30700000049", "20111111112", "12345", "PM", "987", 11},
            {102, "20240605", "", "60A123", "65", nulo, "20222222223", nulo, nulo, nulo, 11},
            {103, "20240610", nulo, "777", "02", nulo, "20333333334", nulo, nulo, nulo, 11},
            {104, "20240610", "20240609", "555", "11", nulo, nulo, nulo, nulo, nulo, 12}, // another insurer
            {105, "20240620", "20240620", "555", "11", nulo, nulo, nulo, nulo, nulo, 11}, // after the range
            {106, "20240101", "20240101", "555", "11", nulo, nulo, nulo, nulo, nulo, 11}, // old enough to purge
            {107, "20240101", "20240101", "555", "11", nulo, nulo, nulo, nulo, nulo, 12},
        };
        for (const auto& t : trx)
            cn->Execute("INSERT INTO Transaccion (Ticket, Fecha, FechaPrestacion, Tarjeta, Operacion, Prestador, "
                        "PrestadorSolicitante, MatriculaMedicoPrescriptor, TipoMatriculaMPrescriptor, "
                        "NumeroAutorizacion, CodigoEmpresa, HoraPrestacion) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '1030')",
                        t);
        for (const QVariantList& i : QList<QVariantList>{{101, "ABCDEFGHIJ", 1}, {101, "420101", 2}, {103, "420102", 1},
                                                         {104, "420101", 1}, {105, "420101", 1}})
            cn->Execute("INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) VALUES (?, ?, ?)", i);
    }
    // Opens the window through its menu entry, with the dates and folder given.
    frmExportarDatos* Abrir(void (frmMain::*entrada)(), const QString& desde = "01/06/2024",
                            const QString& hasta = "15/06/2024")
    {
        (m.get()->*entrada)();
        auto* f = qobject_cast<frmExportarDatos*>(m->FormularioTrabajo("frmExportarDatos"));
        if (!f) return nullptr;
        f->txtFechaDesde->setText(desde);
        f->txtFechaHasta->setText(hasta);
        f->setCarpetaDestino(carpeta.path());
        return f;
    }
    static QByteArray Leer(const QString& ruta)
    {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no existe)");
    }
    static bool PurgaAbierta()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmControlFecha" && w->isVisible()) return true;
        return false;
    }
    static QByteArray Archivo(const QStringList& lineas) { return (lineas.join("\r\n") + "\r\n").toLatin1(); }

    QTemporaryDir carpeta;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> m;
};

// Ticket 101 has two items (its card 16 digits, one code of letters), 102 none and an empty
// service date, 103 a null date and an operation Osde leaves out.
TEST_P(Exportar, CadaFormatoByteAByte)
{
    const QString hope101 = "234567890123456" + B(30);
    const QString hopeFin = Z(40);
    const QString osde101 = " 012345" + b3 + "67890123456" + b3;
    const QString osde101b = b3 + "020624" + b3 + "00" + b3 + "000987" + b3 + "0" + b3 + Z(15) + b3 + "M" + b3 +
                             "0000012345" + b3 + "P" + b3 + "M" + b3 + "0000004455" + b3 + "C" + b3 + "000101" + b3 + Z(12);
    const QString sv = B(100) + Z(14);
    const QString svMedio = Z(24) + B(100) + Z(7) + b3 + Z(12);
    const QString svFin = Z(51) + B(86);
    const struct {
        void (frmMain::*entrada)();
        QString desde, hasta, archivo;
        QStringList lineas;
    } casos[] = {
        {&frmMain::mnuHope_Click, "01/06/2024", "15/06/2024", "DatosFormatoHope15062024.txt",
         {hope101 + "420101" + B(50) + "02/06/2024" + "02" + hopeFin,
          hope101 + "EFGHIJ" + B(50) + "02/06/2024" + "01" + hopeFin,
          "00000000060A123" + B(30) + "000000" + B(50) + B(10) + "00" + hopeFin,
          "000000000000777" + B(30) + "420102" + B(50) + B(10) + "01" + hopeFin}},
        {&frmMain::mnuHope_Click, "10/06/2024", "10/06/2024", "DatosFormatoHope15062024.txt",
         {"000000000000777" + B(30) + "420102" + B(50) + B(10) + "01" + hopeFin}},
        {&frmMain::mnuOsde_Click, "01/06/2024", "15/06/2024", "DatosFormatoOsde15062024.txt",
         {osde101 + "420101" + B(9) + b3 + "002" + osde101b, osde101 + "ABCDEFGHIJ" + B(5) + b3 + "001" + osde101b,
          " 000000" + b3 + "0000060A123" + b3 + B(15) + b3 + "000" + b3 + B(6) + b3 + "00" + b3 + "000000" + b3 + "0" +
              b3 + Z(15) + b3 + " " + b3 + Z(10) + b3 + " " + b3 + "O" + b3 + "0000000778" + b3 + "P" + b3 +
              "000102" + b3 + Z(12)}},
        {&frmMain::mnuServesalud_Click, "01/06/2024", "15/06/2024", "DatosFormatoServesalud15062024.txt",
         {"01890123456" + sv + "20240602" + svMedio + "420101" + B(14) + B(100) + "000002" + svFin,
          "01890123456" + sv + "20240602" + svMedio + "ABCDEFGHIJ" + B(10) + B(100) + "000001" + svFin,
          "0100060A123" + sv + B(8) + svMedio + B(20) + B(100) + "000000" + svFin,
          "01000000777" + sv + B(8) + svMedio + "420102" + B(14) + B(100) + "000001" + svFin}},
        {&frmMain::mnuSimeco_Click, "01/06/2024", "15/06/2024", "DatosFormatoSimeco15062024.txt",
         {"0000012345" "0000000101" "0111111112" "420101" "00002" + Z(10) + "7890123456" "00" "20240602",
          "0000012345" "0000000101" "0111111112" "EFGHIJ" "00001" + Z(10) + "7890123456" "00" "20240602",
          Z(10) + "0000000102" "0222222223" + Z(6) + "00000" + Z(10) + "000060A123" "00" + Z(8),
          Z(10) + "0000000103" "0333333334" "420102" "00001" + Z(10) + "0000000777" "00" + Z(8)}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.archivo.toStdString() + " " + c.desde.toStdString());
        QFile::remove(carpeta.filePath(c.archivo));
        QFile(carpeta.filePath(c.archivo)).open(QIODevice::WriteOnly); // the day's file is replaced
        dialogs.clear();
        frmExportarDatos* f = Abrir(c.entrada, c.desde, c.hasta);
        ASSERT_TRUE(f);
        EXPECT_EQ(General::OperacionActual, 98);
        f->cmdExportar_Click(1);
        const QString ruta = carpeta.path() + "/" + c.archivo;
        EXPECT_EQ(dialogs.messages(), QStringList{"El archivo " + ruta + " se generó éxito"});
        EXPECT_EQ(Leer(ruta), Archivo(c.lineas));
        EXPECT_EQ(QFile::permissions(ruta) & 0x0777, QFileDevice::ReadUser | QFileDevice::WriteUser) << "for the user alone";
        EXPECT_TRUE(PurgaAbierta());
        EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files).size(), 1) << "no temporary file is left";
        QFile::remove(ruta);
    }
}

// Refusals before the walk, the reading's failures, and the writing's: what is shown, whether
// a file is left and whether the purge is offered.
TEST_P(Exportar, MensajesYFallas)
{
    const QString leer = "Error al leer las transacciones para armar el archivo";
    const struct {
        const char* caso;
        void (frmMain::*entrada)();
        QString desde, hasta;
        std::function<void()> antes;
        QString mensaje, titulo;
        bool archivo, purga;
    } casos[] = {
        {"vacia", &frmMain::mnuHope_Click, " ", "15/06/2024", {}, "La fecha no puede quedar vacía",
         "Datos incorrectos", false, false},
        {"invertidas", &frmMain::mnuHope_Click, "16/06/2024", "15/06/2024", {},
         "La fecha desde debe ser inferior a la fecha hasta", "Datos incorrectos", false, false},
        {"no es fecha", &frmMain::mnuHope_Click, "31/02/2024", "15/06/2024", {}, "No coinciden los tipos", leer,
         false, false},
        {"sin datos", &frmMain::mnuSimeco_Click, "01/05/2024", "31/05/2024", {},
         "No se encontraron datos para esas fechas, para Simeco", "Consulta", false, false},
        {"tipo de matricula P", &frmMain::mnuOsde_Click, "01/06/2024", "15/06/2024",
         [this] {
             Connect()->Execute("UPDATE Transaccion SET PrestadorSolicitante = '20444444445' WHERE Ticket = 102");
         },
         "No coinciden los tipos", leer, false, false},
        {"escritura", &frmMain::mnuHope_Click, "01/06/2024", "15/06/2024",
         [] { EscrituraSegura::FallarEnOperacion(2); }, "No se pudo generar el archivo", "Quorvan", false,
         false},
        {"carpeta", &frmMain::mnuHope_Click, "01/06/2024", "15/06/2024",
         [this] { carpeta.remove(); }, "No se pudo generar el archivo", "Quorvan", false, false},
        {"sin obra social", &frmMain::mnuHope_Click, "01/06/2024", "15/06/2024",
         [this] { m->ObraSocial->lblEmpresa->clear(); },
         "Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha.", "Quorvan", false, false},
    };
    const auto filas = [this] { return Connect()->Query("SELECT COUNT(*) FROM Transaccion").value(0).toInt(); };
    const int antes = filas();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        frmExportarDatos* f = Abrir(c.entrada, c.desde, c.hasta);
        ASSERT_TRUE(f);
        if (c.antes) c.antes();
        dialogs.clear();
        f->cmdExportar_Click(1);
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_TRUE(dialogs.shown[0].text.startsWith(c.mensaje)) << dialogs.shown[0].text.toStdString();
        EXPECT_EQ(dialogs.shown[0].title, c.titulo);
        EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files).isEmpty(), !c.archivo);
        EXPECT_EQ(PurgaAbierta(), c.purga);
        EXPECT_EQ(filas(), antes);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmControlFecha") w->close();
        EscrituraSegura::FallarEnOperacion(0);
    }

    // Leaving a date field with a text that is not a date; an empty one passes.
    frmExportarDatos* f = Abrir(&frmMain::mnuHope_Click, "1/6/2024", "");
    dialogs.clear();
    EXPECT_FALSE(f->txtFechaDesde_LostFocus());
    EXPECT_TRUE(f->txtFechaHasta_LostFocus());
    f->txtFechaHasta->setText("32/01/2024");
    EXPECT_FALSE(f->txtFechaHasta_LostFocus());
    EXPECT_EQ(dialogs.messages(), (QStringList{"Fecha desde inválida", "Fecha hasta inválida"}));
}

// The export's connection cut in the middle of its rows, as a server restart cuts it: the
// export fails, leaves no file and offers no purge. On PostgreSQL a row of the period reads its
// card through a function that waits for a lock the test holds; once the export waits there,
// its server process is ended from a second connection.
TEST_P(Exportar, ConexionCortadaAMitadDeLaLectura)
{
    if (!isPostgreSQL()) GTEST_SKIP() << "a server process to cut exists on PostgreSQL only";
    auto cn = Connect();
    cn->Execute("INSERT INTO Transaccion (Ticket, Fecha, FechaPrestacion, Tarjeta, Operacion, CodigoEmpresa, "
                "HoraPrestacion) SELECT g, '20240607', '20240607', '555', '11', 11, '1030' "
                "FROM generate_series(1001, 1500) g");
    cn->Execute("ALTER TABLE Transaccion RENAME TO TransaccionDatos");
    cn->Execute("CREATE FUNCTION espera(t VARCHAR, n BIGINT) RETURNS VARCHAR STABLE LANGUAGE plpgsql AS $$ BEGIN "
                "IF n = 1400 THEN PERFORM pg_advisory_xact_lock_shared(hashtext(current_schema())); END IF; "
                "RETURN t; END $$");
    cn->Execute("CREATE VIEW Transaccion AS SELECT espera(Tarjeta, Ticket) AS Tarjeta, FechaPrestacion, "
                "HoraPrestacion, MatriculaMedicoPrescriptor, TipoMatriculaMPrescriptor, Ticket, Fecha, "
                "NumeroAutorizacion, Prestador, PrestadorSolicitante, Operacion, CodigoEmpresa FROM TransaccionDatos");
    cn->Query("SELECT pg_advisory_lock(hashtext(current_schema()))");
    General::ConexionBD = std::make_shared<Database>();
    General::ConexionBD->OpenStreaming();
    const qint64 proceso = ProcesoServidor(*General::ConexionBD);
    std::thread vigia([&] {
        Database v;
        v.OpenConnectionString(connectionString());
        for (int i = 0; i < 6000; ++i) {
            if (v.Query("SELECT COUNT(*) FROM pg_locks WHERE pid = ? AND NOT granted", {proceso}).value(0).toInt() > 0) {
                CortarConexion(proceso);
                return;
            }
            QThread::msleep(10);
        }
        ADD_FAILURE() << "the export never waited for the lock";
    });
    frmExportarDatos* f = Abrir(&frmMain::mnuHope_Click);
    ASSERT_TRUE(f);
    dialogs.clear();
    f->cmdExportar_Click(1);
    vigia.join();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].title, "Error al leer las transacciones para armar el archivo");
    EXPECT_TRUE(QDir(carpeta.path()).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(PurgaAbierta());
}

// The workbook holds the column names and then every row's columns as the query gives them.
TEST_P(Exportar, LibroConLasFilas)
{
    frmExportarDatos* f = Abrir(&frmMain::mnuServesalud_Click, "01/06/2024", "05/06/2024");
    ASSERT_TRUE(f);
    f->cmdExportar_Click(0);
    const QString ruta = Paths::Join(Paths::DataDir(), "nombre.xlsx");
    ASSERT_EQ(dialogs.messages().value(0), "El archivo " + ruta + " se generó éxito");
    EXPECT_TRUE(PurgaAbierta());
    QProcess unzip;
    unzip.start("unzip", {"-p", ruta, "xl/worksheets/sheet1.xml"});
    ASSERT_TRUE(unzip.waitForFinished(30000));
    const QString hoja = QString::fromUtf8(unzip.readAllStandardOutput());
    QStringList filas;
    for (const auto& fila : hoja.split("</row>", Qt::SkipEmptyParts)) {
        QStringList celdas;
        auto it = QRegularExpression("<c r=\"([A-Z]+)\\d+\"[^>]*><is><t[^>]*>([^<]*)</t>").globalMatch(fila);
        while (it.hasNext()) {
            const auto mt = it.next();
            celdas << mt.captured(1) + "=" + mt.captured(2);
        }
        if (!celdas.isEmpty()) filas << celdas.join(" ");
    }
    const QStringList esperadas = {
        "A=Tarjeta B=codigoOSDESolicitante C=FechaPrestacion D=HoraPrestacion E=CodigoPrestacion F=cantidad "
        "G=codigoOSDE H=Nombre I=MatriculaMedicoPrescriptor J=TipoMatriculaMPrescriptor K=Ticket L=Fecha "
        "M=NumeroAutorizacion N=MatriculaEfector O=TipoMatriculaMEfector",
        "A=1234567890123456 B=20111111112 C=20240602 D=1030 E=420101 F=2 G=12345 H=CLINICA DEL SOL I=12345 J=PM "
        "K=101 L=20240603 M=987 N=4455 O=C1",
        "A=1234567890123456 B=20111111112 C=20240602 D=1030 E=ABCDEFGHIJ F=1 G=12345 H=CLINICA DEL SOL I=12345 J=PM "
        "K=101 L=20240603 M=987 N=4455 O=C1",
        "A=60A123 B=20222222223 D=1030 K=102 L=20240605 N=778 O=P2",
    };
    EXPECT_EQ(filas, esperadas) << hoja.toStdString();
}

// The purge offered after an export applies to the insurer exported, even when the main
// window's choice changes while it is open.
TEST_P(Exportar, PurgaDelExportado)
{
    Abrir(&frmMain::mnuHope_Click)->cmdExportar_Click(1);
    frmControlFecha* purga = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmControlFecha" && w->isVisible()) purga = qobject_cast<frmControlFecha*>(w);
    ASSERT_TRUE(purga);
    m->ObraSocial->lstObraSocial->setCurrentRow(0); // company code 12
    ASSERT_EQ(m->ObraSocial->lblEmpresa->text(), "12");
    purga->cmdSi_Click();
    QStringList tickets;
    for (DbResult r = Connect()->Query("SELECT Ticket FROM Transaccion ORDER BY Ticket"); !r.EOF_(); r.MoveNext())
        tickets << r.value(0).toString();
    EXPECT_EQ(tickets, (QStringList{"101", "102", "103", "104", "105", "107"}));
}

// The text file read from the database is the rows' lines as AgregarLinea makes them from the
// values read by name, whatever a column holds: controls, characters outside ASCII, an empty
// text, a null, and (on SQLite, which keeps any length) texts longer than their buffer.
TEST_P(Exportar, ArchivoComoLasFilasLeidas)
{
    const QVariant nulo;
    // Ticket, Tarjeta, FechaPrestacion, MatriculaMedicoPrescriptor, TipoMatriculaMPrescriptor,
    // NumeroAutorizacion, CodigoPrestacion
    QList<QVariantList> filas = {
        {201, "12\t34\x01\x7f", "202\n0611", "12\r45", "\tM", "9\x1f" "8", "42\x7f" "01"},
        {202, QString::fromUtf8("Ñandú 中 😀"), "20240611", QString::fromUtf8("ñ55"), QString::fromUtf8("é"),
         QString::fromUtf8("€1"), QString::fromUtf8("Práctica")},
        {203, "", "", "", "", "", ""},
        {204, nulo, nulo, nulo, nulo, nulo, nulo},
    };
    if (!isPostgreSQL()) {
        filas.append({205, QString(400, '7') + "12", "20240611", "1", "PM", "3", "420101"});
        filas.append({206, QString(150, QChar(0x20AC)), "20240611", "1", "PM", "3", "420101"});
    }
    {
        auto cn = Connect();
        for (const QVariantList& f : filas) {
            cn->Execute("INSERT INTO Transaccion (Ticket, Fecha, Tarjeta, FechaPrestacion, MatriculaMedicoPrescriptor, "
                        "TipoMatriculaMPrescriptor, NumeroAutorizacion, Operacion, PrestadorSolicitante, "
                        "CodigoEmpresa) VALUES (?, '20240611', ?, ?, ?, ?, ?, '11', '20111111112', 11)",
                        f.mid(0, 6));
            cn->Execute("INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) VALUES (?, ?, 1)",
                        {f.at(0), f.at(6)});
        }
    }
    for (qint32 formato = 1; formato <= 4; ++formato) {
        SCOPED_TRACE(formato);
        const auto consulta =
            modExportarDatos::ArmarConsulta(formato, QDate(2024, 6, 11), QDate(2024, 6, 11), QStringLiteral("11"));
        Database cn;
        cn.OpenStreaming();
        QByteArray esperado;
        qint64 n = 0;
        for (auto c = cn.OpenCursor(consulta.sql, consulta.valores); c->Next(); ++n)
            modExportarDatos::AgregarLinea(esperado, formato, modExportarDatos::Fila::De(*c));
        ASSERT_EQ(n, filas.size());
        const QString ruta = carpeta.filePath("filas.txt");
        const auto r = modExportarDatos::ExportarTexto(cn, formato, consulta, ruta);
        EXPECT_TRUE(r.escrito) << r.error.toStdString();
        EXPECT_EQ(r.filas, n);
        EXPECT_EQ(Leer(ruta), esperado);
    }
}

TEST_P(Exportar, Capturas)
{
    if (isPostgreSQL()) GTEST_SKIP() << "one set of pictures";
    const QString capturas = QCoreApplication::applicationDirPath() + "/../screenshots/";
    QDir().mkpath(capturas);
    frmExportarDatos* f = Abrir(&frmMain::mnuOsde_Click);
    QElapsedTimer espera; // the folder list fills in the background, keeping the folder in sight
    for (espera.start(); espera.elapsed() < 500;) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(f->parentWidget()->grab().save(capturas + "frmExportarDatos.png"));
    frmControlFecha purga("11");
    purga.Form_Load();
    purga.show();
    EXPECT_TRUE(purga.grab().save(capturas + "frmControlFecha.png"));
    purga.cmdNo_Click();
    purga.txtFechaActual->setText("15/06/2024");
    purga.adjustSize();
    EXPECT_TRUE(purga.grab().save(capturas + "frmControlFecha-fecha.png"));
    frmValoraciones valoraciones;
    valoraciones.Form_Load();
    valoraciones.show();
    EXPECT_TRUE(valoraciones.grab().save(capturas + "frmValoraciones.png"));
}

INSTANTIATE_TEST_SUITE_P(Engines, Exportar, DbEngines(), DbEngineName);

}

// The file's byte formatter against the layouts' text lines, encoded: each row of the table in
// the four layouts, the same bytes or the same error.
TEST(ExportarLineas, BytesAreTheLinesEncoded)
{
    using modExportarDatos::Fila;
    const QVariant nulo;
    Fila comun{QString("  6280000012345 "), qint64(20111111112), QString("20240315"), QString("0930"),
               QString("420101"), 2, 12345.0, QString("CLINICA"), QString("4455"), QString("MP"),
               qint64(100123), QString("20240316"), QString("AUT42"), QString("778"), QString("C1")};
    const struct {
        const char* caso;
        std::function<void(Fila&)> cambiar;
    } casos[] = {
        {"plain", [](Fila&) {}},
        {"nulls", [&](Fila& f) {
             f = Fila{};
             f.TipoMatriculaMEfector = nulo;
         }},
        {"non-ASCII", [](Fila& f) {
             f.Tarjeta = QString("Ñandú €5 中") + QChar(0xD83D) + QChar(0xDE00) + "x";
             f.CodigoPrestacion = QString("Práctica ÁÉÍ ő") + QChar(0xDC00);
             f.TipoMatriculaMPrescriptor = QString("é");
             f.FechaPrestacion = QString("2024ñ315");
         }},
        {"exponent doubles", [](Fila& f) {
             f.cantidad = 1e20;
             f.Ticket = 1.5e-7;
             f.codigoOSDE = -3e15;
             f.MatriculaEfector = 2.5;
             f.Tarjeta = 6.02e23;
             f.NumeroAutorizacion = -999999999999999.0;
             f.MatriculaMedicoPrescriptor = -0.0;
         }},
        {"too long", [](Fila& f) {
             f.Tarjeta = QString(40, '7') + "12";
             f.CodigoPrestacion = QString("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
             f.FechaPrestacion = QString("20240315235959");
             f.Ticket = qint64(123456789012);
             f.codigoOSDESolicitante = quint64(18446744073709551615ULL);
         }},
        {"controls", [](Fila& f) {
             f.Tarjeta = QString("12\t34\n");
             f.CodigoPrestacion = QString("\x7f" "42\r01");
             f.TipoMatriculaMPrescriptor = QString("\tM");
             f.FechaPrestacion = QString(" 2024\n315");
         }},
        {"short and blank", [](Fila& f) {
             f.FechaPrestacion = QString("2024");
             f.Tarjeta = QString("   ");
             f.TipoMatriculaMEfector = QString("  2");
             f.TipoMatriculaMPrescriptor = QString("");
         }},
        {"registration kind not a number", [](Fila& f) { f.TipoMatriculaMEfector = QString("C "); }},
        {"service date of one character", [](Fila& f) { f.FechaPrestacion = QString("7"); }},
    };
    for (const auto& c : casos) {
        Fila f = comun;
        c.cambiar(f);
        for (qint32 formato = 0; formato <= 5; ++formato) {
            QString esperada, error;
            try {
                esperada = modExportarDatos::Linea(formato, f) + "\r\n";
            } catch (const VbError& e) {
                error = QString::number(e.number) + e.description;
            }
            QByteArray bytes = "previo";
            try {
                modExportarDatos::AgregarLinea(bytes, formato, f);
                EXPECT_TRUE(error.isEmpty()) << c.caso << " layout " << formato;
                EXPECT_EQ(bytes, "previo" + Codec1252::encode(esperada)) << c.caso << " layout " << formato;
            } catch (const VbError& e) {
                EXPECT_EQ(QString::number(e.number) + e.description, error) << c.caso << " layout " << formato;
            }
        }
    }
}
