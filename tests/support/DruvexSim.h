#pragma once
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QWaitCondition>
#include <functional>

class QThread;
class DruvexSimWorker;

// Plays the communications client's side of the working-folder protocol on its own thread:
// watches "tx", takes a trigger (deletes it), reads the terminal folder's "upload", writes
// the scripted answer files into "download" and then "estado.rsp" (written under another
// name and renamed, so it appears whole).
class DruvexSim {
public:
    enum class Modo {
        Aprobar,           // answer code "0000", a ticket without errors
        Rechazar,          // the header answer carries `codigoRespuesta` and `mensaje`
        ErrorEnTicket,     // approved codes, but the ticket text holds "ERROR"
        NoTomar,           // never take the trigger (the time-out case)
        TomarSinResponder, // take the trigger and never write the status
        EstadoVacio,       // answers, then an empty "estado.rsp"
    };

    struct Guion {
        Modo modo = Modo::Aprobar;
        // Milliseconds between taking the trigger and writing the answer (slow answer).
        int demoraMs = 0;
        // Text of "estado.rsp"; it begins with "0" when the request was carried.
        QString estado = QStringLiteral("0");
        // Header answer ("_svl.1").
        QString codigoRespuesta;  // empty: "0000", or "0051" when rejecting
        QString mensaje;          // comment at 312-351
        QString numeroAutorizacion = QStringLiteral("000012345678");
        QString numeroAutorizacionComplementaria = QStringLiteral("000000000077");
        QString plan = QStringLiteral("AB210");
        QString tipoAsociado = QStringLiteral("1");
        QString coseguro = QStringLiteral("00000001500");
        // Answer date (yyyymmdd) and time (hhmm) of "_svl.1"; empty leaves them blank, as the
        // request has them. The default ticket text shows them when set.
        QString fechaRespuesta;
        QString horaRespuesta;
        // Codes and comments of the answered service lines, by line; missing ones are "0000".
        QStringList codigosItems;
        QStringList comentariosItems;
        // Answer code and comment of a catalogue ("_svl.7") or close ("_sal.0") request.
        QString codigoCierre = QStringLiteral("0000");
        QString comentarioCierre;
        // Lines of "_ticket.prn"; empty gives a ticket fitting the mode. `sinTicket` writes none.
        QStringList ticket;
        bool sinTicket = false;
        // Catalogue answer lines ("_sal.8"), written with a catalogue ("_svl.7") answer.
        QByteArray vademecum;
        // Further answer files by name ("_sal.2", "_sal.4" ... "_sal.8"), written as they stand.
        QMap<QString, QByteArray> archivos;
        // Faults of the answer: no "_svl.1" at all; "_svl.1" or "_svl.2" cut after that many
        // bytes (0 leaves them whole); a "download" the engine cannot read (a file stands where
        // the folder was) while the status still says the request was carried.
        bool sinSVL1 = false;
        int cortarSVL1En = 0;
        int cortarSVL2En = 0;
        bool descargaIlegible = false;
        // Leaves "_druvex.end" in "tx" before the status (the client asks Quorvan's exit to
        // remove the wizard's close marker).
        bool druvexEnd = false;
        // Answer with the status and the files of `archivos` only (the remote report: its
        // link test is answered by a status alone, its request by "_sal.1").
        bool soloArchivos = false;
        // Runs on the client's thread once the answer files are in "download", before the
        // status: a test may plant there what a real client or an intruder could.
        std::function<void(const QString& descarga)> alResponder;
    };

    // One catalogue answer line by its fields; numbers are digits as the line carries them.
    struct LineaVademecum {
        QString codigo;       // 1-5
        QString nombre;       // 6-35
        QString presentacion; // 36-59
        QString troquel;      // 60-66
        QString codigoBarra;  // 67-79
        QString codigoAccion; // 80-84
        QString accion;       // 85-119
        QString codigoDroga;  // 120-125
        QString monodroga;    // 126-165
        QString precio;       // 166-176, tenths
        QString cobertura;    // 177-181, hundredths of a percent
        QString aPagar;       // 182-192, tenths
    };

    // One transaction line of the remote report's answer "_sal.1", by the fields the report
    // prints; the rest of the 133 characters are zeros, the 10th the type mark "1".
    struct LineaReporte {
        QString trx;                 // 1-6
        QString asociado;            // 29-40 (2, 7, 2 and 1 characters)
        QString prescriptorJurisdiccion; // 43-44
        QString prescriptorTipo;     // 45
        QString prescriptorPrefijo;  // 55-56
        QString prescriptorNumero;   // 57-62
        QString efector;             // 84-94
        QString monto;               // 115-125
        QString antesMonto2;         // 126-130
        QString antesMonto1;         // 131
    };

    // One trigger seen by the client.
    struct Toma {
        QString terminal;                 // name of the trigger and of the terminal folder
        QMap<QString, QByteArray> upload; // the "upload" files (lower-case names) when taken
        bool tomada = false;              // the trigger was deleted
        bool respondida = false;          // "estado.rsp" was written
        qint64 vistoNs = 0;               // steady clock as the trigger was seen
        qint64 renombradoNs = 0;          // steady clock as "estado.rsp" was renamed into place
    };

