#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QFontMetrics;
template <typename T>
class Coleccion;
class clsEfector;
class clsObraSocial;
class clsOperacion;
class clsPrestador;

// The rows of the configuration window's provider, effector and insurer lists: what loading
// puts into them, what the list buttons take back and add, and what storing reads. A row is
// kept apart from the widget so the rules can be checked without one.
namespace FilasConfiguracion {

// A list row: its key (insurers), its texts (the item's text, then columns 1, 2, ...), its
// small icon's key (empty: none) and, for a provider, the type code it carries.
struct Fila {
    QString clave;
    QStringList columnas;
    QString icono;
    qint16 tipo = 0;
    QString columna(int i) const { return columnas.value(i); }
};

// The text pair of the Boolean columns ("Req. Pres.", "On-Line", "Usa CSC").
QString TextoVerdad(bool valor);
// True for that pair's true text and for the other usual true forms (a non-zero number, "True").
bool LeerVerdad(const QString& texto);

// A column set up by loading: header, the sample text its width is measured on, or no width.
struct Columna {
    QString titulo;
    QString muestra;
    bool oculta = false;
};
QList<Columna> ColumnasPrestadores();
QList<Columna> ColumnasEfectores();
QList<Columna> ColumnasObrasSociales();
// A column's width in twips: its sample text's (or its header's, when wider) width in the
// window's font and the cell's margins; 0 for a hidden one.
int AnchoColumna(const QFontMetrics& fuente, const Columna& columna);

// Provider types: the items of `cmbTipo`, their texts and stored codes.
QStringList TiposPrestador();
// The text of a stored type code; empty for a code outside the table.
QString TextoTipoPrestador(qint16 codigo);
// The `cmbTipo` item of a type text, -1 for any other text.
int ItemTipoPrestador(const QString& texto);
// The code stored for a `cmbTipo` item (0 Médico ... 5 Clínica = 6); 0 for none.
qint16 CodigoTipoPrestador(int item);
extern const QString kTipoOtro;

Fila FilaPrestador(const clsPrestador& p);
Fila FilaEfector(const clsEfector& e);
Fila FilaObraSocial(const clsObraSocial& os, const QString& clave);

// The provider edit fields of the "Prestador" tab, and what a taken-back row carries that no
// control shows (its account code, "Req. Mat." and an unlisted type code).
struct CamposPrestador {
    QString nombre, cuit, codigo, filial;
    bool prescripcion = false;
    bool admisor = false;
    int itemTipo = -1;
    QString licencia;
    QString requiereMat;
    std::optional<qint16> tipoSinTexto;
};
// The row "add" appends; none when the name or the 11-character CUIT is missing.
std::optional<Fila> AgregarPrestador(const CamposPrestador& campos);
// The fields a row fills when it is taken back; `itemTipo` stays at `itemActual` for a type
// text not in the list (an unlisted code clears the choice and is carried instead).
CamposPrestador TomarPrestador(const Fila& fila, int itemActual);

// The effector edit fields: texts of the three combos as shown (type, jurisdiction, speciality).
struct CamposEfector {
    QString nombre, cuit, matricula, id;
    QString tipo, jurisdiccion, especialidad;
    bool baja = false;
};
// "dd-dddddddd-d".
bool CuitEfectorValido(const QString& cuit);
// "dd-dddddddd-d" of a stored CUIT (its characters as they stand).
QString CuitConGuiones(const QString& cuit);
std::optional<Fila> GuardarEfector(const CamposEfector& campos);

// `texto` with every `caracter` (compared exactly) replaced by the acute accent "´", so an
// insurer name never closes the quoted texts it is written into.
QString ReemplazarCaracter(const QString& texto, const QString& caracter);

// The insurer edit fields of the "Financiador" tab.
struct CamposObraSocial {
    QString nombre, auisoa, empresa, actividad, filial;
    bool onLine = false;
    bool utilizaCI = false;
    bool utilizaCSC = false;
};
enum class ResultadoObraSocial { SinNombre, Existe, Invalido, Agregada };
struct AltaObraSocial {
    ResultadoObraSocial resultado = ResultadoObraSocial::SinNombre;
    std::shared_ptr<clsObraSocial> obra; // keyed by its `Nombre`
    Fila fila;
};
// The id of a new insurer: the count plus one, or the next one free. `idAnterior`, the id of
// the insurer taken out to be edited, is kept while no other insurer has it, so the edited
// insurer stays joined to its off-line log rows.
qint16 IdNuevaObraSocial(const Coleccion<clsObraSocial>& obras, std::optional<qint16> idAnterior);
// What "add" makes of the fields against the listed rows: nothing for a blank name; refused
// when a row's key is the name, or a row has the same name and activity (two such rows would
// collide once stored and read back); invalid when a number does not fit its 16-bit field.
AltaObraSocial AgregarObraSocial(const CamposObraSocial& campos, const QList<Fila>& filas,
                                 const Coleccion<clsObraSocial>& obras, std::optional<qint16> idAnterior);
// The fields a row fills when it is taken back (`utilizaCI` is not in the row: false).
CamposObraSocial TomarObraSocial(const Fila& fila);

// ---- What storing makes of the rows ----------------------------------------------------
// A column read where a number must stand raises the runtime's type mismatch (error 13).

// An operation row (code, name, description; icon "Si" when in use).
std::shared_ptr<clsOperacion> OperacionDeFila(const Fila& fila);
// A provider row: the type from its text, or the code the row carries when the text names
// none (a type the list has no text for stays as loaded); the CUIT as shown.
std::shared_ptr<clsPrestador> PrestadorDeFila(const Fila& fila);
// An effector row: the CUIT without its dashes, the stored registration type of the hidden
// column.
std::shared_ptr<clsEfector> EfectorDeFila(const Fila& fila);

}
