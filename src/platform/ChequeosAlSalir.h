#pragma once
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// The leave checks of a window's fields, the one way every window checks a field on leaving it:
// a check runs when the focus goes from its field to another control of the same window, by a
// click, Tab or a button's accelerator. A click on a closing button ("Cancelar", "Cerrar"; they
// take the focus by Tab only), on the background or on the close box of a working window gives
// the focus to its frame, which hands it straight back to the field (the two changes are
// signalled innermost first); that, a closing button reached by Tab, a popup, a message or
// another window is not leaving the field: the check waits for the focus to come back to
// another control of the window, and does not run at all once the window is going.
// A check refuses by putting the focus back into its field. The click that moved the focus is
// then dropped, as ReglasEntrada drops a refused accelerator: a button that would act on the
// refused value ("Aceptar", "Exportar txt") is not pressed.
class ChequeosAlSalir : public QObject {
public:
    // Watches `ventana`: its close event starts the closing, showing it again ends it.
    explicit ChequeosAlSalir(QWidget* ventana);

    // Leaving `campo` for one of `propios` runs no check: that control checks the field itself
    // (a window whose "Aceptar" checks what it sends).
    void Agregar(QWidget* campo, std::function<void()> chequeo, QList<QWidget*> propios = {});
    // A check that refuses by setting its `Cancel` (a Validate handler): the focus is put back.
    void AgregarValidacion(QWidget* campo, std::function<void(bool&)> validar, QList<QWidget*> propios = {});
    // Set first by every way out of the window; no check runs while it is set. A close refused
    // by a question clears it with Reanudar.
    void Cerrando() { m_cerrando = true; }
    void Reanudar();
    bool EnCierre() const { return m_cerrando; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct Chequeo {
        std::function<void()> correr;
        QList<QWidget*> propios;
    };
    // Where the dropping of a refused click stands: its press still to come (until the event
    // loop turns), or its release and the moves before it.
    enum class Descarte { Ninguno, Pulsacion, Soltar };

    void FocoCambiado(QWidget* anterior, QWidget* actual);
    void DescartarClic();
    void TerminarDescarte();
    bool EnVentana(const QObject* objeto) const;

    QWidget* m_ventana;
    QHash<QWidget*, Chequeo> m_chequeos;
    QPointer<QWidget> m_pendiente;
    bool m_cerrando = false;
    bool m_verificando = false;
    Descarte m_descarte = Descarte::Ninguno;
};
