#include "AsistenteFixture.h"

#include "platform/Emblema.h"
#include "platform/Paths.h"
#include "support/DruvexSim.h"
#include "updater/ArgumentosAsistente.h"
#include "updater/TiraCeldas.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QPushButton>
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const QString kTitulo = QStringLiteral("Ayudante para Actualización");
const QString kInvalidos = QStringLiteral("Los parámetros pasados son inválidos.");
const QString kPregunta = QStringLiteral("¿Desea abandonar el Ayudante de Actualización ?");

QByteArray Registro(const char* tipo, const char* version, const QString& nombre, const char* codigo,
                    const QString& descripcion)
{
    const QStringList v = QString::fromLatin1(version).split(QLatin1Char('.'));
    return DruvexSim::RegistroActualizacion(QString::fromLatin1(tipo), v[0], v[1], v[2], nombre,
                                            QString::fromLatin1(codigo), descripcion);
}

// The buttons as (back, next, cancel enabled; cancel shown).
std::tuple<bool, bool, bool, bool> Botones(const frmUpgradeWizard& f)
{
    return {f.cmdBack->isEnabled(), f.cmdNext->isEnabled(), f.cmdCancelar->isEnabled(), !f.cmdCancelar->isHidden()};
}

QStringList Temporales(const QString& carpeta)
{
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".Quorvan."));
}

void Captura(QWidget& w, const char* nombre)
{
    QDir().mkpath(QStringLiteral(QUORVAN_SCREENSHOTS_DIR));
    w.show();
    QCoreApplication::processEvents();
    w.grab().save(QStringLiteral(QUORVAN_SCREENSHOTS_DIR "/") + QLatin1String(nombre));
}

}

TEST(ArgumentosAsistente, CommandLineTable)
{
    struct Caso {
        QStringList args;
        bool valida;
    };
    const QString p = QStringLiteral("/opt/quorvan/Quorvan");
    const Caso casos[] = {
        {{"/w/", "3.1.7", p, "", "0.0.0"}, true},
        {{"/w/", "3.1.7", p, ""}, true},
        {{"/w/", "003.01.999", QStringLiteral("/q/Quor "), ""}, true},
        {{"/w/", "3.1.7", p}, false},
        {{}, false},
        {{"/w/", "3.1", p, ""}, false},
        {{"/w/", "3.1.7.2", p, ""}, false},
        {{"/w/", "3..7", p, ""}, false},
        {{"/w/", "3.1000.7", p, ""}, false},
        {{"/w/", "3.-1.7", p, ""}, false},
        {{"/w/", "3.a.7", p, ""}, false},
        {{"/w/", "3.1.7", QStringLiteral("/opt/Quo"), ""}, false},
        {{"/w/", "3.1.7", QStringLiteral("/opt/Quo /"), ""}, false},
        {{"/w/", "3.1.7", QStringLiteral("Quorvan"), ""}, false},
    };
    for (const Caso& c : casos) {
        const auto a = ArgumentosAsistente::Leer(c.args);
        EXPECT_EQ(a.has_value(), c.valida) << c.args.join(QLatin1Char('|')).toStdString();
    }
    const auto a = ArgumentosAsistente::Leer({"/w/", "003.01.999", QStringLiteral("/q/Quor "), ""});
    ASSERT_TRUE(a);
    EXPECT_EQ(std::make_tuple(a->Major, a->Minor, a->Revision), std::make_tuple(qint16(3), qint16(1), qint16(999)));
    EXPECT_EQ(a->RutaPrograma, QStringLiteral("/q/Quor ")); // used as given
}

