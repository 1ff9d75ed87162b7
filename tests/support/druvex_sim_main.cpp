// druvex-sim: stands in for the communications client on a working folder, so Quorvan can
// be tried by hand without the real client.
#include "support/DruvexSim.h"

#include "platform/AjustesUsuario.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

const char* const kAyuda = R"(Plays the communications client on a working folder: every request Quorvan
hands over in WORKDIR/tx is taken, answered in its terminal folder's "download"
folder, and closed with "estado.rsp".

Scripts (--script):
  approve        answer every request by its kind, as a client does (default):
                 a verification, service, void or other header request, a
                 prescription, a batch close or close query with code 0000 and a
                 ticket; a table update with sample tables (doctors, diagnoses,
                 services, providers, effectors); a medicine search with three
                 sample medicines; the remote report ("termrep") with a sample
                 "_sal.1"; the update offer ("termupg", see update) leaving
                 "tx/_druvex.end"
  reject         the same, but a header request, a prescription and a close are
                 rejected with --code (default 0051) and --message
  error-ticket   approved codes, but the ticket text holds "ERROR"
  no-take        never take the trigger: Quorvan ends with its time-out
  no-answer      take the trigger and never answer
  empty-status   answer with an empty "estado.rsp"
  no-answer-files approve, but leave neither "_svl.1" nor "_ticket.prn"
  cut-header     approve with "_svl.1" cut after --cut bytes (default 309)
  bad-download   approve, but leave a file where "download" should be
  update         answer every request as the update wizard's: "_druvex.upg"
                 offering --offer (a new program file, copied into "download"
                 under its name) as version --offer-version, then status 0;
                 without --offer the answer offers nothing;
                 --druvex-end also leaves "_druvex.end" in "tx"
  report         answer every request as the remote report's: the status "0000"
                 and a sample "_sal.1" of two transactions with their service lines

Each answer with a ticket carries a new ticket number, counted on from the last
one in WORKDIR/druvex-sim.ticket (kept across runs), and the date and time of the
answer; --fixed-ticket answers 000012345678 with no date instead.

Example (what scripts/run --demo does, with QUORVAN_HOME set to its demo folder):
  druvex-sim --prepare-only --write-emp 00001234 --write-prm --register ~/druvex/
  druvex-sim ~/druvex/
and Quorvan's first start proposes ~/druvex/ as its working folder.)";

const QString kArchivoNumero = QStringLiteral("druvex-sim.ticket");

// The next ticket number of this working folder: the last one given, kept in a file of the
// simulator's own at the folder's top (the client's side, never a terminal folder).
QString SiguienteNumero(const QString& base)
{
    QFile f(QDir(base).filePath(kArchivoNumero));
    qint64 ultimo = 10000;
    if (f.open(QIODevice::ReadOnly)) ultimo = qMax(ultimo, f.readAll().trimmed().toLongLong());
    f.close();
    const qint64 nuevo = ultimo + 1;
    DruvexSim::EscribirArchivoTrabajo(base, kArchivoNumero, QByteArray::number(nuevo) + '\n');
    return QString::number(nuevo).rightJustified(12, QLatin1Char('0'));
}

enum class Clase { Cabecera, Receta, Cierre, Tablas, Vademecum, Reporte, Actualizacion };

// What a request asks for, from its terminal folder and the records in its "upload".
Clase ClaseDe(const DruvexSim::Toma& t)
{
    if (t.terminal.compare(QLatin1String("termupg"), Qt::CaseInsensitive) == 0) return Clase::Actualizacion;
    if (t.terminal.compare(QLatin1String("termrep"), Qt::CaseInsensitive) == 0) return Clase::Reporte;
    if (t.upload.contains(QStringLiteral("_sal.0")))
        return t.upload.value(QStringLiteral("_sal.0")).left(2).trimmed().isEmpty() ? Clase::Tablas : Clase::Cierre;
    if (t.upload.contains(QStringLiteral("_svl.7"))) return Clase::Vademecum;
    if (t.upload.contains(QStringLiteral("_svl.6"))) return Clase::Receta;
    return Clase::Cabecera;
}

