#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>

// The working folder is shared with the communications client, another program that may run
// under another account, and the folder may be writable by others. A name planted there as a
// symbolic link must never make this program write, read or delete outside it. These routines
// open and remove through handles of folders already opened, never through a path resolved
// again, and never follow a link at the last component of what they open. The folder a path
// starts from may itself be reached through links (an installer's choice); the names below it
// are the ones checked.
//
// Errors are the system's error numbers: ELOOP means "a link stands at that name".
namespace SinEnlaces {

// An open file or folder handle, closed when it goes out of scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { Cerrar(); }
    Descriptor(Descriptor&& o) noexcept : m_fd(o.Soltar()) {}
    Descriptor& operator=(Descriptor&& o) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int fd() const { return m_fd; }
    bool Valido() const { return m_fd >= 0; }
    explicit operator bool() const { return Valido(); }
    // Hands the handle over; this holder no longer closes it.
    int Soltar();
    void Cerrar();

private:
    int m_fd = -1;
};

// Opens a folder by path; a link as its last component is refused (ELOOP), as is a file
// (ENOTDIR). Earlier components are followed.
Descriptor AbrirCarpeta(const QString& ruta, int* error = nullptr);
// Opens a folder below an open one; `nombre` may have several components ("a/b"), none of
// which may be a link.
Descriptor AbrirCarpetaEn(int carpeta, const QString& nombre, int* error = nullptr);
// Opens or creates a regular file directly inside an open folder with open(2) `flags`; `modo`
// serves a file created (less the umask). A link at the name is refused (ELOOP), whatever the
// flags, and so is anything else but a regular file (ENODEV: a pipe or a socket, with or without
// a reader, a device, a folder), which is never written to and never blocks the program: the
// open never waits and its result is checked once open.
Descriptor AbrirArchivoEn(int carpeta, const QString& nombre, int flags, mode_t modo = 0600,
                          int* error = nullptr);

// True when the path's last component is a symbolic link (dangling or not).
bool EsEnlace(const QString& ruta);
bool EsEnlaceEn(int carpeta, const QString& nombre);

// What stands at a name, looked at without following it.
enum class Tipo { Ninguno, Archivo, Carpeta, Enlace, Otro };
struct Entrada {
    QString nombre;
    Tipo tipo = Tipo::Ninguno;
};
Tipo TipoEn(int carpeta, const QString& nombre);
// The entries of an open folder ("." and ".." left out).
QList<Entrada> Listar(int carpeta, int* error = nullptr);
// The entry of that name matched without regard to case (an exact match wins); an Entrada
// with an empty name when there is none.
Entrada BuscarEn(int carpeta, const QString& nombre);

// Deletes the regular files and the links directly inside an open folder (a link itself,
// never what it points to); subfolders and other entries stay. 0, or the error of the first
// deletion that failed (the others are still tried).
int VaciarCarpeta(int carpeta);
// Removes the entry `nombre` of an open folder and, when it is a folder, everything below it;
// links are removed themselves and never followed. 0 (also when nothing was there) or the
// first error.
int BorrarArbolEn(int carpeta, const QString& nombre);
// The same by path: the folder holding the last component is opened (following earlier
// links), the last component is removed as above.
int BorrarArbol(const QString& ruta);

// Why an open file may not be trusted as one of the program's own.
enum Motivo : unsigned {
    NoEsArchivo = 1,        // a folder, device, pipe...
    DeOtroUsuario = 2,      // not owned by the user running the program
    EscribiblePorOtros = 4, // the group or others may write it
};
// The reasons (a combination of `Motivo`) the open file `fd` fails; 0 when it passes. When
// fstat itself fails, NoEsArchivo with the error in `error`.
unsigned RevisarArchivo(int fd, int* error = nullptr);
// The reasons in Spanish, one text each, for a message.
QStringList DescribirMotivos(unsigned motivos);
// Who else than the file's owner and its group may write the open file `fd` by its access
// list (a POSIX ACL beyond the mode bits): each named account or group whose entry grants write
// and the list's mask lets it through. Empty for a file, or a file system, without such a list;
// none when the list cannot be read or makes no sense.
struct EscritorDeLista {
    bool grupo = false; // a group; otherwise an account
    unsigned id = 0;
};
std::optional<QList<EscritorDeLista>> EscritoresPorLista(int fd);
// The same for an open folder (NoEsArchivo: it is not a folder), and its texts.
unsigned RevisarCarpeta(int fd, int* error = nullptr);
QStringList DescribirMotivosCarpeta(unsigned motivos);
// Makes the folder `nombre` directly inside an open one with `modo` (less the umask, so never
// more open than asked). 0, EEXIST when something stands at the name, or the error.
int CrearCarpetaEn(int carpeta, const QString& nombre, mode_t modo);
// The bytes of the regular file `nombre` directly inside an open folder: never through a link
// (ELOOP), never blocking on a pipe or a device (ENODEV: not a regular file), never more than
// `limite` bytes (EFBIG, with the size found in `tamano`), so a file another program planted
// can neither hold nor exhaust this one. None with the error in `error`.
std::optional<QByteArray> LeerArchivoEn(int carpeta, const QString& nombre, qint64 limite, int* error = nullptr,
                                        qint64* tamano = nullptr);

// The same for a file named by path: the folder holding it is reached as the path says (a
// configuration folder may lie behind a link), only the file's own name is checked as above.
// For what a person or another program may have put there: a settings file, a report's header,
// a stored ticket. ENOENT when nothing stands at the name.
std::optional<QByteArray> LeerArchivo(const QString& ruta, qint64 limite, int* error = nullptr);
// The bound of such a text file: far above any the program writes, far below its memory.
inline constexpr qint64 kLimiteTexto = 16 << 20;

// A short Spanish reason for an error number of these routines ("es un enlace simbólico" for
// ELOOP, "no es un archivo común" for ENODEV, "es una carpeta" for EISDIR, and the other errors
// a file of ours meets; the system's text, with its number, for the rare rest).
QString DescribirError(int error);

}
