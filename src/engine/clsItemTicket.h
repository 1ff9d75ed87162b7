#pragma once
#include "engine/clsItemError.h"
#include "engine/modRegistros.h"

#include <QString>

// One service line of a request: a record of "upload/_svl.2". The answer of the client comes
// back in "download/_svl.2" with the same layout, one record per service.
class clsItemTicket {
public:
    static constexpr int LargoSVL2 = 162;

    void setCodigoPrestacion(const QString& value) { m_codigoPrestacion = value; }
    void setTipoPrestacion(const QString& value) { m_tipoPrestacion = value; }
    void setTipoArancel(const QString& value) { m_tipoArancel = value; }
    void setCantidad(const QString& value) { m_cantidad = value; }
    void setPiezaDental(const QString& value) { m_piezaDental = value; }
    void setCaraDental(const QString& value) { m_caraDental = value; }
    // Two-digit error code of the last answer record read.
    QString CodigoErrorPrestacion() const { return m_codigoErrorPrestacion; }

    // Opens the request file below the terminal folder for random access; the number is this
    // object's handle for CerrarArchivo.
    qint16 AbrirArchivo(const QString& carpetaTerminal);
    bool CerrarArchivo(qint16 archivo);
    // Writes this service at record `posicion` (from 1). A quantity or fee type that does not
    // fit its field raises VbError 6 and nothing is written.
    bool GrabarRegistroSVL2(qint16 posicion, const QString& carpetaTerminal);
    // One item per answer record, in file order; a missing answer file gives none.
    ListaErrores LeerSVL2(const QString& carpetaTerminal);

private:
    QString RegistroSVL2() const;

    QString m_codigoPrestacion;
    QString m_tipoPrestacion;
    QString m_tipoArancel;
    QString m_cantidad;
    QString m_piezaDental;
    QString m_caraDental;
    QString m_codigoErrorPrestacion;
    modRegistros::TablaArchivos m_archivos;
};
