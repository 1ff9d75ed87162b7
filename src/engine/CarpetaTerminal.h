#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// One terminal folder below the communications client's working folder, and every file step
// of an exchange in it: the request files go into upload, the client's answers come back in
// download, its status file appears beside them and the trigger goes into the working
// folder's tx. Folders and files the program makes are spelt in lower case; those the
// client leaves are found in any case. This is the one place that knows those names.
//
// A value: copying it copies the path, nothing on disk.
class CarpetaTerminal {
public:
    CarpetaTerminal() = default;
    // The terminal folder at `ruta` ("\" read as "/", trailing "/" ignored).
    explicit CarpetaTerminal(const QString& ruta);
    // The folder `nombre` directly below the working folder `carpetaBase`.
    CarpetaTerminal(const QString& carpetaBase, const QString& nombre);

    // What is read whole from the working folder is bounded, so a file planted there cannot
    // exhaust the memory: the status file at most 64 KiB, any other file (answers, ticket,
    // table answers, the account, parameter and update files) at most 64 MB.
    static constexpr qint64 kLimiteEstado = 64 * 1024;
    static constexpr qint64 kLimiteArchivo = 64 * 1024 * 1024;

    bool Vacia() const { return m_Ruta.isEmpty(); }
    const QString& Ruta() const { return m_Ruta; }
    // The working folder, with one trailing "/", and the terminal's own name.
    const QString& CarpetaBase() const { return m_Base; }
    const QString& Nombre() const { return m_Nombre; }

    // ---- Paths -----------------------------------------------------------------------------
    // The working folder's tx in the spelling the client uses, else the lower-case path.
    static QString CarpetaDisparo(const QString& carpetaBase);
    // Makes tx below the working folder unless it is there in some spelling.
    static void AsegurarCarpetaDisparo(const QString& carpetaBase);
    // Where this terminal's trigger goes; empty without a working folder or a name.
    QString ArchivoDisparador() const;
    // The status file the client writes when it is done (looked up in any case by the wait).
    QString ArchivoEstado() const;
    QString Subida() const;
    QString Descarga() const;
    // True when an entry of that name exists directly below the working folder, in any case.
    bool Existe() const;

    // ---- Preparing and clearing ------------------------------------------------------------
    // Makes the terminal folder (when missing) with its upload and download. Below the working
    // folder, which is shared with the client, a link is refused wherever it stands (the
    // terminal folder, upload or download in any spelling); `motivo` then names it.
    bool Crear(QString* motivo = nullptr) const;
    // Makes the terminal folder itself and only when no entry of that name exists: taking a
    // new name is atomic. 1 taken, 0 already there, -1 the folder could not be made.
    int Reservar() const;
    // Deletes every file and link of upload (in every spelling; a link itself, never what it
    // points to; subfolders stay); false, with the reason in `motivo`, when one stays or upload
    // is a link.
    bool VaciarSubida(QString* motivo = nullptr) const;
    // The same for download, listing what was deleted in `borrados`.
    bool VaciarDescarga(QStringList& borrados, QString* motivo = nullptr) const;
    // True when download exists in some spelling.
    bool ExisteDescarga() const;
    // Deletes a status file in every spelling; false when one stays.
    bool BorrarEstado() const;
    // The client's status file, whole. None with `falla` empty while it is missing or cannot
    // be opened yet; none with `falla` set (a text beginning with "-" that names the file)
    // when it is a link, not a regular file (a pipe or a socket too) or over kLimiteEstado:
    // waiting cannot mend that. The text asks to check the operation before repeating it,
    // unless the request was a `consulta`, which changes nothing.
    std::optional<QByteArray> LeerEstado(QString* falla, bool consulta = false) const;
    // Deletes the file `nombre` of upload in every spelling, through the folder's handle.
    bool BorrarDeSubida(const QString& nombre) const;
    // The same in the working folder itself, which may be a link.
    static bool BorrarEstadoDeBase(const QString& carpetaBase);
    // The trigger of an exchange: deleted and created anew, empty, in tx, since its appearance
    // is the client's signal. True without a tx folder (no trigger then) unless
    // `exigirCarpeta`; false when it cannot be made or tx or the name is a link. tx itself is
    // never made here.
    bool CrearDisparador(bool exigirCarpeta = false) const;
    // A trigger opened for appending: created empty when missing, an existing one (in any
    // spelling) keeps its content. Otherwise as `CrearDisparador`; when tx or the name is
    // refused (a link, a pipe, a socket, a device, a folder) or the file cannot be made,
    // `motivo` is the message naming it ("Error de acceso a la ruta o el archivo: <path> (no es
    // un archivo común)"), empty when tx is missing.
    bool AsegurarDisparador(bool exigirCarpeta = false, QString* motivo = nullptr) const;
    // The trigger in a folder the configuration names instead of tx (opened once, its handle
    // used for the file): created empty when missing, an existing one left as it is; false
    // when the folder is missing (`motivo` empty) or the file is refused or cannot be made
    // (`motivo` as above).
    bool CrearDisparadorEn(const QString& carpeta, QString* motivo = nullptr) const;
    // This terminal's trigger in tx, looked at and removed (every spelling) through the
    // folder's handle; a tx that is a link holds none.
    bool ExisteDisparador() const;
    bool BorrarDisparador() const;

