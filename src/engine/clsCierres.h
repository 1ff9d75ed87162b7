#pragma once
#include "engine/clsItemError.h"

#include <QString>

// The batch close or table-update request: the single record of "upload/_sal.0", answered in
// "download/_sal.0" with the same layout.
class clsCierres {
public:
    static constexpr int LargoSAL0 = 116;

    // Set by the sender when it fills the request, and by GrabarSAL0; selects the close path.
    bool existo() const { return m_existo; }
    void setexisto(bool value) { m_existo = value; }

    void setOperacion(const QString& value) { m_operacion = value; }
    void setNumeroCierre(const QString& value) { m_numeroCierre = value; }
    void setFechaDesde(const QString& value) { m_fechaDesde = value; }
    void setFechaHasta(const QString& value) { m_fechaHasta = value; }
    void setCuit(const QString& value) { m_cuit = value; }
    // Update flags: "1" or "2" (any text that reads as that number), anything else "0".
    void setActualizaPlanes(const QString& value);
    void setActualizaMedicos(const QString& value);
    void setActualizaMedicamentos(const QString& value);
    void setActualizaDiagnosticos(const QString& value);
    void setActualizaPracticas(const QString& value);
    void setActualizarPrestadores(const QString& value);
    void setActualizarEfectores(const QString& value);

    // Writes the request record, creating the upload folder when it is missing. A close
    // number longer than its field raises VbError 6 and nothing is written.
    bool GrabarSAL0(const QString& carpetaTerminal);
    // The first answer record: an item with its code and comment when the code is an error,
    // else a blank item (also for a missing or empty answer file).
    clsItemError LeerSAL0(const QString& carpetaTerminal);

private:
    QString RegistroSAL0() const;

    bool m_existo = false;
    QString m_operacion;
    QString m_numeroCierre;
    QString m_fechaDesde;
    QString m_fechaHasta;
    QString m_cuit;
    QString m_actualizaPlanes;
    QString m_actualizaMedicos;
    QString m_actualizaMedicamentos;
    QString m_actualizaDiagnosticos;
    QString m_actualizaPracticas;
    QString m_actualizarPrestadores;
    QString m_actualizarEfectores;
};