TEST_F(Asistente, RefusedStartsWriteNothing)
{
    struct Caso {
        const char* que;
        QStringList args;
        bool conAjuste;
        QString mensaje;
        int estilo;
    };
    const QString sinAjuste = QStringLiteral(
        "Antes de actualzar debe realizar alguna transacción para completar la configuración");
    const Caso casos[] = {
        {"3.1", Argumentos(QStringLiteral("3.1")), true, kInvalidos, Vbc::vbCritical},
        {"1000", Argumentos(QStringLiteral("3.1000.7")), true, kInvalidos, Vbc::vbCritical},
        {"-1", Argumentos(QStringLiteral("-1.1.7")), true, kInvalidos, Vbc::vbCritical},
        {"three-character name", {wf.path(), "3.1.7", wf.file("prog/Quo"), ""}, true, kInvalidos, Vbc::vbCritical},
        {"three arguments", {wf.path(), "3.1.7", programa}, true, kInvalidos, Vbc::vbCritical},
        {"no setting", Argumentos(), false, sinAjuste, Vbc::vbInformation},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        wf.write("tx/_quorvan.rdy", "1");
        if (!c.conAjuste) AjustesUsuario::Guardar("Quorvan", "LastTarsk", "1", QString());
        dlg.clear();
        {
            frmUpgradeWizard frm(c.args);
            frm.Form_Load();
            EXPECT_TRUE(Salida::Solicitada());
            ASSERT_EQ(dlg.shown.size(), 1);
            EXPECT_EQ(dlg.shown[0].text, c.mensaje);
            EXPECT_EQ(dlg.shown[0].title, kTitulo);
            EXPECT_EQ(dlg.shown[0].style, c.estilo);
        }
        EXPECT_FALSE(wf.exists("termupg"));
        EXPECT_FALSE(wf.exists("tx/termupg"));
        EXPECT_TRUE(wf.exists("tx/_quorvan.rdy"));
        OlvidarSalida();
        AjustesUsuario::Guardar("Quorvan", "LastTarsk", "1", wf.path());
    }
}

TEST_F(Asistente, SecondInstanceLeavesTheFirstAlone)
{
    frmUpgradeWizard primero(Argumentos());
    primero.Form_Load();
    ASSERT_FALSE(Salida::Solicitada());
    dlg.clear();
    frmUpgradeWizard segundo(Argumentos());
    segundo.Form_Load();
    EXPECT_TRUE(Salida::Solicitada());
    ASSERT_EQ(dlg.messages(), QStringList{QStringLiteral("El Ayudante para Actualización ya está corriendo.")});
    EXPECT_EQ(dlg.shown[0].style, Vbc::vbExclamation);
    EXPECT_TRUE(primero.EsperandoRespuesta());
}

TEST_F(Asistente, RequestFilesAreWrittenWhole)
{
    // An older, longer request and control record, old status files and an old result marker.
    wf.write("termupg/upload/_druvex.upg", QByteArray(300, 'X'));
    wf.write("termupg/upload/_svl.0", QByteArray("V2501101ABCDEFGH"));
    wf.write("estado.rsp", "0 viejo");
    wf.write("termupg/ESTADO.RSP", "0 viejo");
    wf.write("tx/_quorvan.rdy", "0");
    frmUpgradeWizard frm(Argumentos());
    frm.Form_Load();
    ASSERT_FALSE(Salida::Solicitada());

    const QByteArray esperado = QByteArray("002003001007") + QByteArray(64, ' ') + "0000" + QByteArray(30, ' ') + "\r\n";
    ASSERT_EQ(esperado.size(), 112);
    EXPECT_EQ(wf.read("termupg/upload/_druvex.upg"), esperado);
    EXPECT_EQ(wf.read("termupg/upload/_svl.0"), QByteArray("V1009990"));
    EXPECT_TRUE(wf.exists("termupg/download"));
    EXPECT_TRUE(wf.exists("tx/termupg"));
    EXPECT_FALSE(wf.exists("estado.rsp"));
    EXPECT_FALSE(wf.exists("termupg/ESTADO.RSP"));
    EXPECT_FALSE(wf.exists("tx/_quorvan.rdy"));

    EXPECT_EQ(frm.EstadoAsistente().Paso, 2);
    EXPECT_EQ(frm.EstadoAsistente().CarpetaBase + "/", wf.path());
    EXPECT_EQ(frm.lblDescripcion->text(), QStringLiteral("Enviando Transacción...\n\nEspere por favor..."));
    EXPECT_EQ(Botones(frm), std::make_tuple(false, false, true, true));
    EXPECT_TRUE(frm.tmrDownload->isActive());
    EXPECT_EQ(frm.tmrDownload->interval(), 500);
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Ayudante de Actualización"));
    EXPECT_EQ(frm.windowIcon().pixmap(48).toImage(), EmblemaPrograma().toImage());
    EXPECT_TRUE(dlg.shown.isEmpty());
}

TEST_F(Asistente, WithoutTxTheRequestEndsTheProgram)
{
    QDir(wf.file("tx")).removeRecursively();
    frmUpgradeWizard frm(Argumentos());
    frm.Form_Load();
    EXPECT_TRUE(Salida::Solicitada());
    EXPECT_EQ(dlg.messages(), QStringList{QStringLiteral(
                                  "Los Parámetros recibidos son erróneos.\nEl Ayudante para Actualización se cerrará.")});
    EXPECT_FALSE(wf.exists("tx"));
    EXPECT_EQ(wf.read("termupg/upload/_svl.0"), QByteArray("V1009990"));
}

