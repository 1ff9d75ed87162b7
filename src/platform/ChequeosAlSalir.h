#pragma once
#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// The leave checks of a window's fields, run when the user really leaves a field: when the
// focus reaches another control of the same window. A press on a button that takes no focus
// ("Cancelar", "Cerrar"), on the background or on the close box of a working window gives the
// focus to its frame, which hands it straight back to the field (the two changes are signalled
// innermost first); that, a popup, a message or another window is not leaving the field: the
// check waits for the focus to come back to another control of the window, and does not run at
// all once the window is going.
class ChequeosAlSalir : public QObject {
public:
    // Watches `ventana`: its close event starts the closing, showing it again ends it.
    explicit ChequeosAlSalir(QWidget* ventana);

    void Agregar(QWidget* campo, std::function<void()> chequeo);
    // Set first by every way out of the window; no check runs while it is set. A close refused
    // by a question clears it with Reanudar.
    void Cerrando() { m_cerrando = true; }
    void Reanudar();
    bool EnCierre() const { return m_cerrando; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void FocoCambiado(QWidget* anterior, QWidget* actual);

    QWidget* m_ventana;
    QHash<QWidget*, std::function<void()>> m_chequeos;
    QPointer<QWidget> m_pendiente;
    bool m_cerrando = false;
    bool m_verificando = false;
};
