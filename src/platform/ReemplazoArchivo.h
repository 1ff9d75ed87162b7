#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

// Replaces a file (a program) by another without ever leaving a broken one: the new bytes go
// into a temporary file in the target's folder, which is flushed, given the target's mode (or
// 0755 when there is no target) and renamed over the target. A failed copy leaves the target
// as it was and no temporary file behind; a rename that fails can be tried again.
class ReemplazoArchivo {
public:
    ReemplazoArchivo(QString origen, QString destino);
    // The new bytes from a file already open for reading (from its start; not closed here),
    // so what was checked on that handle is what is copied.
    ReemplazoArchivo(int origen, QString destino);
    ~ReemplazoArchivo(); // removes a copy that was not put in place
    ReemplazoArchivo(const ReemplazoArchivo&) = delete;
    ReemplazoArchivo& operator=(const ReemplazoArchivo&) = delete;

    // Makes the complete temporary copy; 0 or the system's error number (ENOENT for a missing
    // source).
    int Preparar();
    // Renames the copy over the target; 0 or the system's error number (ETXTBSY or EBUSY for
    // a target in use, which may be tried again).
    int Colocar();

    // Test seam: the rename, returning 0 or an error number; an empty function restores
    // rename(2).
    using Renombrar = std::function<int(const QByteArray& de, const QByteArray& a)>;
    static void setRenombrar(Renombrar f);

private:
    QString m_Origen;
    int m_OrigenFd = -1;
    QString m_Destino;
    QByteArray m_Temporal;
};
