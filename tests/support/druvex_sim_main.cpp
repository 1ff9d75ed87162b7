// druvex-sim: stands in for the communications client on a working folder, so Quorvan can
// be tried by hand without the real client.
#include "support/DruvexSim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

const char* const kAyuda = R"(Plays the communications client on a working folder: every request Quorvan
hands over in WORKDIR/tx is taken, answered in its terminal folder's "download"
folder, and closed with "estado.rsp".

Scripts (--script):
  approve        answer code 0000 and an authorisation ticket (default)
  reject         the header answer carries --code (default 0051) and --message
  error-ticket   approved codes, but the ticket text holds "ERROR"
  no-take        never take the trigger: Quorvan ends with its time-out
  no-answer      take the trigger and never answer
  empty-status   answer with an empty "estado.rsp"
  no-answer-files approve, but leave neither "_svl.1" nor "_ticket.prn"
  cut-header     approve with "_svl.1" cut after --cut bytes (default 309)
  bad-download   approve, but leave a file where "download" should be
  update         answer the update wizard: "_druvex.upg" offering --offer (a new
                 program file, copied into "download" under its name) as version
                 --offer-version, then status 0; --druvex-end also leaves
                 "_druvex.end" in "tx"
  report         the remote report: the status "0000" and a sample "_sal.1" of two
                 transactions with their service lines (the report folder "termrep")

A medicine search ("_svl.7") is answered with the lines of --vademecum; a prescription
("_svl.6") with its medicines in "_svl.3" and, for reject, a header answer "_svl.1".

Example:
  druvex-sim --write-emp 00001234 --write-prm --tables ~/druvex/
