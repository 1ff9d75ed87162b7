#pragma once
#include "engine/clsItemError.h"
#include "engine/modRegistros.h"

#include <QString>

// One medicine of a prescription: a record of "upload/_svl.3". The client answers in
// "download/_svl.3" with the same layout, one record per medicine.
class clsItemMedicamento {
public:
    static constexpr int LargoSVL3 = 246;

    void setTroquel(const QString& value) { m_troquel = value; }
    void setCantidad(const QString& value) { m_cantidad = value; }
    // Two-digit error code of the last answer record read.
    QString CodigoErrorPrescripcion() const { return m_codigoErrorPrescripcion; }

    // Opens the request file below the terminal folder for random access; the number is this
    // object's handle for CerrarArchivo.
    qint16 AbrirArchivo(const QString& carpetaTerminal);
    bool CerrarArchivo(qint16 archivo);
    // Writes this medicine at record `posicion` (from 1). A quantity longer than its two
    // characters raises VbError 6 and nothing is written.
    bool GrabarRegistroSVL3(qint16 posicion, const QString& carpetaTerminal);
    // One item per answer record, in file order; a missing answer file gives none.
    ListaErrores LeerSVL3(const QString& carpetaTerminal);

private:
    QString RegistroSVL3() const;

    QString m_troquel;
    QString m_cantidad;
    QString m_codigoErrorPrescripcion;
    modRegistros::TablaArchivos m_archivos;
};
