#pragma once
#include <QByteArray>
#include <QString>

// Every file the program produces goes through here: it is written into a temporary file
// beside its final name and renamed into place only when whole, so a reader (the client, a
// user, the next start) sees the old file or the new one, never a part. A failed write or
// rename leaves the old file as it was and no temporary file behind.
//
// The streaming form serves exports and reports: rows are written as they are read and the
// file appears under its name at `Confirmar`.
//
// A link standing at the file's name is refused, never written through: the working folder is
// shared with another program, and a link planted there must not make this program overwrite
// the file it points to. `NoSeguirEnlacesDesde` extends that to every folder below a given one.
// Nor is anything but a regular file there (a folder, a pipe, a socket, a device) replaced.
class EscrituraSegura {
public:
    // Who the file is for. The program's own files (registry, database, tickets, reports,
    // exports) hold health data and are readable by the user alone, whatever the umask;
    // files for the communications client get the read and write bits of the file they
    // replace (all for a new one) less the umask.
    enum class Modo { ParaCliente, Propio };

    explicit EscrituraSegura(QString ruta, Modo modo = Modo::ParaCliente);
    ~EscrituraSegura(); // an unconfirmed file is discarded
    EscrituraSegura(const EscrituraSegura&) = delete;
    EscrituraSegura& operator=(const EscrituraSegura&) = delete;

    // The folders of the path below `carpeta` (which itself may be reached through links)
    // are opened without following a link; one that is a link makes `Abrir` fail.
    void NoSeguirEnlacesDesde(const QString& carpeta);

    // Opens the temporary file; false, with `Error()`, when the folder cannot take it.
    bool Abrir();
    bool Escribir(const QByteArray& bytes);
    // Writes out what is still buffered (a full disk fails here, the old file staying), reaches
    // the disk when `sincronizar` (the data must survive a power cut before the caller goes
    // on, as an export whose rows are then deleted) and renames into place.
    bool Confirmar(bool sincronizar = false);
    // Drops what was written; the old file stays.
    void Cancelar();
    const QString& Error() const { return m_error; }
    const QString& Ruta() const { return m_ruta; }

    // The whole file in one call; false with the reason in `error` when given.
    static bool EscribirArchivo(const QString& ruta, const QByteArray& bytes, QString* error = nullptr,
                                bool sincronizar = false, Modo modo = Modo::ParaCliente);

    // Fault injection for tests: the `n`-th write or rename from now on fails as a full disk
    // would (1 is the next one); 0 turns it off.
    static void FallarEnOperacion(int n);

private:
    bool Falla(const QString& que);
    bool Volcar();
    QString m_ruta;
    QString m_error;
    QString m_desde;
    Modo m_modo;
    int m_carpeta = -1;    // the folder holding the file, opened once
    int m_archivo = -1;    // the temporary file
    int m_modoAnterior = -1; // the mode of the file being replaced
    QByteArray m_nombre;   // the file's name in its folder
    QByteArray m_temporal; // the temporary file's name there
    QByteArray m_pendiente; // written but not yet handed to the system
};
