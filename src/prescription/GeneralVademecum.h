#pragma once
#include <QLocale>
#include <QString>
#include <memory>
#include <optional>

class clsObraSocial;

// The rules of the prescription window that need no window: the catalogue answer lines, the
// amounts as the list shows them, the card security code, the account code of an exchange and
// the insurer it goes to.
namespace General {

// One catalogue answer line cut into its fields, at their widths. The three amounts hold the
// number as the list shows it, not the digits of the line.
struct RegistroVademecum {
    QString Codigo;       // 5
    QString Nombre;       // 30
    QString Presentacion; // 24
    QString Troquel;      // 7
    QString CodigoBarra;  // 13
    QString CodigoAccion; // 5
    QString Accion;       // 35
    QString CodigoDroga;  // 6
    QString Monodroga;    // 40
    QString Precio;       // 11
    QString Cobertura;    // 5
    QString APagar;       // 11
    QString FinDeLinea;   // 2
};

// Width of the fields of one answer line, without its line end.
constexpr int kLargoLineaVademecum = 192;

// Cuts the first line off `texto` into `registro` and leaves the following lines in `texto`.
// Lines are cut one at a time at their own line end, so a field that begins with blanks or a
// short line never shifts the next line; a short line is read as padded with blanks, a longer
// one is cut at 192, blank lines are passed over. False, with `texto` emptied, when only blank
// lines were left.
bool DesarmarRegistroVademecum(QString& texto, RegistroVademecum& registro);

// `digitos` read as a number, divided by `divisor`, written as the runtime prints a number with
// the decimal separator of `locale`, and blank-padded or cut to `ancho`.
QString ImporteVademecum(const QString& digitos, double divisor, int ancho, const QLocale& locale = QLocale());

// The card security code: empty, or three characters.
bool ValidarCSC(const QString& texto);

// The account code an exchange carries: the provider's when it has one, else the terminal's
// chosen one, else none; no value when several codes are known and none was chosen.
std::optional<QString> LicenciaDeEnvio(const QString& licenciaPrestador);

// The insurer chosen in the main window's insurer list (by DefaultOS and DefaultActividad).
std::shared_ptr<clsObraSocial> ObraSocialElegida();

// One sort step of a list column: the same column flips the order, another starts ascending.
struct OrdenLista {
    int columna = -1;
    bool descendente = false;
    void Clic(int col)
    {
        descendente = col == columna ? !descendente : false;
        columna = col;
    }
};

}
