#pragma once
#include <QByteArray>
#include <QString>
#include <memory>

class QSaveFile;

// Every file the program produces goes through here: it is written into a temporary file
// beside its final name and renamed into place only when whole, so a reader (the client, a
// user, the next start) sees the old file or the new one, never a part. A failed write or
// rename leaves the old file as it was and no temporary file behind.
//
// The streaming form serves exports and reports: rows are written as they are read and the
// file appears under its name at `Confirmar`.
class EscrituraSegura {
public:
    explicit EscrituraSegura(QString ruta);
    ~EscrituraSegura(); // an unconfirmed file is discarded
    EscrituraSegura(const EscrituraSegura&) = delete;
    EscrituraSegura& operator=(const EscrituraSegura&) = delete;

    // Opens the temporary file; false, with `Error()`, when the folder cannot take it.
    bool Abrir();
    bool Escribir(const QByteArray& bytes);
    // Flushes, reaches the disk when `sincronizar` (the data must survive a power cut before
    // the caller goes on, as an export whose rows are then deleted) and renames into place.
    bool Confirmar(bool sincronizar = false);
    // Drops what was written; the old file stays.
    void Cancelar();
    const QString& Error() const { return m_error; }
    const QString& Ruta() const { return m_ruta; }

    // The whole file in one call; false with the reason in `error` when given.
    static bool EscribirArchivo(const QString& ruta, const QByteArray& bytes, QString* error = nullptr,
                                bool sincronizar = false);

    // Fault injection for tests: the `n`-th write or rename from now on fails as a full disk
    // would (1 is the next one); 0 turns it off.
    static void FallarEnOperacion(int n);

private:
    bool Falla(const QString& que);
    QString m_ruta;
    QString m_error;
    std::unique_ptr<QSaveFile> m_archivo;
};
