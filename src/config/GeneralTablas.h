#pragma once
#include <QString>

// Bringing the local reference tables up to date: the accounts and insurers of the
// communications client's "_druvex.emp", the table-update request, and the application of
// its answer lists (doctors, effectors, providers, services, diagnoses).
namespace General {

// ---- "_druvex.emp" ------------------------------------------------------------------------

// One 74-byte record of the account file (fields blank-padded to their widths).
struct RegistroEmp {
    QString Licencia;        // 8
    QString CodigoEmpresa;   // 2
    QString NombreEmpresa;   // 30
    QString CodigoActividad; // 2
    QString NombreActividad; // 30
};

// Fills the global `Licencias` with the account codes of the file (always at least one item).
void CargarLicencias();
// Inserts or updates the insurers of the file; an empty account code takes every account.
void ActualizarObrasSocialesEmp(const QString& licencia);

// ---- Table-update answers -----------------------------------------------------------------

struct RegistroMedico {
    QString Matricula;      // 6
    QString TipoMatricula;  // 2
    QString ApellidoNombre; // 40
    QString Baja;           // 1
    QString FinLinea;       // 2
};

struct RegistroEfector {
    QString Nombre;        // 35
    QString Cuit;          // 11
    QString TipoMatricula; // 2
    QString Matricula;     // 6
    QString Baja;          // 1
    QString FinLinea;      // 2
};

struct RegistroPrestador {
    QString Nombre;                 // 35
    QString Cuit;                   // 11
    QString RequierePrescripcion;   // 1
    QString Odontologo;             // 1
    QString codigoOSDE;             // 9
    QString Predeterminado;         // 1
    QString Filial;                 // 2
    QString Admisor;                // 1
    QString Baja;                   // 1
    QString Licencia;               // 8, blank when the line has none
    QString RequiereMatPrescriptor; // 1
    QString FinLinea;               // 2
};

struct RegistroPrestacion {
    QString CodigoPrestacion; // 10
    QString Descripcion;      // 150
    QString FinLinea;         // 2
};

struct RegistroDiagnostico {
    QString Codigo;      // 10
    QString Diagnostico; // 150
    QString Marca;       // 1
    QString FinLinea;    // 2
};

// The line readers: each fills its record from the front of `texto` and removes what it
// consumed. They return false for a malformed line (no CR LF where the line must end); the
// text then starts after the next CR LF, or is empty when there is none.
bool DesarmarRegistroMedico(QString& texto, RegistroMedico& r);
bool DesarmarRegistroEfector(QString& texto, RegistroEfector& r);
bool DesarmarRegistroPrestador(QString& texto, RegistroPrestador& r);
bool DesarmarRegistroPrestacion(QString& texto, RegistroPrestacion& r);
bool DesarmarRegistroDiagnostico(QString& texto, RegistroDiagnostico& r);

// Applies the answer lists of `TransaccionActual`, in the fixed order doctors, effectors,
// providers, services, diagnoses; a complete flag first empties its table. False when an
// error ended the run (after its message).
bool ProcesarActualizacionTablas(bool pEfectores, bool pMedicos, bool pPrestadores, bool pPracticas,
                                 bool pDiagnosticos, bool pCompletoEfectores, bool pCompletoMedicos,
                                 bool pCompletoPrestadores, bool pCompletoPracticas, bool pCompletoDiagnosticos);

// ---- The request --------------------------------------------------------------------------

// Refreshes insurers from the account file (flag 7) and asks the client for the tables whose
// flags are set. True when the insurer pass ran or the request was answered and applied.
bool ActualizarTablas(bool bEfectores, bool bPrestadores, bool bMedicos, bool bCompletoEfectores,
                      bool bCompletoPrestadores, bool bCompletoMedicos, bool bObrasSocialesEmp,
                      bool bObrasSociales, bool bPracticas, bool bCompletoPracticas, bool bDiagnosticos,
                      bool bCompletoDiagnosticos, const QString& licencia);

}
