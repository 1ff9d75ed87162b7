#pragma once
#include "platform/SinEnlaces.h"

#include <QString>

// One of the program's lock files (one running copy, the settings store, the update wizard).
// The lock is the system's lock on an open handle of the file, so it ends with the process that
// held it: a lock left by a copy that died needs no judging, and nothing at or beside the file
// is ever read, waited on or removed. The file is opened inside its folder without following a
// link, without opening a device and without waiting on a pipe, and must be a regular file of
// the user's own; anything else at its name (planted by another account that can write the
// folder) is refused with a message naming it. The file itself is never read, written or
// removed: a process that has just opened it would hold its lock on a name no longer there.
class Bloqueo {
public:
    explicit Bloqueo(QString ruta) : m_ruta(std::move(ruta)) {}

    // Takes the lock, retrying for `esperaMs` while another process holds it. False with
    // `Ocupado()` when another still holds it, otherwise with the refusal in `Error()`.
    bool Tomar(int esperaMs = 0);
    void Soltar() { m_archivo.Cerrar(); }
    bool Tomado() const { return m_archivo.Valido(); }
    bool Ocupado() const { return m_ocupado; }
    const QString& Error() const { return m_error; }
    const QString& Ruta() const { return m_ruta; }

private:
    bool Rechazar(const QString& motivo);
    QString m_ruta;
    QString m_error;
    bool m_ocupado = false;
    SinEnlaces::Descriptor m_archivo;
};