and set the working folder of the terminal to ~/druvex/ in Quorvan.)";

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("druvex-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kAyuda));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("WORKDIR"), QStringLiteral("the client's working folder"));
    const QCommandLineOption script(QStringLiteral("script"), QStringLiteral("how to answer (see above)"),
                                    QStringLiteral("name"), QStringLiteral("approve"));
    const QCommandLineOption code(QStringLiteral("code"), QStringLiteral("answer code of a rejection"),
                                  QStringLiteral("code"), QStringLiteral("0051"));
    const QCommandLineOption message(QStringLiteral("message"), QStringLiteral("answer comment of a rejection"),
                                     QStringLiteral("text"), QStringLiteral("AFILIADO INHABILITADO"));
    const QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("milliseconds before answering"),
                                   QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption status(QStringLiteral("status"), QStringLiteral("text of estado.rsp (default 0)"),
                                    QStringLiteral("text"), QStringLiteral("0"));
    const QCommandLineOption tables(QStringLiteral("tables"),
                                    QStringLiteral("add sample table-update answers (_sal.2, _sal.4 to _sal.8)"));
    const QCommandLineOption emp(QStringLiteral("write-emp"),
                                 QStringLiteral("write _druvex.emp with these account codes (comma-separated)"),
                                 QStringLiteral("codes"));
    const QCommandLineOption prm(QStringLiteral("write-prm"), QStringLiteral("write a sample _druvex.prm"));
    const QCommandLineOption cut(QStringLiteral("cut"), QStringLiteral("bytes of _svl.1 kept by cut-header"),
                                 QStringLiteral("n"), QStringLiteral("309"));
    const QCommandLineOption offer(QStringLiteral("offer"), QStringLiteral("new program file offered by update"),
                                   QStringLiteral("file"));
    const QCommandLineOption offerVersion(QStringLiteral("offer-version"),
                                          QStringLiteral("version of the offered program (default 9.0.0)"),
                                          QStringLiteral("m.n.r"), QStringLiteral("9.0.0"));
    const QCommandLineOption vademecum(QStringLiteral("vademecum"),
                                       QStringLiteral("answer a medicine search with three sample medicines"));
    const QCommandLineOption druvexEnd(QStringLiteral("druvex-end"), QStringLiteral("update also leaves tx/_druvex.end"));
    const QCommandLineOption keep(QStringLiteral("keep"),
                                  QStringLiteral("keep each answered request's upload files in DIR/<terminal>/"),
                                  QStringLiteral("DIR"));
    parser.addOptions({script, code, message, delay, status, tables, emp, prm, cut, offer, offerVersion, druvexEnd,
                       vademecum, keep});
    parser.process(app);

    QTextStream err(stderr);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        err << "druvex-sim: give the working folder (see --help)\n";
        return 2;
    }
    const QString base = QDir(args.first()).absolutePath() + QLatin1Char('/');
    if (!QDir(base).exists()) {
        err << "druvex-sim: no such folder: " << base << "\n";
        return 2;
    }
    QDir(base).mkdir(QStringLiteral("tx"));

    DruvexSim::Guion g;
    const QString s = parser.value(script);
    if (s == QLatin1String("approve")) g.modo = DruvexSim::Modo::Aprobar;
    else if (s == QLatin1String("reject")) g.modo = DruvexSim::Modo::Rechazar;
    else if (s == QLatin1String("error-ticket")) g.modo = DruvexSim::Modo::ErrorEnTicket;
    else if (s == QLatin1String("no-take")) g.modo = DruvexSim::Modo::NoTomar;
    else if (s == QLatin1String("no-answer")) g.modo = DruvexSim::Modo::TomarSinResponder;
    else if (s == QLatin1String("empty-status")) g.modo = DruvexSim::Modo::EstadoVacio;
    else if (s == QLatin1String("no-answer-files")) g.sinSVL1 = g.sinTicket = true;
    else if (s == QLatin1String("cut-header")) g.cortarSVL1En = parser.value(cut).toInt();
    else if (s == QLatin1String("bad-download")) g.descargaIlegible = true;
    else if (s == QLatin1String("update")) {
        QMap<QString, QByteArray> ofrecidos;
        QString nombre;
        if (parser.isSet(offer)) {
            QFile archivo(parser.value(offer));
            if (!archivo.open(QIODevice::ReadOnly)) {
                err << "druvex-sim: cannot read " << parser.value(offer) << "\n";
                return 2;
            }
            nombre = QFileInfo(archivo.fileName()).fileName();
            ofrecidos.insert(nombre, archivo.readAll());
        }
        const QStringList v = parser.value(offerVersion).split(QLatin1Char('.'));
        const QByteArray registro = DruvexSim::RegistroActualizacion(
            QStringLiteral("002"), v.value(0).rightJustified(3, QLatin1Char('0')),
            v.value(1).rightJustified(3, QLatin1Char('0')), v.value(2).rightJustified(3, QLatin1Char('0')), nombre,
            nombre.isEmpty() ? QStringLiteral("0001") : QStringLiteral("0000"), QStringLiteral("Nueva versión"));
        g = DruvexSim::GuionActualizacion(registro, ofrecidos, parser.isSet(druvexEnd));
    }
    else if (s == QLatin1String("report")) {
        g.soloArchivos = true;
        g.estado = QStringLiteral("0000 OK");
        DruvexSim::LineaReporte a{QStringLiteral("000123"), QStringLiteral("011234567001"), QStringLiteral("C"),
                                  QStringLiteral("M"), QStringLiteral("00"), QStringLiteral("012345"),
                                  QStringLiteral("27123456784"), QStringLiteral("00000150000"), QStringLiteral("00000"),
                                  QStringLiteral("0")};
        DruvexSim::LineaReporte b = a;
        b.trx = QStringLiteral("000124");
        b.asociado = QStringLiteral("029876543002");
        b.monto = QStringLiteral("00000032550");
        g.archivos.insert(QStringLiteral("_sal.1"),
                          DruvexSim::LineaReporteTransaccion(a) +
                              DruvexSim::LineaReporteItem(a.trx, QStringLiteral("420101"), QStringLiteral("0"),
                                                          QStringLiteral("1"), QStringLiteral("01")) +
                              DruvexSim::LineaReporteTransaccion(b) +
                              DruvexSim::LineaReporteItem(b.trx, QStringLiteral("420351"), QStringLiteral("0"),
                                                          QStringLiteral("2"), QStringLiteral("03")));
    }
    else {
        err << "druvex-sim: unknown script " << s << " (see --help)\n";
        return 2;
    }
    if (g.modo == DruvexSim::Modo::Rechazar) {
        g.codigoRespuesta = parser.value(code);
        g.mensaje = parser.value(message);
        g.codigoCierre = parser.value(code);
        g.comentarioCierre = parser.value(message);
    }
    g.demoraMs = parser.value(delay).toInt();
    if (parser.isSet(status) || s != QLatin1String("report")) g.estado = parser.value(status);
    if (parser.isSet(tables)) g.archivos = DruvexSim::ArchivosTablasEjemplo();
    if (parser.isSet(vademecum)) {
        g.vademecum = DruvexSim::VademecumEjemplo();
        // The table sample's own "_sal.8" would replace the medicines.
        g.archivos.remove(QStringLiteral("_sal.8"));
    }

    if (parser.isSet(emp)) {
        QByteArray bytes;
        for (const QString& lic : parser.value(emp).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bytes += DruvexSim::RegistroEmp(lic, QStringLiteral("11"), QStringLiteral("OBRA SOCIAL DEMO"),
                                            QStringLiteral("01"), QStringLiteral("AMBULATORIO"));
            bytes += DruvexSim::RegistroEmp(lic, QStringLiteral("11"), QStringLiteral("OBRA SOCIAL DEMO"),
                                            QStringLiteral("02"), QStringLiteral("FARMACIA"));
        }
        DruvexSim::EscribirArchivoTrabajo(base, QStringLiteral("_druvex.emp"), bytes);
    }
    if (parser.isSet(prm))
        DruvexSim::EscribirArchivoTrabajo(
            base, QStringLiteral("_druvex.prm"),
            DruvexSim::LineaPrm(QStringLiteral("11"), QStringLiteral("01"), QStringLiteral("SVL1"), true) +
                DruvexSim::LineaPrm(QStringLiteral("11"), QStringLiteral("02"), QStringLiteral("SVL1"), false));

    DruvexSim sim(base);
    sim.setGuion(g);
    const QString guardar = parser.value(keep);
    sim.setAlResponder([guardar](const DruvexSim::Toma& t) {
        if (!guardar.isEmpty()) {
            const QString carpeta = QDir(guardar).filePath(t.terminal);
            QDir().mkpath(carpeta);
            for (auto it = t.upload.begin(); it != t.upload.end(); ++it) {
                QFile f(QDir(carpeta).filePath(it.key()));
                if (f.open(QIODevice::WriteOnly)) f.write(it.value());
            }
        }
        QTextStream out(stdout);
        out << "answered " << t.terminal << " (" << t.upload.keys().join(QLatin1Char(' ')) << ")\n";
        out.flush();
    });
    sim.iniciar();
    QTextStream(stdout) << "druvex-sim watching " << base << "tx (script " << s << "); Ctrl+C ends\n";
    return app.exec();
}
