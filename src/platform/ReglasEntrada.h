#pragma once
#include <QChar>
#include <functional>

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
void ReglaDeCaracteres(QLineEdit* caja, std::function<bool(QChar)> acepta);

}