TEST_F(Asistente, AnswersListOfferedFilesAndInstallTheLastMatch)
{
    const QByteArray nuevo("#!/bin/sh\necho nuevo\n");
    struct Caso {
        const char* que;
        QByteArray estado;
        QByteArray registros;
        QString instala; // empty: nothing installed
        QString lista;
    };
    const QByteArray tres = Registro("010", "3.2.0", "Leame.txt", "0000", "Notas") +
                            Registro("002", "3.2.1", "Quorvan.nuevo", "0000", "Nueva versión") +
                            Registro("002", "3.2.2", "Otro", "0051", "No disponible");
    const Caso casos[] = {
        {"second of three matches", "0000 OK", tres, "Quorvan.nuevo",
         "Leame.txt(3.2.0) : Notas\nQuorvan.nuevo(3.2.1) : Nueva versión\nOtro(3.2.2) : No disponible\n"},
        {"blank code reads as 0", "0", Registro("002", "4.0.0", "Quorvan.nuevo", "   0", "x") + QByteArray(50, 'z'),
         "Quorvan.nuevo", "Quorvan.nuevo(4.0.0) : x\n"},
        {"no match", "0", Registro("002", "4.0.0", "Quorvan.nuevo", "0001", "x"), "", "Quorvan.nuevo(4.0.0) : x\n"},
        {"unsafe names never match", "0",
         Registro("002", "4.0.0", "Quorvan.nuevo", "0000", "a") + Registro("002", "4.0.1", "../x", "0000", "b") +
             Registro("002", "4.0.2", "a/b", "0000", "c") + Registro("002", "4.0.3", "", "0000", "d"),
         "Quorvan.nuevo", "Quorvan.nuevo(4.0.0) : a\n../x(4.0.1) : b\na/b(4.0.2) : c\n(4.0.3) : d\n"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        wf.write("prog/Quorvan", "programa viejo");
        iniciados.clear();
        frmUpgradeWizard frm(Argumentos());
        frm.Form_Load();
        QuorvanCierra quorvan(Marcador());
        Responder(c.estado, c.registros, {{QStringLiteral("Quorvan.nuevo"), nuevo}, {QStringLiteral("x"), "no"}});
        const QString encabezado = QStringLiteral("Enviando Transacción...\n\nEspere por favor...\n\n") +
                                   QString::fromLatin1(c.estado) + QStringLiteral("\n\n") + c.lista +
                                   QStringLiteral("\nPor Favor cierre el Quorvan y presione Siguiente.");
        if (!c.instala.isEmpty()) {
            ASSERT_TRUE(Hasta([] { return Salida::Solicitada(); }));
            EXPECT_EQ(quorvan.vistos, 1);
            EXPECT_EQ(frm.lblDescripcion->text(), encabezado);
            EXPECT_EQ(wf.read("prog/Quorvan"), nuevo);
            EXPECT_EQ(QFile::permissions(programa) & (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther |
                                                     QFile::ReadOther),
                      QFile::ExeOwner | QFile::ExeGroup);
            EXPECT_EQ(iniciados, (QList<QPair<QString, QString>>{{programa, wf.file("prog")}}));
            EXPECT_EQ(wf.read("tx/_quorvan.rdy"), QByteArray("0"));
            EXPECT_EQ(Salida::Codigo(), 0);
        } else {
            ASSERT_TRUE(Hasta([&] { return frm.cmdNext->isEnabled(); }));
            EXPECT_EQ(frm.lblDescripcion->text(), encabezado);
            EXPECT_EQ(quorvan.vistos, 0);
            EXPECT_FALSE(QFile::exists(Marcador()));
            EXPECT_EQ(Botones(frm), std::make_tuple(false, true, true, true));
            frm.cmdNext_Click();
            EXPECT_TRUE(Salida::Solicitada());
            EXPECT_EQ(wf.read("prog/Quorvan"), QByteArray("programa viejo"));
            EXPECT_TRUE(iniciados.isEmpty());
            EXPECT_FALSE(wf.exists("tx/_quorvan.rdy"));
        }
        EXPECT_FALSE(wf.exists("termupg/estado.rsp"));
        EXPECT_TRUE(Temporales(wf.file("prog")).isEmpty());
        EXPECT_TRUE(dlg.shown.isEmpty()) << dlg.messages().join(QLatin1Char('|')).toStdString();
        OlvidarSalida();
    }
}

TEST_F(Asistente, FailedStatusAsksToRepeat)
{
    for (const QByteArray& estado : {QByteArray("1 Sin conexion"), QByteArray(), QByteArray("X")}) {
        SCOPED_TRACE(estado.constData());
        frmUpgradeWizard frm(Argumentos());
        frm.Form_Load();
        Responder(estado, Registro("002", "4.0.0", "Quorvan.nuevo", "0000", "x"), {{"Quorvan.nuevo", "nuevo"}});
        ASSERT_TRUE(Hasta([&] { return frm.cmdBack->isEnabled(); }));
        EXPECT_TRUE(frm.lblDescripcion->text().endsWith(QStringLiteral(
            "\n\nDebe repetir la operación.\n\nPresione Atrás para comenzar el proceso o Cancelar para salir del "
            "Ayudante.")));
        EXPECT_EQ(Botones(frm), std::make_tuple(true, false, true, true));
        EXPECT_EQ(frm.EstadoAsistente().Paso, 2);
        EXPECT_FALSE(frm.EstadoAsistente().Encontrado);
        EXPECT_FALSE(frm.tmrDownload->isActive());
        EXPECT_TRUE(frm.imgLive->isHidden());
        EXPECT_FALSE(QFile::exists(Marcador()));
        EXPECT_FALSE(Salida::Solicitada());
        if (estado.startsWith('1')) {
            Captura(frm, "asistente-falla.png");
            // Back and Next: page 1, page 0, and Next from page 1 sends a new request.
            frm.cmdBack_Click();
            EXPECT_EQ(frm.EstadoAsistente().Paso, 1);
            EXPECT_EQ(Botones(frm), std::make_tuple(true, true, true, true));
            Captura(frm, "asistente-pagina1.png");
            frm.cmdBack_Click();
            EXPECT_EQ(frm.lblDescripcion->text(), frm.EstadoAsistente().Paginas[0]);
            EXPECT_EQ(Botones(frm), std::make_tuple(false, true, true, true));
            Captura(frm, "asistente-pagina0.png");
            frm.cmdNext_Click();
            QFile::remove(wf.file("tx/termupg"));
            frm.cmdNext_Click();
            EXPECT_EQ(frm.EstadoAsistente().Paso, 2);
            EXPECT_TRUE(wf.exists("tx/termupg"));
            EXPECT_TRUE(frm.EsperandoRespuesta());
            EXPECT_EQ(Botones(frm), std::make_tuple(false, false, true, true));
        }
        frm.hide();
    }
}

TEST_F(Asistente, AnimationCellsGoRoundTheStrip)
{
    frmUpgradeWizard frm(Argumentos());
    frm.pcLive->setCeldas(2, 3);
    frm.Form_Load();
    QList<int> celdas;
    for (int i = 0; i < 8; ++i) {
        celdas << frm.EstadoAsistente().Celda;
        frm.tmrDownload_Timer();
    }
    EXPECT_EQ(celdas, (QList<int>{0, 1, 2, 3, 4, 5, 0, 1}));
    EXPECT_FALSE(frm.imgLive->isHidden());
    EXPECT_TRUE(frm.EsperandoRespuesta());
    Captura(frm, "asistente-esperando.png");
    frm.hide();
}

TEST_F(Asistente, CancelAndCloseBox)
{
    struct Caso {
        const char* que;
        int paso;          // page when leaving
        bool cierre;       // close box instead of Cancel
        int respuesta;     // answer to the question; 0 when none is asked
    };
    const Caso casos[] = {
        {"cancel page 0, yes", 0, false, Vbc::vbYes}, {"cancel page 1, no", 1, false, Vbc::vbNo},
        {"cancel waiting, yes", 2, false, Vbc::vbYes}, {"cancel waiting, no", 2, false, Vbc::vbNo},
        {"close box page 2", 2, true, 0},            {"close box page 1, no", 1, true, Vbc::vbNo},
        {"close box page 1, yes", 1, true, Vbc::vbYes},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        frmUpgradeWizard frm(Argumentos());
        frm.Form_Load();
        Responder("1");
        ASSERT_TRUE(Hasta([&] { return frm.cmdBack->isEnabled(); }));
        if (c.paso < 2) frm.cmdBack_Click();
        if (c.paso < 1) frm.cmdBack_Click();
        if (c.paso == 2) { // a new request, waiting again
            frm.cmdBack_Click();
            frm.cmdNext_Click();
            ASSERT_TRUE(frm.EsperandoRespuesta());
        }
        dlg.clear();
        if (c.respuesta) dlg.msgAnswers << c.respuesta;
        int cancel = 0;
        if (c.cierre) frm.Form_QueryUnload(cancel, frmUpgradeWizard::vbFormControlMenu);
        else frm.cmdCancelar_Click();
        const bool sale = c.respuesta == Vbc::vbYes;
        EXPECT_EQ(dlg.messages(), c.respuesta ? QStringList{kPregunta} : QStringList{});
        if (c.respuesta) EXPECT_EQ(dlg.shown[0].style, Vbc::vbYesNo | Vbc::vbQuestion);
        EXPECT_EQ(Salida::Solicitada(), sale);
        EXPECT_EQ(cancel, c.cierre && !sale ? 1 : 0);
        EXPECT_EQ(wf.read("tx/_quorvan.rdy"), sale && !c.cierre ? QByteArray("1") : QByteArray());
        EXPECT_EQ(wf.exists("tx/_quorvan.rdy"), sale && !c.cierre);
        if (c.paso == 2) EXPECT_EQ(frm.EsperandoRespuesta(), !sale);
        QFile::remove(wf.file("tx/_quorvan.rdy"));
        OlvidarSalida();
    }
}

TEST_F(Asistente, CancelDuringTheWaitForQuorvan)
{
    for (const int respuesta : {Vbc::vbNo, Vbc::vbYes}) {
        SCOPED_TRACE(respuesta);
        dlg.clear();
        frmUpgradeWizard frm(Argumentos());
        frm.Form_Load();
        int preguntas = 0;
        // Quorvan stays open: the user presses Cancel during the wait, once or twice.
        QuorvanCierra quorvan(Marcador(), [&] {
            if (!frm.EsperandoCierreQuorvan() || preguntas > 0) return;
            ++preguntas;
            dlg.msgAnswers << respuesta;
            frm.cmdCancelar_Click();
            if (respuesta == Vbc::vbNo) QFile::remove(Marcador()); // then Quorvan closes
        });
        Responder("0", Registro("002", "4.0.0", "Quorvan.nuevo", "0000", "x"), {{"Quorvan.nuevo", "nuevo"}});
        ASSERT_TRUE(Hasta([] { return Salida::Solicitada(); }));
        EXPECT_EQ(dlg.messages(), QStringList{kPregunta});
        EXPECT_EQ(wf.read("tx/_quorvan.rdy"), respuesta == Vbc::vbYes ? QByteArray("1") : QByteArray("0"));
        EXPECT_EQ(wf.read("prog/Quorvan"), respuesta == Vbc::vbYes ? QByteArray("programa viejo") : QByteArray("nuevo"));
        EXPECT_EQ(QFile::exists(Marcador()), respuesta == Vbc::vbYes); // never deleted by the wizard
        QFile::remove(Marcador());
        wf.write("prog/Quorvan", "programa viejo");
        OlvidarSalida();
    }
}

TEST_F(Asistente, NextDuringTheWaitJoinsIt)
{
    frmUpgradeWizard frm(Argumentos());
    frm.Form_Load();
    int renombres = 0;
    ReemplazoArchivo::setRenombrar([&](const QByteArray& de, const QByteArray& a) {
        ++renombres;
        return std::rename(de.constData(), a.constData()) == 0 ? 0 : errno;
    });
    bool pulsado = false;
    QuorvanCierra quorvan(Marcador(), [&] {
        if (!frm.EsperandoCierreQuorvan()) return;
        if (!pulsado) {
            pulsado = true;
            frm.cmdNext_Click(); // returns at once: it joins the running wait
            EXPECT_EQ(frm.EstadoAsistente().Paso, 3);
            EXPECT_TRUE(frm.cmdCancelar->isEnabled());
        } else {
            QFile::remove(Marcador());
        }
    });
    Responder("0", Registro("002", "4.0.0", "Quorvan.nuevo", "0000", "x"), {{"Quorvan.nuevo", "nuevo"}});
    ASSERT_TRUE(Hasta([] { return Salida::Solicitada(); }));
    EXPECT_EQ(renombres, 1);
    EXPECT_EQ(iniciados.size(), 1);
    EXPECT_EQ(wf.read("prog/Quorvan"), QByteArray("nuevo"));
}

TEST_F(Asistente, FailedCopiesKeepTheOldProgram)
{
    struct Caso {
        const char* que;
        bool sinArchivo;   // the offered file is missing from download
        int error;         // what every rename returns (0: the real rename)
        int exitosoEn;     // the rename succeeds on this try (0: never)
        int intentos;
        QString mensaje;
    };
    const Caso casos[] = {
        {"missing offered file", true, 0, 0, 0, "Quorvan - 53: No se ha encontrado el archivo"},
        {"busy, then free on the third try", false, ETXTBSY, 3, 3, ""},
        {"busy for good", false, EBUSY, 0, 21, "Quorvan - 70: Permiso denegado"},
        {"permission denied", false, EACCES, 0, 1, "Quorvan - 70: Permiso denegado"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        wf.write("prog/Quorvan", "programa viejo");
        QFile::remove(wf.file("termupg/download/Quorvan.nuevo"));
        iniciados.clear();
        dlg.clear();
        int intentos = 0;
        ReemplazoArchivo::setRenombrar([&](const QByteArray& de, const QByteArray& a) {
            ++intentos;
            if (c.error && intentos != c.exitosoEn) return c.error;
            return std::rename(de.constData(), a.constData()) == 0 ? 0 : errno;
        });
        frmUpgradeWizard frm(Argumentos());
        frm.Form_Load();
        QuorvanCierra quorvan(Marcador());
        Responder("0000 Transaccion aprobada",
                  Registro("010", "3.2.0", "Leame.txt", "0000", "Notas de la versión") +
                      Registro("002", "3.2.1", "Quorvan.nuevo", "0000", "Nueva versión"),
                  c.sinArchivo ? QMap<QString, QByteArray>{} : QMap<QString, QByteArray>{{"Quorvan.nuevo", "nuevo"}});
        if (c.mensaje.isEmpty()) {
            ASSERT_TRUE(Hasta([] { return Salida::Solicitada(); }));
            EXPECT_EQ(wf.read("prog/Quorvan"), QByteArray("nuevo"));
            EXPECT_EQ(intentos, c.intentos);
            OlvidarSalida();
            continue;
        }
        ASSERT_TRUE(Hasta([&] { return !dlg.shown.isEmpty(); }));
        EXPECT_EQ(dlg.messages(), QStringList{c.mensaje});
        EXPECT_EQ(dlg.shown[0].style, Vbc::vbCritical);
        EXPECT_EQ(intentos, c.intentos);
        EXPECT_EQ(wf.read("prog/Quorvan"), QByteArray("programa viejo"));
        EXPECT_TRUE(QFileInfo(programa).isExecutable());
        EXPECT_TRUE(Temporales(wf.file("prog")).isEmpty());
        EXPECT_TRUE(iniciados.isEmpty());
        EXPECT_FALSE(Salida::Solicitada());
        EXPECT_EQ(Botones(frm), std::make_tuple(false, true, true, true));
        if (c.sinArchivo) {
            Captura(frm, "asistente-ofrecidos.png");
            frm.hide();
            // The client delivers the file late: Next tries once more and ends the program.
            wf.write("termupg/download/Quorvan.nuevo", "nuevo");
            frm.cmdNext_Click();
            EXPECT_EQ(quorvan.vistos, 2);
            EXPECT_EQ(wf.read("prog/Quorvan"), QByteArray("nuevo"));
            EXPECT_EQ(iniciados.size(), 1);
            EXPECT_TRUE(Salida::Solicitada());
            OlvidarSalida();
        }
    }
}

// What lies in download is installed only when the user's own client can have left it: no
// link on the way, nothing anybody else owns or may write. A refusal names what and why and
// leaves the page as after a failed copy.
TEST_F(Asistente, OnlyTheUsersOwnFilesAreInstalled)
{
    const QString descarga = wf.file("termupg/download");
    const QString ofrecido = descarga + "/Quorvan.nuevo";
    const auto escribir = [this](const QString& ruta, QFile::Permissions modo) {
        wf.write(ruta, "#!/bin/sh\necho intruso\n");
        QFile::setPermissions(wf.file(ruta), modo);
    };
    const QFile::Permissions propio = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    const struct {
        const char* que;
        std::function<void()> preparar; // once the wizard has made its folders
        QString mensaje;                // empty: installs
    } casos[] = {
        {"download is a link",
         [&] {
             QDir(descarga).removeRecursively();
             escribir("otra/Quorvan.nuevo", propio);
             QFile::link(wf.file("otra"), descarga);
         },
         // The answer itself is not read through the link: the exchange fails before any install.
         "Se produjo un error en la actualización."},
        {"the offered file is a link",
         [&] {
             escribir("otra/programa", propio);
             QFile::link(wf.file("otra/programa"), ofrecido);
         },
         "El archivo " + ofrecido + ": es un enlace simbólico."},
        {"a file others may write", [&] { escribir("termupg/download/Quorvan.nuevo", propio | QFile::WriteOther); },
         "El archivo " + ofrecido + ": otros usuarios pueden modificarlo."},
        {"a download others may write",
         [&] {
             escribir("termupg/download/Quorvan.nuevo", propio);
             QFile::setPermissions(descarga, QFile::permissions(descarga) | QFile::WriteGroup);
         },
         "La carpeta " + descarga + ": otros usuarios pueden escribir en ella."},
        {"the client's own file, under umask 002", [&] { escribir("termupg/download/Quorvan.nuevo", propio); }, ""},
        {"a file of another owner",
         [&] {
             escribir("termupg/download/Quorvan.nuevo", propio);
             if (::chown(QFile::encodeName(ofrecido).constData(), 65534, 65534) != 0) GTEST_SKIP() << "cannot chown";
         },
         "El archivo " + ofrecido + ": pertenece a otro usuario."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.que);
        if (QString(c.que).contains("another owner") && ::geteuid() != 0)
            GTEST_SKIP() << "giving a file to another owner needs root";
        QDir(wf.file("termupg")).removeRecursively();
        QDir(wf.file("otra")).removeRecursively();
        wf.write("prog/Quorvan", "programa viejo");
        iniciados.clear();
        dlg.clear();
        const mode_t antes = ::umask(002);
        frmUpgradeWizard frm(Argumentos());
        frm.Form_Load();
        ::umask(antes);
        for (const char* carpeta : {"termupg", "termupg/upload", "termupg/download"})
            EXPECT_FALSE(QFile::permissions(wf.file(carpeta)) & (QFile::WriteGroup | QFile::WriteOther)) << carpeta;
        c.preparar();
        QuorvanCierra quorvan(Marcador());
        Responder("0", Registro("002", "4.0.0", "Quorvan.nuevo", "0000", "x"));
        if (c.mensaje.isEmpty()) {
            ASSERT_TRUE(Hasta([] { return Salida::Solicitada(); }));
            EXPECT_EQ(wf.read("prog/Quorvan"), QByteArray("#!/bin/sh\necho intruso\n"));
            EXPECT_EQ(iniciados.size(), 1);
            EXPECT_TRUE(dlg.shown.isEmpty());
            OlvidarSalida();
            continue;
        }
        ASSERT_TRUE(Hasta([&] { return !dlg.shown.isEmpty(); }));
        const bool alInstalar = !c.mensaje.startsWith("Se produjo");
        EXPECT_EQ(dlg.messages(), QStringList{(alInstalar ? "No se instala la actualización.\n" : "") + c.mensaje});
        EXPECT_EQ(dlg.shown[0].style, Vbc::vbCritical);
        EXPECT_EQ(wf.read("prog/Quorvan"), QByteArray("programa viejo"));
        EXPECT_TRUE(iniciados.isEmpty());
        EXPECT_FALSE(Salida::Solicitada());
        EXPECT_TRUE(Temporales(wf.file("prog")).isEmpty());
        if (alInstalar) EXPECT_EQ(Botones(frm), std::make_tuple(false, true, true, true));
    }
}

// Whose group may write the offer: only a group the user alone can be in, by every account and
// every group entry the system lists.
TEST(GrupoPrivado, RuleTable)
{
    using InstalacionPrograma::Grupo;
    using InstalacionPrograma::Usuario;
    const QList<Usuario> cuentas{{"root", 0}, {"ana", 1001}, {"beto", 1002}};
    const struct { gid_t gid; QList<Grupo> grupos; bool privado; QList<Usuario> cuentas; } casos[] = {
        {1001, {{1001, "ana", {}}}, true},
        {1001, {{1001, "ana", {"ana"}}, {1002, "beto", {"ana"}}}, true},
        {1001, {{1001, "ana", {"ana", "beto"}}}, false},
        {1002, {{1002, "ana", {}}}, false},
        {1001, {{1001, "usuarios", {}}}, false},
        {1001, {}, false},
        // Another account whose primary group is that gid.
        {1001, {{1001, "ana", {}}}, false, {{"ana", 1001}, {"carla", 1001}}},
        // A second entry under the same gid listing another account.
        {1001, {{1001, "ana", {}}, {1001, "ventas", {"beto"}}}, false},
        // A directory service that does not enumerate: the user's own account is not even seen.
        {1001, {{1001, "ana", {}}}, false, {{"root", 0}}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(InstalacionPrograma::EsGrupoPrivado({"ana", 1001}, c.gid, c.cuentas.isEmpty() ? cuentas : c.cuentas,
                                                      c.grupos), c.privado) << &c - casos;
}

// The desktop's umask 002 with a private group per user: the client leaves its offer
// group-writable, in folders an older wizard left 0775. Installed when that group is the
// user's own; refused, saying why, when another group or everybody may write it.
TEST_F(Asistente, OfferOfAClientUnderAGroupUmask)
{
    using namespace InstalacionPrograma;
    if (!EsGrupoPrivado(UsuarioActual(), ::getegid(), Cuentas(), Grupos())) GTEST_SKIP() << "no private primary group";
    const group* otro = ::getgrnam("nogroup");
    const passwd* nadie = ::getpwnam("nobody");
    const QString ofrecido = wf.file("termupg/download/Quorvan.nuevo");
    // An access list of the kernel's form letting the account `nadie` write, as
    // "setfacl -m u:nobody:rw" leaves it (owner rwx, the account rw, group r-x, mask rwx, others r-x).
    QByteArray lista;
    QDataStream escrita(&lista, QIODevice::WriteOnly);
    escrita.setByteOrder(QDataStream::LittleEndian);
    escrita << quint32(2); // the list's version
    for (const auto& [etiqueta, permisos, id] : {std::tuple<quint16, quint16, quint32>{0x01, 7, ~0u},
                                                {0x02, 6, nadie ? nadie->pw_uid : 0}, {0x04, 5, ~0u}, {0x10, 7, ~0u},
                                                {0x20, 5, ~0u}})
        escrita << etiqueta << permisos << id;
    const auto ponerLista = [&](const QString& ruta) {
        return nadie && ::setxattr(QFile::encodeName(ruta).constData(), "system.posix_acl_access", lista.constData(),
                                   lista.size(), 0) == 0;
    };
    const struct { mode_t umask; bool otroGrupo; QString motivo; /* empty: installs */ bool conLista = false; } casos[] = {
        {002, false, ""},
        {002, true, QStringLiteral("el grupo nogroup puede modificarlo; configure el cliente con umask 022")},
        {000, false, QStringLiteral("otros usuarios pueden modificarlo")},
        {002, false, QStringLiteral("el usuario nobody puede modificarlo por la lista de acceso del archivo"), true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.motivo.toStdString());
        if (c.otroGrupo && (::geteuid() != 0 || !otro)) continue;
        wf.write("prueba-lista", "x");
        if (c.conLista && !ponerLista(wf.file("prueba-lista"))) continue; // no access lists on this file system
        QDir(wf.file("termupg")).removeRecursively();
        wf.write("prog/Quorvan", "programa viejo");
        dlg.clear();
        const mode_t antes = ::umask(c.umask);
        QDir().mkpath(wf.file("termupg/download")); // 0775
        DruvexSim sim(wf.path());
        DruvexSim::Guion g = DruvexSim::GuionActualizacion(Registro("002", "4.0.0", "Quorvan.nuevo", "0000", "x"),
                                                          {{"Quorvan.nuevo", "nuevo"}}, false);
        if (c.otroGrupo)
            g.alResponder = [&](const QString&) { (void)::chown(QFile::encodeName(ofrecido).constData(), -1, otro->gr_gid); };
        if (c.conLista) g.alResponder = [&](const QString&) { ponerLista(ofrecido); };
        sim.setGuion(g);
        sim.iniciar();
        frmUpgradeWizard frm(Argumentos());
        frm.Form_Load();
        QuorvanCierra quorvan(Marcador());
        const bool visto = Hasta([&] { return Salida::Solicitada() || !dlg.shown.isEmpty(); }, 10000);
        sim.detener();
        ::umask(antes);
        ASSERT_TRUE(visto);
        for (const char* carpeta : {"termupg", "termupg/download"})
            EXPECT_FALSE(QFile::permissions(wf.file(carpeta)) & (QFile::WriteGroup | QFile::WriteOther)) << carpeta;
        // The program's own files are private from their first write whatever the umask.
        for (const char* propio : {"Quorvan.ini", "UpgradeWizardQuorvan.lock"})
            EXPECT_EQ(QFileInfo(Paths::Join(Paths::ConfigDir(), propio)).permissions().toInt() & 0x0077, 0) << propio;
        EXPECT_EQ(wf.read("prog/Quorvan"), c.motivo.isEmpty() ? QByteArray("nuevo") : QByteArray("programa viejo"));
        const QString mensaje = "No se instala la actualización.\nEl archivo " + ofrecido + ": " + c.motivo + ".";
        EXPECT_EQ(dlg.messages(), c.motivo.isEmpty() ? QStringList() : QStringList{mensaje});
        OlvidarSalida();
    }
}
