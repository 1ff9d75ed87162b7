#pragma once
#include <QChar>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

// How a window meets the keyboard, the same in every window of both programs. Each window calls
// PrepararVentana once its controls exist; the boxes that take only some characters call
// ReglaDeCaracteres.
namespace ReglasEntrada {

// The buttons that close or cancel a window: cmdCancel, cmdCancelar, cmdCerrar, and those that
// carry the property kCierra (a button array's "Cerrar").
inline constexpr const char* kCierra = "cierra";
bool BotonDeCierre(const QWidget* boton);
// Whether the window has a box the user types into.
bool TieneCajaDeTexto(const QWidget* ventana);

// - In a window with a text box no push button is default or auto-default: Enter presses no
//   button there (a box that gives Enter an action takes the key itself). A window without one
//   keeps its default button.
// - A button pressed by its accelerator first takes the focus, as a click does, so the focused
//   field's leave check runs; when the check keeps the focus in its field the press is dropped.
// - The buttons that close or cancel never take the focus from a field, by click or
//   accelerator: no leave check runs for them, so a refused value cannot hold the user.
void PrepararVentana(QWidget* ventana);

// The character rule of a box applied to every change of its text, typed, pasted (Ctrl+V,
// Shift+Insert, the context menu, the middle button) or dropped: a change that brings a
// character the rule refuses is refused whole, with a beep, and the box keeps its text.
// In a box whose rule takes only the digits 0-9, a paste or a drop is first rid of its
// separators (SinSeparadores), and is refused whole when its digits do not fit in the room the
// box has: never cut short. A paste into any other box goes in as it stands.
void ReglaDeCaracteres(QLineEdit* caja, std::function<bool(QChar)> acepta);

// The character a key press types, as a box's key rule judges it (VB's KeyAscii): Enter 13,
// Backspace 8, a paste (Ctrl+V, Shift+Insert) 22, a printable character its code. 0 for a press
// that types none, which every key rule lets through: Tab, Shift+Tab, the arrows, Home, End,
// Delete and the shortcuts (select all, copy, cut, undo), whatever text the keyboard sends.
int CaracterTecleado(const QKeyEvent* tecla);

// A number as it is copied, with its separators taken out: every blank (U+0020, U+00A0), a
// hyphen with a digit on each side ("20-12345678-9"), and one line end (CR, LF or CR LF) at
// its very end (a spreadsheet cell). Everything else stays, for the box's rule to refuse.
QString SinSeparadores(const QString& pegado);

}
