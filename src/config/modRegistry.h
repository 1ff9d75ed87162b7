#pragma once
#include <QString>
#include <QVariant>

// The machine's settings (terminal number, selected account, start-up update flags) under the
// key "Software\Corvanda\Quorvan". Linux has no registry: the key is a file of our own,
// "registro.ini" in the configuration folder, rewritten whole and atomically on every write;
// every value is kept as text.
namespace modRegistry {

inline const QString kClave = QStringLiteral("Software\\Corvanda\\Quorvan");
constexpr qint32 REG_SZ = 1;
constexpr qint32 REG_DWORD = 4;
// Longest text a read hands back.
constexpr int kLargoMaximo = 255;

// The file that holds the key.
QString ArchivoRegistro();

// Writes one value: type 1 as text, type 4 as a 32-bit number; any other type stores nothing
// and still succeeds. False after showing the failure (exclamation icon, program's title).
bool GuardarValorRegistro(qint32 tipo, const QString& nombre, const QVariant& valor);

// Any value of any key under HKEY_LOCAL_MACHINE in the same file (`clave` as "SOFTWARE\..."),
// with its type (REG_SZ, or REG_DWORD with the number as decimal text); false when the file,
// the key or the value is missing. Shows nothing.
bool LeerValorClave(const QString& clave, const QString& nombre, qint32& tipo, QString& texto);

// Reads one value into `valor`; on any failure `valor` is left exactly as given, so the
// caller's default stands. Failures are shown only when mostrarMensajes is true.
bool LeerValorRegistro(const QString& nombre, qint32 tipo, QString& valor, bool mostrarMensajes);
// The same into a numeric variable: a stored text that is not a number fails (type mismatch).
bool LeerValorRegistro(const QString& nombre, qint32 tipo, qint32& valor, bool mostrarMensajes);

}