    explicit DruvexSim(const QString& carpetaBase);
    ~DruvexSim();
    DruvexSim(const DruvexSim&) = delete;
    DruvexSim& operator=(const DruvexSim&) = delete;

    // The script of every following exchange.
    void setGuion(const Guion& guion);
    // A script for the next exchange only (queued in order).
    void encolarGuion(const Guion& guion);
    void iniciar();
    void detener();

    QList<Toma> tomas() const;
    // Waits (without spinning) until `n` triggers were seen, or `ms` have passed.
    bool esperarTomas(int n, int ms) const;
    // The same for `n` answered requests.
    bool esperarRespuestas(int n, int ms) const;
    // Called on the client's thread right after it renamed "estado.rsp" into place.
    void setAlResponder(std::function<void(const Toma&)> f);
    // Called on the client's thread with each trigger seen (its upload read) and the script
    // it is about to follow, which the call may change: a client that answers by the kind of
    // request, or numbers its tickets.
    void setAlTomar(std::function<void(const Toma&, Guion&)> f);

    static qint64 AhoraNs();

    // ---- Answer layouts, written from the record tables --------------------------------
    // The answered header: the request record with the answer fields filled in.
    static QByteArray RespuestaSVL1(const QByteArray& pedido, const Guion& g);
    // The answered service lines: each request line with its code and comment.
    static QByteArray RespuestaSVL2(const QByteArray& pedido, const Guion& g);
    static QByteArray RespuestaSVL7(const QByteArray& pedido, const Guion& g);
    // The answered medicines of a prescription: each request record with its code and comment.
    static QByteArray RespuestaSVL3(const QByteArray& pedido, const Guion& g);
    // A catalogue answer line (192 characters and CR LF).
    static QByteArray RegistroVademecum(const LineaVademecum& l);
    // A few catalogue lines to try the search with.
    static QByteArray VademecumEjemplo();
    static QByteArray RespuestaSAL0(const QByteArray& pedido, const Guion& g);
    // Lines of the table-update answers, CR LF included.
    static QByteArray LineaMedico(int matricula, const QString& tipo, const QString& nombre, bool baja);
    static QByteArray LineaEfector(const QString& nombre, const QString& cuit, const QString& tipo,
                                   const QString& matricula, bool baja);
    static QByteArray LineaPrestador(const QString& nombre, const QString& cuit, bool requierePrescripcion,
                                     const QString& odontologo, const QString& codigoOSDE, bool predeterminado,
                                     const QString& filial, const QString& admisor, bool baja,
                                     const QString& licencia, const QString& requiereMatPrescriptor);
    static QByteArray LineaPrestacion(const QString& codigo, const QString& descripcion);
    static QByteArray LineaDiagnostico(const QString& codigo, const QString& descripcion, const QString& marca);
    // A "_sal.1" transaction line (133 characters and CR LF) and an item line (36 and CR LF,
    // its 10th character "0").
    static QByteArray LineaReporteTransaccion(const LineaReporte& l);
    static QByteArray LineaReporteItem(const QString& trx, const QString& prestacion, const QString& despues,
                                       const QString& arancel, const QString& cantidad);
    // One record of the account file "_druvex.emp" (74 bytes, line end included).
    static QByteArray RegistroEmp(const QString& licencia, const QString& codigoEmpresa,
                                  const QString& nombreEmpresa, const QString& codigoActividad,
                                  const QString& nombreActividad);
    // One line of the parameter file "_druvex.prm".
    static QByteArray LineaPrm(const QString& codigoEmpresa, const QString& codigoActividad,
                               const QString& registro, bool marcada);
    // One record of the update answer "_druvex.upg" (112 bytes, line end included); numbers
    // are written as given, so a test can put blanks or letters in them.
    static QByteArray RegistroActualizacion(const QString& tipo, const QString& major, const QString& minor,
                                            const QString& revision, const QString& nombre, const QString& codigo,
                                            const QString& descripcion);
    // The update answer: "_druvex.upg" with `registros` and the offered files in "download",
    // no ticket, status "0".
    static Guion GuionActualizacion(const QByteArray& registros, const QMap<QString, QByteArray>& ofrecidos,
                                    bool druvexEnd = false);
    // Writes a file of the working folder (the account and parameter files), whole.
    static bool EscribirArchivoTrabajo(const QString& carpetaBase, const QString& nombre, const QByteArray& bytes);
    // A ready table-update answer: one or two lines of every list.
    static QMap<QString, QByteArray> ArchivosTablasEjemplo();

    // "dd/mm/yyyy hh:mm" of an answer date (yyyymmdd) and time (hhmm), as a ticket prints them.
    static QString FechaHoraTicket(const QString& fecha, const QString& hora);

private:
    friend class DruvexSimWorker;
    Guion siguienteGuion();
    std::function<void(const Toma&, Guion&)> alTomar() const;
    void registrar(const Toma& t, bool nueva);

    QString m_Base;
    QThread* m_Thread = nullptr;
    DruvexSimWorker* m_Worker = nullptr;

    mutable QMutex m_Mutex;
    mutable QWaitCondition m_Cambio;
    Guion m_Guion;
    QList<Guion> m_Cola;
    QList<Toma> m_Tomas;
    std::function<void(const Toma&)> m_AlResponder;
    std::function<void(const Toma&, Guion&)> m_AlTomar;
};