    // ---- Markers in tx ---------------------------------------------------------------------
    // The markers the programs leave each other in tx, through its handle, never through a
    // link. `CrearMarcador` keeps one already there (any spelling) and gives its path, empty
    // when tx is missing or a link or the file cannot be made (the reason in `error`: ENOENT
    // without tx, ELOOP or ENODEV for a name refused as `AsegurarDisparador` refuses it; the
    // message naming the file in `motivo`).
    static bool ExisteMarcador(const QString& carpetaBase, const QString& nombre);
    static bool BorrarMarcador(const QString& carpetaBase, const QString& nombre);
    static QString CrearMarcador(const QString& carpetaBase, const QString& nombre, int* error = nullptr,
                                 QString* motivo = nullptr);
    // Removes the terminal folder with its upload and download and their files; never a
    // link's target, never anything outside it, never the working folder. A per-exchange
    // folder (`conContenido`) goes with everything below it; a fixed one keeps a subfolder
    // that is not its own.
    void Borrar(bool conContenido = false) const;

    // ---- Request files ---------------------------------------------------------------------
    // Writes `bytes` as the whole file `nombre` of upload, whole or not at all. Without
    // upload it is made when `crearSubida`, else VbError 76; a file that cannot be created
    // raises 75 and a failed write 57, all with `origen`.
    void GrabarArchivo(const QString& nombre, const QByteArray& bytes, const QString& origen,
                       bool crearSubida = false) const;
    // Writes `bytes` as record `posicion` (from 1) of `largo` bytes into "upload/<nombre>",
    // keeping the other records; the file is replaced whole. Errors as GrabarArchivo.
    void GrabarRegistro(const QString& nombre, qint32 posicion, int largo, const QByteArray& bytes,
                        const QString& origen) const;
    // The bytes of an upload file; none when it is missing.
    std::optional<QByteArray> LeerSubida(const QString& nombre) const;

    // ---- Files of the working folder itself --------------------------------------------------
    // The bytes of the client's file `nombre` (any case) directly in the working folder; none
    // when it is missing, or when it is a folder and `carpetaComoAusente`. One that is a link,
    // not a regular file, over kLimiteArchivo or unreadable raises VbError 75 with `origen`,
    // naming the file.
    static std::optional<QByteArray> LeerDeBase(const QString& carpetaBase, const QString& nombre,
                                                const QString& origen, bool carpetaComoAusente = false);

    // ---- Answer files ----------------------------------------------------------------------
    // True when the client left a file of that name in download.
    bool ExisteRespuesta(const QString& nombre) const;
    // The bytes of a download file; none when the folder or the file is missing (looking
    // never creates either). A download or a file there that cannot be read (a link, not a
    // regular file, over kLimiteArchivo) raises VbError 75, a failed read 57, with `origen`:
    // an answer that is there but unreadable is not a missing one.
    std::optional<QByteArray> LeerRespuesta(const QString& nombre, const QString& origen) const;
    // The file cut into records of `largo` characters; the last may be shorter.
    std::optional<QStringList> LeerRegistros(const QString& nombre, int largo, const QString& origen) const;
    // The text of the file, every line (CR LF, CR or LF) followed by CR LF; `lineas` receives
    // the count.
    std::optional<QString> LeerTexto(const QString& nombre, const QString& origen, qint32* lineas = nullptr) const;

private:
    bool Vaciar(const QString& sub, QStringList* borrados, QString* motivo) const;
    // The bytes of the file `nombre` (any case) of the subfolder `sub`, never through a link;
    // none with the error number in `error` (ENOENT when missing, ELOOP for a link).
    std::optional<QByteArray> LeerDe(const QString& sub, const QString& nombre, int* error = nullptr) const;

    QString m_Ruta;
    QString m_Base;
    QString m_Nombre;
};
