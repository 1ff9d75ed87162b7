#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

class clsTransaccion;
class Database;

// The program-wide state and the fixed-width field routines shared by every subsystem. The
// globals of configuration types are declared with the configuration (config/GeneralConfiguracion.h).
namespace General {

// The communications client's working folder.
extern QString DirectorioTrabajo;
// Account codes found in the client's "_druvex.emp", numbered from 0.
extern QStringList Licencias;
// The account code in use: 8 characters or empty.
extern QString LicenciaSeleccionada;
// The exchange in progress of the open working form; the engine never reads it.
extern std::shared_ptr<clsTransaccion> TransaccionActual;
// Provider last chosen in the entry window, 0 when none.
extern qint16 PrestadorActual;
// List indexes of the registration type and jurisdiction of the entry window's last send.
extern qint16 UltimoIndiceTipoMatricula;
extern qint16 UltimoIndiceProvincia;
// What the service-line dialog lets the user type, as the entry window's layout left it: the
// service code, the service and tariff types, the tooth, the tooth faces.
extern bool HabilitarCodigoPrestacion;
extern bool HabilitarTipoArancel;
extern bool HabilitarPiezaDental;
extern bool HabilitarCaraDental;
// Provider identifiers listed by the configuration window.
extern QString ListaIdsPrestadores;
// Repeat check of the sender: the records of this and of the previous exchange.
extern QString SVL1Actual;
extern QString SVL2Actual;
extern QString SVL1Anterior;
extern QString SVL2Anterior;
void ReiniciarControlRepeticion();

// The rest of the main window's program-wide state.
// Command line, trimmed and upper-cased; "KESTRIMA" is the hidden mode.
extern QString LineaComando;
// This PC's terminal (IdTerminal of its Parametros row); 0 when none.
extern qint16 NumeroTerminal;
// Operation code of the open working window; 0 when none.
extern qint16 OperacionActual;
// Card security-code mode: 0 off, 1 asked and validated, 2 asked only.
extern qint16 SubModoOperacion;
// Flags of the insurer selected in the insurer list.
extern bool ObraSocialOnLine;
extern bool ObraSocialUtilizaCSC;
// Start-up reference-table update: 1 runs it; the six flags choose the tables.
extern qint16 ActualizaNomencladores;
extern bool ActualizaMedicos;
extern bool ActualizaEfectores;
extern bool ActualizaPrestadores;
extern bool ActualizaObrasS;
extern bool ActualizaPrestaciones;
extern bool ActualizaDiagnosticos;
extern bool TipoIngresoAutomatico;
// Connection of the log purge, opened by the export on first use; the exit closes it.
extern std::shared_ptr<Database> ConexionBD;

// Numeric field: right-aligned, zero-filled, high-order digits cut to the width. The digits
// of an integer are handled as text, so no width loses precision to a double. Error 13 for a
// value that is neither blank nor numeric.
QString FormatearNumero(const QVariant& valor, qint16 ancho);
// The same for a request field that must not be cut: error 6 (source `origen`) when the
// number's digits do not fit, since a cut would send another number.
QString FormatearNumeroCampo(const QVariant& valor, qint16 ancho, const QString& campo, const QString& origen);
// Text field: trimmed of blanks, left-aligned, blank-filled, cut on the right. Line breaks
// and tabs become blanks and characters outside the code page become "?", so one field is
// always `ancho` bytes of the record.
QString FormatearTexto(const QVariant& valor, qint16 ancho);

// Full paths of the ordinary files of a folder ("" ending in "/"); an empty list for a missing
// folder, nothing when the folder cannot be read.
std::optional<QStringList> ListarArchivos(const QString& carpeta);
// Deletes every listed file that exists; goes on past a file that cannot be deleted and
// returns false when any listed file is still there.
bool BorrarArchivos(const QStringList& archivos);

}
