// arranque-terminal: one terminal starting against the data source of QUORVAN_DSN. It waits for
// the start instant given on its command line (milliseconds since the epoch), so several copies
// start together, then takes the step of start-up that opens the database and makes what is
// missing of it (the configuration object's construction) and logs one answered transaction
// with two items under the given ticket number.
//
//     arranque-terminal INSTANTE TICKET
//
// Exit 0 when both succeed; otherwise 1 (start-up) or 2 (logging), the reason on stderr.
#include "config/clsConfig.h"
#include "support/DatosTerminal.h"
#include "support/ScriptedDialogs.h"
#include "txlog/modTickets.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "uso: arranque-terminal INSTANTE TICKET\n");
        return 64;
    }
    const qint64 instante = args.at(1).toLongLong();
    const qint64 ticket = args.at(2).toLongLong();
    // Asleep until just before the instant, then on the clock, so the copies are within a
    // millisecond of each other.
    for (qint64 falta; (falta = instante - QDateTime::currentMSecsSinceEpoch()) > 0;)
        QThread::usleep(falta > 5 ? 2000 : 50);
    try {
        clsConfig config;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arranque: %s\n", qPrintable(DescripcionError(e)));
        return 1;
    }
    ScriptedDialogs dialogos;
    modTickets::GuardarTicket(DatosTerminal::Svl1Respondido(ticket), QStringLiteral("TICKET %1").arg(ticket),
                              QStringLiteral("5"),
                              DatosTerminal::Svl2Respondido(QStringLiteral("420101"), QStringLiteral("01")) +
                                  DatosTerminal::Svl2Respondido(QStringLiteral("420351"), QStringLiteral("02")),
                              2);
    if (!dialogos.messages().isEmpty()) {
        std::fprintf(stderr, "registro: %s\n", qPrintable(dialogos.messages().join(QLatin1Char(' '))));
        return 2;
    }
    return 0;
}