DruvexSim::Guion GuionReporte()
{
    DruvexSim::Guion g;
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
    return g;
}

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
    const QCommandLineOption tables(
        QStringLiteral("tables"),
        QStringLiteral("add sample table-update answers (_sal.2, _sal.4 to _sal.8) to every answer of the scripts "
                       "that do not answer by kind"));
    const QCommandLineOption emp(QStringLiteral("write-emp"),
                                 QStringLiteral("write _druvex.emp with these account codes (comma-separated)"),
                                 QStringLiteral("codes"));
    const QCommandLineOption prm(QStringLiteral("write-prm"), QStringLiteral("write a sample _druvex.prm"));
    const QCommandLineOption registrar(
        QStringLiteral("register"),
        QStringLiteral("record WORKDIR as the client's working folder in the per-user settings (Druvex32, Tarsk, "
                       "Directorio, in Quorvan's configuration folder), as the client's installation does"));
    const QCommandLineOption prepare(QStringLiteral("prepare-only"),
                                     QStringLiteral("write what is asked for (--write-emp, --write-prm, --register) and end"));
    const QCommandLineOption cut(QStringLiteral("cut"), QStringLiteral("bytes of _svl.1 kept by cut-header"),
                                 QStringLiteral("n"), QStringLiteral("309"));
    const QCommandLineOption offer(QStringLiteral("offer"), QStringLiteral("new program file offered by update"),
                                   QStringLiteral("file"));
    const QCommandLineOption offerVersion(QStringLiteral("offer-version"),
                                          QStringLiteral("version of the offered program (default 9.0.0)"),
                                          QStringLiteral("m.n.r"), QStringLiteral("9.0.0"));
    const QCommandLineOption vademecum(
        QStringLiteral("vademecum"),
        QStringLiteral("answer a medicine search with three sample medicines in the scripts that do not answer by kind"));
    const QCommandLineOption druvexEnd(QStringLiteral("druvex-end"), QStringLiteral("update also leaves tx/_druvex.end"));
    const QCommandLineOption keep(QStringLiteral("keep"),
                                  QStringLiteral("keep each answered request's upload files in DIR/<terminal>/"),
                                  QStringLiteral("DIR"));
    const QCommandLineOption fixed(QStringLiteral("fixed-ticket"),
                                   QStringLiteral("answer every ticket as 000012345678, with no answer date or time"));
    parser.addOptions({script, code, message, delay, status, tables, emp, prm, registrar, prepare, cut, offer, offerVersion,
                       druvexEnd, vademecum, keep, fixed});
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

    if (parser.isSet(emp)) {
        QByteArray bytes;
        for (const QString& lic : parser.value(emp).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bytes += DruvexSim::RegistroEmp(lic, QStringLiteral("11"), QStringLiteral("OBRA SOCIAL DEMO"),
                                            QStringLiteral("01"), QStringLiteral("AMBULATORIO"));
            bytes += DruvexSim::RegistroEmp(lic, QStringLiteral("11"), QStringLiteral("OBRA SOCIAL DEMO"),
                                            QStringLiteral("02"), QStringLiteral("FARMACIA"));
        }
        if (!DruvexSim::EscribirArchivoTrabajo(base, QStringLiteral("_druvex.emp"), bytes)) {
            err << "druvex-sim: cannot write " << base << "_druvex.emp\n";
            return 2;
        }
    }
    if (parser.isSet(prm) &&
        !DruvexSim::EscribirArchivoTrabajo(
            base, QStringLiteral("_druvex.prm"),
            DruvexSim::LineaPrm(QStringLiteral("11"), QStringLiteral("01"), QStringLiteral("SVL1"), true) +
                DruvexSim::LineaPrm(QStringLiteral("11"), QStringLiteral("02"), QStringLiteral("SVL1"), false))) {
        err << "druvex-sim: cannot write " << base << "_druvex.prm\n";
        return 2;
    }
    QString error;
    if (parser.isSet(registrar) && !AjustesUsuario::Guardar(QStringLiteral("Druvex32"), QStringLiteral("Tarsk"),
                                                            QStringLiteral("Directorio"), base, &error)) {
        err << "druvex-sim: " << error << "\n";
        return 2;
    }
    if (parser.isSet(prepare)) return 0;
    QDir(base).mkdir(QStringLiteral("tx"));

    // The update answer: the offered program as the version given; without one, an answer
    // that offers nothing.
    QMap<QString, QByteArray> ofrecidos;
    QByteArray registroOferta;
    if (parser.isSet(offer)) {
        QFile archivo(parser.value(offer));
        if (!archivo.open(QIODevice::ReadOnly)) {
            err << "druvex-sim: cannot read " << parser.value(offer) << "\n";
            return 2;
        }
        const QString nombreOfrecido = QFileInfo(archivo.fileName()).fileName();
        ofrecidos.insert(nombreOfrecido, archivo.readAll());
        const QStringList v = parser.value(offerVersion).split(QLatin1Char('.'));
        registroOferta = DruvexSim::RegistroActualizacion(
            QStringLiteral("002"), v.value(0).rightJustified(3, QLatin1Char('0')),
            v.value(1).rightJustified(3, QLatin1Char('0')), v.value(2).rightJustified(3, QLatin1Char('0')),
            nombreOfrecido, QStringLiteral("0000"), QStringLiteral("Nueva versión"));
    }

    DruvexSim::Guion g;
    const QString s = parser.value(script);
    const bool porClase = s == QLatin1String("approve") || s == QLatin1String("reject");
    if (s == QLatin1String("approve")) g.modo = DruvexSim::Modo::Aprobar;
    else if (s == QLatin1String("reject")) g.modo = DruvexSim::Modo::Rechazar;
    else if (s == QLatin1String("error-ticket")) g.modo = DruvexSim::Modo::ErrorEnTicket;
    else if (s == QLatin1String("no-take")) g.modo = DruvexSim::Modo::NoTomar;
    else if (s == QLatin1String("no-answer")) g.modo = DruvexSim::Modo::TomarSinResponder;
    else if (s == QLatin1String("empty-status")) g.modo = DruvexSim::Modo::EstadoVacio;
    else if (s == QLatin1String("no-answer-files")) g.sinSVL1 = g.sinTicket = true;
    else if (s == QLatin1String("cut-header")) g.cortarSVL1En = parser.value(cut).toInt();
    else if (s == QLatin1String("bad-download")) g.descargaIlegible = true;
    else if (s == QLatin1String("update")) g = DruvexSim::GuionActualizacion(registroOferta, ofrecidos, parser.isSet(druvexEnd));
    else if (s == QLatin1String("report")) g = GuionReporte();
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
    if (!porClase && parser.isSet(tables)) g.archivos = DruvexSim::ArchivosTablasEjemplo();
    if (!porClase && parser.isSet(vademecum)) {
        g.vademecum = DruvexSim::VademecumEjemplo();
        // The table sample's own "_sal.8" would replace the medicines.
        g.archivos.remove(QStringLiteral("_sal.8"));
    }

    DruvexSim sim(base);
    sim.setGuion(g);
    const bool numerar = !parser.isSet(fixed);
    const int demora = g.demoraMs;
    const QString estado = g.estado;
    sim.setAlTomar([=](const DruvexSim::Toma& t, DruvexSim::Guion& guion) {
        const Clase clase = ClaseDe(t);
        if (porClase) {
            // What is not the member's own request is answered whatever the script.
            DruvexSim::Guion aprobado;
            aprobado.demoraMs = demora;
            aprobado.estado = estado;
            switch (clase) {
            case Clase::Actualizacion:
                guion = DruvexSim::GuionActualizacion(registroOferta, ofrecidos, true);
                guion.demoraMs = demora;
                return;
            case Clase::Reporte:
                guion = GuionReporte();
                guion.demoraMs = demora;
                return;
            case Clase::Tablas:
                guion = aprobado;
                guion.archivos = DruvexSim::ArchivosTablasEjemplo();
                guion.sinTicket = true;
                return;
            case Clase::Vademecum:
                guion = aprobado;
                guion.vademecum = DruvexSim::VademecumEjemplo();
                guion.sinTicket = true;
                return;
            case Clase::Cabecera:
            case Clase::Receta:
            case Clase::Cierre:
                break;
            }
        }
        if (!numerar || guion.soloArchivos || guion.sinTicket || guion.modo == DruvexSim::Modo::NoTomar) return;
        const QDateTime ahora = QDateTime::currentDateTime();
        guion.numeroAutorizacion = SiguienteNumero(base);
        guion.fechaRespuesta = ahora.toString(QStringLiteral("yyyyMMdd"));
        guion.horaRespuesta = ahora.toString(QStringLiteral("HHmm"));
        if (clase == Clase::Cabecera || !guion.ticket.isEmpty()) return;
        const bool cierre = clase == Clase::Cierre;
        const bool consulta = cierre && t.upload.value(QStringLiteral("_sal.0")).left(2) == "07";
        const bool rechazada = guion.modo == DruvexSim::Modo::Rechazar;
        guion.ticket << (cierre ? (consulta ? QStringLiteral("       CONSULTA DE CIERRE") : QStringLiteral("       CIERRE DE LOTE"))
                                : QStringLiteral("       RECETA"))
                     << QStringLiteral("Terminal: ") + t.terminal
                     << QStringLiteral("Fecha: ") + DruvexSim::FechaHoraTicket(guion.fechaRespuesta, guion.horaRespuesta);
        if (rechazada) guion.ticket << QStringLiteral("RECHAZADA: ") + guion.mensaje;
        else if (cierre) guion.ticket << QStringLiteral("CIERRE Nro ") + guion.numeroAutorizacion;
        else guion.ticket << QStringLiteral("AUTORIZADA Nro ") + guion.numeroAutorizacion;
    });
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
