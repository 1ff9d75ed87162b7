#pragma once
#include "engine/clsItemError.h"
#include "engine/modRegistros.h"

#include <QString>

// One diagnosis of a request: a record of "upload/_svl.4". The client answers in
// "download/_svl.4" with the same layout.
class clsDiagnostico {
public:
    static constexpr int LargoSVL4 = 56;

    QString Diagnostico() const { return m_diagnostico; }
    void setDiagnostico(const QString& value) { m_diagnostico = value; }

    // Opens the request file below the terminal folder for random access; the number is this
    // object's handle for CerrarArchivo.
    qint16 AbrirArchivo(const QString& carpetaTerminal);
    bool CerrarArchivo(qint16 archivo);
    // Writes this diagnosis at record `posicion` (from 1).
    bool GrabarRegistroSVL4(qint16 posicion, const QString& carpetaTerminal);
    // One item per answer record, in file order; a missing answer file gives none.
    ListaErrores LeerSVL4(const QString& carpetaTerminal);

private:
    QString RegistroSVL4() const;

    QString m_diagnostico;
    modRegistros::TablaArchivos m_archivos;
};
